// The drawn sheets of a one-shot PDF run, as real readers see them: the shipped example's holes each
// get a result PDF in the job folder of the SET file's output folder, the run's PDFs are joined, and
// bad inputs are said without losing a result.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

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

std::string run_file(const std::string& input, const std::string& extra = "") {
  return "0/   setupfile = STANDARD.SET\r\n1/   inputfile = " + input +
         "\r\n2/      output = PDF\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n" + extra;
}

// qpdf finds nothing, pdftoppm renders every page without a word on its error output.
void expect_readable(const fs::path& pdf) {
  RunResult q = run_program({reader("qpdf"), "--check", pdf.string()}, pdf.parent_path(), 30);
  EXPECT_EQ(q.exit_code, 0) << pdf << q.out << q.err;
  EXPECT_EQ(q.out.find("WARNING"), std::string::npos) << pdf << q.out;
  RunResult r = run_program({reader("pdftoppm"), "-r", "20", pdf.string(), (pdf.parent_path() / "page").string()},
                            pdf.parent_path(), 60);
  EXPECT_EQ(r.exit_code, 0) << pdf;
  EXPECT_EQ(r.err, "") << pdf;
}

std::string pdf_tool(const std::string& tool, const fs::path& pdf, std::vector<std::string> args = {}) {
  std::vector<std::string> argv{reader(tool)};
  argv.insert(argv.end(), args.begin(), args.end());
  argv.push_back(pdf.string());
  if (tool == "pdftotext") argv.push_back("-");
  return run_program(argv, pdf.parent_path(), 30).out;
}

TEST(Sheet, ExampleGivesAResultPerHoleAndTheJoinedFile) {
  EngineFolder ef;
  ef.write("@runfile.dat", run_file(ef.file("Examples/Examples.TXT").string(), "8/      result = target.pdf\r\n"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
  const fs::path job = ef.file("drive_c/VLXFILES/GE2631");
  for (const char* hole : {"BH1", "BH2", "BH3", "TP1", "TP2", "TP3"}) {
    const fs::path pdf = job / (std::string(hole) + ".pdf");
    ASSERT_TRUE(fs::exists(pdf)) << pdf;
    expect_readable(pdf);
    EXPECT_NE(pdf_tool("pdfinfo", pdf).find("(A4)"), std::string::npos) << hole;
  }
  expect_readable(job / "combined.pdf");
  // Each borehole's log page follows its profile page; the trial pits have none.
  EXPECT_NE(pdf_tool("pdfinfo", job / "combined.pdf").find("Pages:           9"), std::string::npos);
  EXPECT_EQ(read_file(ef.file("target.pdf")), read_file(job / "combined.pdf"));

  const std::string tp1 = pdf_tool("pdftotext", job / "TP1.pdf");
  for (const char* words : {"Meadowbank Primary School Extension", "Hole", "TP1", "GE-2631", "TOPSOIL",
                            "orange brown mottled grey", "Pit terminated", "0.30", "0.90", "2.20", "Notes",
                            "Pit sides stable", "Northshire County Council", "Page 1", "7022"})
    EXPECT_NE(tp1.find(words), std::string::npos) << words << "\n" << tp1;
  // The symbol column: an image mask per layer (four) and the continuation below the hole's bottom;
  // the samples column: one of 61 rows per sample symbol.
  const std::string images = pdf_tool("pdfimages", job / "TP1.pdf", {"-list"});
  EXPECT_EQ(find_all_regex(images, R"( stencil +64 +61 )").size(), 3u) << images;
  EXPECT_EQ(find_all_regex(images, R"( stencil +64 )").size(), 8u) << images;
  for (const char* label : {"D1", "B2"}) EXPECT_NE(tp1.find(label), std::string::npos) << label;
  // The last layer's depth ends in "+": the hole goes on, no depth label.
  EXPECT_EQ(tp1.find("2.70"), std::string::npos) << tp1;
}

// --- sheets a user can hand to a client ---

// A word on a page as pdftotext -bbox gives it, in points from the top left corner.
struct Word {
  double x1, y1, x2, y2;
  std::string text;
};
struct Page {
  double width = 0, height = 0;
  std::vector<Word> words;
};

std::vector<Page> word_boxes(const fs::path& pdf) {
  std::vector<Page> pages;
  const std::string xml = pdf_tool("pdftotext", pdf, {"-bbox"});
  const std::string number = "([-0-9.]+)";
  for (const auto& p : find_all_regex(xml, "<page width=\"" + number + "\" height=\"" + number + "\">([^]*?)</page>")) {
    Page page{std::stod(p[1]), std::stod(p[2]), {}};
    for (const auto& w : find_all_regex(p[3], "<word xMin=\"" + number + "\" yMin=\"" + number + "\" xMax=\"" + number +
                                                  "\" yMax=\"" + number + "\">([^<]*)</word>"))
      page.words.push_back({std::stod(w[1]), std::stod(w[2]), std::stod(w[3]), std::stod(w[4]), w[5]});
    pages.push_back(page);
  }
  return pages;
}

// The pages of a PDF rendered at 72 dots an inch (a pixel a point), in grey: width, height and pixels.
struct Grey {
  int width = 0, height = 0;
  std::string pixels;
};
std::vector<Grey> rendered(const fs::path& pdf, const fs::path& folder) {
  fs::create_directories(folder);
  run_program({reader("pdftoppm"), "-gray", "-r", "72", pdf.string(), (folder / "p").string()}, folder, 60);
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(folder)) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  std::vector<Grey> pages;
  for (const auto& f : files) {
    const std::string pgm = read_file(f);
    const auto head = find_regex(pgm, R"(^P5\s+(\d+)\s+(\d+)\s+255\s)");
    if (head.empty()) {
      ADD_FAILURE() << f << " is no grey map";
      continue;
    }
    pages.push_back({std::stoi(head[1]), std::stoi(head[2]), pgm.substr(head[0].size())});
  }
  return pages;
}

// What one page of a PDF draws besides its texts, in points from the top left corner: the painted
// pixels of each image mask (a symbol) as one box, and the box of each straight line ("m" then "l").
std::vector<Word> drawn_boxes(const fs::path& pdf, int page, double height) {
  const fs::path one = pdf.parent_path() / (pdf.stem().string() + "-page" + std::to_string(page) + ".pdf");
  run_program({reader("qpdf"), "--qdf", "--object-streams=disable", pdf.string(), "--pages", pdf.string(),
               std::to_string(page), "--", one.string()},
              pdf.parent_path(), 30);
  const std::string bytes = read_file(one);
  // The painted part of each image mask by its name, as fractions of the unit square (y downwards).
  struct Ink {
    double x1, y1, x2, y2;
  };
  std::map<std::string, Ink> inks;
  for (size_t at = bytes.find("/ImageMask true"); at != std::string::npos; at = bytes.find("/ImageMask true", at + 1)) {
    const size_t open = bytes.rfind("<<", at), close = bytes.find(">>", at);
    const std::string dict = bytes.substr(open, close - open);
    const auto name = find_regex(dict, R"(/Name /(\w+))"), w = find_regex(dict, R"(/Width (\d+))"),
               h = find_regex(dict, R"(/Height (\d+))");
    size_t data = bytes.find("stream", close);
    if (name.empty() || w.empty() || h.empty() || data == std::string::npos) {
      ADD_FAILURE() << one << ": an image mask without its name, size or data";
      continue;
    }
    data += bytes[data + 6] == '\r' ? 8 : 7;
    const int width = std::stoi(w[1]), rows = std::stoi(h[1]), row_bytes = (width + 7) / 8;
    int left = width, right = -1, top = rows, bottom = -1;
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < width; ++c) {
        const auto byte = static_cast<unsigned char>(bytes[data + static_cast<size_t>(r * row_bytes + c / 8)]);
        if ((byte & (0x80 >> (c % 8))) != 0) continue;  // a 1 is not painted (Decode [0 1])
        left = std::min(left, c), right = std::max(right, c), top = std::min(top, r), bottom = std::max(bottom, r);
      }
    }
    if (right >= 0) inks[name[1]] = {1.0 * left / width, 1.0 * top / rows, (right + 1.0) / width, (bottom + 1.0) / rows};
  }
  std::vector<Word> out;
  const std::string number = "([-0-9.]+)";
  for (const auto& m : find_all_regex(bytes, number + " 0 0 +" + number + " +" + number + " +" + number + R"( cm\s+/(\w+) Do)")) {
    const auto ink = inks.find(m[5]);
    if (ink == inks.end()) continue;
    const double w = std::stod(m[1]), h = std::stod(m[2]), x = std::stod(m[3]), y = std::stod(m[4]);
    const Ink& i = ink->second;
    out.push_back({x + w * i.x1, height - (y + h), x + w * i.x2, height - y, "image " + m[5]});
    out.back().y2 = out.back().y1 + h * i.y2;
    out.back().y1 += h * i.y1;
  }
  for (const auto& m : find_all_regex(bytes, number + " +" + number + R"( m\s+)" + number + " +" + number + " l")) {
    const double x1 = std::stod(m[1]), y1 = height - std::stod(m[2]), x2 = std::stod(m[3]), y2 = height - std::stod(m[4]);
    // A slanted line rising to the right is marked as such: its box is not all it covers.
    out.push_back({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2),
                   (x2 - x1) * (y2 - y1) < 0 ? "line/" : "line"});
  }
  return out;
}

// Every page of a sheet as a client gets it: no word printed over another, none beyond the paper, and
// nothing at all (text, rule or symbol) within 6 points of the paper's edge. On page 1 the depth
// scale's caption ("Depth", "metres") stands clear of every symbol and line.
void expect_clean_pages(const fs::path& pdf) {
  const double margin = 6;
  const std::vector<Page> pages = word_boxes(pdf);
  EXPECT_FALSE(pages.empty()) << pdf;
  for (size_t p = 0; p < pages.size(); ++p) {
    const Page& page = pages[p];
    const std::string where = pdf.filename().string() + " page " + std::to_string(p + 1) + ": ";
    for (size_t i = 0; i < page.words.size(); ++i) {
      const Word& a = page.words[i];
      EXPECT_TRUE(a.x1 >= margin && a.y1 >= margin && a.x2 <= page.width - margin && a.y2 <= page.height - margin)
          << where << "\"" << a.text << "\" within " << margin << " points of the edge";
      for (size_t k = i + 1; k < page.words.size(); ++k) {
        const Word& b = page.words[k];
        const double across = std::min(a.x2, b.x2) - std::max(a.x1, b.x1), down = std::min(a.y2, b.y2) - std::max(a.y1, b.y1);
        EXPECT_FALSE(across > 0.01 && down > 0.01) << where << "\"" << a.text << "\" over \"" << b.text << "\"";
      }
    }
  }
  if (!pages.empty()) {
    std::vector<const Word*> caption;
    for (const Word& w : pages[0].words)
      if ((w.text == "Depth" || w.text == "metres") && w.x2 < pages[0].width / 3) caption.push_back(&w);
    if (!caption.empty()) {
      const std::vector<Word> drawn = drawn_boxes(pdf, 1, pages[0].height);
      EXPECT_FALSE(drawn.empty()) << pdf;
      for (const Word* c : caption) {
        for (const Word& d : drawn) {
          const double across = std::min(c->x2, d.x2) - std::max(c->x1, d.x1), down = std::min(c->y2, d.y2) - std::max(c->y1, d.y1);
          bool meets = across > -0.01 && down > -0.01;
          if (meets && d.text.rfind("line", 0) == 0 && d.x2 > d.x1 && d.y2 > d.y1) {
            // A slanted line (a leader): whether the line itself passes through the word's box.
            const bool rising = d.text == "line/";
            const double ax = d.x1, ay = rising ? d.y2 : d.y1, bx = d.x2, by = rising ? d.y1 : d.y2;
            double t0 = 0, t1 = 1;
            const double p[] = {-(bx - ax), bx - ax, -(by - ay), by - ay};
            const double q[] = {ax - (c->x1 - 0.01), c->x2 + 0.01 - ax, ay - (c->y1 - 0.01), c->y2 + 0.01 - ay};
            for (int i = 0; i < 4 && meets; ++i) {
              if (p[i] == 0) {
                meets = q[i] >= 0;
              } else if (p[i] < 0) {
                t0 = std::max(t0, q[i] / p[i]);
              } else {
                t1 = std::min(t1, q[i] / p[i]);
              }
              meets = meets && t0 <= t1;
            }
          }
          EXPECT_FALSE(meets)
              << pdf.filename() << " page 1: the caption's \"" << c->text << "\" meets " << d.text << " at (" << d.x1
              << ", " << d.y1 << ") - (" << d.x2 << ", " << d.y2 << ")";
        }
      }
    }
  }
  const std::vector<Grey> greys = rendered(pdf, pdf.parent_path() / (pdf.stem().string() + "-grey"));
  EXPECT_EQ(greys.size(), pages.size()) << pdf;
  for (size_t p = 0; p < greys.size(); ++p) {
    const Grey& g = greys[p];
    int marked = 0;
    for (int y = 0; y < g.height; ++y) {
      for (int x = 0; x < g.width; ++x) {
        const bool edge = x < margin || y < margin || x >= g.width - margin || y >= g.height - margin;
        if (edge && static_cast<unsigned char>(g.pixels[static_cast<size_t>(y * g.width + x)]) < 250) ++marked;
      }
    }
    EXPECT_EQ(marked, 0) << pdf.filename() << " page " << p + 1 << ": drawn within " << margin << " points of the edge";
  }
}

// The runs whose every sheet is checked: an input (from the source tree, copied to `at` in the engine
// folder), changes to STANDARD.SET (each the first occurrence of a text replaced), the run file's extra
// lines and the result PDFs under the output folder.
struct SheetRun {
  const char* what;
  std::string input, at;
  std::vector<std::pair<std::string, std::string>> set_changes;
  std::string extra;
  std::vector<std::string> results;
  // Holes whose samples column is said to be too crowded for its scale (drawn all the same).
  std::vector<std::string> crowded = {};
};

TEST(Sheet, NoTextOverTextOnAnySheet) {
  const SheetRun runs[] = {
      {"the example and its legend", "data/Examples/Examples.TXT", "Examples/Examples.TXT", {},
       "7/     summary = YES\r\n",
       {"GE2631/BH1.pdf", "GE2631/BH2.pdf", "GE2631/BH3.pdf", "GE2631/TP1.pdf", "GE2631/TP2.pdf", "GE2631/TP3.pdf",
        "GE2631/LEGEND.pdf"}},
      // Long header values, samples and water levels a few centimetres apart, a hole of 45 m on one page,
      // samples and water levels at the head of a hole (over the scale's caption), an input file deep in
      // folders whose names hold blanks and signs.
      {"crowded sheets", "tests/sheet/crowded.txt", "Site Investigation 2025/Borehole logs - final issue/crowded.txt", {},
       "7/     summary = YES\r\n", {"GE2631CR/BH10.pdf", "GE2631CR/BH11.pdf", "GE2631CR/BH12.pdf", "GE2631CR/LEGEND.pdf"},
       {"BH10", "BH11", "BH12"}},
  };
  for (const SheetRun& run : runs) {
    EngineFolder ef;
    fs::create_directories(ef.file(run.at).parent_path());
    write_file(ef.file(run.at), read_file(source_dir() / run.input));
    std::string set = ef.read("STANDARD.SET");
    for (const auto& [from, to] : run.set_changes) {
      const size_t at = set.find(from);
      ASSERT_NE(at, std::string::npos) << run.what << ": " << from;
      set.replace(at, from.size(), to);
    }
    ef.write("RUN.SET", set);
    std::string rf = run_file(ef.file(run.at).string(), run.extra);
    rf.replace(rf.find("STANDARD.SET"), 12, "RUN.SET");
    ef.write("@runfile.dat", rf);
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    EXPECT_EQ(r.exit_code, 0) << run.what << r.out << r.err;
    // Nothing in ERROR.LOG but the holes said to be crowded, each once.
    const std::string log = ef.exists("ERROR.LOG") ? ef.read("ERROR.LOG") : "";
    EXPECT_EQ(find_all_regex(log, "\n").size(), run.crowded.size()) << run.what << log;
    for (const std::string& hole : run.crowded)
      EXPECT_NE(log.find("Hole " + hole + ": the samples column is too crowded at 1:"), std::string::npos) << log;
    for (const std::string& result : run.results) {
      const fs::path pdf = ef.file("drive_c/VLXFILES/" + result);
      ASSERT_TRUE(fs::exists(pdf)) << run.what << ": " << result << "\n" << r.out;
      SCOPED_TRACE(run.what);
      expect_clean_pages(pdf);
    }
  }
}

// What the crowded sheets show: every sample's label (none lost when they are moved apart), footer
// values cut with a mark, and the input file's path cut at a folder, keeping the file's name.
TEST(Sheet, CrowdedSheetsKeepEveryLabel) {
  EngineFolder ef;
  const std::string at = "Site Investigation 2025/Borehole logs - final issue/crowded.txt";
  fs::create_directories(ef.file(at).parent_path());
  write_file(ef.file(at), read_file(source_dir() / "tests/sheet/crowded.txt"));
  ef.write("@runfile.dat", run_file(ef.file(at).string()));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  const fs::path job = ef.file("drive_c/VLXFILES/GE2631CR");
  std::vector<std::string> labels{"0.45", "0.47", "0.50", "0.52", "1.38", "1.45", "2.98"};
  for (const char* l : {"D1", "D2", "B3", "W1", "U4", "D5", "W2", "D6", "B7"}) labels.push_back(l);
  // Where a sheet's leaders must all be clear, they are read back from the drawing (marks_check.py):
  // none crosses another or passes over a mark not its own, and each ends at its own mark.
  struct Sheet {
    const char* hole;
    std::vector<std::string> labels;
    bool clear_leaders;
  } sheets[] = {{"BH10", labels, false},
                {"BH11",
                 {"3.80", "3.90", "4.00", "D1", "U2", "D3", "B4", "D5", "U6", "D7", "W8", "D9", "U10", "D11", "B12",
                  "D13", "U14", "D15", "D16", "U17", "D18", "D19", "U20", "D21", "D22", "U23", "D24", "D25", "U26",
                  "D27", "D28"},
                 false},
                // Marks at the head of the hole around the scale's caption: the leaders of the stretch
                // go down (up) on tracks of their own and come to their marks in the labels' order.
                {"BH12", {"0.10", "0.15", "B1", "D2", "D3", "U4", "D5"}, true}};
  const std::string log = ef.exists("ERROR.LOG") ? ef.read("ERROR.LOG") : "";
  EXPECT_EQ(find_regex(log, R"(Hole BH12: [^\n]*leader)").size(), 0u) << log;
  for (const auto& sheet : sheets) {
    if (sheet.clear_leaders) {
      const fs::path pdf = job / (std::string(sheet.hole) + ".pdf");
      std::vector<std::string> argv{"/usr/bin/python3", (source_dir() / "tests/sheet/marks_check.py").string(), "pdf",
                                    pdf.string()};
      argv.insert(argv.end(), sheet.labels.begin(), sheet.labels.end());
      const RunResult c = run_program(argv, job, 120);
      EXPECT_EQ(c.exit_code, 0) << c.err;
      EXPECT_NE(c.out.find("labels " + std::to_string(sheet.labels.size()) + " "), std::string::npos) << c.out;
      EXPECT_EQ(find_regex(c.out, R"((cross|over|lost|twice|order)[^\n]*)").size(), 0u) << sheet.hole << "\n" << c.out;
    }
    const std::vector<Page> pages = word_boxes(job / (std::string(sheet.hole) + ".pdf"));
    ASSERT_EQ(pages.size(), 1u) << sheet.hole;
    std::vector<std::string> words;
    for (const Word& w : pages[0].words) words.push_back(w.text);
    auto shown_word = [&](const std::string& w) { return std::find(words.begin(), words.end(), w) != words.end(); };
    for (const std::string& l : sheet.labels) EXPECT_TRUE(shown_word(l)) << sheet.hole << ": " << l;
    // The footer: the site cut at a word with its mark; the input file's path from a folder on.
    EXPECT_TRUE(shown_word("and...")) << sheet.hole;
    const auto file = std::find(words.begin(), words.end(), "File:");
    ASSERT_NE(file, words.end());
    ASSERT_NE(file + 1, words.end());
    const std::string shown = *(file + 1);
    std::string path;
    for (char c : ef.file(at).string())
      if (std::string(": -_+=;,*").find(c) == std::string::npos) path += c;
    EXPECT_EQ(shown.substr(0, 3), "../") << shown;
    EXPECT_EQ(path.substr(path.size() - (shown.size() - 2)), shown.substr(2)) << shown;
    EXPECT_LE(shown.size(), 26u) << shown;
  }
}

// Marks and labels in crowded samples columns, read back from what is drawn (tests/sheet/marks_check.py):
// no mark's ink meets another's, every label stands with its own mark (beside it, or at the end of its
// leader) within 10 mm of the mark's depth and in the order of the depths, no leader crosses another or
// passes over a mark; the pen plotter and DXF place the marks as the PDF does. A hole whose labels
// cannot all stand beside their marks is said, with the scale that would hold them, and still drawn.
TEST(Sheet, MarksApartAndLabelsBesideTheirMarks) {
  const std::string fixture = read_file(source_dir() / "tests/sheet/marks.txt");
  std::vector<std::string> labels{"2.90", "3.05", "7.90", "8.20", "17.10", "17.50", "26.30", "0.925"};
  for (const auto& m : find_all_regex(fixture, R"( ([DBUW]\d+) )")) labels.push_back(m[1]);
  auto check = [&](const std::string& kind, const fs::path& file) {
    std::vector<std::string> argv{"/usr/bin/python3", (source_dir() / "tests/sheet/marks_check.py").string(), kind,
                                  file.string()};
    if (kind == "pdf") argv.insert(argv.end(), labels.begin(), labels.end());
    const RunResult r = run_program(argv, file.parent_path(), 120);
    EXPECT_EQ(r.exit_code, 0) << file << r.err;
    return r.out;
  };
  // The marks of a sheet as numbers (millimetres from the first mark), page by page.
  auto positions = [](const std::string& out) {
    std::vector<std::vector<double>> pages;
    for (const auto& m : find_all_regex(out, R"(marks([^\n]*))")) {
      pages.emplace_back();
      for (const auto& n : find_all_regex(m[1], R"([-0-9.]+)")) pages.back().push_back(std::stod(n[0]));
    }
    return pages;
  };
  std::map<std::string, std::string> pdf_marks;
  std::map<std::string, std::vector<Page>> pdf_words;
  for (const char* device : {"PDF", "PGL", "DXF", "PCL"}) {
    EngineFolder ef;
    ef.write("marks.txt", fixture);
    std::string rf = run_file("marks.txt");
    rf.replace(rf.find("output = PDF"), 12, std::string("output = ") + device);
    ef.write("@runfile.dat", rf);
    const RunResult r = ef.run({"@runfile.dat"}, 120);
    ASSERT_FALSE(r.timed_out) << device;
    // A sheet drawn whole is no loss: the crowded one is said, and the run ends with 0.
    EXPECT_EQ(r.exit_code, 0) << device << r.out << r.err;
    const std::string said = "Hole BH22: the samples column is too crowded at 1:200 (";
    EXPECT_NE(r.out.find(said), std::string::npos) << device << r.out;
    const std::string log = ef.read("ERROR.LOG");
    EXPECT_NE(log.find(said), std::string::npos) << device << log;
    EXPECT_NE(log.find("labels stand further than 10 mm from their marks"), std::string::npos) << log;
    EXPECT_NE(log.find("; 1:50 would hold its labels."), std::string::npos) << log;
    for (const char* clean : {"Hole BH20:", "Hole TP20:"}) EXPECT_EQ(log.find(clean), std::string::npos) << log;
    const fs::path job = ef.file("drive_c/VLXFILES/GE2631MK");
    if (std::string(device) == "PDF") {
      // BH21 at 1:50: every label fits, and every leader finds a clear way: around 26.30 m (five marks
      // within 50 cm, a water line among them) the marks stand apart so that the leaders come to them
      // in the labels' order, on tracks of their own.
      EXPECT_EQ(log.find("Hole BH21:"), std::string::npos) << log;
      for (const auto& [hole, count] : std::vector<std::pair<std::string, int>>{{"BH20", 4}, {"TP20", 6}, {"BH21", 126}}) {
        const std::string out = check("pdf", job / (hole + ".pdf"));
        int shown = 0;
        for (const auto& m : find_all_regex(out, R"(page \d+: labels (\d+) leaders \d+)")) shown += std::stoi(m[1]);
        EXPECT_EQ(shown, count) << hole << "\n" << out;  // every label read back with its mark
        for (const auto& m : find_all_regex(out, R"(page \d+: (meet|far|order|twice|lost|cross|over)[^\n]*)"))
          ADD_FAILURE() << hole << ": " << m[0];
        pdf_marks[hole] = out;
      }
      for (const char* hole : {"BH20", "TP20"}) pdf_words[hole] = word_boxes(job / (std::string(hole) + ".pdf"));
      // Depth labels show the typed depth rounded half up.
      const std::string tp20 = pdf_tool("pdftotext", job / "TP20.pdf");
      for (const char* depth : {"0.16", "0.95", "1.68"}) EXPECT_NE(tp20.find(depth), std::string::npos) << depth;
      for (const char* depth : {"0.15\n", "0.94\n", "1.67\n"}) EXPECT_EQ(tp20.find(depth), std::string::npos) << depth;
    } else if (std::string(device) == "PCL") {
      // The printer draws no pictures, but its labels stand at the heights the PDF has them (the
      // baseline a fifth of the type size above the word's box foot), to a millimetre, but for the
      // printer's own top margin (the same for all).
      for (const char* hole : {"BH20", "TP20"}) {
        PclRead pcl;
        std::string what;
        ASSERT_TRUE(read_pcl(read_file(job / (std::string(hole) + ".pcl")), pcl, what)) << hole << ": " << what;
        ASSERT_FALSE(pdf_words[hole].empty()) << hole;
        int compared = 0;
        double margin = 0;
        for (const Word& w : pdf_words[hole][0].words) {
          if (w.x2 > 200 || std::find(labels.begin(), labels.end(), w.text) == labels.end()) continue;
          const auto t = std::find_if(pcl.texts.begin(), pcl.texts.end(), [&](const PclRead::Text& x) {
            return x.text.find(w.text) != std::string::npos && x.x < 200 / 0.24;
          });
          ASSERT_NE(t, pcl.texts.end()) << hole << ": " << w.text;
          const double baseline = w.y2 - (w.y2 - w.y1) * 0.2;
          if (compared++ == 0) margin = baseline - t->y * 0.24;
          EXPECT_NEAR(t->y * 0.24 + margin, baseline, 72 / 25.4) << hole << ": " << w.text;
        }
        EXPECT_GE(compared, 4) << hole;
      }
    } else {
      // The one-page sheets whose marks all stand apart: the marks stand where the PDF has them, to a
      // third of a millimetre.
      const std::string ext = std::string(device) == "PGL" ? "pgl" : "dxf";
      for (const char* hole : {"BH20", "TP20"}) {
        const std::string out = check(ext, job / (std::string(hole) + "." + ext));
        EXPECT_EQ(find_regex(out, R"(meet[^\n]*)").size(), 0u) << device << " " << hole << "\n" << out;
        const auto want = positions(pdf_marks[hole]), got = positions(out);
        ASSERT_EQ(want.size(), 1u) << hole;
        ASSERT_EQ(got.size(), 1u) << device << " " << hole << "\n" << out;
        ASSERT_EQ(got[0].size(), want[0].size()) << device << " " << hole << "\n" << out << "\n" << pdf_marks[hole];
        // Left, top and right of each mark (its foot may be short lines the comparison leaves out).
        for (size_t k = 0; k < want[0].size(); ++k) {
          if (k % 4 != 3) {
            EXPECT_NEAR(got[0][k], want[0][k], 0.35) << device << " " << hole << " value " << k;
          }
        }
      }
    }
  }
}

// The labels of a crowded stretch set smaller, read back from each device's drawing: BH10's stretch at
// 0.45 to 0.54 m (eight labels over 9 cm at 1:20) would stand further than 10 mm from its marks in the
// labels' own 8 points; at 7.5 points it fits, and only its labels are set so (at 1.38 to 1.65 m and at
// 2.98 m they keep their size). The hole is still said for its leaders and marks, no longer for labels.
TEST(Sheet, CrowdedLabelsSetSmallerOnEveryDevice) {
  const std::vector<std::string> small{"0.45", "0.47", "D1", "B3", "0.50", "0.52", "W1", "D2"};
  const std::vector<std::string> own{"1.38", "D5", "W2", "U4", "1.45", "B7", "D6", "2.98"};
  std::vector<std::string> labels = small;
  labels.insert(labels.end(), own.begin(), own.end());
  // The labels that follow each place a marker stands at in a device's bytes (the first label after it).
  auto after = [&](const std::string& bytes, const std::string& marker, const std::string& before) {
    std::vector<std::string> found;
    for (size_t at = bytes.find(marker); at != std::string::npos; at = bytes.find(marker, at + 1)) {
      size_t best = std::string::npos;
      std::string label;
      for (const std::string& l : labels) {
        const size_t p = bytes.find(before + l, at);
        if (p < best) best = p, label = l;
      }
      found.push_back(label);
    }
    std::sort(found.begin(), found.end());
    return found;
  };
  std::vector<std::string> want = small;
  std::sort(want.begin(), want.end());
  for (const char* device : {"PDF", "PGL", "DXF", "PCL"}) {
    SCOPED_TRACE(device);
    EngineFolder ef;
    ef.write("crowded.txt", read_file(source_dir() / "tests/sheet/crowded.txt"));
    std::string rf = run_file("crowded.txt");
    rf.replace(rf.find("output = PDF"), 12, std::string("output = ") + device);
    rf.replace(rf.find("holelist = ALL"), 14, "holelist = BH10");
    ef.write("@runfile.dat", rf);
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    const std::string log = ef.exists("ERROR.LOG") ? ef.read("ERROR.LOG") : "";
    EXPECT_NE(log.find("Hole BH10: the samples column is too crowded at 1:20 ("), std::string::npos) << log;
    EXPECT_EQ(log.find("label"), std::string::npos) << log;
    const fs::path job = ef.file("drive_c/VLXFILES/GE2631CR");
    const std::string dev = device;
    if (dev == "PDF") {
      // The words' heights: the stretch's 7.5 / 8 of the others'.
      const std::vector<Page> pages = word_boxes(job / "BH10.pdf");
      ASSERT_EQ(pages.size(), 1u);
      std::map<std::string, double> height;
      for (const Word& w : pages[0].words)
        if (w.x2 < 200 && std::find(labels.begin(), labels.end(), w.text) != labels.end()) height[w.text] = w.y2 - w.y1;
      ASSERT_EQ(height.size(), labels.size());
      for (const std::string& l : small) EXPECT_NEAR(height[l] / height["B7"], 7.5 / 8, 0.01) << l;
      for (const std::string& l : own) EXPECT_NEAR(height[l], height["B7"], 0.01) << l;
      // Read back from the drawing: every label within 10 mm of its mark, in order.
      std::vector<std::string> argv{"/usr/bin/python3", (source_dir() / "tests/sheet/marks_check.py").string(), "pdf",
                                    (job / "BH10.pdf").string()};
      argv.insert(argv.end(), labels.begin(), labels.end());
      const RunResult c = run_program(argv, job, 120);
      EXPECT_EQ(c.exit_code, 0) << c.err;
      EXPECT_NE(c.out.find("labels 16 "), std::string::npos) << c.out;
      EXPECT_EQ(find_regex(c.out, R"((far|order|lost)[^\n]*)").size(), 0u) << c.out;
    } else if (dev == "PGL") {
      // The font command with 7.5 points (and a pitch of 135 / 7.5) before each of the stretch's labels.
      EXPECT_EQ(after(read_file(job / "BH10.pgl"), "AD1,341,2,0,3,18.00,4,7.50,", "LB"), want);
    } else if (dev == "DXF") {
      // The texts' heights.
      const std::string dxf = read_file(job / "BH10.dxf");
      std::map<std::string, double> height;
      for (const auto& m : find_all_regex(dxf, " 40\r\n *([0-9.]+)\r\n 41\r\n[^\r]*\r\n(?: 51\r\n[^\r]*\r\n)? 1\r\n([^\r]*)\r\n"))
        if (std::find(labels.begin(), labels.end(), m[2]) != labels.end() && !height.count(m[2])) height[m[2]] = std::stod(m[1]);
      ASSERT_EQ(height.size(), labels.size()) << dxf.substr(0, 2000);
      for (const std::string& l : small) EXPECT_NEAR(height[l] / height["B7"], 7.5 / 8, 0.001) << l;
      for (const std::string& l : own) EXPECT_EQ(height[l], height["B7"]) << l;
    } else {
      // The selection code with 7.5 points before each of the stretch's labels.
      EXPECT_EQ(after(read_file(job / "BH10.pcl"), "\x1b)s1p7.50v1s0b4148T", "Y"), want);
    }
  }
}

// The summary (legend) sheet of the example's symbols, after the holes in the joined file.
TEST(Sheet, Legend) {
  EngineFolder ef;
  ef.write("@runfile.dat", run_file(ef.file("Examples/Examples.TXT").string(), "7/     summary = YES\r\n"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
  const fs::path job = ef.file("drive_c/VLXFILES/GE2631");
  ASSERT_TRUE(fs::exists(job / "LEGEND.pdf")) << r.out;
  expect_readable(job / "LEGEND.pdf");
  const std::string text = pdf_tool("pdftotext", job / "LEGEND.pdf");
  size_t at = 0;
  // In the order of the keyword table: sample and water marks first.
  for (const char* name : {"{S-DIST}", "{TOPSOIL}", "{CLAY}", "{SAND}", "{COBBLES}"}) {
    const size_t p = text.find(name, at);
    EXPECT_NE(p, std::string::npos) << name << "\n" << text;
    if (p != std::string::npos) at = p;
  }
  EXPECT_EQ(text.find("Depth"), std::string::npos) << text;  // no scale caption
  EXPECT_NE(pdf_tool("pdfinfo", job / "combined.pdf").find("Pages:           10"), std::string::npos);
  const std::string images = pdf_tool("pdfimages", job / "LEGEND.pdf", {"-list"});
  EXPECT_GE(find_all_regex(images, R"( stencil +64 )").size(), 20u) << images;
}

// The legend is no hole and is printed with no hole's text. Its sheet's code (job and the end of its
// name, LEGEND) is that of a hole named BHEND, whose text was printed a second time after the legend.
TEST(Sheet, LegendIsPrintedWithNoHolesText) {
  EngineFolder ef;
  ef.write("end.txt", "The log of BHEND\r\n");
  ef.write("holes.txt", "Job Number : J1\r\nHole Number : BHEND\r\n/\r\n1.00+ CLAY\r\n/\r\n"
                        "SAMPLES: BIND FILE: end.txt\r\n//\r\n///\r\n");
  ef.write("@runfile.dat", run_file("holes.txt", "7/     summary = YES\r\n"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  const fs::path job = ef.file("drive_c/VLXFILES/J1");
  std::set<std::string> made;
  for (const auto& e : fs::directory_iterator(job)) made.insert(e.path().filename().string());
  EXPECT_EQ(made, (std::set<std::string>{"BHEND.pdf", "end.PDF", "LEGEND.pdf", "combined.pdf"})) << r.out;
  // The hole, its text, the legend.
  const std::string joined = pdf_tool("pdftotext", job / "combined.pdf");
  EXPECT_NE(pdf_tool("pdfinfo", job / "combined.pdf").find("Pages:           3"), std::string::npos) << joined;
  EXPECT_EQ(count_of(joined, "The log of BHEND"), 1u) << joined;
  ASSERT_NE(joined.find("{CLAY}"), std::string::npos) << joined;
  EXPECT_LT(joined.find("The log of BHEND"), joined.find("{CLAY}")) << joined;
}

// Legends of 21 to 26 symbols, one layer of each: up to 25 lines stand on one page with its footer;
// 22 (a page full at 1 cm a line) ran on to a second page that held only a footer. 26 go over two
// pages, each with lines on it. Every line is there once.
TEST(Sheet, LegendThatFillsAPageKeepsToIt) {
  const char* words[] = {"TOPSOIL", "MADE GROUND", "CONCRETE", "ASPHALT", "CLAY", "SILT", "SAND", "GRAVEL", "COBBLES",
                         "BOULDERS", "PEAT", "CHALK", "LIMESTONE", "SANDSTONE", "SILTSTONE", "MUDSTONE", "SHALE", "COAL",
                         "CONGLOMERATE", "BRECCIA", "GRANITE", "BASALT", "SCHIST", "SLATE", "CLAYEY", "SILTY"};
  for (const int n : {21, 22, 25, 26}) {
    EngineFolder ef;
    std::string input = "Job Number : L" + std::to_string(n) + "\r\nHole Number : BH1\r\n/\r\n";
    for (int i = 0; i < n; ++i) input += std::to_string(i + 1) + ".00 " + words[i] + ".\r\n";
    ef.write("layers.txt", input + "/\r\nNOTES:\r\n1. A note.\r\n//\r\n///\r\n");
    ef.write("@runfile.dat", run_file("layers.txt", "7/     summary = YES\r\n"));
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    const fs::path legend = ef.file("drive_c/VLXFILES/L" + std::to_string(n) + "/LEGEND.pdf");
    ASSERT_TRUE(fs::exists(legend)) << r.out;
    const int pages = n <= 25 ? 1 : 2;
    EXPECT_NE(pdf_tool("pdfinfo", legend).find("Pages:           " + std::to_string(pages)), std::string::npos) << n;
    int lines = 0;
    for (int p = 1; p <= pages; ++p) {
      const std::string text = pdf_tool("pdftotext", legend, {"-f", std::to_string(p), "-l", std::to_string(p)});
      const int here = static_cast<int>(std::count(text.begin(), text.end(), '{'));
      EXPECT_GT(here, 0) << n << " symbols, page " << p << " has no line:\n" << text;
      lines += here;
    }
    EXPECT_EQ(lines, n);
    // The footer on the last page.
    EXPECT_NE(pdf_tool("pdftotext", legend, {"-f", std::to_string(pages), "-l", std::to_string(pages)}).find("Printed:"),
              std::string::npos) << n;
  }
}

// The example and its legend on the pen plotter and in DXF, read by hp2xx and ezdxf.
TEST(Sheet, PlotterAndDxfResults) {
  for (const char* device : {"DXF", "PGL"}) {
    EngineFolder ef;
    std::string rf = run_file(ef.file("Examples/Examples.TXT").string(), "7/     summary = YES\r\n");
    rf.replace(rf.find("output = PDF"), 12, std::string("output = ") + device);
    ef.write("@runfile.dat", rf);
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    EXPECT_EQ(r.exit_code, 0) << device << r.out << r.err;
    EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
    const fs::path job = ef.file("drive_c/VLXFILES/GE2631");
    for (const char* name : {"TP1", "BH1", "LEGEND"}) {
      const fs::path f = job / (std::string(name) + (std::string(device) == "DXF" ? ".dxf" : ".pgl"));
      ASSERT_TRUE(fs::exists(f)) << f << r.out;
      const std::string bytes = read_file(f);
      if (std::string(device) == "DXF") {
        EXPECT_EQ(bytes.find('\x1b'), std::string::npos) << f;  // no printer codes in a DXF text
        const RunResult a = run_program({"/usr/bin/python3", "-c",
                                         "import ezdxf,sys\nd=ezdxf.readfile(sys.argv[1])\na=d.audit()\n"
                                         "print(len(d.modelspace()), len(a.errors))",
                                         f.string()},
                                        job, 60);
        EXPECT_EQ(a.exit_code, 0) << a.err;
        EXPECT_NE(a.out.find(" 0\n"), std::string::npos) << f << a.out;  // entities, no audit error
        EXPECT_EQ(bytes.find("EOF"), bytes.size() - 5) << f;             // the only EOF is the last line
      } else {
        // hp2xx reads the HP-GL/2 between the PJL wrapper's language switches.
        const size_t from = bytes.find("\x1b%0B"), to = bytes.rfind(";\x1b%1A");
        EXPECT_EQ(from, bytes.rfind("\x1b%0B")) << f;  // HP-GL/2 entered once
        EXPECT_EQ(bytes.find("\x1b%1A"), bytes.rfind("\x1b%1A")) << f;  // and left once
        ASSERT_NE(from, std::string::npos);
        ASSERT_NE(to, std::string::npos);
        write_file(job / "body.hpgl", bytes.substr(from + 4, to + 1 - from - 4));
        const RunResult h = run_program({reader("hp2xx"), "-m", "png", "-f", (job / "body.png").string(),
                                         (job / "body.hpgl").string()}, job, 60);
        EXPECT_EQ(h.exit_code, 0) << f << h.out << h.err;
        // Every command understood, and the pen the plot selects first (IN;SP1) used.
        EXPECT_NE((h.out + h.err).find("HPGL command(s) ignored: 0"), std::string::npos) << h.out << h.err;
        EXPECT_NE((h.out + h.err).find("Pens used: 1"), std::string::npos) << h.out << h.err;
        EXPECT_TRUE(fs::exists(job / "body.png")) << f;
        if (std::string(name) == "LEGEND") {
          EXPECT_EQ(bytes.find("{CLAY}"), std::string::npos);  // no names in braces on the plotter
        }
        EXPECT_NE(bytes.find("LB" + std::string(name)), std::string::npos) << f;  // the hole box's label
      }
    }
    EXPECT_FALSE(fs::exists(job / "combined.pdf")) << device;
  }
}

TEST(Sheet, PclPrinterStreams) {
  EngineFolder ef;
  std::string rf = run_file(ef.file("Examples/Examples.TXT").string(), "8/      result = target.pcl\r\n");
  rf.replace(rf.find("output = PDF"), 12, "output = PCL");
  ef.write("@runfile.dat", rf);
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
  const fs::path job = ef.file("drive_c/VLXFILES/GE2631");
  for (const char* hole : {"BH1", "BH2", "BH3", "TP1", "TP2", "TP3"}) {
    const std::string bytes = read_file(job / (std::string(hole) + ".pcl"));
    PclRead pcl;
    std::string what;
    EXPECT_TRUE(read_pcl(bytes, pcl, what)) << hole << ": " << what;
    EXPECT_EQ(pcl.form_feeds, hole[0] == 'B' ? 2 : 1) << hole;  // a borehole's log page after its profile
    EXPECT_TRUE(pcl.on_page) << hole;
    EXPECT_GT(pcl.rules, 20) << hole;
    EXPECT_EQ(bytes.find("\x1b" "E\x1b%-12345X"), bytes.size() - 11) << hole;  // the job end, once
    EXPECT_NE(pcl.text.find(hole), std::string::npos) << hole;
    if (std::string(hole) == "TP3") {
      EXPECT_EQ(read_file(ef.file("target.pcl")), bytes);  // the target is the last hole's result
    }
  }
  PclRead tp1;
  std::string what;
  read_pcl(read_file(job / "TP1.pcl"), tp1, what);
  for (const char* words : {"GE-2631", "TOPSOIL:", "Client:", "Northshire County Council", "Veltrax 7022"})
    EXPECT_NE(tp1.text.find(words), std::string::npos) << words << "\n" << tp1.text;
}

// A hole that needs three PDF pages is one DXF sheet whose page length grew beyond the paper.
TEST(Sheet, OneSheetOnDxf) {
  EngineFolder ef;
  std::string input = "Job Number : J-1\r\nHole Number : LONG\r\n/\r\n";
  for (int l = 1; l <= 60; ++l) input += std::to_string(l) + ".00 Firm grey clay, layer " + std::to_string(l) + ".\r\n";
  ef.write("holes.txt", input + "/\r\n//\r\n///\r\n");
  std::string rf = run_file("holes.txt");
  rf.replace(rf.find("output = PDF"), 12, "output = DXF");
  ef.write("@runfile.dat", rf);
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  const fs::path f = ef.file("drive_c/VLXFILES/J1/LONG.dxf");
  ASSERT_TRUE(fs::exists(f)) << r.out;
  const RunResult a = run_program({"/usr/bin/python3", "-c",
                                   "import ezdxf,sys\nd=ezdxf.readfile(sys.argv[1])\n"
                                   "ys=[e.dxf.start.y for e in d.modelspace().query('LINE')]\n"
                                   "print(len(d.audit().errors), max(ys) > 10837.4, min(ys) >= -0.01)",
                                   f.string()},
                                  ef.path(), 60);
  EXPECT_EQ(a.out, "0 True True\n") << a.out << a.err;
  EXPECT_NE(read_file(f).find("layer 60."), std::string::npos);
}

TEST(Sheet, DraftAndTopDepth) {
  EngineFolder ef;
  ef.write("holes.txt",
           "Job Number : J-1\r\nHole Number : D1\r\nStatus : DRAFT\r\nTop depth : 1.50\r\n/\r\n"
           "2.00 Firm brown CLAY.\r\n3.00 Dense SAND.\r\n4.00 Stiff grey CLAY.\r\n/\r\n//\r\n///\r\n");
  ef.write("@runfile.dat", run_file("holes.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  const fs::path pdf = ef.file("drive_c/VLXFILES/J1/D1.pdf");
  ASSERT_TRUE(fs::exists(pdf)) << r.out;
  expect_readable(pdf);
  const std::string text = pdf_tool("pdftotext", pdf);
  for (const char* depth : {"1.50", "2.00", "3.00", "4.00"}) EXPECT_NE(text.find(depth), std::string::npos) << depth << text;
  EXPECT_EQ(text.find("2.50"), std::string::npos) << text;
}

// The scale a hole is drawn at: its own, or the best fitting (1:10 for a 2 m hole on A4), whichever
// holes come before it. A Scale line holds for the holes after it, as the job's lines do, until a
// hole gives another ("Scale : 0" the best fitting again); the run's scale holds for every hole.
// (A sheet without depth labels, as a summary sheet, reads 0.)
TEST(Sheet, EachHolesScale) {
  const std::string a = "Hole Number : A\r\nScale : 1:50\r\n/\r\n2.00 Firm brown CLAY.\r\n4.00 Dense SAND.\r\n/\r\n//\r\n";
  const std::string b = "Hole Number : B\r\n/\r\n1.00 Firm brown CLAY.\r\n2.00 Dense SAND.\r\n/\r\n//\r\n";
  const std::string summary = "Hole Number : A\r\nType : SUMMARY\r\n/\r\n1.00 Firm brown CLAY.\r\n2.00 Dense SAND.\r\n/\r\n//\r\n";
  const std::string b_best = "Hole Number : B\r\nScale : 0\r\n/\r\n1.00 Firm brown CLAY.\r\n2.00 Dense SAND.\r\n/\r\n//\r\n";
  struct Case {
    const char* what;
    std::string holes, extra;
    int a, b;
  } cases[] = {
      {"a hole without a Scale line before one at 1:50", b + a, "", 50, 10},
      {"a hole without a Scale line after one at 1:50", a + b, "", 50, 50},
      {"Scale : 0 after one at 1:50", a + b_best, "", 50, 10},
      {"the run's scale for both", a + b, "6/       scale = 25\r\n", 25, 25},
      // The hole type is the hole's own: the hole after a summary sheet (no depths) is a sheet of depths.
      {"a hole after one of type SUMMARY", summary + b, "", 0, 10},
  };
  for (const auto& c : cases) {
    EngineFolder ef;
    ef.write("holes.txt", "Job Number : J-1\r\n" + c.holes + "///\r\n");
    ef.write("@runfile.dat", run_file("holes.txt", c.extra));
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    ASSERT_FALSE(r.timed_out) << c.what;
    EXPECT_EQ(r.exit_code, 0) << c.what << r.out << r.err;
    const fs::path job = ef.file("drive_c/VLXFILES/J1");
    ASSERT_TRUE(fs::exists(job / "A.pdf") && fs::exists(job / "B.pdf")) << c.what << r.out;
    EXPECT_EQ(drawn_scale(job / "A.pdf"), c.a) << c.what;
    EXPECT_EQ(drawn_scale(job / "B.pdf"), c.b) << c.what;
  }
}

// Bad inputs: each said, nothing lost, no hang and no exit code 255.
TEST(Sheet, ResultsThatCannotReplaceEachOther) {
  struct Case {
    const char* what;
    std::string input, extra;
    std::vector<std::string> results;  // under drive_c/VLXFILES
    int exit_code;
    std::vector<std::string> absent = std::vector<std::string>();  // under drive_c/VLXFILES: not made
  } cases[] = {
      {"two holes of one name",
       "Job Number : J-1\r\nHole Number : TP-1\r\n/\r\n1.00 Clay.\r\n/\r\n//\r\nHole Number : TP1\r\n/\r\n2.00 Sand.\r\n/\r\n//\r\n///\r\n",
       "", {"J1/TP1.pdf", "J1/TP1_2.pdf", "J1/combined.pdf"}, 0},
      {"a hole name of signs only", "Job Number : J-1\r\nHole Number : -/-\r\n/\r\n1.00 Clay.\r\n/\r\n//\r\n///\r\n", "",
       {"J1/000.pdf"}, 0},
      {"a target in a folder that does not exist", "Job Number : J-1\r\nHole Number : A\r\n/\r\n1.00 Clay.\r\n/\r\n//\r\n///\r\n",
       "8/      result = nowhere/target.pdf\r\n", {"J1/A.pdf"}, 1},
      // Refused before the hole is drawn: the job folder is not made (tests/e2e/target_test.cpp).
      {"a target that is the result itself", "Job Number : J-1\r\nHole Number : A\r\n/\r\n1.00 Clay.\r\n/\r\n//\r\n///\r\n",
       "8/      result = C:\\VLXFILES\\J1\\A.pdf\r\n", {}, 1, {"J1"}},
      {"a job without letters or digits, a long hole name",
       "Job Number : --\r\nHole Number : BH-12/ABCDEFGH\r\n/\r\n1.00 Clay.\r\n/\r\n//\r\n///\r\n", "",
       {"000/ABCDEFGH.pdf"}, 0},  // the job folder of a hole without a job, as the coded file names it
  };
  for (const auto& c : cases) {
    EngineFolder ef;
    ef.write("holes.txt", c.input);
    ef.write("@runfile.dat", run_file("holes.txt", c.extra));
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    EXPECT_FALSE(r.timed_out) << c.what;
    EXPECT_EQ(r.exit_code, c.exit_code) << c.what << r.out << r.err;
    for (const auto& f : c.results) {
      const fs::path pdf = ef.file("drive_c/VLXFILES/" + f);
      EXPECT_TRUE(fs::exists(pdf)) << c.what << ": " << f << "\n" << r.out;
      if (fs::exists(pdf)) expect_readable(pdf);
    }
    for (const auto& f : c.absent) EXPECT_FALSE(fs::exists(ef.file("drive_c/VLXFILES/" + f))) << c.what << ": " << f;
  }
}

// The reduced sheet (activity 3) and the one-page sheet (activity 2).
TEST(Sheet, ReducedAndOnePageSheets) {
  for (const char* activity : {"3", "2"}) {
    EngineFolder ef;
    std::string rf = run_file(ef.file("Examples/Examples.TXT").string());
    rf.replace(rf.find("activity = 0"), 12, std::string("activity = ") + activity);
    ef.write("@runfile.dat", rf);
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    EXPECT_EQ(r.exit_code, 0) << activity << r.out << r.err;
    const fs::path tp1 = ef.file("drive_c/VLXFILES/GE2631/TP1.pdf");
    ASSERT_TRUE(fs::exists(tp1)) << activity << r.out;
    expect_readable(tp1);
    const std::string text = pdf_tool("pdftotext", tp1);
    EXPECT_NE(pdf_tool("pdfinfo", tp1).find("Pages:           1"), std::string::npos) << activity;
    if (std::string(activity) == "3") {
      // Symbols, samples, header and scale; no frame, descriptions, notes or footer.
      EXPECT_EQ(text.find("Client"), std::string::npos) << text;
      EXPECT_EQ(text.find("TOPSOIL"), std::string::npos) << text;
      EXPECT_NE(text.find("TP1"), std::string::npos) << text;
      EXPECT_NE(text.find("B2"), std::string::npos) << text;
      EXPECT_NE(pdf_tool("pdfimages", tp1, {"-list"}).find("stencil"), std::string::npos);
    } else {
      EXPECT_NE(text.find("TOPSOIL"), std::string::npos) << text;
    }
  }
}

// A3 sheets, attached texts between holes (one of 61 lines, one of 60), and a hole of 150 layers.
// The samples of a file of samples: labelled with their text, without the symbol words the coder
// found in it, never off the page; a file without a line naming a kind still draws its samples.
TEST(Sheet, SampleFileLabels) {
  EngineFolder ef;
  ef.write("one.txt", "1,50 Sand, grey\r\n");
  ef.write("kinds.txt", "Undisturbed samples\r\n2.00 U11 firm brown clay with a very long description of the sample\r\n"
                        "Disturbed samples\r\n1.00 D1 topsoil\r\n");
  ef.write("holes.txt", "Job Number : J1\r\nHole Number : BH1\r\n/\r\n5.00 CLAY\r\n/\r\nSAMPLES: BIND FILE: one.txt\r\n//\r\n"
                        "Hole Number : BH2\r\n/\r\n5.00 CLAY\r\n/\r\nSAMPLES: FILE: kinds.txt\r\n//\r\n///\r\n");
  ef.write("@runfile.dat", run_file("holes.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  const fs::path job = ef.file("drive_c/VLXFILES/J1");
  EXPECT_NE(pdf_tool("pdftotext", job / "BH1.pdf").find("Sand, grey"), std::string::npos);
  const std::string images = pdf_tool("pdfimages", job / "BH1.pdf", {"-list"});
  EXPECT_EQ(find_all_regex(images, R"( stencil +64 +61 )").size(), 1u) << images;  // the sample's mark
  const std::string words = pdf_tool("pdftotext", job / "BH2.pdf", {"-bbox"});
  EXPECT_NE(words.find(">U11</word>"), std::string::npos) << words;
  EXPECT_NE(words.find(">topsoil</word>"), std::string::npos) << words;
  EXPECT_EQ(words.find("[CLAY"), std::string::npos) << words;
  EXPECT_EQ(words.find("[TOPSOIL"), std::string::npos) << words;
  for (const auto& m : find_all_regex(words, R"re(xMin="(-?[0-9.]+)")re")) EXPECT_GE(std::stod(m[1]), 0.0) << words;
}

TEST(Sheet, A3AttachedTextsAndManyLayers) {
  EngineFolder ef;
  std::string set = ef.read("STANDARD.SET");
  const size_t a4 = set.find("A4    ");
  ASSERT_NE(a4, std::string::npos);
  set.replace(a4, 2, "A3");
  ef.write("A3.SET", set);
  std::string long_text, page_text;
  for (int i = 1; i <= 61; ++i) long_text += "Line " + std::to_string(i) + " of the log (with brackets)\r\n";
  for (int i = 1; i <= 60; ++i) page_text += "Row " + std::to_string(i) + " \\ back\r\n";
  ef.write("long.txt", long_text);
  ef.write("page.txt", page_text);
  std::string input = "Job Number : J-1\r\nHole Number : A\r\n/\r\n1.00 Clay.\r\n/\r\nNOTES:\r\n1. A note.\r\n"
                      "SAMPLES: BIND FILE: long.txt\r\n//\r\n"
                      "Hole Number : B\r\n/\r\n1.00 Sand.\r\n/\r\nNOTES:\r\n1. A note.\r\n"
                      "SAMPLES: BIND FILE: page.txt\r\n//\r\nHole Number : C\r\n/\r\n";
  for (int l = 1; l <= 150; ++l) input += std::to_string(l) + ".00 Firm grey clay, layer " + std::to_string(l) + ".\r\n";
  input += "/\r\n//\r\n///\r\n";
  ef.write("holes.txt", input);
  std::string rf = run_file("holes.txt");
  rf.replace(rf.find("STANDARD.SET"), 12, "A3.SET");
  ef.write("@runfile.dat", rf);
  const RunResult r = ef.run({"@runfile.dat"}, 120);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  const fs::path job = ef.file("drive_c/VLXFILES/J1");
  for (const char* f : {"A.pdf", "B.pdf", "C.pdf", "long.PDF", "page.PDF", "combined.pdf"}) {
    ASSERT_TRUE(fs::exists(job / f)) << f << "\n" << r.out;
    expect_readable(job / f);
  }
  // The holes stay A3 after the A4 text PDFs.
  for (const char* f : {"A.pdf", "B.pdf", "C.pdf"})
    EXPECT_NE(pdf_tool("pdfinfo", job / f).find("Page size:       1190"), std::string::npos) << f;
  EXPECT_NE(pdf_tool("pdfinfo", job / "long.PDF").find("Pages:           2"), std::string::npos);
  EXPECT_NE(pdf_tool("pdfinfo", job / "page.PDF").find("Pages:           1"), std::string::npos);
  const std::string text = pdf_tool("pdftotext", job / "long.PDF");
  EXPECT_NE(text.find("Page 1 / 2"), std::string::npos) << text;
  EXPECT_NE(text.find("Page 2 / 2"), std::string::npos) << text;
  EXPECT_NE(text.find("Line 61 of the log (with brackets)"), std::string::npos) << text;
  EXPECT_NE(pdf_tool("pdftotext", job / "page.PDF").find("Row 60 \\ back"), std::string::npos);
  EXPECT_NE(pdf_tool("pdftotext", job / "C.pdf").find("Firm grey clay, layer 150."), std::string::npos);
}

}  // namespace

// A layer description and a note longer than a page holds keep the lines that fit; the rest is said
// once for each, with the hole, the item and the line the cut comes at, on the console and in
// ERROR.LOG, and the run ends with 1. The words are numbered, so the cut is seen in the sheet: the word
// the message quotes is the first one missing from the drawn text.
TEST(Sheet, TextsLongerThanAPageAreSaid) {
  auto numbered_words = [](char letter, int count) {
    std::string s;
    for (int i = 1; i <= count; ++i) {
      char w[24];
      std::snprintf(w, sizeof w, "%c%04d ", letter, i);
      s += w;
    }
    return s;
  };
  EngineFolder ef;
  ef.write("holes.txt", "Job Number : J-7\r\nHole Number : BH1\r\n/\r\n0.40 TOPSOIL.\r\n2.50 " + numbered_words('d', 900) +
                            "\r\n/\r\nNOTES:\r\n1. " + numbered_words('n', 900) + "\r\n2. Short note.\r\n//\r\n///\r\n");
  ef.write("@runfile.dat", run_file("holes.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
  const fs::path pdf = ef.file("drive_c/VLXFILES/J7/BH1.pdf");
  ASSERT_TRUE(fs::exists(pdf)) << r.out;
  expect_readable(pdf);
  const std::string text = pdf_tool("pdftotext", pdf);
  EXPECT_NE(text.find("Short note."), std::string::npos);
  const std::string log = ef.read("ERROR.LOG");
  const auto lines = find_all_regex(log, R"(Hole BH1: (the description of layer 2|note 1) is too long to fit on one page; its lines from line (\d+) \("(([dn])(\d{4})) [^"]*"\) on are left out\.)");
  ASSERT_EQ(lines.size(), 2u) << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
  for (const auto& m : lines) {
    SCOPED_TRACE(m[0]);
    EXPECT_NE(r.out.find(m[0]), std::string::npos) << "said on the console too";
    EXPECT_EQ(m[4], m[1] == "note 1" ? "n" : "d");
    const int first_missing = std::stoi(m[5]);
    char last_kept[24];
    std::snprintf(last_kept, sizeof last_kept, "%s%04d", m[4].c_str(), first_missing - 1);
    EXPECT_NE(text.find(last_kept), std::string::npos) << "the words before the cut are drawn";
    EXPECT_EQ(text.find(m[3]), std::string::npos) << "the quoted word is the first one left out";
    EXPECT_GT(std::stoi(m[2]), 10);
    EXPECT_GT(first_missing, 100);
  }
}

// A 9 m borehole at 1:20 with a log: its last metre and its notes fit the second page's body but not
// above the footer, so it takes three pages. The third held only the footer and its log page nothing;
// now the last two pages share the tail. On the PDF and on the printer, every page of the profile and
// of the log holds a drawn word between its head and its foot.
TEST(Sheet, NoPageHoldsOnlyItsHeadAndFooter) {
  const std::string input =
      "Client : Westmoor Estates\r\nHole Number : BH1\r\nScale : 1:20\r\n/\r\n"
      "0.40  MADE GROUND: brown sandy gravel with brick fragments.\r\n"
      "3.00  Firm brown CLAY with occasional gravel of flint and chalk, becoming stiff with depth, with\r\n"
      "      rare pockets of orange brown fine sand.\r\n"
      "6.00  Stiff grey silty CLAY.\r\n9.00+ Dense grey SAND and GRAVEL. End of borehole at 9.00 m.\r\n/\r\n"
      "NOTES:\r\n1. Water strike at 4.20 m.\r\n"
      "ATTRIBUTE: Moisture content % [GRAPH 40] [FILE]\r\n 9.00: mc.txt\r\n"
      "ATTRIBUTE: SPT N [GRAPH 50 PLUS NUMBERS]\r\n 1.00: 5\r\n 5.00: 14\r\n 8.00: 31\r\n//\r\n///\r\n";
  for (const std::string device : {"PDF", "PCL"}) {
    SCOPED_TRACE(device);
    EngineFolder ef;
    ef.write("bh1.txt", input);
    ef.write("mc.txt", "1.0: 20\r\n3.0: 25\r\n5.0: 30\r\n8.0: 18\r\n");
    std::string rf = run_file("bh1.txt");
    rf.replace(rf.find("output = PDF"), 12, "output = " + device);
    ef.write("@runfile.dat", rf);
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    if (device == "PDF") {
      const fs::path pdf = ef.file("drive_c/VLXFILES/000/BH1.pdf");
      ASSERT_TRUE(fs::exists(pdf)) << r.out;
      expect_readable(pdf);
      // Three profile pages, each followed by its log page.
      EXPECT_NE(pdf_tool("pdfinfo", pdf).find("Pages:           6"), std::string::npos) << pdf_tool("pdfinfo", pdf);
      const std::vector<Page> pages = word_boxes(pdf);
      ASSERT_EQ(pages.size(), 6u);
      for (size_t p = 0; p < pages.size(); ++p) {
        // The head ends above a seventh of the page, the footer and the log's column titles begin
        // below five sixths of it.
        const auto body = std::count_if(pages[p].words.begin(), pages[p].words.end(), [&](const Word& w) {
          return w.y1 > pages[p].height / 7 && w.y2 < pages[p].height * 5 / 6;
        });
        EXPECT_GT(body, 0) << "page " << p + 1 << " holds only its head and foot:\n"
                           << pdf_tool("pdftotext", pdf, {"-f", std::to_string(p + 1), "-l", std::to_string(p + 1)});
      }
      // The notes and the footer on the last profile page; the hole's last metre on the last log page.
      const std::string last = pdf_tool("pdftotext", pdf, {"-f", "5", "-l", "5"});
      for (const char* words : {"Page 3 of 3", "Water strike at 4.20 m.", "Printed:"})
        EXPECT_NE(last.find(words), std::string::npos) << words << "\n" << last;
      const std::string log = pdf_tool("pdftotext", pdf, {"-f", "6", "-l", "6", "-layout"});
      EXPECT_FALSE(find_regex(log, R"(\n\s+9\s*\n)").empty()) << log;
    } else {
      PclRead pcl;
      std::string what;
      ASSERT_TRUE(read_pcl(read_file(ef.file("drive_c/VLXFILES/000/BH1.pcl")), pcl, what)) << what;
      EXPECT_EQ(pcl.form_feeds, 6);
      for (int page = 0; page < 6; ++page) {
        const auto body = std::count_if(pcl.texts.begin(), pcl.texts.end(), [&](const PclRead::Text& t) {
          return t.page == page && t.y > 3508 / 7 && t.y < 3508 * 5 / 6;
        });
        EXPECT_GT(body, 0) << "page " << page + 1 << " holds only its head and foot";
      }
      EXPECT_NE(pcl.text.find("Water strike at 4.20 m."), std::string::npos) << pcl.text;
    }
  }
}
