// The merge of a run's PDF files into combined.pdf, and the reader of those files.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/pdf/pdf_fixture.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"

using namespace testing_support;

namespace {

// A batch console that keeps everything printed.
class RecordingConsole : public platform::BatchConsole {
 public:
  RecordingConsole() : BatchConsole(25, false) {}
  std::string printed;

 protected:
  void on_print(std::string_view text, bool newline) override {
    printed += std::string(text) + (newline ? "\n" : "");
    BatchConsole::on_print(text, newline);
  }
};

// A finished file read back through its cross-reference table.
struct Parsed {
  std::string bytes;
  std::map<int, size_t> offsets;  // objects in use
  explicit Parsed(std::string b) : bytes(std::move(b)) {
    const size_t sx = bytes.rfind("startxref\r\n");
    if (sx == std::string::npos) return;
    const size_t xref = std::stoul(bytes.substr(sx + 11));
    const std::vector<std::string> m = find_regex(bytes.substr(xref + 6, 20), "^0 (\\d+) \r\n");
    if (m.empty()) return;
    size_t at = xref + 6 + m[0].size();
    for (int n = 0; n < std::stoi(m[1]); ++n, at += 20)
      if (bytes[at + 17] == 'n') offsets[n] = std::stoul(bytes.substr(at, 10));
  }
  // Object n from its label to its "endobj".
  std::string object(int n) const {
    auto it = offsets.find(n);
    if (it == offsets.end()) return {};
    return bytes.substr(it->second, bytes.find("endobj", it->second) - it->second);
  }
  // The object numbers of the references in text, in order.
  static std::vector<int> refs(const std::string& text) {
    std::vector<int> out;
    for (const auto& m : find_all_regex(text, "(^|[^0-9])(\\d+) 0 R")) out.push_back(std::stoi(m[2]));
    return out;
  }
  int value(const std::string& text, const std::string& key) const {
    const size_t p = text.find(key);
    return p == std::string::npos ? 0 : std::stoi(text.substr(p + key.size()));
  }
  int root() const { return value(bytes.substr(bytes.rfind("trailer")), "/Root "); }
  int tree() const { return value(object(root()), "/Pages "); }
  // The pages in the order of the page tree.
  std::vector<int> pages() const {
    const std::string t = object(tree());
    return refs(t.substr(t.find("/Kids [")));
  }
  // The data of the content streams of page n, joined.
  std::string contents(int page) const {
    const std::string p = object(page);
    const size_t a = p.find("/Contents [");
    std::string out;
    for (int s : refs(p.substr(a, p.find(']', a) - a))) {
      const std::string o = object(s);
      const size_t d = o.find("stream\r\n");
      if (d != std::string::npos) out += o.substr(d + 8, o.find("endstream") - d - 8);
    }
    return out;
  }
};

// Every reference outside stream data names an object in use.
void expect_references_resolve(const Parsed& pdf) {
  std::string text = pdf.bytes.substr(0, pdf.bytes.rfind("xref\r\n"));
  for (size_t a = text.find("stream\r\n"); a != std::string::npos; a = text.find("stream\r\n", a + 1)) {
    const size_t b = text.find("endstream", a + 8);
    text.erase(a + 8, b - a - 8);
  }
  for (int n : Parsed::refs(text)) EXPECT_TRUE(pdf.offsets.count(n)) << "a reference to object " << n << ", not in use";
}

const std::string kA4 = "/MediaBox [ 0  0  595.00  841.00 ]", kA3 = "/MediaBox [ 0  0  1190.0  841.00 ]";

class CombineTest : public PdfTest {
 protected:
  void SetUp() override {
    PdfTest::SetUp();
    auto c = std::make_unique<RecordingConsole>();
    console = c.get();
    platform::set_console(std::move(c));
    // The logo leaves 7 and 8 free, so the documents' tables hold free entries whose first field
    // (the next free number) is no offset.
    PdfMaker logo = example_logo();
    logo.add(9, "(spare)");
    logo.section("/Size 10 /Root 1 0 R");
    dir.write("LOGO0.PDF", logo.bytes);
    OUTDIR = ".";
    RUNFLAGS = 0x81;
    rt::set_exit_code(0);
  }
  void TearDown() override {
    PdfTest::TearDown();
    rt::set_exit_code(0);
  }
  // A document of the writer: pages of streams streams each, every stream showing "marker page p".
  void document(const std::string& name, const std::string& marker, int pages, bool logo, bool a3 = false,
                int streams = 1) {
    PAPER = a3 ? "A3" : "A4";
    LOGOMACRO = logo ? "LOGO0" : "";
    ATTRCOUNT = 0;
    for (int p = 1; p <= pages; ++p) {
      open_leaf(name);
      if (logo) PDFLOGO();
      for (int s = 0; s < streams; ++s) {
        NEWSTREA();
        std::string t = marker + " page " + std::to_string(p);
        PDFPRINT(100, 100, t);
        CLOSESTR();
      }
      CLOSELEA();
    }
    PAGECOUNT = pages;
    ASSEMBLE();
  }
  // Merges the named files as the end of a run does: COMBINE, then the run's target (run-file item 8,
  // when one is given) written from what the run left for it: the last hole's result "last.pdf", or
  // combined.pdf once it is joined. The merged file, empty when there is none.
  std::string merge(const std::vector<std::string>& names, const std::string& target = "") {
    OUTLIST.clear();
    for (const std::string& n : names) OUTLIST += "|" + n;
    RESULTNAME = target;
    if (target.empty()) RUNFLAGS &= ~0x80;
    else RUNFLAGS |= 0x80;
    run_target_source = target.empty() ? "" : "last.pdf";
    COMBINE();
    place_run_target();
    return std::filesystem::exists(dir.path() / "combined.pdf") ? dir.read("combined.pdf") : "";
  }
  RecordingConsole* console = nullptr;
};

// A4 with the logo, A3 with the logo, A4 without, in several orders: every page in input order at its
// own size, the logo block once under its own numbers, one set of fonts, references that resolve.
TEST_F(CombineTest, MergesDocumentsWithTheirSizesLogoAndFonts) {
  document("a.pdf", "First", 2, true);
  document("b.pdf", "Second", 1, true, true);
  document("c.pdf", "Third", 2, false);
  const std::string a = dir.read("a.pdf");
  const std::string logo_block = a.substr(a.find("1 0 obj"), a.find("\r\n14 0 obj") - a.find("1 0 obj"));
  struct Page {
    const char* text;
    bool a3, logo;
  };
  const Page first1{"First page 1", false, true}, first2{"First page 2", false, true},
      second{"Second page 1", true, true}, third1{"Third page 1", false, false}, third2{"Third page 2", false, false};
  struct Case {
    std::vector<std::string> inputs;
    std::vector<Page> pages;
  } cases[] = {
      {{"a.pdf", "b.pdf", "c.pdf"}, {first1, first2, second, third1, third2}},
      {{"c.pdf", "a.pdf", "b.pdf"}, {third1, third2, first1, first2, second}},
      {{"a.pdf"}, {first1, first2}},
      {{"c.pdf"}, {third1, third2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.inputs[0] + " first, " + std::to_string(c.inputs.size()) + " inputs");
    dir.write("last.pdf", "the last sheet");
    dir.write("target.pdf", "an earlier run's");
    const Parsed pdf(merge(c.inputs, "target.pdf"));
    ASSERT_FALSE(pdf.bytes.empty()) << console->printed;
    expect_consistent(pdf.bytes);
    expect_references_resolve(pdf);
    // The run's target is the joined file, not the last hole's result.
    EXPECT_EQ(dir.read("target.pdf"), pdf.bytes);
    EXPECT_EQ(rt::exit_code(), 0);
    EXPECT_EQ(PDFBYTES, 0);
    EXPECT_EQ(LOGODONE, 0);
    EXPECT_EQ(PDFOBJECT, pdf.root());

    const bool logo = c.inputs != std::vector<std::string>{"c.pdf"};
    // Four header lines, then the first object: the logo's first, or the first input's first, under
    // the number after the logo block (or 1 when no input has a logo).
    std::string first = pdf.bytes.substr(pdf.bytes.find("TRAX\r\n") + 6);
    const std::string want = c.inputs[0] == "a.pdf" ? "1 0 obj\r\n" : logo ? "\r\n14 0 obj\r\n" : "\r\n1 0 obj\r\n";
    EXPECT_EQ(first.substr(first.find("\r\n") + 2, want.size()), want);
    // The logo block once, byte for byte under its own numbers; the engine's objects after it.
    EXPECT_EQ(pdf.bytes.find(logo_block) != std::string::npos, logo);
    EXPECT_EQ(pdf.bytes.find("%LOGO END") == pdf.bytes.rfind("%LOGO END"), true);
    // The first input's other objects renumbered from the logo's last number on, in file order.
    if (c.inputs[0] == "a.pdf") {
      EXPECT_NE(pdf.bytes.find("<\r\n\r\n\r\n14 0 obj\r\n<<\r\n/Length 15 0 R\r\n"), std::string::npos);
    }

    const std::vector<int> pages = pdf.pages();
    ASSERT_EQ(pages.size(), c.pages.size());
    EXPECT_NE(pdf.object(pdf.tree()).find("/Count  " + std::to_string(pages.size()) + "\r\n"), std::string::npos);
    std::set<int> ff1;
    for (size_t i = 0; i < pages.size(); ++i) {
      SCOPED_TRACE(c.pages[i].text);
      const std::string page = pdf.object(pages[i]);
      EXPECT_NE(pdf.contents(pages[i]).find(c.pages[i].text), std::string::npos);
      EXPECT_NE(page.find(c.pages[i].a3 ? kA3 : kA4), std::string::npos) << page;
      EXPECT_EQ(page.find("/Contents [ 10 0 R  4 0 R  12 0 R\r\n") != std::string::npos, c.pages[i].logo) << page;
      // The /Parent line names the new page tree and keeps the length of the placeholder, which has
      // room for seven digits: "/Parent 9999999 0 R".
      const std::string parent = "/Parent " + std::to_string(pdf.tree()) + " 0 R";
      EXPECT_NE(page.find(parent + std::string(19 - parent.size(), ' ') + "\r\n"), std::string::npos) << page;
      const std::string res = pdf.object(pdf.value(page, "/Resources "));
      ff1.insert(pdf.value(res, "/Ff1 "));
    }
    // One set of fonts: the logo's and the engine's three, which every page uses.
    EXPECT_EQ(ff1.size(), 1u);
    const std::string fonts = pdf.bytes.substr(pdf.bytes.find("%fontlist "));
    EXPECT_FALSE(find_regex(fonts, "^%fontlist \\d+ +\\d+ +\\d+ +\r\nstartxref").empty());
    EXPECT_EQ(pdf.value(fonts, "%fontlist "), *ff1.begin());
    size_t font_objects = 0;
    for (size_t at = pdf.bytes.find("/Type /Font"); at != std::string::npos; at = pdf.bytes.find("/Type /Font", at + 1))
      ++font_objects;
    EXPECT_EQ(font_objects, logo ? 4u : 3u);
    EXPECT_EQ(pdf.bytes.find("%logolist"), std::string::npos);
  }
}

// An input whose logo block differs from the shared one keeps its own logo, renumbered.
TEST_F(CombineTest, InputWithAnotherLogo) {
  document("a.pdf", "First", 1, true);
  PdfMaker other;
  other.add(1, "<< /Type /Catalog /Pages 2 0 R >>");
  other.add(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  other.add(3, "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources << /ProcSet [/PDF] >> >>");
  other.add(4, "<< /Length 25 >>\r\nstream\r\n1 0 0 rg 50 50 10 10 re fendstream");
  other.section("/Size 5 /Root 1 0 R");
  dir.write("LOGO0.PDF", other.bytes);
  document("d.pdf", "Fourth", 1, true);
  const Parsed pdf(merge({"a.pdf", "d.pdf"}));
  ASSERT_FALSE(pdf.bytes.empty()) << console->printed;
  expect_consistent(pdf.bytes);
  expect_references_resolve(pdf);
  const std::vector<int> pages = pdf.pages();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_NE(pdf.contents(pages[0]).find(kContent), std::string::npos);
  // The other logo's stream, its data followed by the line end that "endstream" needs.
  EXPECT_NE(pdf.contents(pages[1]).find("1 0 0 rg 50 50 10 10 re f\r\n"), std::string::npos);
  EXPECT_NE(pdf.contents(pages[1]).find("Fourth page 1"), std::string::npos);
}

// An input that cannot be merged: a console line and ERROR.LOG say why, the run ends with 1, no
// combined.pdf, and the run's target becomes the last hole's result.
TEST_F(CombineTest, RefusedInputs) {
  document("a.pdf", "First", 1, false);
  const std::string good = dir.read("a.pdf");
  auto entry = [&](int n) {
    return good.find("xref\r\n") + 6 + good.substr(good.find("xref\r\n") + 6).find("\r\n") + 2 + 20 * n;
  };
  std::string moved = good, bad_entry = good, too_many = good, long_stream = good;
  moved.replace(entry(3), 10, "0000000004");
  bad_entry.replace(entry(2), 10, "00000x0004");
  too_many.replace(too_many.find("xref\r\n0 ") + 8, 2, "6000");
  long_stream.replace(long_stream.find("/Length 2 0 R"), 13, "/Length 99999");
  struct Case {
    const char* what;
    std::string bytes;  // "-": no such file
    const char* message;
  } cases[] = {
      {"missing", "-", "PDF not written - bad.pdf cannot be opened: .\\combined.pdf"},
      {"empty", "", "PDF not written - bad.pdf is empty"},
      {"truncated", good.substr(0, good.size() / 2), "Can't find Xrefstart in bad.pdf"},
      {"object elsewhere", moved, "PDF not written - object 3 of bad.pdf is not where its table says"},
      {"bad entry", bad_entry, "PDF not written - the cross-reference table of bad.pdf cannot be read"},
      // The tables grow with an input, but only as far as its own table reaches: one that says it has
      // more entries than the file holds is refused before anything grows.
      {"more objects than its table holds", too_many,
       "PDF not written - the cross-reference table of bad.pdf cannot be read"},
      {"stream past its object", long_stream, "PDF not written - a stream of bad.pdf runs past its object"},
      // References and a table offset too large for a number: refused, never copied as they stand.
      {"references beyond 32 bits", read_file(source_dir() / "tests/fuzz/corpus/merge/two-references-beyond-32-bits"),
       "PDF not written - bad.pdf refers to an object beyond its table"},
      {"startxref beyond 32 bits", read_file(source_dir() / "tests/fuzz/corpus/merge/startxref-beyond-32-bits"),
       "Can't find Xrefstart in bad.pdf"},
  };
  dir.write("last.pdf", "the last sheet");
  size_t logged = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(dir.path() / "bad.pdf");
    if (std::string(c.bytes) != "-") dir.write("bad.pdf", c.bytes);
    // A new file, as a run writes it: the target of the last case may be a link to last.pdf.
    std::filesystem::remove(dir.path() / "target.pdf");
    dir.write("target.pdf", "an earlier run's");
    console->printed.clear();
    rt::set_exit_code(0);
    EXPECT_EQ(merge({"a.pdf", "bad.pdf"}, "target.pdf"), "");
    EXPECT_NE(console->printed.find(c.message), std::string::npos) << console->printed;
    // The earlier target stays: the last hole's result is no joined file (and no link of one).
    EXPECT_EQ(dir.read("target.pdf"), "an earlier run's");
    EXPECT_EQ(PDFBYTES, 0);
    EXPECT_FALSE(rt::is_open(PDFFILE));
    EXPECT_FALSE(rt::is_open(PDFINFILE));
    // The refusal is a loss of the run: one more line in ERROR.LOG, and exit code 1.
    EXPECT_EQ(rt::exit_code(), 1);
    const std::string log = dir.read("ERROR.LOG");
    size_t lines = 0;
    for (size_t at = log.find("PDF not written - "); at != std::string::npos; at = log.find("PDF not written - ", at + 1))
      ++lines;
    EXPECT_EQ(lines, ++logged) << log;
    EXPECT_NE(log.find("the run's target target.pdf is not replaced."), std::string::npos) << log;
    // Nothing of the new file is left beside combined.pdf.
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      EXPECT_NE(e.path().filename().string().front(), '.') << e.path();
  }
  // A missing table is also an error of the run: in ERROR.LOG.
  EXPECT_NE(dir.read("ERROR.LOG").find("combine.cpp  @ 0002  Error  62 -Input past end"), std::string::npos)
      << dir.read("ERROR.LOG");
}

// The run's target is written once, at the end of the run, from the merged file: at the very path
// the run file gives (no other folder is searched), whether or not a file stands there; a target that
// is combined.pdf itself is left as the merge wrote it; a target whose folder does not exist is said,
// written to ERROR.LOG and ends the run with 1.
TEST_F(CombineTest, TargetCopy) {
  document("a.pdf", "First", 1, false);
  dir.write("last.pdf", "the last sheet");
  TempDir elsewhere;
  elsewhere.write("found.pdf", "on the search path");
  ScopedEnv path("PATH", elsewhere.str());
  const std::string nowhere = "The result copy nowhere/target.pdf cannot be written: its folder does not exist.";
  struct Case {
    const char* target;
    bool exists, copied;
    const char* said;
  } cases[] = {{"target.pdf", true, true, nullptr},
               {"sub/target.pdf", true, true, nullptr},
               {"target.pdf", false, true, nullptr},
               {"found.pdf", false, true, nullptr},
               {"", false, false, nullptr},
               {"combined.pdf", true, true, nullptr},
               {"nowhere/target.pdf", false, false, nowhere.c_str()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    std::filesystem::remove_all(dir.path() / "sub");
    std::filesystem::remove(dir.path() / "target.pdf");
    std::filesystem::remove(dir.path() / "found.pdf");
    if (c.exists) dir.write(c.target, "old");
    console->printed.clear();
    rt::set_exit_code(0);
    const std::string pdf = merge({"a.pdf"}, c.target);
    ASSERT_FALSE(pdf.empty());
    if (*c.target) {
      EXPECT_EQ(std::filesystem::exists(dir.path() / c.target), c.copied);
      if (c.copied) {
        EXPECT_EQ(dir.read(c.target), pdf);
      }
    }
    EXPECT_EQ(rt::exit_code(), c.said ? 1 : 0);
    if (c.said) {
      EXPECT_NE(console->printed.find(c.said), std::string::npos) << console->printed;
      EXPECT_NE(dir.read("ERROR.LOG").find(c.said), std::string::npos);
      std::filesystem::remove(dir.path() / "ERROR.LOG");
    }
  }
  EXPECT_EQ(elsewhere.read("found.pdf"), "on the search path");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "ERROR.LOG")) << dir.read("ERROR.LOG");
}

// The merge closes its own files only; an empty list writes nothing.
TEST_F(CombineTest, OwnFilesAndEmptyList) {
  document("a.pdf", "First", 1, false);
  const std::int32_t other = rt::FREEFILE();
  ASSERT_TRUE(rt::open_file(other, "other.txt", rt::FileMode::Output));
  ASSERT_FALSE(merge({"a.pdf"}).empty());
  EXPECT_TRUE(rt::is_open(other));
  EXPECT_EQ(rt::FREEFILE(), other + 1);
  std::filesystem::remove(dir.path() / "combined.pdf");
  EXPECT_EQ(merge({}), "");
  EXPECT_EQ(merge({" ", ""}), "");
}

// The tables grow with the inputs: beyond the 360 pages and 4200 objects the merged file's tables once
// held, and beyond the 5000 objects of one input, every page is joined in order, each page's /Parent
// names the one page tree.
TEST_F(CombineTest, TablesGrowWithTheInputs) {
  document("pages.pdf", "P", 61, false);
  document("objects.pdf", "O", 70, false, false, 10);
  // One page of 2600 streams: more than 5200 objects in one input.
  document("large.pdf", "L", 1, false, false, 2600);
  struct Case {
    std::vector<std::string> inputs;
    size_t pages;
  } cases[] = {
      {std::vector<std::string>(5, "pages.pdf"), 305},
      {std::vector<std::string>(6, "pages.pdf"), 366},
      {{"pages.pdf", "large.pdf", "pages.pdf"}, 123},
      {std::vector<std::string>(3, "objects.pdf"), 210},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.pages) + " pages");
    console->printed.clear();
    const Parsed pdf(merge(c.inputs));
    ASSERT_FALSE(pdf.bytes.empty()) << console->printed;
    expect_consistent(pdf.bytes);
    expect_references_resolve(pdf);
    EXPECT_EQ(pdf.bytes.find("PDF not written"), std::string::npos);
    const std::vector<int> pages = pdf.pages();
    ASSERT_EQ(pages.size(), c.pages);
    EXPECT_NE(pdf.object(pdf.tree()).find("/Count  " + std::to_string(c.pages) + "\r\n"), std::string::npos);
    // The pages in input order: each input's pages 1.. in turn.
    size_t i = 0;
    for (const std::string& input : c.inputs) {
      const int count = input == "pages.pdf" ? 61 : input == "objects.pdf" ? 70 : 1;
      const std::string marker = input == "pages.pdf" ? "P" : input == "objects.pdf" ? "O" : "L";
      for (int p = 1; p <= count; ++p, ++i)
        EXPECT_NE(pdf.contents(pages[i]).find("(" + marker + " page " + std::to_string(p) + ")"), std::string::npos)
            << "page " << i + 1;
    }
    const std::string parent = "/Parent " + std::to_string(pdf.tree()) + " 0 R";
    for (int page : pages) EXPECT_NE(pdf.object(page).find(parent), std::string::npos) << page;
    EXPECT_EQ(rt::exit_code(), 0);
  }
}

// An interactive run blanks each merged hole's entry in the selection grid; a run-file run prints nothing.
TEST_F(CombineTest, Progress) {
  document("a.pdf", "First", 1, false);
  CONROWS = 25;  // grid columns of 20 rows
  PICKGRIDCOL = 10;
  PICKCOLW = 14;
  PICKCOLX = 7;
  DONELIST(1) = 2;
  DONELIST(2) = 21;
  for (std::int32_t flags : {0x81, 0}) {
    platform::Console& con = platform::console();
    con.cls();
    for (int row : {3, 4}) {
      con.locate(row, 1);
      con.print(std::string(79, 'x'), false);
    }
    RUNFLAGS = flags;
    merge({"a.pdf", "a.pdf"});
    EXPECT_EQ(con.row_text(4).substr(15, 8), flags ? "xxxxxxxx" : "x      x");  // hole 2: column 17
    EXPECT_EQ(con.row_text(3).substr(29, 8), flags ? "xxxxxxxx" : "x      x");  // hole 21: row 3, column 31
  }
}

TEST_F(CombineTest, ReferenceNumbers) {
  struct Case {
    const char* line;
    std::int32_t old_number, new_number, from;
    const char* want;
  } cases[] = {
      {"/Shade16 12 0 R", 12, 40, 1, "/Shade16 40 0 R"},
      {"/Shade16 16 0 R", 16, 5, 1, "/Shade16 5 0 R"},  // not the digits of the name
      {" 14 0 R  4 0 R", 4, 9, 1, " 14 0 R  9 0 R"},    // not the end of a longer number
      {" 4 0 R  4 0 R", 4, 9, 8, " 4 0 R  9 0 R"},      // from a position on
      {"/Parent 24 0 R", 24, 9999, 1, "/Parent 9999 0 R"},
      {"/Length 12 0 R", 7, 8, 1, "/Length 12 0 R"},  // not in the line
  };
  for (const auto& c : cases) {
    std::string line = c.line;
    SUBSTITU(line, c.old_number, c.new_number, c.from);
    EXPECT_EQ(line, c.want) << c.line;
  }
}

// Lines end at CR LF, CR or LF; a line longer than the first window, and the last one without an end.
TEST_F(CombineTest, LineReader) {
  const std::string long_line(300, 'a');
  dir.write("lines", "one\r\ntwo\rthree\n\n" + long_line + "\r\nlast");
  PDFINFILE = rt::FREEFILE();
  ASSERT_TRUE(rt::open_file(PDFINFILE, "lines", rt::FileMode::Binary));
  READPOS = 0;
  std::string line;
  for (const std::string& want :
       {std::string("one"), std::string("two"), std::string("three"), std::string(), long_line, std::string("last")}) {
    EXPECT_TRUE(GGETNEXT(line));
    EXPECT_EQ(line, want);
  }
  EXPECT_EQ(READPOS, 322);
  EXPECT_FALSE(GGETNEXT(line));
}

}  // namespace
