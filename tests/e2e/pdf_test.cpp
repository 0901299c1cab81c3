// The PDF writer's output, as real readers see it: the demonstration program's documents checked with
// qpdf, pdfinfo, pdftotext and a page rendered by pdftoppm.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "testsupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// A reader program by its name, found on PATH (the runner starts programs by their full path).
std::string reader(const std::string& name) {
  std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin";
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    fs::path p = fs::path(path.substr(start, end - start)) / name;
    if (fs::exists(p)) return p.string();
    start = end + 1;
  }
  ADD_FAILURE() << name << " is not installed (scripts/bootstrap.sh installs it)";
  return name;
}

// A document made by pdfdemo in a fresh engine folder.
struct Demo {
  EngineFolder folder;
  RunResult run;
  fs::path pdf;
  explicit Demo(const std::vector<std::string>& args, const std::function<void(const EngineFolder&)>& prepare = {}) {
    if (prepare) prepare(folder);
    pdf = folder.file("demo.pdf");
    std::vector<std::string> argv{VLX_PDFDEMO_PROGRAM, "demo.pdf"};
    argv.insert(argv.end(), args.begin(), args.end());
    run = run_program(argv, folder.path(), 30);
  }
  // A reader run on the document; its standard output.
  std::string tool(std::vector<std::string> argv) const {
    argv[0] = reader(argv[0]);
    argv.push_back(pdf.string());
    RunResult r = run_program(argv, folder.path(), 30);
    EXPECT_EQ(r.exit_code, 0) << argv[0] << ": " << r.out << r.err;
    return r.out;
  }
  std::string page_text(int page) const {
    RunResult r = run_program({reader("pdftotext"), "-f", std::to_string(page), "-l", std::to_string(page), pdf.string(), "-"},
                              folder.path(), 30);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return r.out;
  }
};

// A valid PDF; ERROR.LOG holds the one line logged (none when empty).
void expect_clean(const Demo& d, const std::string& logged = {}) {
  ASSERT_EQ(d.run.exit_code, 0) << d.run.out << d.run.err;
  ASSERT_TRUE(fs::exists(d.pdf));
  RunResult q = run_program({reader("qpdf"), "--check", d.pdf.string()}, d.folder.path(), 30);
  EXPECT_EQ(q.exit_code, 0) << q.out << q.err;  // 2 errors, 3 warnings
  EXPECT_EQ(q.out.find("WARNING"), std::string::npos) << q.out;
  EXPECT_EQ(q.err, "");
  if (logged.empty()) {
    EXPECT_FALSE(d.folder.exists("ERROR.LOG")) << d.folder.read("ERROR.LOG");
  } else {
    const std::string log = d.folder.read("ERROR.LOG");
    EXPECT_NE(log.find(logged), std::string::npos) << log;
    EXPECT_EQ(log.find('\n'), log.rfind('\n')) << log;  // said once
  }
  EXPECT_EQ(d.run.out.find("Font"), std::string::npos) << d.run.out;  // every font found in pdffonts.dat
}

// One rendered page as RGB pixels (pdftoppm writes a binary PPM).
struct Image {
  int width = 0, height = 0;
  std::string rgb;
  int count(bool (*match)(unsigned char, unsigned char, unsigned char)) const {
    int n = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
      n += match(static_cast<unsigned char>(rgb[i]), static_cast<unsigned char>(rgb[i + 1]),
                 static_cast<unsigned char>(rgb[i + 2]));
    return n;
  }
};

// Page of the PDF file pdf rendered in folder.
Image render(const fs::path& pdf, const fs::path& folder, int page, int dpi = 72) {
  RunResult r = run_program({reader("pdftoppm"), "-r", std::to_string(dpi), "-f", std::to_string(page), "-l", std::to_string(page),
                             pdf.string(), (folder / "page").string()},
                            folder, 30);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  Image img;
  for (const auto& e : fs::directory_iterator(folder)) {
    if (e.path().extension() != ".ppm") continue;
    std::string bytes = read_file(e.path());
    const std::vector<std::string> m = find_regex(bytes, "^P6\\s+(\\d+)\\s+(\\d+)\\s+255\\s");
    if (m.empty()) continue;
    img.width = std::stoi(m[1]);
    img.height = std::stoi(m[2]);
    img.rgb = bytes.substr(m[0].size());
    fs::remove(e.path());
  }
  return img;
}

Image render(const Demo& d, int page, int dpi = 72) { return render(d.pdf, d.folder.path(), page, dpi); }

TEST(PdfWriter, A4DocumentWithSeparateLogPages) {
  Demo d({});
  expect_clean(d);
  std::string info = d.tool({"pdfinfo"});
  EXPECT_NE(info.find("Pages:           4"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       595 x 841 pts"), std::string::npos) << info;
  EXPECT_NE(info.find("PDF version:     1.3"), std::string::npos) << info;

  // Each log page follows its sheet page.
  const char* order[] = {"Sheet page 1", "Log page 1", "Sheet page 2", "Log page 2"};
  for (int p = 1; p <= 4; ++p) {
    std::string text = d.page_text(p);
    EXPECT_NE(text.find(order[p - 1]), std::string::npos) << p << ": " << text;
  }
  std::string sheet = d.page_text(1);
  for (const char* want : {"Firm grey sandy CLAY (weathered) with gravel: a\\b and (c)",
                           "Water at 20\u00B0C \u00B12, area 4 m\u00B2, grains 63 \u00B5m, Stra\u00DFe",
                           "Normal text, bold text and normal again", "Sample U100 undisturbed taken at 1.20 m",
                           "Colour run: red description and black", "Narrow text at eighty percent"})
    EXPECT_NE(sheet.find(want), std::string::npos) << want << "\n" << sheet;

  // The rendered sheet page shows its black lines and text, the blue and orange bars and the red run.
  Image img = render(d, 1);
  ASSERT_GT(img.width, 0);
  EXPECT_LT(img.width, img.height);
  auto dark = [](unsigned char r, unsigned char g, unsigned char b) { return r < 80 && g < 80 && b < 80; };
  auto blue = [](unsigned char r, unsigned char g, unsigned char b) { return r < 40 && g > 100 && g < 160 && b > 220; };
  auto orange = [](unsigned char r, unsigned char g, unsigned char b) { return r > 230 && g > 130 && g < 180 && b < 40; };
  auto red = [](unsigned char r, unsigned char g, unsigned char b) { return r > 150 && g < 90 && b < 90; };
  EXPECT_GT(img.count(dark), 1000);
  EXPECT_GT(img.count(blue), 1000);
  EXPECT_GT(img.count(orange), 1000);
  EXPECT_GT(img.count(red), 5);
}

// An underline drawn from the engine's width tables spans its text as a reader measures the shown glyphs
// (pdftotext -bbox, from the standard font's widths at the 94.482 % width of the text): within a dot
// (0.24 point) at both ends, for "Hello" alone in 10 points and for a run in mid-line.
TEST(PdfWriter, UnderlinesSpanTheShownText) {
  Demo d({});
  expect_clean(d);
  const RunResult r = run_program({reader("pdftotext"), "-f", "1", "-l", "1", "-bbox", d.pdf.string(), "-"}, d.folder.path(), 30);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string& boxes = r.out;
  auto word = [&](const std::string& w, const char* edge) {
    const std::vector<std::string> m =
        find_regex(boxes, std::string("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"[^>]*>") + w + "</word>");
    if (m.empty()) {
      ADD_FAILURE() << w << " not found\n" << boxes;
      return 0.0;
    }
    return std::stod(m[std::string(edge) == "xMin" ? 1 : 2]);
  };
  // The underline rules of page 1's underline stream: 0.96 points wide, from x1 to x2.
  const std::string pdf = read_file(d.pdf);
  const std::string page1 = pdf.substr(0, pdf.find("endstream", pdf.find("0.96 w")));
  std::vector<std::pair<double, double>> rules;
  for (const auto& m : find_all_regex(page1, "0\\.96 w\\s+([0-9.]+)\\s+[0-9.]+ m\\s+([0-9.]+)\\s+[0-9.]+ l"))
    rules.emplace_back(std::stod(m[1]), std::stod(m[2]));
  ASSERT_FALSE(rules.empty()) << "no underlines";
  struct Case {
    const char *first, *last;
  } cases[] = {{"Hello", "Hello"}, {"U100", "undisturbed"}};
  for (const auto& c : cases) {
    const double from = word(c.first, "xMin"), to = word(c.last, "xMax");
    const auto found = std::min_element(rules.begin(), rules.end(), [&](const auto& a, const auto& b) {
      return std::abs(a.first - from) < std::abs(b.first - from);
    });
    EXPECT_NEAR(found->first, from, 0.24) << c.first;
    EXPECT_NEAR(found->second, to, 0.24) << c.last;
  }
}

TEST(PdfWriter, A3DocumentWithLogBesideTheSheet) {
  Demo d({"--a3"});
  expect_clean(d);
  std::string info = d.tool({"pdfinfo"});
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       1190 x 841 pts"), std::string::npos) << info;
  for (int p = 1; p <= 2; ++p) {
    std::string text = d.page_text(p);
    EXPECT_NE(text.find("Sheet page " + std::to_string(p)), std::string::npos) << text;
    EXPECT_NE(text.find("Log page " + std::to_string(p)), std::string::npos) << text;
  }
  // The log's green bars stand in the right half of the landscape page.
  Image img = render(d, 1);
  ASSERT_GT(img.width, img.height);
  int left = 0, right = 0;
  for (size_t i = 0; i + 2 < img.rgb.size(); i += 3) {
    unsigned char r = static_cast<unsigned char>(img.rgb[i]), g = static_cast<unsigned char>(img.rgb[i + 1]),
                  b = static_cast<unsigned char>(img.rgb[i + 2]);
    if (r < 80 && g > 130 && b < 80) (static_cast<int>(i / 3 % static_cast<size_t>(img.width)) < img.width / 2 ? left : right)++;
  }
  EXPECT_EQ(left, 0);
  EXPECT_GT(right, 500);
}

// pdfimages -list: the rows of its table (page, num, type, width, height, color, comp, bpc, ...).
std::vector<std::vector<std::string>> images(const Demo& d) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(d.tool({"pdfimages", "-list"}));
  std::string line;
  for (int skip = 2; skip > 0 && std::getline(in, line); --skip) {
  }
  while (std::getline(in, line)) {
    std::istringstream cells(line);
    std::vector<std::string> row;
    for (std::string c; cells >> c;) row.push_back(c);
    if (row.size() >= 8) rows.push_back(row);
  }
  return rows;
}

// Counts the pixels of a colour (within 40 of each component) in a box of a rendered page, or in the
// whole page.
int count_colour(const Image& img, int r, int g, int b, int x0 = 0, int y0 = 0, int x1 = 1 << 20, int y1 = 1 << 20) {
  int n = 0;
  for (int y = std::max(0, y0); y < std::min(img.height, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(img.width, x1); ++x) {
      const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(img.width) + static_cast<size_t>(x)) * 3;
      n += std::abs(static_cast<unsigned char>(img.rgb[i]) - r) < 40 &&
           std::abs(static_cast<unsigned char>(img.rgb[i + 1]) - g) < 40 &&
           std::abs(static_cast<unsigned char>(img.rgb[i + 2]) - b) < 40;
    }
  return n;
}

// pdfdemo --symbols draws its soils and samples from the engine folder's symbol library PROLIB.DAT.
TEST(PdfWriter, SymbolsPatternsAndLogo) {
  Demo d({"--symbols", "--logo"});
  expect_clean(d);
  EXPECT_EQ(d.run.out.find("LOGO"), std::string::npos) << d.run.out;
  EXPECT_EQ(d.run.out.find("logofile"), std::string::npos) << d.run.out;

  // Every image is a 64-pixel-wide 1-bit stencil mask; both sheet pages have theirs, the log pages none.
  std::map<std::string, int> per_page;
  for (const auto& row : images(d)) {
    EXPECT_EQ(row[2], "stencil");
    EXPECT_EQ(row[3], "64");
    EXPECT_EQ(row[7], "1");
    per_page[row[0]]++;
  }
  EXPECT_GE(per_page["1"], 8);
  EXPECT_GE(per_page["3"], 2);
  EXPECT_EQ(per_page.count("2") + per_page.count("4"), 0u);

  // The logo stands on the sheet pages, not on the log pages.
  EXPECT_NE(d.page_text(1).find("VELTRAX"), std::string::npos);
  EXPECT_NE(d.page_text(3).find("soil profiles"), std::string::npos);
  EXPECT_EQ(d.page_text(2).find("VELTRAX"), std::string::npos);

  // Sheet page at 144 dpi: the logo's navy and sand at the top left; the symbol column (x 531 to 563
  // points) with black symbols, a light blue band without symbol, a green symbol, a sandy band with a
  // black symbol over it.
  Image sheet = render(d, 1, 144);
  ASSERT_GT(sheet.width, 0);
  EXPECT_GT(count_colour(sheet, 26, 51, 115, 0, 0, 300, 200), 1200);
  EXPECT_GT(count_colour(sheet, 237, 204, 115, 0, 0, 300, 200), 600);
  EXPECT_GT(count_colour(sheet, 0, 0, 0, 1062, 220, 1128, 660), 1000);
  EXPECT_GT(count_colour(sheet, 160, 208, 240, 1062, 220, 1128, 1580), 10000);
  EXPECT_GT(count_colour(sheet, 64, 128, 32, 1062, 220, 1128, 1580), 500);
  EXPECT_GT(count_colour(sheet, 224, 192, 128, 1062, 220, 1128, 1580), 2000);
  // Log page: bars in the hatch and shade patterns, navy and brown, and solid bars under black patterns.
  Image log = render(d, 2);
  EXPECT_GT(count_colour(log, 0, 0, 153), 500);
  EXPECT_GT(count_colour(log, 153, 51, 26), 300);
  EXPECT_GT(count_colour(log, 255, 217, 128), 1000);
}

// On A3 a log leaf and its sheet leaf make one page; a pattern both use is named once in its resources
// (qpdf warns of a key that a dictionary holds twice).
TEST(PdfWriter, SymbolsOnA3) {
  Demo d({"--a3", "--symbols", "--logo"});
  expect_clean(d);
  EXPECT_NE(d.tool({"pdfinfo"}).find("Pages:           2"), std::string::npos);
  EXPECT_NE(d.page_text(2).find("VELTRAX"), std::string::npos);
  const std::string pdf = read_file(d.pdf);
  size_t patterns = 0;
  for (size_t at = pdf.find("/Hatch3 "); at != std::string::npos; at = pdf.find("/Hatch3 ", at + 1))
    patterns += pdf.compare(at, 13, "/Hatch3 scn\r\n") != 0;
  EXPECT_EQ(patterns, 2u);  // one resource entry per page
}

// A logo file the reader cannot take gives its message; the PDF is still whole, without the logo.
TEST(PdfWriter, MalformedLogos) {
  const std::string logo = read_file(data_dir() / "LOGO0.PDF");
  const size_t xref = logo.rfind("xref\n0 7");
  ASSERT_NE(xref, std::string::npos);
  std::string size = logo, loop = logo;
  size.replace(size.find("/Size 7"), 7, "/Size 900");
  loop.insert(loop.find(" >>", loop.find("trailer")), " /Prev " + std::to_string(xref));
  const std::string stream = logo.substr(0, xref) + "7 0 obj\n<< /Type /XRef /Size 8 /W [1 4 2] /Root 1 0 R /Length 0 >>\n" +
                             "stream\n\nendstream\nendobj\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  struct Case {
    std::string bytes;
    const char* message;
  } cases[] = {
      {stream, "LOGO FAILED - Cannot read cross-reference stream in LOGO0.PDF"},
      {loop, "LOGO FAILED - Xref /Prev chain loops in LOGO0.PDF"},
      {logo.substr(0, logo.size() / 2), "LOGO FAILED - Cannot find Xrefstart in LOGO0.PDF"},
      {size, "LOGO FAILED - Too many objects (more than 700) in LOGO0.PDF"},
  };
  for (const auto& c : cases) {
    Demo d({"--logo"}, [&](const EngineFolder& f) { f.write("LOGO0.PDF", c.bytes); });
    SCOPED_TRACE(c.message);
    EXPECT_FALSE(d.run.timed_out);
    expect_clean(d, std::string(c.message) + "; the sheets are drawn without the logo");
    EXPECT_NE(d.run.out.find(c.message), std::string::npos) << d.run.out;
    EXPECT_EQ(d.page_text(1).find("VELTRAX"), std::string::npos);
    EXPECT_EQ(read_file(d.pdf).find("%LOGO"), std::string::npos);
  }
}

// The end of a PDF run: three documents (A4 with the logo, A3 with symbols and the logo, A4 without
// logo) merged into combined.pdf and copied over the run's target, as readers see them.
TEST(PdfWriter, MergedDocuments) {
  EngineFolder folder;
  const std::vector<std::vector<std::string>> documents = {{"a.pdf", "--logo"}, {"b.pdf", "--a3", "--symbols", "--logo"}, {"c.pdf"}};
  for (const auto& args : documents) {
    std::vector<std::string> argv{VLX_PDFDEMO_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    const RunResult r = run_program(argv, folder.path(), 30);
    ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
  }
  folder.write("target.pdf", read_file(folder.file("c.pdf")));  // the last result, as the run left it
  const RunResult r = run_program({VLX_PDFDEMO_PROGRAM, "--merge", "target.pdf", "a.pdf", "b.pdf", "c.pdf"}, folder.path(), 30);
  ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_EQ(r.out.find("not"), std::string::npos) << r.out;  // no refusal, no warning about an input
  EXPECT_FALSE(folder.exists("ERROR.LOG"));
  ASSERT_TRUE(folder.exists("combined.pdf"));
  EXPECT_EQ(folder.read("target.pdf"), folder.read("combined.pdf"));

  auto tool = [&](std::vector<std::string> argv, int want = 0) {
    argv[0] = reader(argv[0]);
    const RunResult t = run_program(argv, folder.path(), 30);
    EXPECT_EQ(t.exit_code, want) << argv[0] << ": " << t.out << t.err;
    return t.out;
  };
  for (const char* file : {"combined.pdf", "target.pdf"}) {
    const RunResult q = run_program({reader("qpdf"), "--check", file}, folder.path(), 30);
    EXPECT_EQ(q.exit_code, 0) << q.out << q.err;
    EXPECT_EQ(q.out.find("WARNING"), std::string::npos) << q.out;
    EXPECT_EQ(q.err, "");
  }

  // The sum of the pages, each at its own size, in input order.
  EXPECT_EQ(tool({"qpdf", "--show-npages", "combined.pdf"}), "10\n");
  const std::string sizes = tool({"pdfinfo", "-f", "1", "-l", "10", "combined.pdf"});
  for (int p = 1; p <= 10; ++p) {
    const std::string want = p == 5 || p == 6 ? "1190 x 841 pts" : "595 x 841 pts";
    EXPECT_FALSE(find_regex(sizes, "Page +" + std::to_string(p) + " size: +" + want).empty()) << p << "\n" << sizes;
  }
  const char* texts[] = {"Sheet page 1", "Log page 1", "Sheet page 2", "Log page 2", "Sheet page 1",
                         "Sheet page 2", "Sheet page 1", "Log page 1", "Sheet page 2", "Log page 2"};
  for (int p = 1; p <= 10; ++p) {
    const std::string text = tool({"pdftotext", "-f", std::to_string(p), "-l", std::to_string(p), "combined.pdf", "-"});
    EXPECT_NE(text.find(texts[p - 1]), std::string::npos) << p << ": " << text;
    EXPECT_EQ(text.find("VELTRAX") != std::string::npos, p == 1 || p == 3 || p == 5 || p == 6) << p;
  }

  // One set of fonts: the logo's two and the engine's three, in the file and on the pages.
  const std::string json = tool({"qpdf", "--json", "--json-key=qpdf", "combined.pdf"});
  size_t fonts = 0;
  for (size_t at = json.find("\"/Type\": \"/Font\""); at != std::string::npos; at = json.find("\"/Type\": \"/Font\"", at + 1)) ++fonts;
  EXPECT_EQ(fonts, 5u);
  const std::string listed = tool({"pdffonts", "combined.pdf"});
  EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), 2 + 5) << listed;

  // The merged A3 page as a reader draws it: the logo at the top left, the log's green bars in the
  // right half; the A4 page without logo after it has none of the logo's navy.
  const Image a3 = render(folder.file("combined.pdf"), folder.path(), 5);
  ASSERT_GT(a3.width, a3.height);
  EXPECT_GT(count_colour(a3, 26, 51, 115, 0, 0, 150, 100), 300);
  EXPECT_GT(count_colour(a3, 51, 153, 51, a3.width / 2, 0), 500);
  const Image plain = render(folder.file("combined.pdf"), folder.path(), 7);
  ASSERT_LT(plain.width, plain.height);
  EXPECT_EQ(count_colour(plain, 26, 51, 115), 0);
  EXPECT_GT(count_colour(plain, 0, 0, 0), 1000);
}

}  // namespace
