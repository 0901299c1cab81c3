// The sheet layout: line breaking, underlining, folding into Dwork.2, layer tags and symbol codes, the
// choice of scale and the page search. The sheet is a fixed-pitch A4 sheet worked out by hand: every
// character 25 dots wide, lines 50 dots apart, a page head of 600 and a foot of 300 dots, so that the
// description column is 1364 dots (54 characters), R = 2566 and RL = 2266 dots.
#include <cmath>

#include "engine/frame/helpers.h"
#include "engine/runtime/command.h"
#include "engine/select/coder_fixture.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proforma.h"
#include "engine/sheet/sheet.h"

namespace {

const std::string kUl = "\x01", kUlEnd = "\x02", kBreak = "\x04", kHard = "\x05", kIndOn = "\x06",
                  kIndOff = "\x07", kColumn = "\x08", kFontSw = "\x13";

class LayoutTest : public CoderFixture {
 protected:
  void SetUp() override {
    CoderFixture::SetUp();
    reset_sheet_globals();
    for (std::int32_t f = 1; f <= 3; ++f) {
      FONTWIDTH(f) = 25, FONTSIZE(f) = 1;
      for (std::int32_t c = 32; c <= 255; ++c) CHARWIDTH(f, c) = 25;
      FONTSPEC(f) = "\x1b(s12h10V";
    }
    FONTSPEC(3) = "\x1b(s0p12h10v0s0b3T";  // 10 points: log rows of 50 dots
    PAGELENGTH = PAGELENGTHSET = 3200;
    HEADDOTS = 600, FOOTDOTS = 300, LINEPITCH = 50, INDENT = 2, SCALEOPT = 1, A3SHIFT = 0;
    PROFLMARGIN = PROFRMARGIN = 0;
    OUTDEV = 1;
    RUNFLAGS = 1;
    ATTRCOUNT = 0, COMPRESSLOG = 0, SUPPRESS = 0;  // no log columns unless a test gives them
    copy_data({"scales.MET"});
    PROFILECODE = "631BH1";
    HEADER(20) = "BH1";
    sheet_hand_over().proprint = [] { platform::console().print("laid out", true); };
  }
  void TearDown() override {
    sheet_hand_over() = SheetHandOver{};
    CoderFixture::TearDown();
  }
  // Writes the layer records of Dwork.1.
  void layers(const std::vector<std::string>& records) {
    PIOPEN("Dwork.1", WORKFIRST + DWORKBASE);
    PIINIT(WORKFIRST + DWORKBASE);
    for (size_t i = 0; i < records.size(); ++i)
      PIWRITE(records[i], static_cast<std::int32_t>(i + 1), WORKFIRST + DWORKBASE);
    close_channel(WORKFIRST + DWORKBASE);
    LAYERCOUNT = static_cast<std::int32_t>(records.size());
  }
  void notes(const std::vector<std::string>& texts) {
    NOTECOUNT = static_cast<std::int32_t>(texts.size());
    for (size_t k = 0; k < texts.size(); ++k) NOTE(static_cast<long>(k + 1)) = texts[k];
  }
  static void close_channel(std::int32_t ch) {
    for (std::int32_t k : {ch, ch + 1})
      if (PIFILE(k) > 0 && rt::is_open(PIFILE(k))) rt::close_file(PIFILE(k));
  }
  // The folded lines of Dwork.2.
  std::vector<std::string> folded() {
    std::int32_t n = 0;
    for (std::int32_t i = 1; i <= LAYERCOUNT; ++i) n += LAYERLINES(i);
    for (std::int32_t k = 1; k <= NOTECOUNT; ++k) n += NOTELINES(k);
    PIOPEN("Dwork.2", WORKSECOND + DWORKBASE);
    std::vector<std::string> out;
    for (std::int32_t r = 1; r <= n; ++r) {
      std::string t;
      PIREAD(t, r, WORKSECOND + DWORKBASE);
      out.push_back(t);
    }
    close_channel(WORKSECOND + DWORKBASE);
    return out;
  }
  bool drawn() { return take_printed().find("laid out") != std::string::npos && !sheet_not_drawn; }
};

// --- BREAKPT and FNUNDERL ---

TEST_F(LayoutTest, BreakptCutsBeforeTheLastOpportunity) {
  struct Case {
    const char* what;
    std::string text;
    std::string head, rest;
    std::int32_t width, font_after;
  };
  FONTWIDTH(2) = 50;
  for (std::int32_t c = 32; c <= 255; ++c) CHARWIDTH(2, c) = 50;
  const Case cases[] = {
      {"fits whole", "abc", "abc", "", 75, 1},
      {"the last character stays at the limit", "abcdefghij", "abcdefghij", "", 250, 1},
      {"cut at the last blank before the limit", "abc def ghi", "abc def", "ghi", 175, 1},
      {"a run of blanks is one opportunity", "abc  defghij", "abc", "defghij", 75, 1},
      {"never at a hard space", "abc" + kHard + "defghij", "abc" + kHard + "defghi", "j", 225, 1},
      {"a word wider than the line is cut inside", "abcdefghijklm", "abcdefghij", "klm", 225, 1},
      {"an open underline is closed and opened again", kUl + "abcd efgh ijk" + kUlEnd,
       kUl + "abcd efgh" + kUlEnd, kUl + "ijk" + kUlEnd, 225, 1},
      {"an underlined word that ends the line leaves the rest plain", kUl + "abcd" + kUlEnd + " efghijklm",
       kUl + "abcd" + kUlEnd, "efghijklm", 100, 1},
      {"a font switch widens the rest", "ab" + kFontSw + "cdefgh", "ab" + kFontSw + "cdef", "gh", 200, 2},
      {"a switch beyond the cut keeps the font", "abc defghi" + kFontSw + "x", "abc", "defghi" + kFontSw + "x", 75, 1},
  };
  BREAKCHARS = " \x03\x01";
  for (const auto& c : cases) {
    FOLDLIMIT = 250;
    CURFONT = 1;
    std::string text = c.text, rest;
    std::int32_t width = -1;
    BREAKPT(text, width, rest);
    EXPECT_EQ(text, c.head) << c.what;
    EXPECT_EQ(rest, c.rest) << c.what;
    EXPECT_EQ(width, c.width) << c.what;
    EXPECT_EQ(CURFONT, c.font_after) << c.what;
  }
}

// On the pen plotter every character and gap is a cell of the plotter font (pitch 12: 25 dots), however
// narrow the width tables make it.
TEST_F(LayoutTest, BreakptMeasuresThePlotterFont) {
  for (std::int32_t c = 32; c <= 255; ++c) CHARWIDTH(1, c) = 10;
  FONTWIDTH(1) = 10;
  BREAKCHARS = " \x03\x01";
  for (const std::int32_t device : {1, 2}) {
    OUTDEV = device;
    FOLDLIMIT = 250;
    CURFONT = 1;
    std::string text = "abc def ghi jkl", rest;
    std::int32_t width = -1;
    BREAKPT(text, width, rest);
    if (device == 1) {
      EXPECT_EQ(text, "abc def ghi jkl");
      EXPECT_EQ(width, 150);
    } else {
      EXPECT_EQ(text, "abc def");
      EXPECT_EQ(rest, "ghi jkl");
      EXPECT_EQ(width, 175);
      ASSERT_GE(GAPCOUNT, 1);
      EXPECT_EQ(GAPWIDTH(1), 25);  // a justifying blank is a cell too
    }
  }
}

TEST_F(LayoutTest, UnderlineMarksBecomeUnderlinedWords) {
  struct Case {
    std::string text, expected;
    std::int32_t words;
  };
  const Case cases[] = {
      {kUl + "first, second", kUl + "first" + kUlEnd + ", second", 1},
      {"soft" + kUl + "clay", "soft " + kUl + "clay" + kUlEnd, 1},
      {kUl + " clay", kUl + "clay" + kUlEnd, 1},
      {kFontSw + kUl + "clay.", kUl + kFontSw + "clay" + kUlEnd + ".", 1},
      {kUl + "one" + kUl + "two three", kUl + "one" + kUlEnd + " two three", 1},
      {kUl + "a " + kUl + "b", kUl + "a" + kUlEnd + " " + kUl + "b" + kUlEnd, 2},
      {"no marks", "no marks", 0},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    std::int32_t words = 0;
    FNUNDERL(text, words);
    EXPECT_EQ(text, c.expected) << c.text;
    EXPECT_EQ(words, c.words) << c.text;
  }
}

// --- folding through the layout ---

TEST_F(LayoutTest, FoldingWritesEveryLineWithinTheColumn) {
  const std::string long_text =
      "Firm brown sandy CLAY with occasional fine to medium gravel of flint and chalk, becoming stiff "
      "and fissured below two metres, with rootlets in the upper part and pockets of grey silt.";
  layers({"[2.00] " + long_text, "[3.00] Dense " + kUl + "GRAVEL, wet"});
  notes({"1. Groundwater was met at 2.5 m and rose to 2.1 m after twenty minutes of waiting."});
  PROFORMA();
  ASSERT_TRUE(drawn());
  const auto lines = folded();
  ASSERT_GE(LAYERLINES(1), 3);
  EXPECT_EQ(LAYERLINES(2), 1);
  EXPECT_EQ(NOTELINES(1), 2);
  // No line is wider than the column, the first line of a note neither.
  std::string shown;
  for (size_t r = 0; r < lines.size(); ++r) {
    EXPECT_LT(FNDLEN(lines[r], 1), 1364) << lines[r];
    std::string line = lines[r];
    REPLAZE(line, ULINEON, "");
    REPLAZE(line, ULINEOFF, "");
    for (char c : line)
      if (c != ' ') shown += c;
  }
  // Nothing of the texts is lost (blanks and codes aside).
  std::string wanted;
  for (const std::string& t : {long_text, std::string("DenseGRAVEL,wet"),
                               std::string("1. Groundwater was met at 2.5 m and rose to 2.1 m after twenty minutes of waiting.")})
    for (char c : t)
      if (c != ' ') wanted += c;
  EXPECT_EQ(shown, wanted);
  // Full lines are justified with doubled blanks; the last line of a paragraph is not.
  EXPECT_NE(lines[0].find("  "), std::string::npos);
  EXPECT_EQ(lines[static_cast<size_t>(LAYERLINES(1) - 1)].find("  "), std::string::npos);
  EXPECT_NE(lines[static_cast<size_t>(LAYERLINES(1))].find(ULINEON + "GRAVEL" + ULINEOFF), std::string::npos);
}

TEST_F(LayoutTest, FoldingMarkUp) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> lines;
    std::int32_t height;
    std::int32_t outdev = 1;
  };
  INDENT = 4;
  const Case cases[] = {
      {"a hanging head joins a short label", "1." + kIndOn + "Sandy clay" + kIndOff + "Next",
       {"1.  Sandy clay", "Next"}, 2},
      {"line breaks make paragraphs, an empty one a blank line", "one" + kBreak + kBreak + "two",
       {"one", "", "two"}, 3},
      {"indent marks indent the next paragraph", "a" + kBreak + kIndOn + "b" + kIndOff + "c",
       {"a", "    b", "c"}, 3},
      {"two newspaper columns", "left" + kBreak + kColumn + kBreak + "right" + kBreak + "more",
       {"left", "\x18right", "\x18more"}, 2},
      {"text beside a column mark is kept", "left " + kColumn + " beside" + kBreak + "right",
       {"left  beside", "\x18right"}, 1},
      {"hard spaces print as blanks", "a" + kHard + kHard + "b", {"a  b"}, 1},
      // 49 characters (1225 dots) before the word that does not fit; below 1364 - 25 the blanks get a
      // hard space each, round by round from the left: 1250, 1275, 1300, 1325, then 1350.
      {"justification widens the blanks round by round from the left",
       "aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd eeeee ffffffffff",
       {"aaaaaaaaaa   bbbbbbbbbb  cccccccccc  dddddddddd  eeeee", "ffffffffff"}, 2},
      {"plotters get a blank for each underline code", kUl + "clay", {" clay"}, 1, 2},
  };
  for (const auto& c : cases) {
    OUTDEV = c.outdev;
    layers({"[1.00] " + c.text});
    NOTECOUNT = 0;
    PROFORMA();
    std::vector<std::string> got = folded();
    EXPECT_EQ(got, c.lines) << c.what;
    take_printed();
  }
}

TEST_F(LayoutTest, AnItemLongerThanAPageKeepsItsFirstLines) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "line" + kBreak;
  layers({"[1.00] " + text});
  PROFORMA();
  const std::string out = take_printed();
  // Lmax = round((3200 - 600 - 300) / 50) - 3 = 43: an item holds 44 lines.
  EXPECT_EQ(LAYERLINES(1), 44);
  // Said once, with the item and the first line left out (line 45, the 45th "line").
  EXPECT_NE(out.find("the description of layer 1 is " + PROMPT(47) + "; its lines from line 45 (\"line\") on are left out."),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find(PROMPT(47)), out.rfind(PROMPT(47))) << out;
  EXPECT_NE(out.find("laid out"), std::string::npos);
}

TEST_F(LayoutTest, FoldingNeverDividesByZeroNorLoops) {
  // An indent step of 0 and a font whose width rounds to 0 dots: no indent levels, and justification
  // that adds no width stops.
  INDENT = 0;
  FONTWIDTH(1) = 0.2;
  layers({"[1.00] " + kIndOn + "Firm brown sandy CLAY with occasional fine to medium gravel of flint and chalk, "
                                "becoming stiff and fissured below two metres" + kIndOff + "end"});
  PROFORMA();
  EXPECT_TRUE(drawn());
  EXPECT_GE(LAYERLINES(1), 2);

  // Gap widths below 0 (a damaged font): a round of hard spaces narrows the line, which ends it.
  INDENT = 2;
  FONTWIDTH(1) = -25;
  layers({"[1.00] aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd eeeee ffffffffff"});
  PROFORMA();
  EXPECT_TRUE(drawn());
  EXPECT_EQ(folded(), (std::vector<std::string>{"aaaaaaaaaa  bbbbbbbbbb  cccccccccc  dddddddddd  eeeee", "ffffffffff"}));

  // An indentation wider than the line (its hard spaces in a font 80 times as wide as the one the
  // deepest level was worked out in): the paragraph goes on without it.
  FONTWIDTH(1) = 25;
  FONTWIDTH(2) = 2000;
  layers({"[1.00] " + kFontSw + "x" + kIndOn + "Firm clay"});
  PROFORMA();
  EXPECT_TRUE(drawn());
  const std::vector<std::string> lines = folded();
  ASSERT_FALSE(lines.empty());
  EXPECT_LE(lines.size(), 4u);
  EXPECT_EQ(lines.back(), "Firm clay");
}

// --- layer tags ---

TEST_F(LayoutTest, LayerTagsGiveDepthAndSymbolCodes) {
  VOCABLIST = "|CLAY      |sAND      |SiLT      |gravel    |PEAT      |peat      |CLAYSTONEX";
  struct Case {
    const char* what;
    std::string record;
    double depth;
    std::vector<std::int32_t> codes;
    std::int32_t subdivisions;
    std::string text;
  };
  const Case cases[] = {
      {"depth and main fill", "[1.50] Firm clay [CLAY]", 1.5, {1}, 0, "Firm clay"},
      {"the same tag twice", "[1.50] Clay [CLAY] clay [CLAY]", 1.5, {1}, 0, "Clay clay"},
      {"first- and second-letter variants", "[2] x [SAND][SILT]", 2, {-198, -397}, 0, "x"},
      {"a mask", "[2] x [GRAVEL]", 2, {-96}, 0, "x"},
      {"a main fill and its mask", "[2] x [PEAT]", 2, {5, -94}, 0, "x"},
      {"SUB alone", "[2] x [SUB]", 2, {}, 1, "x"},
      {"SUB with a count", "[2] x [SUB3]", 2, {}, 3, "x"},
      {"a tag without its bracket stays", "[2] Clay [CLAY] and [SAND", 2, {1}, 0, "Clay and [SAND"},
      {"two depth tags: the last wins", "[1.0] x [2.5]", 2.5, {}, 0, "x"},
      {"an 11-letter word matches its first 10", "[3] x [CLAYSTONEXY]", 3, {7}, 0, "x"},
      {"unknown words give nothing", "[3] x [BASALT]", 3, {}, 0, "x"},
      // The blanks before a tag go with it: "a [SAND] b" is "a b" again once the tag is out.
      {"tags among the words", "[1]  a [SAND] b  [2.5] c [CLAY] d ", 2.5, {-198, 1}, 0, "a b c d"},
  };
  for (const auto& c : cases) {
    layers({c.record});
    PROFORMA();
    take_printed();
    EXPECT_DOUBLE_EQ(LAYERDEPTH(1), c.depth) << c.what;
    std::vector<std::int32_t> codes;
    for (std::int32_t k = 2; k <= LAYERFILL(1, 1) + 1; ++k) codes.push_back(LAYERFILL(1, k));
    EXPECT_EQ(codes, c.codes) << c.what;
    EXPECT_EQ(LAYERFILL(1, 0), c.subdivisions) << c.what;
    EXPECT_EQ(folded().at(0), c.text) << c.what;
  }
}

TEST_F(LayoutTest, TooManySymbolsInALayer) {
  VOCABLIST.clear();
  std::string record = "[1.0] rock";
  for (int e = 1; e <= 13; ++e) {
    const std::string name = "S" + std::to_string(e);
    VOCABLIST += "|" + rt::LSET(name, 10);
    record += " [" + name + "]";
  }
  // Masks past the table are left out; the layer still gets its sheet.
  std::string masks = "[1.0] marl";
  for (char e = 'a'; e < 'a' + 20; ++e) {
    VOCABLIST += "|" + rt::LSET(std::string("mz") + e, 10);
    masks += std::string(" [MZ") + e + "]";
  }

  layers({record});
  PROFORMA();
  EXPECT_TRUE(sheet_not_drawn);
  EXPECT_NE(take_printed().find(PROMPT(50) + " 1"), std::string::npos);
  EXPECT_NE(log().find("BH1"), std::string::npos);
  EXPECT_EQ(rt::exit_code(), 1);

  clear_log();
  rt::set_exit_code(0);
  layers({masks});
  PROFORMA();
  EXPECT_TRUE(drawn());
  EXPECT_EQ(LAYERFILL(1, 1), 17);
  EXPECT_EQ(log(), "");
  EXPECT_EQ(rt::exit_code(), 0);
}

// --- scale and pages ---

TEST_F(LayoutTest, PageSearch) {
  struct Case {
    const char* what;
    std::vector<std::string> records;
    std::int32_t footdots;
    std::int32_t pages, scale;
    std::vector<std::int32_t> tops;  // TEXTTOP of the layers
    std::vector<std::int32_t> page_starts;
  };
  std::string forty;
  for (int i = 0; i < 40; ++i) forty += "x" + kBreak;
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += "y" + kBreak;
  // 1:20 gives 590.55 dots per metre; a one-line layer is 100 dots high.
  const Case cases[] = {
      {"a layer moved down to its depth", {"[1] a", "[2] b"}, 300, 1, 20, {0, 591}, {0}},
      {"a long text pushes the next to the next page", {"[0.1] " + forty, "[0.2] " + ten}, 300, 2, 10, {0, 2566},
       {0, 2566}},
      {"an odd foot is deducted from R", {"[0.1] " + forty, "[0.2] " + ten}, 301, 2, 10, {0, 2299}, {0, 2299}},
      {"a forced page break starts the page at the item's bottom", {"[1] a   \x14", "[2] b"}, 300, 2, 20, {0, 591},
       {0, 591}},
  };
  for (const auto& c : cases) {
    FOOTDOTS = c.footdots;
    layers(c.records);
    PROFORMA();
    EXPECT_TRUE(drawn()) << c.what;
    EXPECT_EQ(PAGECOUNT, c.pages) << c.what;
    EXPECT_EQ(SCALEDENOM, c.scale) << c.what;
    for (size_t j = 0; j < c.tops.size(); ++j) EXPECT_EQ(TEXTTOP(static_cast<long>(j + 1)), c.tops[j]) << c.what;
    for (size_t p = 0; p < c.page_starts.size(); ++p)
      EXPECT_EQ(PAGESTART(static_cast<long>(p + 1)), c.page_starts[p]) << c.what;
  }
  // After the forced break, page 2 begins with the depth of layer 1's bottom.
  EXPECT_NEAR(PAGEDEPTH(2) + PAGESTART(2) / DOTSPERUNIT, 1.0, 1e-9);
  EXPECT_EQ(ITEMBOTTOM(1), PAGESTART(2));
}

// A note is drawn a line lower in its block than a layer's text, so the note that ends a page keeps a
// line free above the page's end (RL = 2266): its last line stays as clear of the footer as a layer's.
TEST_F(LayoutTest, NotesKeepALineAboveThePageEnd) {
  // A layer moved down to its depth (3.7 m at 1:20: 2185 dots) as far as the note below it lets it.
  layers({"[1] a", "[3.7] b"});
  notes({"A note."});
  PROFORMA();
  ASSERT_TRUE(drawn());
  EXPECT_EQ(SCALEDENOM, 20);
  EXPECT_EQ(ITEMBOTTOM(2), 2266 - 50 - 100);
  EXPECT_EQ(ITEMBOTTOM(3), 2266 - 50);
  // Notes alone: twenty-one of one line (100 dots each) and one of two (150) would end 16 dots above
  // the page's end; the last goes to a page of its own.
  layers({});
  std::vector<std::string> texts(21, "A short note.");
  texts.push_back("A note that is long enough to need a second line of the column to hold it all.");
  notes(texts);
  PROFORMA();
  ASSERT_TRUE(drawn());
  EXPECT_EQ(NOTELINES(22), 2);
  EXPECT_EQ(PAGECOUNT, 2);
  EXPECT_EQ(TEXTTOP(22), 2566);
  notes({});
}

// A top depth or layer depth beyond what a sheet can draw leaves the hole without a sheet, said once with
// the depth: no position is worked out from it (2000000 m overflowed them and ended the run with 255).
TEST_F(LayoutTest, DepthsBeyondASheet) {
  struct Case {
    const char* top;
    std::vector<std::string> layers;
    const char* said;  // nullptr: drawn
  } cases[] = {
      {"", {"[1.5] x", "[2000000] y"}, "Depth 2000000 of layer 2 is beyond what a sheet can draw"},
      {"", {"[1.5] x", "[4294967296] y"}, "Depth 4294967296 of layer 2 is beyond"},
      {"2000000", {"[1.5] x", "[3] y"}, "Top depth 2000000 is beyond what a sheet can draw"},
      {"-50001", {"[1.5] x"}, "Top depth -50001 is beyond"},
      {"", {"[1.5] x", "[40] y"}, nullptr},
  };
  for (const auto& c : cases) {
    clear_log();
    HEADER(58) = c.top;
    layers(c.layers);
    PROFORMA();
    EXPECT_EQ(drawn(), c.said == nullptr) << c.top << " " << c.layers.back();
    if (c.said) {
      EXPECT_EQ(testing_support::find_all_regex(log(), c.said).size(), 1u) << log();
    }
  }
  HEADER(58) = "";
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(LayoutTest, ChoiceOfScale) {
  struct Case {
    const char* what;
    std::string file;  // scales.IMP
    double depth;
    std::int32_t scalediv;
    std::int32_t scale;
    std::string unit;
  };
  // HEADDOTS 566: RL = 2300 dots; 23 feet at 1:36 are exactly 2300 dots.
  const Case cases[] = {
      {"first fit wins", "BEGIN\r\n36,feet,1,1\r\n40,feet,1,1\r\n", 10, 0, 36, "feet"},
      {"the fit is strict", "BEGIN\r\n36,feet,1,1\r\n40,feet,1,1\r\n", 23, 0, 40, "feet"},
      {"the smallest denominator is kept", "BEGIN\r\n36,feet,1,1\r\n40,feet,1,1\r\n", 1, 40, 40, "feet"},
      {"the first i is the inch sign", "x\r\nBEGIN\r\n36,\"in finish\",1,1\r\n", 1, 0, 36, "\"n finish"},
      {"records of 0 are skipped", "BEGIN\r\n0,feet,1,1\r\n30,feet,0,1\r\n36,feet,1,1\r\n", 1, 0, 36, "feet"},
      {"a denominator beyond 32 bits is skipped", "BEGIN\r\n4294967296,feet,1,1\r\n36,feet,1,1\r\n", 1, 0, 36,
       "feet"},
      // 1:40 is 90 dots a foot: ticks 0.0002 feet apart would stand 0.018 dots apart (1e-300: never end).
      {"ticks closer than 2 dots are skipped", "BEGIN\r\n36,feet,1,1e-300\r\n40,feet,1,0.0002\r\n48,feet,1,1\r\n", 1, 0,
       48, "feet"},
      {"ticks 2 dots apart are kept", "BEGIN\r\n36,feet,1,0.02\r\n", 1, 0, 36, "feet"},
  };
  SCALEOPT = 2;
  HEADDOTS = 566;
  for (const auto& c : cases) {
    dir.write("scales.IMP", c.file);
    SCALEDIV = c.scalediv;
    layers({"[" + std::to_string(c.depth) + "] x"});
    PROFORMA();
    EXPECT_TRUE(drawn()) << c.what;
    EXPECT_EQ(SCALEDENOM, c.scale) << c.what;
    EXPECT_EQ(SCALEUNIT, c.unit) << c.what;
    EXPECT_DOUBLE_EQ(DOTSPERUNIT, 3600.0 / c.scale) << c.what;
  }
  EXPECT_NE(log().find("skipped (values must be above 0)"), std::string::npos);  // the zero record was said
  EXPECT_NE(log().find("36,feet,1,1e-300 skipped (its ticks would stand closer than a page can show)"), std::string::npos)
      << log();
  // The overflowing denominator was said once, with the file and line, and no box came up.
  EXPECT_EQ(testing_support::find_all_regex(log(), "SCALES.IMP line 2  Error  6 -Overflow").size(), 1u) << log();
  EXPECT_TRUE(box.texts.empty());

  // Fixed-scale mode: 1:100 at least, whatever would fit.
  SCALEOPT = 1;
  HEADDOTS = 600;
  VOCAB(23) = "LEGEND";
  HEADER(21) = "LEGEND of symbols";
  SCALEDIV = 0;
  layers({"[1] x"});
  PROFORMA();
  EXPECT_EQ(SCALEDENOM, 100);
}

TEST_F(LayoutTest, SheetsThatCannotBeLaidOut) {
  struct Case {
    const char* what;
    std::string file;  // scales.MET; empty: none
    double depth;
    std::string said;
  };
  const Case cases[] = {
      {"no scale fits", "BEGIN\r\n10,metres,1,1\r\n", 100, PROMPT(48)},
      {"no BEGIN line", "10,metres,1,1\r\n", 1, "no BEGIN line"},
      {"no scales file", "", 1, "SCALES*"},
      {"a denominator beyond 32 bits, then a record cut short",
       "BEGIN\r\n4294967296,\"metres\",1,0.5\r\n50,\"metres\"\r\n", 1, "SCALES.MET line 2  Error  6"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir.path() / "scales.MET");
    if (!c.file.empty()) dir.write("scales.MET", c.file);
    clear_log();
    rt::set_exit_code(0);
    layers({"[" + std::to_string(c.depth) + "] x"});
    PROFORMA();
    EXPECT_TRUE(sheet_not_drawn) << c.what;
    EXPECT_NE(take_printed().find(c.said), std::string::npos) << c.what;
    EXPECT_NE(log().find("BH1 (631BH1): no sheet drawn"), std::string::npos) << c.what;
    EXPECT_EQ(rt::exit_code(), 1) << c.what;
    EXPECT_TRUE(box.texts.empty()) << c.what;  // no untrapped error
    // The work channels are closed again.
    EXPECT_FALSE(PIFILE(WORKFIRST + DWORKBASE) > 0 && rt::is_open(PIFILE(WORKFIRST + DWORKBASE))) << c.what;
  }
  // The next hole is laid out.
  copy_data({"scales.MET"});
  layers({"[1] x"});
  PROFORMA();
  EXPECT_TRUE(drawn());
}

// The rows kept for the log's titles count the titles of the scale strips that stand beside the
// columns as well as the columns' own: beside the profile (compress code) the reduced-level strip on
// the left when all columns are there, the depth strip on the right when some are; on the log's own
// pages both. Font 3 of 10 points: rows of 50 dots. The unit counts as one word.
TEST_F(LayoutTest, LogRowsCountTheScaleTitles) {
  struct Case {
    std::int32_t compress, suppress;
    std::string depth_word;
    std::int32_t rows, headdots;
  } cases[] = {
      {603, 0, "Depth", 3, 150},               // "Depth in m" right of the two columns beside the profile
      {603, 200, "Depth", 1, 50},              // no depth scale: the columns' one row
      {600, 0, "Depth", 2, 100},               // all beside the profile: "Level mOD" on the left
      {600, 400, "Depth", 3, 150},             // the scales swapped: the depth title on the left
      {600, 100, "Depth", 1, 50},              // no reduced-level scale
      {601, 0, "Depth below ground", 5, 250},  // one beside (depth, right), one on its own page (level)
      {0, 0, "Depth below ground", 5, 0},      // all on the log's pages: the depth title's five words
      {0, 300, "Depth below ground", 3, 0},    // no scales: at least three rows
  };
  for (const auto& c : cases) {
    ATTRCOUNT = 2, ATTRNAME(1) = "Alpha", ATTRNAME(2) = "Bravo [G=50]";
    VOCAB(27) = "Level mOD", VOCAB(28) = c.depth_word, VOCAB(3) = "in";
    COMPRESSLOG = c.compress, SUPPRESS = c.suppress;
    layers({"[1] a"});
    PROFORMA();
    EXPECT_TRUE(drawn()) << c.compress << " " << c.suppress;
    EXPECT_EQ(LOGHEADROWS, c.rows) << c.compress << " " << c.suppress;
    EXPECT_EQ(LOGHEADDOTS, c.headdots) << c.compress << " " << c.suppress;
  }
}

TEST_F(LayoutTest, OneSheetOnPlotters) {
  OUTDEV = 2;
  SCALEDIV = 10;  // 10 m at 1:10 are 11811 dots
  layers({"[10] x"});
  PROFORMA();
  EXPECT_TRUE(drawn());
  EXPECT_EQ(PAGECOUNT, 1);
  EXPECT_EQ(PAGELENGTH, 12799);  // 3200, 4525, 6399, 9050, 12799
  EXPECT_EQ(SCALEDENOM, 10);

  // The next hole starts again from the SET file's page length.
  SCALEDIV = 0;
  layers({"[1] x"});
  PROFORMA();
  EXPECT_EQ(PAGELENGTH, 3200);

  // A hole too long for any page length: 25 m at 1:10 need 34290 dots on sheets of 6399.
  SCALEDIV = 10;
  layers({"[25] x"});
  PROFORMA();
  EXPECT_TRUE(sheet_not_drawn);
  EXPECT_NE(take_printed().find(PROMPT(95)), std::string::npos);
}

TEST_F(LayoutTest, HolesThatDoNotLeanOnTheHoleBefore) {
  // A hole of two pages, then one without layers: the notes get a layout of their own.
  std::string forty;
  for (int i = 0; i < 40; ++i) forty += "x" + kBreak;
  layers({"[0.1] " + forty, "[0.2] " + forty});
  PROFORMA();
  ASSERT_EQ(PAGECOUNT, 2);
  layers({});
  notes({"1. First note.", "2. Second note."});
  PROFORMA();
  EXPECT_TRUE(drawn());
  EXPECT_EQ(PAGECOUNT, 1);
  EXPECT_EQ(TEXTTOP(1), 0);
  EXPECT_EQ(TEXTTOP(2), 100);
  EXPECT_EQ(NOTELINES(1), 1);

  // A hole that starts below 0 and has no notes keeps its last layer's depth.
  HEADER(58) = "5";
  notes({});
  layers({"[6] a", "[8] b"});
  PROFORMA();
  EXPECT_TRUE(drawn());
  EXPECT_DOUBLE_EQ(LAYERDEPTH(2), 8);
  EXPECT_DOUBLE_EQ(DEPTHSPAN, 3);
  EXPECT_DOUBLE_EQ(TOPDEPTH, 5);
}

}  // namespace
