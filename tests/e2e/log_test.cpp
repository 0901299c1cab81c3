// The borehole-log pages of a one-shot run as real readers see them: the log page after the profile
// page, its header, titles and scales on PDF; the example's boreholes; A3; the plot files of the pen
// plotter and DXF and the printer stream, each ended once.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <cmath>

#include "pcl_reader.h"
#include "testsupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::string reader(const std::string& name) {
  for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"}) {
    if (fs::exists(fs::path(dir) / name)) return (fs::path(dir) / name).string();
  }
  ADD_FAILURE() << name << " is not installed (scripts/bootstrap.sh installs it)";
  return name;
}

std::string run_file(const std::string& input, const std::string& device = "PDF", const std::string& set = "STANDARD.SET") {
  return "0/   setupfile = " + set + "\r\n1/   inputfile = " + input + "\r\n2/      output = " + device +
         "\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n";
}

// A borehole of three layers with three log columns: a text column, a graph column and one of fixed
// width; ground level 4.25, no part of the log suppressed.
std::string three_columns(const std::string& extra_header = "") {
  return "Job Number : J-29\r\nHole Number : BH9\r\nGround level : 4.25\r\nSuppress : 0\r\n" + extra_header +
         "/\r\n1.00 Firm brown CLAY.\r\n2.50 Dense SAND.\r\n6.00 Stiff grey CLAY.\r\n/\r\nNOTES:\r\n1. A note.\r\n"
         "ATTRIBUTE: Alpha\r\n 1.00: one\r\n 2.50: two words\r\n 5.00: three\r\n"
         "ATTRIBUTE: Bravo [GRAPH 50]\r\n 1.00: 10\r\n 3.00: 20\r\n"
         "ATTRIBUTE: Charlie [WIDTH 300 DOTS]\r\n 2.00: c1\r\n 4.00: c2\r\n//\r\n///\r\n";
}

// A one-shot run of input on device (PDF, PGL, DXF, PCL) with the standard SET file on the given paper;
// the path of the result named result (without its extension) under drive C's VLXFILES, which the test
// expects to exist. The run ends with exit_code (1 for an input whose log leaves something out).
fs::path plot(const EngineFolder& ef, const std::string& input, const std::string& device, const std::string& result,
              const std::string& paper = "A4", int exit_code = 0) {
  std::string set = ef.read("STANDARD.SET");
  set.replace(set.find("A4    "), 2, paper);
  ef.write("PAPER.SET", set);
  ef.write("@runfile.dat", run_file(input, device, "PAPER.SET"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, exit_code) << device << " " << paper << r.out << r.err;
  const std::string ext = device == "PDF" ? ".pdf" : device == "PGL" ? ".pgl" : device == "DXF" ? ".dxf" : ".pcl";
  const fs::path f = ef.file("drive_c/VLXFILES/" + result + ext);
  EXPECT_TRUE(fs::exists(f)) << f << r.out;
  return f;
}

std::string pdf_tool(const std::string& tool, const fs::path& pdf, std::vector<std::string> args = {}) {
  std::vector<std::string> argv{reader(tool)};
  argv.insert(argv.end(), args.begin(), args.end());
  argv.push_back(pdf.string());
  if (tool == "pdftotext") argv.push_back("-");
  return run_program(argv, pdf.parent_path(), 30).out;
}

void expect_clean(const fs::path& pdf) {
  RunResult q = run_program({reader("qpdf"), "--check", pdf.string()}, pdf.parent_path(), 30);
  EXPECT_EQ(q.exit_code, 0) << pdf << q.out << q.err;
  EXPECT_EQ(q.out.find("WARNING"), std::string::npos) << pdf << q.out;
}

struct Word {
  double x0, y0, x1, y1;
  std::string text;
};

// The words of one page with their boxes in points (pdftotext -bbox).
std::vector<Word> words_of(const fs::path& pdf, int page) {
  const std::string html = pdf_tool("pdftotext", pdf, {"-bbox", "-f", std::to_string(page), "-l", std::to_string(page)});
  static const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
  std::vector<Word> out;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it)
    out.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4]), (*it)[5]});
  return out;
}

const Word* find_word(const std::vector<Word>& words, const std::string& text) {
  for (const Word& w : words)
    if (w.text == text) return &w;
  return nullptr;
}

// The filled bars of a content stream that match pattern (its groups 1 to 4: x y w h, in points), each
// with its place in the content. A bar drawn around a text that stands on it comes as pieces, one right
// after the other with nothing but the fill's own operators between them, each touching the bar so far:
// such pieces are taken together as the one bar they make (their bounding box).
struct PdfBar {
  std::array<double, 4> box;  // x, y, w, h
  size_t at;
};
std::vector<PdfBar> pdf_bars(const std::string& content, const std::regex& pattern) {
  std::vector<PdfBar> out;
  size_t last_end = std::string::npos;
  for (auto it = std::sregex_iterator(content.begin(), content.end(), pattern); it != std::sregex_iterator(); ++it) {
    const std::array<double, 4> b{std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])};
    const size_t at = static_cast<size_t>(it->position());
    bool piece = false;
    if (!out.empty() && last_end != std::string::npos && at >= last_end) {
      std::string gap = content.substr(last_end, at - last_end);
      for (size_t p; (p = gap.find("/Catch cs")) != std::string::npos;) gap.erase(p, 9);
      const std::array<double, 4>& a = out.back().box;
      const bool touch = b[0] <= a[0] + a[2] + 0.01 && a[0] <= b[0] + b[2] + 0.01 && b[1] <= a[1] + a[3] + 0.01 &&
                         a[1] <= b[1] + b[3] + 0.01;
      piece = touch && gap.find_first_not_of(" \r\nfQq0123456789.") == std::string::npos;
    }
    if (piece) {
      std::array<double, 4>& a = out.back().box;
      const double x0 = std::min(a[0], b[0]), y0 = std::min(a[1], b[1]);
      const double x1 = std::max(a[0] + a[2], b[0] + b[2]), y1 = std::max(a[1] + a[3], b[1] + b[3]);
      a = {x0, y0, x1 - x0, y1 - y0};
    } else {
      out.push_back({b, at});
    }
    last_end = at + static_cast<size_t>(it->length());
  }
  return out;
}

TEST(Log, PdfPageAfterTheProfile) {
  EngineFolder ef;
  ef.write("holes.txt", three_columns());
  ef.write("@runfile.dat", run_file("holes.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
  const fs::path pdf = ef.file("drive_c/VLXFILES/J29/BH9.pdf");
  ASSERT_TRUE(fs::exists(pdf)) << r.out;
  expect_clean(pdf);
  EXPECT_NE(pdf_tool("pdfinfo", pdf).find("Pages:           2"), std::string::npos);

  const std::string text = pdf_tool("pdftotext", pdf, {"-f", "2", "-l", "2"});
  for (const char* words : {"BH9", "J-29", "Page 1 of 1", "Small disturbed sample", "Standard penetration test",
                            "Pocket penetrometer, kPa", "Level", "mOD", "Depth", "metres"})
    EXPECT_NE(text.find(words), std::string::npos) << words << "\n" << text;

  const std::vector<Word> words = words_of(pdf, 2);
  const Word *alpha = find_word(words, "Alpha"), *bravo = find_word(words, "Bravo"), *charlie = find_word(words, "Charlie");
  ASSERT_TRUE(alpha && bravo && charlie) << text;
  EXPECT_LT(alpha->x1, bravo->x0);
  EXPECT_LT(bravo->x1, charlie->x0);
  // Alpha and Bravo share what Charlie's 300 dots (72 pt) leave: their centres stand equally far apart
  // as half of each of the two shared columns, and Charlie's centre half of 72 pt further.
  const double ca = (alpha->x0 + alpha->x1) / 2, cb = (bravo->x0 + bravo->x1) / 2, cc = (charlie->x0 + charlie->x1) / 2;
  EXPECT_NEAR(cc - cb, (cb - ca) / 2 + 36, 2.0);

  // The scale labels below the header: depths in the right strip, reduced levels in the left one.
  std::map<int, const Word*> depth, level;
  for (const Word& w : words) {
    if (w.y0 < 80 || !std::regex_match(w.text, std::regex("-?[0-9]+"))) continue;
    (w.x0 > 400 ? depth : level)[std::stoi(w.text)] = &w;
  }
  ASSERT_EQ(depth.size(), 6u) << text;  // 1 to 6 m; 0 stands at the head and is not written
  EXPECT_EQ(depth.begin()->first, 1);
  ASSERT_EQ(level.size(), 6u) << text;  // 4 down to -1 from a ground level of 4.25
  EXPECT_EQ(level.rbegin()->first, 4);
  const double step = depth.at(2)->y0 - depth.at(1)->y0;
  EXPECT_GT(step, 10);
  for (int d = 1; d <= 6; ++d) {
    EXPECT_NEAR(depth.at(d)->x0, depth.at(1)->x0, 0.5) << d;                 // one column
    EXPECT_NEAR(depth.at(d)->y0 - depth.at(1)->y0, (d - 1) * step, 0.6) << d;  // equal steps, downwards
  }
  for (int l = 4; l >= -1; --l) {
    EXPECT_NEAR(level.at(l)->x1, level.at(4)->x1, 8) << l;
    EXPECT_NEAR(level.at(l)->y0 - level.at(4)->y0, (4 - l) * step, 0.6) << l;  // falling with depth
  }
  // The level 4 stands 0.25 m below the top, where depth 1 stands 1 m below it.
  EXPECT_NEAR(depth.at(1)->y0 - level.at(4)->y0, 0.75 * step, 0.6);
}

// The shipped example: each borehole's log page follows its profile page, the trial pits have none; on
// A3 the log stands on the left half of each profile page.
TEST(Log, ExampleOnA4AndA3) {
  for (const char* paper : {"A4", "A3"}) {
    EngineFolder ef;
    const fs::path job = plot(ef, ef.file("Examples/Examples.TXT").string(), "PDF", "GE2631/BH1", paper).parent_path();
    const bool a3 = std::string(paper) == "A3";
    for (const char* hole : {"BH1", "BH2", "BH3", "TP1"}) {
      const fs::path pdf = job / (std::string(hole) + ".pdf");
      ASSERT_TRUE(fs::exists(pdf)) << pdf;
      expect_clean(pdf);
      const int pages = hole[0] == 'B' && !a3 ? 2 : 1;
      EXPECT_NE(pdf_tool("pdfinfo", pdf).find("Pages:           " + std::to_string(pages)), std::string::npos)
          << paper << hole;
    }
    const std::vector<Word> log = words_of(job / "BH1.pdf", a3 ? 1 : 2);
    const Word* spt = find_word(log, "SPT");
    const Word* abbreviation = find_word(log, "Undisturbed");
    ASSERT_TRUE(spt && abbreviation) << paper;
    if (a3) {
      EXPECT_LT(abbreviation->x1, 595) << "the log's header on the left half";
      EXPECT_LT(spt->x1, 595);
    }
    EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
    // BH1's moisture contents from its data file: one curve of 23 points; BH2's standpipe drawn and named.
    const std::string bh1 = read_file(job / "BH1.pdf");
    const size_t from = bh1.find("%plotting from data file");
    ASSERT_NE(from, std::string::npos) << paper;
    const std::string curve = bh1.substr(from, bh1.find("\nQ\r\n", from) - from);
    EXPECT_EQ(find_all_regex(curve, R"( l\r\n)").size(), 22u) << paper;
    const std::string bh2 = pdf_tool("pdftotext", job / "BH2.pdf", {"-f", a3 ? "1" : "2", "-l", a3 ? "1" : "2"});
    for (const char* word : {"Standpipe", "Bentonite", "Sand", "Slotted"}) EXPECT_NE(bh2.find(word), std::string::npos) << word;
    EXPECT_NE(read_file(job / "BH2.pdf").find("/Hatch3 scn"), std::string::npos);
  }
}

// DXF, the pen plotter with one column beside the profile and two on a page of their own, and the
// printer: each plot ends once, at its end.
TEST(Log, PlotFilesEndOnce) {
  for (const char* device : {"DXF", "PGL", "PCL"}) {
    EngineFolder ef;
    ef.write("holes.txt", three_columns("Compress : 601\r\n"));
    const fs::path f = plot(ef, "holes.txt", device, "J29/BH9");
    EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
    ASSERT_TRUE(fs::exists(f)) << device;
    const std::string ext = f.extension().string();
    const std::string bytes = read_file(f);
    if (ext == ".dxf") {
      const RunResult a = run_program({"/usr/bin/python3", "-c",
                                       "import ezdxf,sys\nd=ezdxf.readfile(sys.argv[1])\n"
                                       "print(len(d.audit().errors), len(d.modelspace().query('TEXT')) > 10)",
                                       f.string()},
                                      ef.path(), 60);
      EXPECT_EQ(a.out, "0 True\n") << a.out << a.err;
      EXPECT_EQ(bytes.find("EOF"), bytes.size() - 5);  // one EOF, the last line
      EXPECT_EQ(bytes.find("ENDSEC"), bytes.rfind("ENDSEC"));
    } else if (ext == ".pgl") {
      // HP-GL/2 is entered once and left once, at the end; the separate page's titles are in it.
      EXPECT_EQ(bytes.find("\x1b%0B"), bytes.rfind("\x1b%0B"));
      EXPECT_EQ(bytes.find("\x1b%1A"), bytes.size() - 15);
      EXPECT_EQ(bytes.substr(bytes.size() - 16), ";\x1b%1A\x1b" "E\x1b%-12345X");
      for (const char* title : {"LBAlpha", "LBBravo", "LBCharlie"}) EXPECT_NE(bytes.find(title), std::string::npos) << title;
      const size_t from = bytes.find("\x1b%0B"), to = bytes.rfind(";\x1b%1A");
      write_file(ef.file("body.hpgl"), bytes.substr(from + 4, to + 1 - from - 4));
      const RunResult h = run_program({reader("hp2xx"), "-m", "png", "-f", ef.file("body.png").string(),
                                       ef.file("body.hpgl").string()}, ef.path(), 60);
      EXPECT_EQ(h.exit_code, 0) << h.out << h.err;
      // Every command understood, and the pen the plot selects first (IN;SP1) used.
      EXPECT_NE((h.out + h.err).find("HPGL command(s) ignored: 0"), std::string::npos) << h.out << h.err;
      EXPECT_NE((h.out + h.err).find("Pens used: 1"), std::string::npos) << h.out << h.err;
      EXPECT_TRUE(fs::exists(ef.file("body.png")));
    } else {
      PclRead pcl;
      std::string what;
      EXPECT_TRUE(read_pcl(bytes, pcl, what)) << what;
      EXPECT_TRUE(pcl.on_page);
      EXPECT_EQ(pcl.form_feeds, 3);  // the profile page, the page of the column beside it, the separate page
      EXPECT_EQ(bytes.find("\x1b" "E\x1b%-12345X"), bytes.size() - 11);  // the job end, once
      for (const char* title : {"Alpha", "Bravo", "Charlie", "Small disturbed sample"})
        EXPECT_NE(pcl.text.find(title), std::string::npos) << title << "\n" << pcl.text;
    }
  }
}

// A text column, a graph column with sub-divisions, numbers and a dotted grid, and an inverse graph
// column in a colour: the bars, numbers and texts where the zones put them.
TEST(Log, ColumnContentsOnPdf) {
  EngineFolder ef;
  ef.write("holes.txt",
           "Job Number : J-30\r\nHole Number : BH30\r\nSuppress : 0\r\n/\r\n1.00 Firm brown CLAY.\r\n"
           "2.50 Dense SAND.\r\n5.00 Stiff grey CLAY.\r\n/\r\nNOTES:\r\n1. A note.\r\n"
           "ATTRIBUTE: Samples\r\n 0.50: D1 [L]\r\n 1.20: U2 [R]\r\n 3.00: B3\r\n"
           "ATTRIBUTE: SPT N [GRAPH 60 PLUS NUMBERS] [S=15 30 45] [r=0.5]\r\n 1.00: 12\r\n 2.50: 24\r\n 4.00: 48\r\n"
           "ATTRIBUTE: Moisture % [GRAPH 50] [INVERSE] [paint blue]\r\n 1.50: 20\r\n 3.50: 35\r\n//\r\n///\r\n");
  ef.write("@runfile.dat", run_file("holes.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
  const fs::path pdf = ef.file("drive_c/VLXFILES/J30/BH30.pdf");
  ASSERT_TRUE(fs::exists(pdf)) << r.out;
  expect_clean(pdf);

  const std::vector<Word> words = words_of(pdf, 2);
  // The depth scale: labels 1 to 5 m in the right strip.
  std::map<int, const Word*> depth;
  for (const Word& w : words)
    if (w.x0 > 450 && w.y0 > 80 && std::regex_match(w.text, std::regex("[0-9]"))) depth[std::stoi(w.text)] = &w;
  ASSERT_GE(depth.size(), 4u);
  const double metre = depth.at(2)->y0 - depth.at(1)->y0;
  // A scale label's base line stands 3 dots above its tick, so the bottom of its box marks the depth;
  // a value is centred on its depth.
  const auto at_depth = [&](double d) { return depth.at(1)->y1 + (d - 1) * metre; };
  // The SPT values stand level with the middles of their zones: 0.5, 1.75 and 3.25 m.
  const std::pair<const char*, double> values[] = {{"12", 0.5}, {"24", 1.75}, {"48", 3.25}};
  const Word* spt[3] = {};
  for (int i = 0; i < 3; ++i) {
    for (const Word& w : words)
      if (w.text == values[i].first && w.x0 < 450) spt[i] = &w;
    ASSERT_TRUE(spt[i]) << values[i].first;
    EXPECT_NEAR((spt[i]->y0 + spt[i]->y1) / 2, at_depth(values[i].second), 0.02 * metre) << values[i].first;
  }
  EXPECT_NEAR((spt[2]->y0 - spt[1]->y0) / (spt[1]->y0 - spt[0]->y0), 1.5 / 1.25, 0.02 * 1.2);
  // The samples: D1 to the left, U2 to the right, B3 centred between them.
  const Word *d1 = find_word(words, "D1"), *u2 = find_word(words, "U2"), *b3 = find_word(words, "B3");
  ASSERT_TRUE(d1 && u2 && b3);
  EXPECT_LT(d1->x0, b3->x0);
  EXPECT_GT(u2->x1, b3->x1);
  // The sub-division numbers above the SPT column at equal spacing.
  const Word *n15 = find_word(words, "15"), *n30 = find_word(words, "30"), *n45 = find_word(words, "45");
  ASSERT_TRUE(n15 && n30 && n45);
  EXPECT_NEAR(n45->x0 - n30->x0, n30->x0 - n15->x0, 0.5);
  EXPECT_LT(n15->y0, depth.rbegin()->second->y1 + 2 * metre);

  // The content: bars filled with /Shade28 as "x y w h re".
  const std::string content = read_file(pdf);
  // A bar with its value standing on it is drawn around the value, in pieces taken together here.
  static const std::regex bar(R"(/Shade28 scn\r\n *([0-9.]+) +([0-9.]+) +([0-9.]+) +([0-9.]+) re)");
  std::vector<std::array<double, 4>> black, blue;
  for (const PdfBar& piece : pdf_bars(content, bar)) {
    const std::array<double, 4>& b = piece.box;
    const size_t at = piece.at;
    // A bar in the column's colour is filled with it first, the pattern laid over it in black.
    (content.rfind(".000 .000 1.000 rg", at) != std::string::npos && content.rfind(".000 .000 1.000 rg", at) > content.rfind("\nq\r\n", at) ? blue : black).push_back(b);
  }
  ASSERT_EQ(black.size(), 3u) << "the SPT bars";
  ASSERT_EQ(blue.size(), 2u) << "the moisture bars";
  EXPECT_NEAR(black[1][2] / black[0][2], 2, 0.02);
  EXPECT_NEAR(black[2][2] / black[0][2], 4, 0.04);
  for (const auto& b : black) EXPECT_NEAR(b[0], black[0][0], 0.01);  // from the column's left edge
  EXPECT_NEAR(blue[0][0] + blue[0][2], blue[1][0] + blue[1][2], 0.01);  // to the same right edge
  // The sub-division lines: vertical lines inside the SPT column; the bar of 12 is 12/15 of a step.
  static const std::regex vertical(R"(\n *([0-9.]+) +([0-9.]+) m\r\n *([0-9.]+) +([0-9.]+) l)");
  std::vector<double> lines;
  const double left = black[0][0], right = left + black[0][2] * 5;
  for (auto it = std::sregex_iterator(content.begin(), content.end(), vertical); it != std::sregex_iterator(); ++it) {
    const double x = std::stod((*it)[1]);
    if (x == std::stod((*it)[3]) && x > left + 1 && x < right - 1 &&
        std::find(lines.begin(), lines.end(), x) == lines.end())
      lines.push_back(x);
  }
  std::sort(lines.begin(), lines.end());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NEAR(black[0][2], 0.8 * (lines[0] - left), 0.3);
  EXPECT_NEAR(lines[2] - lines[1], lines[1] - lines[0], 0.3);
}

// Fills, tubes and data files: hatches and shades of every code, tubes of a standpipe, a curve of 20
// points, zones of 6 lines; an unclosed tube item, a tube include that includes itself and a missing
// data file are said, the run goes on and ends with 1 (each left something out).
std::string fills_and_files(bool file_columns, const std::string& extra_header = "") {
  const std::string file = file_columns ? " [FILE]" : "";
  return "Job Number : J-31\r\nHole Number : BH31\r\nSuppress : 0\r\n" + extra_header +
         "/\r\n2.00 Firm brown CLAY.\r\n4.00 Dense SAND.\r\n6.00 Stiff grey CLAY.\r\n/\r\nNOTES:\r\n1. A note.\r\n"
         "ATTRIBUTE: Fills [DRAWING]\r\n 0.50: a [X1]\r\n 1.00: b [X3]\r\n 1.50: c [S2]\r\n 2.00: d [S8]\r\n"
         " 3.00: e [X6] [S4]\r\n 4.00: f [D 40 60\r\n 5.00: g [X9] [Sand]\r\n"
         "ATTRIBUTE: Standpipe [DRAWING] [NUMBERS]\r\n 2.00: seal [D 30 50 0 S3]\r\n 4.00: filter [D 30 50 X2]\r\n"
         " 5.00: [D self.tub]\r\n"
         "ATTRIBUTE: Curve [GRAPH 10]" + file + " [HPGL1200]\r\n 6.00: curve.txt\r\n"
         "ATTRIBUTE: Zones [GRAPH 60]" + file + "\r\n 6.00: zones.txt\r\n 6.00: missing.txt\r\n//\r\n///\r\n";
}

void write_data_files(const EngineFolder& ef) {
  std::string curve;
  for (int i = 1; i <= 20; ++i) curve += std::to_string(0.3 * i) + ", " + std::to_string(1 + (i * 7) % 9) + "\r\n";
  ef.write("curve.txt", curve);
  ef.write("zones.txt", "0.50: 10\r\n1,50: 25\r\n2.00: 40\r\n3.00: 60\r\n4.00: 5\r\n5.00: 30\r\n");
  ef.write("self.tub", "[D 10 14] [D self.tub]\r\n");
}

TEST(Log, FillsTubesAndDataFilesOnPdf) {
  EngineFolder ef;
  ef.write("holes.txt", fills_and_files(true));
  write_data_files(ef);
  ef.write("@runfile.dat", run_file("holes.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
  // Each of the three in ERROR.LOG, once.
  const std::string log = ef.read("ERROR.LOG");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << log;
  for (const char* said : {"Hole BH31: a tube item without its \"]\" is left out: [D 40 60\r\n",
                           "Hole BH31: the tube includes of a record stop at 8 files and 32767 characters; self.tub is "
                           "left out.\r\n",
                           "Hole BH31: data file missing.txt - file not found\r\n"})
    EXPECT_NE(log.find(said), std::string::npos) << said << log;
  const fs::path pdf = ef.file("drive_c/VLXFILES/J31/BH31.pdf");
  ASSERT_TRUE(fs::exists(pdf)) << r.out;
  expect_clean(pdf);
  // Said once each: the missing file, the unclosed tube item, the includes.
  EXPECT_EQ(find_all_regex(r.out, "missing.txt").size(), 1u) << r.out;
  EXPECT_NE(r.out.find("without its \"]\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("includes of a record stop"), std::string::npos) << r.out;

  const std::string bytes = read_file(pdf);
  const std::string content = bytes.substr(0, bytes.find("xref"));
  // The patterns of every code used.
  for (const char* pattern : {"/Hatch1 scn", "/Hatch3 scn", "/Hatch6 scn", "/Shade7 scn", "/Shade100 scn",
                              "/Shade28 scn", "/Shade16 scn", "/Hatch2 scn"})
    EXPECT_NE(content.find(pattern), std::string::npos) << pattern;
  EXPECT_EQ(content.find("/Hatch0"), std::string::npos);  // "[X9]" draws nothing
  EXPECT_EQ(content.find("/Shade0"), std::string::npos);  // nor "[Sand]"
  // The seal's walls: 10 dots (2.40 pt) wide, 30 dots (7.20 pt) apart.
  // The word "seal" stands across them: each wall is drawn above and below it.
  static const std::regex seal(R"(/Shade16 scn\r\n *([0-9.]+) +([0-9.]+) +([0-9.]+) +([0-9.]+) re)");
  const std::vector<PdfBar> walls = pdf_bars(content, seal);
  ASSERT_GE(walls.size(), 2u);
  const auto right_wall = std::find_if(walls.begin(), walls.end(), [&](const PdfBar& w) { return w.box[0] != walls[0].box[0]; });
  ASSERT_NE(right_wall, walls.end());
  EXPECT_NEAR(walls[0].box[2], 2.40, 0.005);
  EXPECT_NEAR(right_wall->box[2], 2.40, 0.005);
  EXPECT_NEAR(right_wall->box[0] - (walls[0].box[0] + 2.40), 7.20, 0.01);
  // The curve: a clipping path, then one path of one move, 19 lines and one stroke.
  const size_t from = content.find("%plotting from data file");
  ASSERT_NE(from, std::string::npos);
  const std::string curve = content.substr(from, content.find("\nQ\r\n", from) + 1 - from);
  EXPECT_NE(curve.find("re W n"), std::string::npos);
  EXPECT_EQ(find_all_regex(curve, R"( m\r\n)").size(), 1u) << curve;
  EXPECT_EQ(find_all_regex(curve, R"( l\r\n)").size(), 19u) << curve;
  EXPECT_EQ(find_all_regex(curve, R"(\nS\r\n)").size(), 1u) << curve;
  // The zone column: 6 bars in proportion to 10, 25, 40, 60, 5 and 30 (the line "1,50: 25" read as 1.50 m
  // and 25).
  static const std::regex bar(R"(0 0 0 /Shade28 scn\r\n *([0-9.]+) +([0-9.]+) +([0-9.]+) +([0-9.]+) re)");
  std::map<std::string, std::vector<std::pair<double, double>>> by_left;  // "[S4]" of the fills column too
  for (auto it = std::sregex_iterator(content.begin(), content.end(), bar); it != std::sregex_iterator(); ++it)
    by_left[(*it)[1]].push_back({std::stod((*it)[3]), std::stod((*it)[4])});
  std::vector<double> widths, heights;
  for (const auto& [left, bars] : by_left)
    if (bars.size() > 1)
      for (const auto& [w, h] : bars) widths.push_back(w), heights.push_back(h);
  ASSERT_EQ(widths.size(), 6u);
  const double values[] = {10, 25, 40, 60, 5, 30};
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(widths[i] / widths[3], values[i] / 60, 0.01) << i;
  EXPECT_NEAR(heights[1], 2 * heights[0], 0.3);  // 0.50 to 1.50 m against 0 to 0.50 m

  const std::string text = pdf_tool("pdftotext", pdf, {"-f", "2", "-l", "2"});
  for (const char* word : {"seal", "filter"}) EXPECT_NE(text.find(word), std::string::npos) << word;
}

// The same on DXF and the pen plotter: one end, a circle at each point; the titles where they stand
// when the file columns are plain graph columns; on the printer the curve in an HP-GL/2 section.
TEST(Log, DataFilesOnThePlotDevices) {
  std::map<std::string, std::string> titles;  // device and run -> the title positions
  for (const char* device : {"DXF", "PGL", "PCL"}) {
    for (bool files : {true, false}) {
      EngineFolder ef;
      ef.write("holes.txt", fills_and_files(files));
      write_data_files(ef);
      const fs::path f = plot(ef, "holes.txt", device, "J31/BH31", "A4", 1);  // the faults of fills_and_files
      ASSERT_TRUE(fs::exists(f)) << device;
      const std::string ext = f.extension().string();
      const std::string bytes = read_file(f);
      std::string& where = titles[std::string(device) + (files ? "+" : "-")];
      if (ext == ".dxf") {
        const RunResult a = run_program(
            {"/usr/bin/python3", "-c",
             "import ezdxf,sys\nd=ezdxf.readfile(sys.argv[1])\nm=d.modelspace()\n"
             "print(len(d.audit().errors), len(m.query('CIRCLE')))\n"
             "for t in m.query('TEXT'):\n  if t.dxf.text in ('Fills','Standpipe','Curve','Zones'): "
             "print(t.dxf.text, round(t.dxf.insert.x, 2), round(t.dxf.insert.y, 2))",
             f.string()},
            ef.path(), 60);
        ASSERT_EQ(a.exit_code, 0) << a.err;
        const std::string first = a.out.substr(0, a.out.find('\n'));
        EXPECT_EQ(first, files ? "0 20" : "0 0") << a.out;
        where = a.out.substr(a.out.find('\n') + 1);
        EXPECT_EQ(bytes.find("EOF"), bytes.size() - 5);
        EXPECT_EQ(bytes.find('\x1b'), std::string::npos);  // no printer bytes in a DXF file
      } else if (ext == ".pgl") {
        EXPECT_EQ(bytes.find("\x1b%1A"), bytes.size() - 15);
        if (files) {
          EXPECT_EQ(find_all_regex(bytes, "CI3;").size(), 20u);
        }
        for (const char* t : {"LBFills", "LBStandpipe", "LBCurve", "LBZones"}) {
          const size_t at = bytes.find(t);
          ASSERT_NE(at, std::string::npos) << t;
          where += bytes.substr(bytes.rfind("PA", at), at - bytes.rfind("PA", at)) + "\n";
        }
        const size_t from = bytes.find("\x1b%0B"), to = bytes.rfind(";\x1b%1A");
        write_file(ef.file("body.hpgl"), bytes.substr(from + 4, to + 1 - from - 4));
        const RunResult h = run_program({reader("hp2xx"), "-m", "png", "-f", ef.file("body.png").string(),
                                         ef.file("body.hpgl").string()}, ef.path(), 60);
        EXPECT_EQ(h.exit_code, 0) << h.out << h.err;
        // Every command understood, and the pen the plot selects first (IN;SP1) used.
        EXPECT_NE((h.out + h.err).find("HPGL command(s) ignored: 0"), std::string::npos) << h.out << h.err;
        EXPECT_NE((h.out + h.err).find("Pens used: 1"), std::string::npos) << h.out << h.err;
      } else {
        PclRead pcl;
        std::string what;
        EXPECT_TRUE(read_pcl(bytes, pcl, what)) << what;
        EXPECT_EQ(pcl.hpgl, files ? 1 : 0);
        EXPECT_EQ(bytes.find("\x1b" "E\x1b%-12345X"), bytes.size() - 11);
      }
    }
  }
  EXPECT_EQ(titles["DXF+"], titles["DXF-"]);
  EXPECT_EQ(titles["PGL+"], titles["PGL-"]);
  EXPECT_NE(titles["DXF+"], "");
}

// With one file column beside the profile and the others on a page of their own, the DXF texts of that
// page stand where they stand when the column beside the profile reads no file.
TEST(Log, DataFileBesideTheProfileLeavesTheSeparatePageInPlace) {
  std::string out[2];
  for (int files = 0; files <= 1; ++files) {
    EngineFolder ef;
    ef.write("holes.txt", fills_and_files(files == 1, "Compress : 601\r\n"));
    write_data_files(ef);
    const fs::path f = plot(ef, "holes.txt", "DXF", "J31/BH31", "A4", 1);  // the faults of fills_and_files
    const RunResult a = run_program(
        {"/usr/bin/python3", "-c",
         "import ezdxf,sys\nd=ezdxf.readfile(sys.argv[1])\n"
         "for t in d.modelspace().query('TEXT'):\n  if t.dxf.text in ('Fills','Standpipe','Curve','seal','filter'): "
         "print(t.dxf.text, round(t.dxf.insert.x, 2), round(t.dxf.insert.y, 2))",
         f.string()},
        ef.path(), 60);
    out[files] = a.out;
  }
  EXPECT_NE(out[0], "");
  EXPECT_EQ(out[0], out[1]);
}

// Values beyond a graph column's maximum stay in their column: a bar of 80 in a column of 50 is as wide
// as the bar of 50; a curve of a data file is cut at the column's edge on every device.
TEST(Log, GraphsStayInTheirColumn) {
  for (const char* device : {"PDF", "DXF", "PGL"}) {
    EngineFolder ef;
    ef.write("holes.txt",
             "Job Number : J-32\r\nHole Number : BH32\r\nSuppress : 0\r\n/\r\n3.00 Firm brown CLAY.\r\n/\r\n"
             "ATTRIBUTE: Bars [GRAPH 50]\r\n 1.00: 50\r\n 2.00: 80\r\n 3.00: 20\r\n"
             "ATTRIBUTE: Curve [GRAPH 10] [FILE] [HPGL1200]\r\n 3.00: curve.txt\r\n//\r\n///\r\n");
    // From the left edge to the right edge, out past it to three times the maximum, and back.
    ef.write("curve.txt", "0.5, 0\r\n1.0, 10\r\n1.5, 30\r\n2.0, 5\r\n");
    const fs::path f = plot(ef, "holes.txt", device, "J32/BH32");
    ASSERT_TRUE(fs::exists(f));
    const std::string bytes = read_file(f);
    const std::string ext = f.extension().string();
    if (ext == ".pdf") {
      const auto bars = find_all_regex(bytes, R"(/Shade28 scn\r\n *([0-9.]+) +[0-9.]+ +([0-9.]+) +[0-9.]+ re)");
      ASSERT_EQ(bars.size(), 3u);
      EXPECT_EQ(bars[1][1], bars[0][1]);  // 80 from the same left edge
      EXPECT_EQ(bars[1][2], bars[0][2]);  // to the same right edge as 50
      EXPECT_NEAR(std::stod(bars[2][2]), 0.4 * std::stod(bars[0][2]), 0.02);
    } else if (ext == ".dxf") {
      const RunResult a = run_program(
          {"/usr/bin/python3", "-c",
           "import ezdxf,sys\nm=ezdxf.readfile(sys.argv[1]).modelspace()\nc=[e.dxf.center.x for e in m.query('CIRCLE')]\n"
           "print(len(c))\nxs=[x for e in m.query('LINE') if e.dxf.start.y!=e.dxf.end.y and e.dxf.start.x!=e.dxf.end.x "
           "for x in (e.dxf.start.x,e.dxf.end.x)]\nprint(round(min(xs)-min(c),3), round(max(xs)-max(c),3))",
           f.string()},
          ef.path(), 60);
      // Circles at the three points inside the column; the sloping lines between its edges (the points
      // at 0 and 10).
      EXPECT_EQ(a.out, "3\n0.0 0.0\n") << a.out << a.err;
    } else {
      const size_t from = bytes.find("PW0.17;PU"), to = bytes.find("LT;", from);
      ASSERT_NE(from, std::string::npos);
      const std::string curve = bytes.substr(from, to - from);
      EXPECT_EQ(find_all_regex(curve, "CI3;").size(), 3u) << curve;
      const auto points = find_all_regex(curve, "PA(-?[0-9]+),(-?[0-9]+)");
      ASSERT_GE(points.size(), 4u) << curve;
      const int left = std::stoi(points[0][1]), right = std::stoi(points[1][1]);
      for (const auto& p : points) {
        EXPECT_GE(std::stoi(p[1]), left) << curve;
        EXPECT_LE(std::stoi(p[1]), right) << curve;
      }
      EXPECT_NE(curve.find("PU"), curve.rfind("PU")) << "the pen lifts where the curve leaves the column: " << curve;
    }
  }
}

struct Segment {
  double x1, y1, x2, y2;  // in dots, x1 <= x2 and y1 <= y2
};

// The straight lines ("m" then "l") of one page of a PDF, in the sheet's dots: x = (pt - 18) / 0.24,
// y = (807 - pt) / 0.24.
std::vector<Segment> segments_of(const fs::path& pdf, int page) {
  const fs::path one = pdf.parent_path() / ("page" + std::to_string(page) + ".pdf");
  run_program({reader("qpdf"), "--qdf", "--object-streams=disable", pdf.string(), "--pages", pdf.string(),
               std::to_string(page), "--", one.string()},
              pdf.parent_path(), 30);
  const std::string content = read_file(one);
  std::vector<Segment> out;
  for (const auto& m : find_all_regex(content, R"(([-0-9.]+) +([-0-9.]+) m\r?\n *([-0-9.]+) +([-0-9.]+) l)")) {
    const double x1 = (std::stod(m[1]) - 18) / 0.24, y1 = (807 - std::stod(m[2])) / 0.24;
    const double x2 = (std::stod(m[3]) - 18) / 0.24, y2 = (807 - std::stod(m[4])) / 0.24;
    out.push_back({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
  }
  return out;
}

// Whether the lines cover the vertical x from y1 to y2 (or, horizontal, y from x1 to x2) without a gap.
bool covered(const std::vector<Segment>& lines, bool vertical, double at, double from, double to) {
  std::vector<std::pair<double, double>> parts;
  for (const Segment& s : lines) {
    if (vertical && std::fabs(s.x1 - at) < 0.1 && std::fabs(s.x2 - at) < 0.1) parts.push_back({s.y1, s.y2});
    if (!vertical && std::fabs(s.y1 - at) < 0.1 && std::fabs(s.y2 - at) < 0.1) parts.push_back({s.x1, s.x2});
  }
  std::sort(parts.begin(), parts.end());
  double reached = from;
  for (const auto& [a, b] : parts)
    if (a <= reached + 1.1) reached = std::max(reached, b);
  return reached >= to - 0.1;
}

// The log's page box is closed. On A4 the log page is a sheet of its own: its box runs from the left
// line (attribute margin 0 + 250 dots) to 2335 dots, y 20 to 3196 (the page length 3200 less 4), with
// a line on each of the four sides and nothing past it; the profile page closes its own frame at dot
// 1 (its right side at 2250 + 30). On A3 the log stands on the left half of the profile's sheet: one
// frame from 250 to 2333 + 2250 + 30 = 4613, and no line down the join.
TEST(Log, FrameClosedOnA4AndA3) {
  for (const char* paper : {"A4", "A3"}) {
    EngineFolder ef;
    ef.write("holes.txt", three_columns());
    const fs::path pdf = plot(ef, "holes.txt", "PDF", "J29/BH9", paper);
    ASSERT_TRUE(fs::exists(pdf));
    const bool a3 = std::string(paper) == "A3";
    const std::vector<Segment> log = segments_of(pdf, a3 ? 1 : 2);
    ASSERT_FALSE(log.empty());
    const double right = a3 ? 4613 : 2335;
    for (const double x : {250.0, right}) EXPECT_TRUE(covered(log, true, x, 20, 3196)) << paper << " side at " << x;
    for (const double y : {20.0, 3196.0}) EXPECT_TRUE(covered(log, false, y, 250, right)) << paper << " rule at " << y;
    // Nothing past the frame, and nothing within 6 points of the paper's edge.
    const double width = a3 ? 1190 : 595;
    for (const Segment& s : log) {
      EXPECT_GE(s.x1, 250 - 0.1) << paper;
      EXPECT_LE(s.x2, right + 0.1) << paper;
      EXPECT_GE(s.x1 * 0.24 + 18, 6) << paper;
      EXPECT_LE(s.x2 * 0.24 + 18, width - 6) << paper;
      EXPECT_GE(807 - s.y2 * 0.24, 6) << paper;
    }
    if (a3) {
      EXPECT_FALSE(covered(log, true, 2335, 20, 3196)) << "the join of the two halves stays open";
    } else {
      const std::vector<Segment> profile = segments_of(pdf, 1);
      for (const double x : {1.0, 2280.0}) EXPECT_TRUE(covered(profile, true, x, 20, 3196)) << "profile side at " << x;
      for (const double y : {20.0, 3196.0}) EXPECT_TRUE(covered(profile, false, y, 1, 2280)) << "profile rule at " << y;
    }
  }
}

// The same on the pen plotter and DXF, where a separate A4 log page stands one paper width (7918
// plotter units) left of the profile: its box from 250 to 2335 dots is, in plotter units of
// 25.4 x 40 / 300 a dot, -7071 to -10 (HP-GL/2, whole units) or -7071.333 to -10.133 (DXF).
TEST(Log, FrameClosedOnThePlotDevices) {
  for (const char* device : {"PGL", "DXF"}) {
    EngineFolder ef;
    ef.write("holes.txt", three_columns());
    const bool pgl = std::string(device) == "PGL";
    const fs::path f = plot(ef, "holes.txt", device, "J29/BH9");
    ASSERT_TRUE(fs::exists(f));
    std::vector<Segment> lines;
    if (pgl) {
      for (const auto& m : find_all_regex(read_file(f), R"(PA(-?[0-9]+),(-?[0-9]+)PDPA(-?[0-9]+),(-?[0-9]+))")) {
        const double x1 = std::stod(m[1]), y1 = std::stod(m[2]), x2 = std::stod(m[3]), y2 = std::stod(m[4]);
        lines.push_back({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
      }
    } else {
      const RunResult a = run_program({"/usr/bin/python3", "-c",
                                       "import ezdxf,sys\nfor e in ezdxf.readfile(sys.argv[1]).modelspace().query('LINE'):\n"
                                       "  print(e.dxf.start.x, e.dxf.start.y, e.dxf.end.x, e.dxf.end.y)",
                                       f.string()},
                                      ef.path(), 60);
      ASSERT_EQ(a.exit_code, 0) << a.err;
      std::istringstream in(a.out);
      for (double x1, y1, x2, y2; in >> x1 >> y1 >> x2 >> y2;)
        lines.push_back({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
    }
    // The log page: everything left of the profile sheet's origin.
    std::vector<Segment> log;
    for (const Segment& s : lines)
      if (s.x2 < 0) log.push_back(s);
    ASSERT_FALSE(log.empty()) << device;
    const double left = pgl ? -7071 : -7071.333, right = pgl ? -10 : -10.133;
    double top = -1e9, bottom = 1e9;  // y grows upwards here: the box's top rule is the highest line
    for (const Segment& s : log) top = std::max(top, s.y2), bottom = std::min(bottom, s.y1);
    for (const double x : {left, right}) EXPECT_TRUE(covered(log, true, x, bottom, top)) << device << " side at " << x;
    for (const double y : {bottom, top}) EXPECT_TRUE(covered(log, false, y, left, right)) << device << " rule at " << y;
    for (const Segment& s : log) EXPECT_LE(s.x2, right + 0.01) << device;
  }
}

// On the printer the profile page has gone out when the log begins, so the columns beside the profile
// come on a page of their own (the stream's second), and it closes its frame as the log's pages do:
// rules at 20 and 3196 (the page length 3200 less 4) and sides from 20 to 3196. The compress code is
// also the profile's left margin, and the band ends 230 dots right of it (no sample labels): with some
// columns on pages of their own (601, 603) at 831 or 833, where the depth scale's strip ends (its line
// 126 dots further left), the band from 0; with all beside the profile (600) from 60, its scale's line
// at 830 and its labels beyond it, so the right side stands a strip's width further, at 956. Every rule
// and text of the page stands inside, a text's characters counted 18 dots each.
TEST(Log, PrinterPageOfColumnsBesideTheProfileClosesItsFrame) {
  struct Case {
    const char* code;
    long left, right;
  } cases[] = {{"603", 0, 833}, {"601", 0, 831}, {"600", 60, 956}};
  for (const auto& c : cases) {
    EngineFolder ef;
    ef.write("holes.txt", three_columns("Compress : " + std::string(c.code) + "\r\n"));
    const fs::path f = plot(ef, "holes.txt", "PCL", "J29/BH9");
    ASSERT_TRUE(fs::exists(f)) << c.code;
    PclRead pcl;
    std::string what;
    ASSERT_TRUE(read_pcl(read_file(f), pcl, what)) << c.code << ": " << what;
    std::vector<Segment> lines;
    for (const PclRead::Rule& r : pcl.rule_boxes) {
      if (r.page != 1) continue;
      // A rule one dot thick is a line along its top or left edge.
      const double x2 = r.height == 1 ? static_cast<double>(r.x + r.width) : static_cast<double>(r.x);
      const double y2 = r.width == 1 ? static_cast<double>(r.y + r.height) : static_cast<double>(r.y);
      lines.push_back({static_cast<double>(r.x), static_cast<double>(r.y), x2, y2});
      EXPECT_GE(r.x, c.left) << c.code;
      EXPECT_LE(r.x + r.width, c.right + 1) << c.code;
      EXPECT_GE(r.y, 20) << c.code;
      EXPECT_LE(r.y + r.height, 3197) << c.code;
    }
    ASSERT_FALSE(lines.empty()) << c.code;
    for (const double x : {c.left, c.right}) EXPECT_TRUE(covered(lines, true, x, 20, 3196)) << c.code << " side at " << x;
    for (const double y : {20.0, 3196.0}) EXPECT_TRUE(covered(lines, false, y, c.left, c.right)) << c.code << " rule at " << y;
    int texts = 0;
    for (const PclRead::Text& t : pcl.texts) {
      const std::string shown = t.text.substr(0, t.text.find_last_not_of(' ') + 1);
      if (t.page != 1 || shown.find_first_not_of(' ') == std::string::npos) continue;
      ++texts;
      EXPECT_GT(t.x, c.left) << c.code << " " << t.text;
      EXPECT_LT(t.x + 18 * static_cast<long>(shown.size()), c.right) << c.code << " " << t.text;
      EXPECT_GT(t.y, 20) << c.code << " " << t.text;
      EXPECT_LT(t.y, 3196) << c.code << " " << t.text;
    }
    EXPECT_GT(texts, 8) << c.code << ": the columns' texts, titles and scale labels";
  }
}

// Columns beside the profile (compress code 603) put their titles and the depth scale's title
// ("Depth", "metres": three rows against the columns' one) in rows above the sheet's footer: no word
// crosses the footer's rule (page length 3200 - foot 300 - 1 = 2899 dots, 729.76 pt from the top) or
// stands on another word, as the client's name below them did.
TEST(Log, CompressedTitlesStayAboveTheFooter) {
  for (const char* paper : {"A4", "A3"}) {
    EngineFolder ef;
    ef.write("holes.txt", three_columns("Compress : 603\r\nClient : Northshire County Council\r\n"));
    const fs::path pdf = plot(ef, "holes.txt", "PDF", "J29/BH9", paper);
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_NE(pdf_tool("pdfinfo", pdf).find("Pages:           1"), std::string::npos) << paper;
    const std::vector<Word> words = words_of(pdf, 1);
    const Word* metres = nullptr;
    for (const Word& w : words) {
      if (w.text == "metres" && (!metres || w.y0 > metres->y0)) metres = &w;
      EXPECT_FALSE(w.y0 < 729.76 && w.y1 > 729.76) << paper << ": " << w.text << " crosses the footer's rule";
    }
    ASSERT_TRUE(metres) << paper;
    EXPECT_LT(metres->y1, 729.76) << paper;
    for (size_t i = 0; i < words.size(); ++i)
      for (size_t j = i + 1; j < words.size(); ++j) {
        const Word &a = words[i], &b = words[j];
        EXPECT_FALSE(a.x0 < b.x1 - 0.1 && b.x0 < a.x1 - 0.1 && a.y0 < b.y1 - 0.1 && b.y0 < a.y1 - 0.1)
            << paper << ": " << a.text << " over " << b.text;
      }
  }
}

struct Label {
  double x0, y0, x1, y1;  // the label's ink in plotter units, y upwards
  std::string text;
};

// The labels of an HP-GL/2 plot with the boxes the plotter gives them: each character one cell of
// 1016 / pitch units of the font last defined and selected ("SD ... SS" or "AD ... SA"), as high as
// the font's height in points; placed at the pen's position by the label origin ("LO" 1 left, 4 centre,
// 7 right). Leading and trailing blanks take their cells but no ink.
std::vector<Label> labels_of(const std::string& plot) {
  std::vector<Label> out;
  static const std::regex item(R"re((SD|AD)1,341,2,0,3,([0-9.]+),4,([0-9.]+),[0-9,.]*(SS|SA)|PA(-?[0-9]+),(-?[0-9]+)|LO([0-9]+)|LB([^\x1f]*)\x1f)re");
  double pitch = 13.5, height = 10, x = 0, y = 0;
  int origin = 1;
  for (auto it = std::sregex_iterator(plot.begin(), plot.end(), item); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    if (m[1].matched) {
      pitch = std::stod(m[2]), height = std::stod(m[3]);
    } else if (m[5].matched) {
      x = std::stod(m[5]), y = std::stod(m[6]);
    } else if (m[7].matched) {
      origin = std::stoi(m[7]);
    } else {
      const std::string text = m[8];
      const double cell = 1016 / pitch, w = cell * static_cast<double>(text.size());
      const double left = origin == 4 ? x - w / 2 : origin == 7 ? x - w : x;
      const size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
      if (first == std::string::npos) continue;
      out.push_back({left + cell * static_cast<double>(first), y, left + cell * static_cast<double>(last + 1),
                     y + height / 72 * 1016, text});
    }
  }
  return out;
}

// Two labels on each other; a text printed again a dot or less beside itself (the heavy header texts)
// is one label.
bool overlap(const Label& a, const Label& b) {
  if (a.text == b.text && std::fabs(a.x0 - b.x0) < 5 && std::fabs(a.y0 - b.y0) < 5) return false;
  return a.x0 < b.x1 - 0.5 && b.x0 < a.x1 - 0.5 && a.y0 < b.y1 - 0.5 && b.y0 < a.y1 - 0.5;
}

// The pen plotter draws its fixed-pitch font, and the example's sheets are laid out with its widths:
// on BH1's log page (left of the profile sheet's origin on A4) no label stands on another (a heavy
// text's repeated prints a dot apart are one label), the labels
// of the hole and job boxes stand clear of their values on both pages ("Hole BH1", "Job No. GE-2631"),
// and every text above the footer (descriptions, notes, header) ends inside the frame (2250 + 30 dots,
// 7721 plotter units).
TEST(Log, PlotterLabelsStandClear) {
  EngineFolder ef;
  const fs::path f = plot(ef, ef.file("Examples/Examples.TXT").string(), "PGL", "GE2631/BH1");
  ASSERT_TRUE(fs::exists(f));
  const std::vector<Label> labels = labels_of(read_file(f));
  std::vector<const Label*> log, sheet;
  for (const Label& l : labels) (l.x1 < 0 ? log : sheet).push_back(&l);
  ASSERT_GT(log.size(), 20u);
  for (size_t i = 0; i < log.size(); ++i)
    for (size_t j = i + 1; j < log.size(); ++j)
      EXPECT_FALSE(overlap(*log[i], *log[j])) << log[i]->text << " | " << log[j]->text;
  for (const auto& [label, value] : std::vector<std::pair<std::string, std::string>>{{"Hole ", "BH1"}, {"Job No. ", "GE-2631"}}) {
    int pairs = 0;
    for (const Label& l : labels) {
      if (l.text != label) continue;
      for (const Label& v : labels)
        if (v.text == value && std::fabs(v.y0 - l.y0) < 1 && v.x0 > l.x0 && v.x0 - l.x0 < 1000) {
          ++pairs;
          EXPECT_GT(v.x0, l.x1) << label << value;
        }
    }
    EXPECT_GE(pairs, 4) << label << ": the sheet's box and the log's, each drawn more than once";
  }
  // The sheet above the footer's rule (page row 2899: 1019 units up).
  int lines = 0;
  for (const Label* l : sheet)
    if (l->y0 > 1100) {
      ++lines;
      EXPECT_LE(l->x1, 7721.6) << l->text;
    }
  EXPECT_GT(lines, 10);
}

}  // namespace

// The lines, hatching or shade under the words of a PDF's pages, found by tests/support/text_ink.py
// (the pages drawn without their texts, the dark pixels inside each word's box counted): one line per
// word that has ink under it, nothing when every word stands clear.
std::string ink_under_words(const fs::path& pdf) {
  const RunResult r = run_program({"/usr/bin/python3", (source_dir() / "tests/support/text_ink.py").string(), pdf.string()},
                                  pdf.parent_path(), 120);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return r.out;
}

// Words of a page whose boxes overlap (text printed over text).
std::string words_over_words(const fs::path& pdf, int pages) {
  std::string out;
  for (int p = 1; p <= pages; ++p) {
    const std::vector<Word> words = words_of(pdf, p);
    for (size_t i = 0; i < words.size(); ++i)
      for (size_t j = i + 1; j < words.size(); ++j) {
        const Word &a = words[i], &b = words[j];
        if (a.x0 < b.x1 - 0.5 && b.x0 < a.x1 - 0.5 && a.y0 < b.y1 - 0.5 && b.y0 < a.y1 - 0.5)
          out += "page " + std::to_string(p) + ": '" + a.text + "' over '" + b.text + "'\n";
      }
  }
  return out;
}

// A rotary-cored hole over three log pages (tests/log/crowded-log.txt): weathering grades "IV", "III",
// "Fault" on line and cross hatching, "Peat" on the full shade, SPT values on their hatched bars and
// core recovery values on their grey bars, layer lines across the depth scale at whole metres (3.50 m is
// not; 8, 14 and 20 m are, where a depth label stands). Read from what is drawn: every word of every
// page stands on clear paper, no word over another; the grades and "Peat" are there to read; and the
// second and third log pages are ruled at the head of their columns as the first is (HEADDOTS 300, from
// the band's left at 270 to the frame at 2335).
// A borehole with 25 columns (20 in a table, five more after it): values of four characters and more,
// titles of up to four long words. The A4 page has room for 19 of them with their values drawn
// narrower: the run says which are left out (console and ERROR.LOG) and ends with 1; no value crosses a
// column border nor stands over another value ("1250" and "2400" of two columns apart), no title over
// another or across a border (the same ink check: the borders run through the rows and the title block).
TEST(Log, CrowdedLogKeepsItsTextsClear) {
  EngineFolder ef;
  ef.write("crowded-log.txt", read_file(source_dir() / "tests/log/crowded-log.txt"));
  ef.write("@runfile.dat", run_file("crowded-log.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 120);
  EXPECT_EQ(r.exit_code, 1) << r.out;
  const std::string left_out = "Hole BH25: the log's 25 columns need more width than the page has; \"Effective friction "
                               "angle degrees\" and the 5 columns after it are left out.";
  EXPECT_NE(r.out.find(left_out), std::string::npos) << r.out;
  EXPECT_NE(ef.read("ERROR.LOG").find(left_out), std::string::npos) << ef.read("ERROR.LOG");
  const fs::path bh25 = ef.file("drive_c/VLXFILES/GE2631CR/BH25.pdf");
  ASSERT_TRUE(fs::exists(bh25)) << r.out;
  run_program({reader("qpdf"), "--qdf", "--object-streams=disable", bh25.string(), (bh25.parent_path() / "BH25.qdf").string()},
              bh25.parent_path(), 30);
  expect_clean(bh25);
  EXPECT_EQ(ink_under_words(bh25), "");
  EXPECT_EQ(words_over_words(bh25, 2), "");
  const std::vector<Word> table = words_of(bh25, 2);
  for (const char* value : {"1250", "2400", "1.5E-09", "0.012", "2.35", "12"}) EXPECT_TRUE(find_word(table, value)) << value;
  EXPECT_FALSE(find_word(table, "24.5")) << "the column of the friction angle is left out";
  // A column too narrow for its values draws them all narrower alike (the bulk densities), one that
  // holds them draws them at the usual width (the liquid limits).
  const std::string content = read_file(bh25.parent_path() / "BH25.qdf");
  std::map<std::string, std::string> scale;
  for (const auto& m : find_all_regex(content, R"(([0-9.]+) Tz\s+\((1\.95|2\.01|2\.06|48|52|45)\) Tj)")) scale[m[2]] = m[1];
  ASSERT_EQ(scale.size(), 6u) << content.size();
  EXPECT_EQ(scale["1.95"], scale["2.01"]);
  EXPECT_EQ(scale["1.95"], scale["2.06"]);
  EXPECT_LT(std::stod(scale["1.95"]), 94.482 * 0.99);
  for (const char* v : {"48", "52", "45"}) EXPECT_EQ(scale[v], "94.482") << v;
  const fs::path pdf = ef.file("drive_c/VLXFILES/GE2631CR/RC1.pdf");
  ASSERT_TRUE(fs::exists(pdf)) << r.out;
  expect_clean(pdf);
  EXPECT_NE(pdf_tool("pdfinfo", pdf).find("Pages:           6"), std::string::npos) << "three profile and three log pages";
  EXPECT_EQ(ink_under_words(pdf), "");
  EXPECT_EQ(words_over_words(pdf, 6), "");
  const std::string text = pdf_tool("pdftotext", pdf, {"-f", "2", "-l", "2"});
  for (const char* word : {"IV", "III", "Fault", "Peat", "V", "38", "50", "85"})
    EXPECT_NE(text.find(std::string("\n") + word + "\n"), std::string::npos) << word << text;
  for (const int page : {2, 4, 6}) EXPECT_TRUE(covered(segments_of(pdf, page), false, 300, 270, 2335)) << "log page " << page;
  // The job title, too long for its place right of the logo, moved left into the free head: its
  // first line is cut later than before ("...Community..."), and it stands clear of the logo's words
  // (no word over another above).
  const std::vector<Word> head = words_of(pdf, 1);
  const Word *title = find_word(head, "Meadowbank"), *logo = find_word(head, "VELTRAX");
  ASSERT_TRUE(title && logo);
  EXPECT_TRUE(find_word(head, "Extension,")) << "the title's line is cut where the hole box stands";
  EXPECT_LT(title->x0, 264) << "the title's place from the SET file";
  EXPECT_GT(title->x0, logo->x1 + 4);
  // The footer of the last profile page: the long Logged By value ends before the sheet body's right
  // edge (2250 dots, 558 points), where the body's side ends; the frame stands 30 dots further.
  const std::vector<Word> footer = words_of(pdf, 5);
  ASSERT_TRUE(find_word(footer, "Patel-Richardson,"));
  for (const Word& w : footer) {
    if (w.y0 > 700 && w.y1 < 800) {
      EXPECT_LE(w.x1, 558.0) << w.text;
    }
  }
}

// A job number long enough to grow the log header's job box past the place of the abbreviation table
// on the pen devices (their fixed-pitch letters are wide): the table moves right of the box, so the
// box's side never runs through its letters. DXF: the job box's right side (the first vertical line
// right of the number that spans its height) stands left of the table's first field ("U" and "W",
// whose rows the box shares), by the gap a box of the first width leaves (65 dots, 220 units).
// HP-GL/2: the letters "U" and "W" begin at least that gap right of the number's end.
TEST(Log, HeaderJobBoxStandsClearOfTheAbbreviations) {
  const std::string job = "GE-2631-CR/PH2-2025";
  for (const char* device : {"DXF", "PGL"}) {
    EngineFolder ef;
    ef.write("holes.txt", "Job Number : " + job + "\r\nHole Number : BH9\r\nSuppress : 0\r\n/\r\n1.00 Firm brown CLAY.\r\n"
                          "6.00 Stiff grey CLAY.\r\n/\r\nNOTES:\r\n1. A note.\r\nATTRIBUTE: Alpha\r\n 1.00: one\r\n//\r\n///\r\n");
    const fs::path f = plot(ef, "holes.txt", device, "GE2631CRPH22025/BH9");
    ASSERT_TRUE(fs::exists(f)) << device;
    if (std::string(device) == "DXF") {
      const RunResult a = run_program(
          {"/usr/bin/python3", "-c",
           "import ezdxf,sys\nm=ezdxf.readfile(sys.argv[1]).modelspace()\n"
           "job=[e for e in m.query('TEXT') if e.dxf.text==sys.argv[2] and e.dxf.insert.x<0][0]\n"
           "x,y=job.dxf.insert.x,job.dxf.insert.y\n"
           "print(min(e.dxf.start.x for e in m.query('LINE') if abs(e.dxf.start.x-e.dxf.end.x)<0.01 and e.dxf.start.x>x "
           "and min(e.dxf.start.y,e.dxf.end.y)<y<max(e.dxf.start.y,e.dxf.end.y)))\n"
           "for e in m.query('TEXT'):\n  if e.dxf.text in ('U','W') and e.dxf.insert.x<0: print(e.dxf.insert.x)",
           f.string(), job},
          ef.path(), 60);
      ASSERT_EQ(a.exit_code, 0) << a.err;
      std::istringstream in(a.out);
      double side = 0;
      ASSERT_TRUE(in >> side) << a.out;
      int letters = 0;
      for (double x; in >> x; ++letters) EXPECT_GE(x - side, 220 - 1) << a.out;
      EXPECT_EQ(letters, 2) << a.out;
    } else {
      const std::vector<Label> labels = labels_of(read_file(f));
      const Label* number = nullptr;
      for (const Label& l : labels)
        if (l.text == job && l.x1 < 0) number = &l;
      ASSERT_TRUE(number);
      int letters = 0;
      for (const Label& l : labels)
        if ((l.text == "U" || l.text == "W") && l.x1 < 0) {
          ++letters;
          EXPECT_GE(l.x0 - number->x1, 220 - 1) << l.text;
        }
      EXPECT_EQ(letters, 2);
    }
  }
}

// The crowded rotary-cored hole in DXF: the log page stands left of the profile sheet (x < 0), and no
// hatch stroke, bar stroke, rule or border runs through the letters of any of its texts
// (tests/support/dxf_text_lines.py). The pen plotter draws the same strokes.
TEST(Log, CrowdedLogKeepsItsTextsClearInDxf) {
  EngineFolder ef;
  ef.write("crowded-log.txt", read_file(source_dir() / "tests/log/crowded-log.txt"));
  const fs::path f = plot(ef, "crowded-log.txt", "DXF", "GE2631CR/RC1", "A4", 1);
  ASSERT_TRUE(fs::exists(f));
  const RunResult r = run_program({"/usr/bin/python3", (source_dir() / "tests/support/dxf_text_lines.py").string(),
                                   f.string(), "--left"},
                                  ef.path(), 120);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "0\n");
}
