// The sheet drawing's set-up values, the lanes of the connectors and the curved connectors on PDF.
#include <filesystem>

#include "engine/frame/frame.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/pdf_fixture.h"
#include "engine/select/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proprint.h"
#include "engine/sheet/sheet.h"
#include "engine/convert/globals.h"
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/runtime/files.h"

namespace {

bool libfile_open(const SheetPrint& s) { return s.LIBFILE > 0 && rt::is_open(s.LIBFILE); }

class SheetPrintTest : public PdfTest {
 protected:
  void SetUp() override {
    PdfTest::SetUp();
    reset_sheet_globals();
    reset_select_globals();
    PROCOM();
    OUTDEV = 1;
  }
};

TEST_F(SheetPrintTest, SetUpValues) {
  struct Case {
    std::int32_t suppress;
    std::string font1;
    std::int32_t dpi;
    std::int32_t s100, s10, s1, points;
    double step;
  } cases[] = {
      {110, "\x1b(s1p10v0s0b4148T", 0, 1, 1, 0, 10, 2},
      {2, "\x1b(s1p12h0s0b4148T", 300, 0, 0, 2, 0, 1},
      {0, "10v", 150, 0, 0, 0, 0, 2},  // the walk runs to the start of the code: no size
  };
  for (const auto& c : cases) {
    rt::Trap trap("proprint.cpp", "PROPRINT");
    SheetPrint sheet(trap);
    SUPPRESS = c.suppress;
    FONTSPEC(1) = c.font1;
    SYMBOLDPI = c.dpi;
    LAYERCOUNT = 0;
    PAGECOUNT = 0;
    sheet.PRELIM();
    EXPECT_EQ(LOGSUPPRESS100, c.s100) << c.suppress;
    EXPECT_EQ(LOGSUPPRESS10, c.s10) << c.suppress;
    EXPECT_EQ(LOGSUPPRESS1, c.s1) << c.suppress;
    EXPECT_EQ(sheet.FONT1POINTS, c.points) << c.font1;
    EXPECT_DOUBLE_EQ(RASTERSTEP, c.step) << c.dpi;
    EXPECT_EQ(PAGECOUNT, 1);  // a hole without layers gets one page
  }
}

TEST_F(SheetPrintTest, LanesStepAwayFromEachOther) {
  // Three layers whose texts end below their depths: lanes 0, -1, -2, the first connector rightmost.
  LAYERCOUNT = 3, PAGECOUNT = 1;
  PAGESTART(1) = 0, PAGEDEPTH(1) = 0;
  DOTSPERUNIT = 100, PAGELENGTH = 3200, HEADDOTS = 600, FOOTDOTS = 300;
  for (int l = 1; l <= 3; ++l) LAYERDEPTH(l) = l, ITEMBOTTOM(l) = 100 * l + 50;
  PIOPEN("Dwork.1", WORKFIRST + DWORKBASE);
  PIINIT(WORKFIRST + DWORKBASE);
  for (int l = 1; l <= 3; ++l) PIWRITE("[" + std::to_string(l) + "] clay", l, WORKFIRST + DWORKBASE);
  rt::Trap trap("proprint.cpp", "PROPRINT");
  SheetPrint sheet(trap);
  TEXTX = 1306, SHEETX1 = 906, SHEETX2 = 1056;
  sheet.PRELIM();
  sheet.ZIGZAGS();
  EXPECT_EQ(sheet.LANE[1], 0);
  EXPECT_EQ(sheet.LANE[2], -1);
  EXPECT_EQ(sheet.LANE[3], -2);
  EXPECT_EQ(sheet.LANEMIN, -2);
  EXPECT_EQ(sheet.LANEWIDTH, (1181 - 1056) / 3);
  EXPECT_EQ(sheet.PLUSPOS, 0);
  // A text that ends exactly at its depth breaks the run.
  ITEMBOTTOM(2) = 200;
  sheet.ZIGZAGS();
  EXPECT_EQ(sheet.LANE[2], -1 + 1);
  EXPECT_EQ(sheet.LANE[3], 0);
}

// Each text block reads its lines from its own first record of Dwork.2: a layer that lies on no page
// leaves the lines of the layers and notes after it where they are.
TEST_F(SheetPrintTest, TextBlocksReadTheirOwnLines) {
  LAYERCOUNT = 3, NOTECOUNT = 1;
  LAYERLINES(1) = 2, LAYERLINES(2) = 1, LAYERLINES(3) = 2, NOTELINES(1) = 1;
  PIOPEN("Dwork.2", WORKSECOND + DWORKBASE);
  PIINIT(WORKSECOND + DWORKBASE);
  const char* lines[] = {"", "lineA1", "lineA2", "lineB1", "lineC1", "lineC2", "lineN1"};
  for (int r = 1; r <= 6; ++r) PIWRITE(lines[r], r, WORKSECOND + DWORKBASE);
  for (int j = 1; j <= 4; ++j) TEXTTOP(j) = 100 * j, TEXTBOTTOM(j) = ITEMBOTTOM(j) = 100 * j + 50;
  TEXTBOTTOM(2) = 5000;  // below the page's end: on no page
  const std::string s = first_stream(one_stream([] {
    rt::Trap trap("proprint.cpp", "PROPRINT");
    SheetPrint sheet(trap);
    TEXTX = 1306, PAGEORIGIN = 0, sheet.ROOMEND = 1000;
    sheet.DESCRIPT();
    sheet.NOATES();
  }));
  std::vector<std::string> drawn;
  for (size_t p = s.find("(line"); p != std::string::npos; p = s.find("(line", p + 1))
    drawn.push_back(s.substr(p + 1, s.find(')', p) - p - 1));
  EXPECT_EQ(drawn, (std::vector<std::string>{"lineA1", "lineA2", "lineC1", "lineC2", "lineN1"})) << s;
}

// An attached text that is gone by the end of the plot gets no PDF and leaves no document open for the
// next hole to write into.
TEST_F(SheetPrintTest, AttachedTextThatIsGone) {
  PAGEFILE = 0;
  EXPECT_FALSE(TEXT2PDF(".", "gone.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "gone.PDF"));
  EXPECT_FALSE(PAGEFILE > 0 && rt::is_open(PAGEFILE));
  // The same name once the file is there: a page of its own.
  dir.write("gone.txt", "a line (with an open bracket\r\n");
  EXPECT_TRUE(TEXT2PDF(".", "gone.txt"));
  EXPECT_NE(dir.read("gone.PDF").find("(a line \\(with an open bracket) Tj"), std::string::npos);
}

// The text shown by the Tj of a content stream whose string starts with `head`, and its horizontal
// scale in hundredths (100 for the writer's normal 94.482 Tz).
struct Shown {
  std::string text;
  double percent = 0;
  double x = 0;
};
Shown shown_text(const std::string& s, const std::string& head) {
  Shown r;
  const size_t at = s.find("(" + head);
  if (at == std::string::npos) return r;
  r.text = s.substr(at + 1, s.find(") Tj", at) - at - 1);
  const size_t tz = s.rfind(" Tz", at);
  const size_t from = s.rfind('\n', tz) + 1;
  r.percent = std::stod(s.substr(from, tz - from)) / 0.94482;
  const size_t td = s.rfind(" Td", at);
  const size_t line = s.rfind('\n', td) + 1;
  r.x = std::stod(s.substr(line, s.find(' ', line + 1) - line));
  return r;
}

// The footer: with 220 dots its rows are 30 dots apart (20 more between the two groups); an odd footer
// height puts it on every page; the file value loses its signs and, when longer than 26 characters, keeps
// its end from a folder separator on.
TEST_F(SheetPrintTest, FooterRowsAndFileValue) {
  struct Case {
    std::int32_t foot, pageno;
    bool drawn;
  } cases[] = {{220, 2, true}, {220, 1, false}, {221, 1, true}};
  for (const auto& c : cases) {
    FOOTDOTS = c.foot, PAGELENGTH = 3200, LAYERCOUNT = 1, PAGECOUNT = 2;
    LEFTEDGE = 450, RIGHTEDGE = 2250, FOOTOFFSET1 = 0, FOOTOFFSET2 = 790;
    for (int w = 5; w <= 19; ++w) VOCAB(w) = "L" + std::to_string(w), HEADER(w) = "v" + std::to_string(w);
    HEADER(16) = "C:\\Jobs\\North-shire_2025\\holes; final.txt";  // 36 characters once its signs are gone
    HEADER(20) = "BH1";
    const std::string s = first_stream(one_stream([&] {
      rt::Trap trap("proprint.cpp", "PROPRINT");
      SheetPrint sheet(trap);
      sheet.PRELIM();
      sheet.HOLENAME = "BH1";
      PAGENO = c.pageno;
      sheet.FOOTER();
    }));
    EXPECT_EQ(s.find("(L5)") != std::string::npos, c.drawn) << c.foot << " page " << c.pageno;
    if (!c.drawn) continue;
    auto y_of = [&](const std::string& text) {
      const size_t at = s.find("(" + text + ")");
      const size_t td = s.rfind(" Td", at);
      const size_t from = s.rfind(' ', td - 1);
      return std::stod(s.substr(from + 1, td - from - 1));
    };
    const double dot = std::stod(FNPDFY(0)) - std::stod(FNPDFY(100));  // points per 100 dots
    const double step = (c.foot - 40) / 6 * dot / 100;
    EXPECT_NEAR(y_of("L5") - y_of("L6"), step, 0.02);
    EXPECT_NEAR(y_of("L8") - y_of("L9"), step + 20 * dot / 100, 0.02);
    // "shire2025\holesfinal.txt" are its last 24 characters: the folder's name is not cut in two.
    EXPECT_NE(s.find("(..\\\\holesfinal.txt)"), std::string::npos) << s;
  }
}

// Footer values that do not fit their column: drawn narrower down to the width of the same text two
// points smaller, then cut with a mark, never past the next column's label or the body's right edge. Every
// character is 10 dots wide here; font 1 has 12 points (84 hundredths at the least), font 3 8 (75).
TEST_F(SheetPrintTest, FooterValuesFitTheirColumns) {
  std::string words;
  for (int i = 0; i < 20; ++i) words += "abcd ";
  std::string deep = "C:\\";
  for (int i = 0; i < 12; ++i) deep += "Folder" + std::to_string(i) + "\\";
  deep += "Project.SET";
  struct Case {
    const char* what;
    std::int32_t item;  // header item (and label word) of the value
    std::string value;
    std::string shown;  // the text drawn ("" when the value comes back whole)
    double percent;     // its scale in hundredths; 0: worked out below from the room
  } cases[] = {
      // Column 1 row 1: from 460 to the label "L11" of column 2 (1240 - 30) less a gap of 20: 730 dots.
      {"fits exactly", 5, std::string(73, 'a'), "", 100},
      {"narrower", 5, std::string(80, 'a'), "", 91},
      {"cut at a word", 5, words, words.substr(0, 79) + "...", 0},
      // Column 3 row 1: from 1980 to the body's right edge (2250; the frame stands at 2280) less the
      // gap: 250 dots.
      {"cut before the frame", 17, "Dr Samantha Patel-Richardson, Principal Engineering Geologist",
       "Dr Samantha Patel-Richards...", 0},
      // Column 1 row 6, the SET file's path (112 characters) in font 3: folders dropped from its front
      // until it fits at three quarters.
      {"a path keeps its end", 10, deep,
       "..\\\\Folder2\\\\Folder3\\\\Folder4\\\\Folder5\\\\Folder6\\\\Folder7\\\\Folder8\\\\Folder9\\\\Folder10\\\\Folder11\\\\Project.SET",
       0},
  };
  for (const auto& c : cases) {
    FOOTDOTS = 300, PAGELENGTH = 3200, LAYERCOUNT = 1, PAGECOUNT = 1, PAGENO = 1;
    LEFTEDGE = 450, RIGHTEDGE = 2250, FOOTOFFSET1 = 0, FOOTOFFSET2 = 790;
    for (int w = 5; w <= 19; ++w) VOCAB(w) = "L" + std::to_string(w), HEADER(w) = "";
    VOCAB(29) = "10";
    SETUPNAME = c.item == 10 ? c.value : "S.SET";
    HEADER(c.item) = c.value;
    const std::string s = first_stream(one_stream([&] {
      rt::Trap trap("proprint.cpp", "PROPRINT");
      SheetPrint sheet(trap);
      sheet.PRELIM();
      sheet.HOLENAME = "BH1";
      sheet.FOOTER();
    }));
    const std::string head = c.shown.empty() ? c.value.substr(0, 4) : c.shown.substr(0, 4);
    const Shown t = shown_text(s, head);
    std::string expected = c.shown.empty() ? c.value : c.shown;
    EXPECT_EQ(t.text, expected) << c.what << "\n" << s;
    // The room: from the value's start to the next label (or the frame) less the gap.
    const std::int32_t x = c.item == 17 ? 1980 : 460;
    const std::int32_t end = c.item == 17 ? 2250 - 20 : 1240 - 30 - 20;
    REPLAZE(expected, "\\\\", "\\");
    const double width = static_cast<double>(expected.size()) * 10 * t.percent / 100;
    EXPECT_LE(width, end - x + 0.5) << c.what;
    EXPECT_GE(t.percent, c.item == 10 ? 74.99 : 83.99) << c.what;
    if (c.percent > 0) {
      EXPECT_NEAR(t.percent, c.percent, 0.01) << c.what;
    } else {
      EXPECT_GT(width + 10 * 4, end - x) << c.what;  // no whole word or folder more would have fitted
    }
    EXPECT_NEAR(t.x, std::stod(FNPDFX(x)), 0.01) << c.what;
    HEADER(c.item) = "";
  }
}

// The job title lines end before the hole box beside them: a long one is cut with a mark; one that
// fits is left alone.
// Title lines too long for their place move left together where the head is free, as far as the
// longest needs: to the body's left edge (450) without a logo, no nearer a logo than two label gaps
// (20 dots) where the logo's content tells its extent (ink to 200 points of its page, unmoved: dot
// (200 - 18) / 0.24 = 758.3, so 779), and not at all where it does not. The 120 characters of 10 dots
// need 1200 of the 810 dots from 1025 to the hole box less the gap: from 635 they fit whole.
TEST_F(SheetPrintTest, LongTitleLinesUseTheRoomToTheirLeft) {
  struct Case {
    const char* what;
    std::int16_t fail;
    double ink;
    double x;           // where both lines start
    bool whole;         // the long line is drawn whole (narrower where it must), not cut
  } cases[] = {
      {"no logo", -1, -1, 635, true},
      {"a logo to 200 points", 0, 200, 779, true},  // in 1056 dots: drawn narrower
      {"a logo of unknown extent", 0, -1, 1025, false},
  };
  for (const auto& c : cases) {
    RIGHTEDGE = 2300, LEFTEDGE = 450, TITLEOFFSET = 575, LINEPITCH = 50, PAGENO = 1, PAGECOUNT = 1;
    LOGOMATRIX = "1 0 0 1 0 0 cm", LOGOX = 0, LOGOY = 0;
    VOCAB(20) = "Hole", VOCAB(22) = "Job No.", HEADER(20) = "BH1", HEADER(22) = "J-1";
    HEADER(1) = std::string(120, 'x');
    HEADER(2) = "Contractor";
    const std::string s = first_stream(one_stream([&] {
      // What the logo's import found (the file's opening clears it).
      LOGOFAIL = c.fail, LOGOINKRIGHT = c.ink;
      rt::Trap trap("proprint.cpp", "PROPRINT");
      SheetPrint sheet(trap);
      sheet.HEADERR();
    }));
    const Shown title = shown_text(s, "xxx"), second = shown_text(s, "Contractor");
    ASSERT_FALSE(title.text.empty()) << c.what << s;
    EXPECT_NEAR(title.x, std::stod(FNPDFX(static_cast<std::int32_t>(c.x))), 0.01) << c.what;
    EXPECT_NEAR(second.x, title.x, 0.01) << c.what;
    EXPECT_EQ(title.text == std::string(120, 'x'), c.whole) << c.what << ": " << title.text;
    // Never past the hole box less the gap.
    EXPECT_LE(static_cast<double>(title.text.size()) * 10 * title.percent / 100, 1855 - 20 - c.x + 0.5) << c.what;
  }
  LOGOFAIL = 0, LOGOINKRIGHT = -1;
}

TEST_F(SheetPrintTest, TitleLinesEndBeforeTheBoxes) {
  RIGHTEDGE = 2300, LEFTEDGE = 450, TITLEOFFSET = 575, LINEPITCH = 50, PAGENO = 1, PAGECOUNT = 1;
  VOCAB(20) = "Hole", VOCAB(22) = "Job No.", HEADER(20) = "BH1", HEADER(22) = "J-1";
  HEADER(1) = "Short title";
  HEADER(2) = std::string(120, 'x');
  const std::string s = first_stream(one_stream([&] {
    rt::Trap trap("proprint.cpp", "PROPRINT");
    SheetPrint sheet(trap);
    sheet.HEADERR();
  }));
  EXPECT_EQ(shown_text(s, "Short").text, "Short title");
  const Shown t = shown_text(s, "xxx");
  ASSERT_FALSE(t.text.empty()) << s;
  EXPECT_EQ(t.text.substr(t.text.size() - 3), "...");
  // From 1025 to the hole box (2300 - 445) less two gaps of 10 dots: 810 dots.
  EXPECT_LE(static_cast<double>(t.text.size()) * 10 * t.percent / 100, 810 + 0.5);
  EXPECT_GT(static_cast<double>(t.text.size() + 1) * 10 * t.percent / 100, 810 - 10);
}

// Labels of samples stacked down the samples column: those that touch are pushed apart a pitch from
// each other, about where they want to be, within the page; a run longer than the page is squeezed.
TEST(SampleLabels, SpreadApart) {
  struct Case {
    const char* what;
    std::vector<double> wanted, at;
    double lo, hi;
  } cases[] = {
      {"apart already", {100, 133, 500}, {100, 133, 500}, 0, 1000},
      {"two at one depth", {100, 100}, {80, 120}, 0, 1000},
      {"two that touch", {100, 110}, {85, 125}, 0, 1000},
      {"three at one depth", {100, 100, 100}, {60, 100, 140}, 0, 1000},
      {"a pair pushed into a third", {100, 100, 150}, {230.0 / 3, 350.0 / 3, 470.0 / 3}, 0, 1000},
      {"at the head of the page", {10, 10}, {0, 40}, 0, 1000},
      {"at its foot", {990, 990}, {960, 1000}, 0, 1000},
      {"more than the page holds", {50, 50, 50, 50, 50}, {0, 25, 50, 75, 100}, 0, 100},
  };
  for (const auto& c : cases) {
    const std::vector<double> at = spread_labels(c.wanted, 32, 40, c.lo, c.hi);
    ASSERT_EQ(at.size(), c.at.size()) << c.what;
    for (size_t k = 0; k < at.size(); ++k) EXPECT_NEAR(at[k], c.at[k], 1e-9) << c.what << " label " << k;
    // Labels of sizes of their own, all of one size, stand alike.
    const std::vector<double> sized = spread_labels(c.wanted, std::vector<double>(c.wanted.size(), 32), c.lo, c.hi);
    for (size_t k = 0; k < at.size(); ++k) EXPECT_NEAR(sized[k], c.at[k], 1e-9) << c.what << " label " << k;
  }
  // A line 32 high over one 16 high: they touch closer than 20 (8 below the first baseline, 12 above
  // the second) and stand 25 apart; the other way round 28 and 35.
  struct Sized {
    std::vector<double> wanted, heights, at;
  } sized[] = {
      {{100, 100}, {32, 16}, {87.5, 112.5}},
      {{100, 100}, {16, 32}, {82.5, 117.5}},
      {{100, 120}, {32, 16}, {100, 120}},  // 20 apart: clear
      {{100, 110, 110}, {32, 16, 16}, {250.0 / 3, 325.0 / 3, 385.0 / 3}},  // pitches of 25 and 20
  };
  for (const auto& c : sized) {
    const std::vector<double> at = spread_labels(c.wanted, c.heights, 0, 1000);
    ASSERT_EQ(at.size(), c.at.size());
    for (size_t k = 0; k < at.size(); ++k) EXPECT_NEAR(at[k], c.at[k], 1e-9) << c.wanted[0] << " label " << k;
  }
}

// On page 1 a label never prints over the scale caption: it goes below it, with a leader; one clear of
// the caption, and every label on a later page, stays at its depth.
TEST_F(SheetPrintTest, SampleLabelsAndTheCaption) {
  SHEETX1 = 900, HEADDOTS = 600, PAGELENGTH = 3200, FOOTDOTS = 300, LAYERCOUNT = 1, PAGECOUNT = 2;
  DOTSPERUNIT = 100, PAGEORIGIN = 0, LINEPITCH = 50;
  // The caption's second line stands over the labels' column (from 732 to 882, baseline 670), its first
  // does not (from 832). Font 3 has 8 points: a line of 33.33 dots, 25 above the baseline, 8.33 below.
  VOCAB(3) = "Depth", SCALEUNIT = "metres below GL";
  struct Case {
    std::int32_t page;
    double depth;
    std::int32_t label_y;
    bool moved;
  } cases[] = {
      {1, 0.65, 712, true},   // at 662 on the caption: below it, a quarter line clear (670 + 8.33 + 8.33 + 25)
      {1, 0.00, 597, false},  // clear above it
      {1, 2.00, 797, false},
      {2, 0.65, 662, false},
  };
  for (const auto& c : cases) {
    rt::Trap trap("proprint.cpp", "PROPRINT");
    SheetPrint sheet(trap);
    sheet.NEXTSTART = 2000;
    PAGENO = c.page;
    std::vector<SheetPrint::Sample> samples{sheet.read_sample(FNFIXN(c.depth, 2), "D1[S-DIST]")};
    sheet.place_labels(samples);
    EXPECT_EQ(samples[0].label_y, c.label_y) << c.page << " " << c.depth;
    EXPECT_EQ(samples[0].label_moved, c.moved) << c.page << " " << c.depth;
  }
}

// Labels are never pushed below the hole's floor: of two labels at the floor's depth the lower stays at
// its depth, the other goes above it; labels further than 10 mm from their depth are counted for the
// hole's message.
TEST_F(SheetPrintTest, SampleLabelsAboveTheFloor) {
  SHEETX1 = 900, HEADDOTS = 600, PAGELENGTH = 3200, FOOTDOTS = 300, LAYERCOUNT = 1, PAGECOUNT = 1;
  DOTSPERUNIT = 100, PAGEORIGIN = 0, LINEPITCH = 50;
  rt::Trap trap("proprint.cpp", "PROPRINT");
  SheetPrint sheet(trap);
  sheet.NEXTSTART = 2000;
  PAGENO = 2;  // no caption
  sheet.HOLEBOTY = 900;  // the floor at 3.00
  // Font 3 has 8 points: a line of 33.33 dots, 25 above the baseline, 8.33 below; a pitch of 41.67.
  std::vector<SheetPrint::Sample> samples{sheet.read_sample("3.00", "D1[S-DIST]"), sheet.read_sample("3.00", "D2[S-DIST]")};
  sheet.place_labels(samples);
  EXPECT_EQ(samples[1].label_y, 897);  // at its depth (900 - 3)
  EXPECT_EQ(samples[0].label_y, 855);  // a pitch above
  EXPECT_EQ(sheet.labels_beyond_reach, 0);
  // Eight labels at one depth: set in the least size, 7 points (a pitch of 36.46 dots), the outer ones
  // still more than 10 mm (118 dots) away, and no scale helps.
  sheet.HOLEBOTY = 2000;
  std::vector<SheetPrint::Sample> many;
  for (int i = 0; i < 8; ++i) many.push_back(sheet.read_sample("2.50", "D" + std::to_string(i) + "[S-DIST]"));
  sheet.place_labels(many);
  EXPECT_EQ(many.front().label_y, 719);  // 3.5 pitches of 7 points above 847
  for (const auto& s : many) EXPECT_EQ(s.label_points, 7);
  EXPECT_GT(sheet.labels_beyond_reach, 0);
  EXPECT_EQ(sheet.label_scale_factor, 0);
}

// A stretch of labels that does not fit within 10 mm of its depths in its own size is set smaller, in
// half points down to 7, the first size at which it fits; the labels of the page that stand apart keep
// their size.
TEST_F(SheetPrintTest, CrowdedLabelsInSmallerType) {
  SHEETX1 = 900, HEADDOTS = 600, PAGELENGTH = 3200, FOOTDOTS = 300, LAYERCOUNT = 1, PAGECOUNT = 1;
  DOTSPERUNIT = 100, PAGEORIGIN = 0, LINEPITCH = 50;
  PAGENO = 2;  // no caption
  // Font 3 has 8 points: a pitch of 41.67 dots. n labels at one depth stand (n - 1) / 2 pitches above
  // and below it at the most; 10 mm is 118.1 dots.
  struct Case {
    int n;
    double points;      // the size of the stretch (0: its own)
    std::int32_t first;  // the first label's baseline (the depth's at 847)
    bool beyond;
  } cases[] = {
      {6, 0, 743, false},    // 2.5 pitches of 8 points: 104 dots
      {7, 7.5, 730, false},  // 3 pitches of 8 points would be 125; of 7.5 points (39.06 dots) 117.2
      {8, 7, 719, true},     // 3.5 pitches of 7 points: 127.6, the least size and still too far
  };
  for (const auto& c : cases) {
    rt::Trap trap("proprint.cpp", "PROPRINT");
    SheetPrint sheet(trap);
    sheet.NEXTSTART = 2000;
    sheet.HOLEBOTY = 2000;
    std::vector<SheetPrint::Sample> samples;
    for (int i = 0; i < c.n; ++i) samples.push_back(sheet.read_sample("2.50", "D" + std::to_string(i) + "[S-DIST]"));
    samples.push_back(sheet.read_sample("5.00", "B9[BULK]"));  // far from the others
    sheet.place_labels(samples);
    for (int i = 0; i < c.n; ++i) EXPECT_EQ(samples[static_cast<size_t>(i)].label_points, c.points) << c.n << " " << i;
    EXPECT_EQ(samples.front().label_y, c.first) << c.n;
    EXPECT_EQ(samples.back().label_points, 0) << c.n;
    EXPECT_EQ(samples.back().label_y, 1097) << c.n;
    EXPECT_FALSE(samples.back().label_moved) << c.n;
    EXPECT_EQ(sheet.labels_beyond_reach > 0, c.beyond) << c.n;
  }
  EXPECT_EQ(smallest_label_points(8), 7);
  EXPECT_DOUBLE_EQ(smallest_label_points(12), 8.4);
  EXPECT_EQ(smallest_label_points(6), 6);  // no smaller than a small font
}

// The scale that would hold the labels: labels a fixed distance apart need the scale that puts them a
// pitch apart, or one close to it; labels at one depth in numbers no scale can part give 0.
TEST(SampleLabels, ScaleThatHoldsThem) {
  struct Case {
    const char* what;
    std::vector<double> wanted;
    double least, most;  // the factor found lies between these
  } cases[] = {
      {"apart already", {100, 200, 300}, 1, 1},
      {"a column of labels 10 dots apart", {100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230, 240, 250},
       2.4, 2.5},
      {"five at one depth", {500, 500, 500, 500, 500}, 1, 1},
      {"eight at one depth", {500, 500, 500, 500, 500, 500, 500, 500}, 0, 0},
  };
  for (const auto& c : cases) {
    const double f = label_scale_needed(c.wanted, 0, 32, 40);
    EXPECT_GE(f, c.least) << c.what;
    EXPECT_LE(f, c.most) << c.what;
  }
  // Rounded down to the series of scales.
  for (const auto& [d, want] : std::vector<std::pair<double, std::int32_t>>{
           {200, 200}, {199, 100}, {70, 50}, {26, 25}, {24.9, 20}, {1500, 1000}, {0.5, 1}})
    EXPECT_EQ(round_scale_down(d), want) << d;
}

// The caption moves left, as a block, off what the samples draw over it on page 1: to where the labels
// end (86 dots left of the symbol column), or further left of a mark it still meets; it stays where
// nothing meets it, and where the room the layer lines leave it (212 dots) is not enough.
TEST_F(SheetPrintTest, CaptionClearOfTheSamples) {
  SHEETX1 = 900, HEADDOTS = 600, PAGELENGTH = 3200, FOOTDOTS = 300, LAYERCOUNT = 1, PAGECOUNT = 2;
  DOTSPERUNIT = 100, PAGEORIGIN = 0, LINEPITCH = 50;
  VOCAB(3) = "Depth";
  // "Depth" from 832 to 882 at baseline 630, "metres" from 822 to 882 at 670 (10 dots a character,
  // 25 above the baseline, 8.33 below); no symbol library: no symbols, only bars and leaders.
  struct Case {
    const char* what;
    std::int32_t page;
    std::string unit, depth;
    std::int32_t shift;
  } cases[] = {
      {"a bar from the top through the caption's end (874 to 884)", 1, "metres", "0.00--0.40", 882 - 814},
      {"a leader's end at 0.50 (817 to 826)", 1, "metres", "0.50", 882 - 814},
      {"a leader's end at 0.85, below the caption", 1, "metres", "0.85", 0},
      {"a bar deeper down", 1, "metres", "1.00--1.40", 0},
      {"page 2 has no caption", 2, "metres", "0.00--0.40", 0},
      {"moved, the caption would pass 688", 1, "metres below GL", "0.00--0.40", 0},
  };
  for (const auto& c : cases) {
    rt::Trap trap("proprint.cpp", "PROPRINT");
    SheetPrint sheet(trap);
    sheet.NEXTSTART = 2000;
    PAGENO = c.page, SCALEUNIT = c.unit;
    const std::vector<SheetPrint::Sample> samples{sheet.read_sample(c.depth, "D1[S-DIST]")};
    sheet.place_caption(samples);
    EXPECT_EQ(sheet.caption_shift, c.shift) << c.what;
    if (c.page == 1) {
      EXPECT_EQ(sheet.caption_lines()[1].x, 900 - 18 - FNDLEN(c.unit, 3) - c.shift) << c.what;
    }
  }
}

// Scale ticks: 16 dots at the multiples of the tick division, 8 between; none at or above the head,
// none below the scale's end, none below the hole's bottom.
TEST_F(SheetPrintTest, ScaleTicks) {
  TOPDEPTH = 0, DOTSPERUNIT = 100, HEADDOTS = 600, SHEETX1 = 900;
  LAYERCOUNT = 1, PAGENO = 2;
  SCALETICK = 1;
  struct Case {
    double bottom, step;
    std::int32_t origin;  // where the page starts on the strip (dots below the top depth)
    std::vector<std::pair<std::int32_t, std::int32_t>> ticks;  // y, length
  } cases[] = {
      {2.0, 0.25, 0, {{625, 8}, {650, 8}, {675, 8}, {700, 16}, {725, 8}, {750, 8}}},  // the scale ends at 750
      {0.6, 0.25, 0, {{625, 8}, {650, 8}}},
      // A page that starts 10 m down: its ticks only, from 10.25 m (y 625) on.
      {40.0, 0.25, 1000, {{625, 8}, {650, 8}, {675, 8}, {700, 16}, {725, 8}, {750, 8}}},
      // An interval too small for any page (a damaged scales file): a bounded walk draws none.
      {2.0, 1e-300, 0, {}},
  };
  for (const auto& c : cases) {
    LAYERDEPTH(1) = c.bottom;
    SCALESTEP = c.step, PAGEORIGIN = c.origin;
    const std::string s = first_stream(one_stream([] {
      rt::Trap trap("proprint.cpp", "PROPRINT");
      SheetPrint sheet(trap);
      sheet.HEADY = 600, sheet.SCALEENDY = 750;
      sheet.SCALES();
    }));
    std::string expected;
    for (const auto& [y, length] : c.ticks)
      expected += ".12 w\r\n" + FNPDFX(900 - length) + " " + FNPDFY(y) + " m\r\n" + FNPDFX(900) + " " + FNPDFY(y) + " l\r\nS\r\n";
    EXPECT_EQ(s, expected) << c.bottom << " " << c.step << " " << c.origin;
  }
}

// The hole box: its page label with and without the count word; a name wider than the box grows it
// to the left in steps of 2 dots until the text has more than 8 dots on each side; "000" gets no box.
TEST_F(SheetPrintTest, HoleBox) {
  struct Case {
    std::string name, of, label;
  } cases[] = {
      {"BH1", "of", "Page 2 of 3"},
      {"BH1", "", "Page 2"},
      {"A-VERY-LONG-HOLE-NAME-WIDER-THAN-THE-BOX", "of", "Page 2 of 3"},
      {"000", "of", "Page 2 of 3"},
  };
  for (const auto& c : cases) {
    RIGHTEDGE = 2300, PAGENO = 2, PAGECOUNT = 3;
    VOCAB(20) = "Hole", VOCAB(25) = c.of, VOCAB(26) = "Page", HEADER(20) = c.name;
    std::string label;
    const std::string s = first_stream(one_stream([&] {
      rt::Trap trap("proprint.cpp", "PROPRINT");
      SheetPrint sheet(trap);
      sheet.HEADERR();
      label = sheet.PAGELABEL;
    }));
    EXPECT_EQ(label, c.label);
    const std::int32_t boxx = RIGHTEDGE - 445;
    if (c.name == "000") {
      EXPECT_EQ(s.find(FNPDFY(50) + " m"), std::string::npos) << s;  // the job box alone, lower down
      continue;
    }
    EXPECT_NE(s.find("(" + label + ")"), std::string::npos);
    const size_t m = s.find(FNPDFY(50) + " m");
    ASSERT_NE(m, std::string::npos) << s;
    const size_t from = s.rfind('\n', m) + 1;
    const std::string x = s.substr(from, m - from - 1);
    const std::int32_t tw = FNDLEN("Hole ", 3) + FNDLEN(c.name, 1);
    std::int32_t g = 0;
    while (g < 4000 && FNPDFX(boxx - g) != x) g += 2;  // the box's left end is boxx less an even growth
    ASSERT_LT(g, 4000) << x;
    EXPECT_GT(445 + g - tw, 2 * 8) << c.name;                     // more than 8 dots each side
    if (g > 0) {
      EXPECT_LE(445 + g - 2 - tw, 2 * 8 + 1) << c.name;  // but 2 dots less would not do
    }
    EXPECT_EQ(g > 0, c.name.size() > 20) << c.name;
  }
}

// The growth of the header boxes that the sheet and the log share, worked by hand: the margin is
// rounded with halves to even and must exceed 8 dots.
TEST(BoxGrowth, TwoDotsAtATime) {
  struct Case {
    std::int32_t w, tw, growth, margin;
  };
  const Case worked[] = {
      {445, 300, 0, 72},   // (445 - 300) / 2 = 72.5, to even 72
      {445, 427, 0, 9},    // 9 exactly
      {445, 428, 2, 10},   // 8.5 -> 8 is not enough; +2: 9.5 -> 10
      {445, 430, 4, 10},   // 7.5 -> 8, 8.5 -> 8, then 9.5 -> 10
      {445, 445, 18, 9},   // 0, 1, ... 8 at a growth of 16, 9 at 18
      {445, 600, 174, 10},  // a text wider than the box: 8.5 -> 8 at 172, 9.5 -> 10 at 174
  };
  for (const auto& c : worked) {
    std::int32_t g = -1, m = -1;
    box_growth(c.w, c.tw, g, m);
    EXPECT_EQ(g, c.growth) << c.tw;
    EXPECT_EQ(m, c.margin) << c.tw;
  }
}

// End marks where the sheet goes on to another page, and arrows on PDF where the next (or the last)
// page jumps in depth: down at a page's end, up at its head.
TEST_F(SheetPrintTest, EndMarksAndArrows) {
  struct Case {
    std::int32_t page, pages;
    double d1, d2, d3;  // the pages' depths
    std::int32_t marks, down, up;
  } cases[] = {
      {1, 1, 0, 0, 0, 0, 0, 0},
      {1, 2, 0, 0, 0, 1, 0, 0},  // goes on without a jump
      {1, 2, 0, 5, 0, 1, 1, 0},
      {2, 2, 0, 5, 0, 1, 0, 1},
      {2, 3, 0, 5, 9, 2, 1, 1},
  };
  RIGHTEDGE = 2250, SHEETX1 = 900, HEADDOTS = 600, PAGELENGTH = 3200, FOOTDOTS = 300, LAYERCOUNT = 0;
  for (const auto& c : cases) {
    PAGENO = c.page, PAGECOUNT = c.pages;
    PAGEDEPTH(1) = c.d1, PAGEDEPTH(2) = c.d2, PAGEDEPTH(3) = c.d3;
    const std::string s = first_stream(one_stream([] {
      rt::Trap trap("proprint.cpp", "PROPRINT");
      SheetPrint sheet(trap);
      sheet.PAGEENDY = 2800, sheet.SCALEENDY = 2800;
      sheet.BORDERS();
    }));
    EXPECT_EQ(testing_support::find_all_regex(s, FNPDFX(900 - 35) + " +[0-9.]+ m").size(), static_cast<size_t>(c.marks)) << c.page << "/" << c.pages;
    // An arrow is a filled triangle whose tip lies 16 dots below (down) or above (up) its base.
    const std::string down = " " + FNPDFY(2804 + 16) + " l\r\nb", up = " " + FNPDFY(596 - 16) + " l\r\nb";
    EXPECT_EQ(s.find(down) != std::string::npos, c.down > 0) << c.page << "/" << c.pages << s;
    EXPECT_EQ(s.find(up) != std::string::npos, c.up > 0) << c.page << "/" << c.pages << s;
    EXPECT_EQ(testing_support::find_all_regex(s, "\r\nb\r\n").size(), static_cast<size_t>(2 * (c.down + c.up))) << s;
  }
}

// A column break in a description: the rest of the layer's lines form a second column that starts
// level with its first line, halfway across the text area.
TEST_F(SheetPrintTest, DescriptionColumnBreak) {
  LAYERCOUNT = 1, NOTECOUNT = 0, LAYERLINES(1) = 3;
  PIOPEN("Dwork.2", WORKSECOND + DWORKBASE);
  PIINIT(WORKSECOND + DWORKBASE);
  PIWRITE("left1", 1, WORKSECOND + DWORKBASE);
  PIWRITE("left2", 2, WORKSECOND + DWORKBASE);
  PIWRITE("\x18right1", 3, WORKSECOND + DWORKBASE);
  TEXTTOP(1) = 100, TEXTBOTTOM(1) = ITEMBOTTOM(1) = 250;
  RIGHTEDGE = 2250, PROFRMARGIN = 20, LINEPITCH = 50;
  const std::string s = first_stream(one_stream([] {
    rt::Trap trap("proprint.cpp", "PROPRINT");
    SheetPrint sheet(trap);
    sheet.PRELIM();
    TEXTX = 1306, PAGEORIGIN = 0, HEADDOTS = 600, sheet.ROOMEND = 1000;
    sheet.DESCRIPT();
  }));
  auto td = [&](const std::string& text) {
    const size_t at = s.find("(" + text + ")");
    EXPECT_NE(at, std::string::npos) << text << s;
    const size_t end = s.rfind(" Td", at);
    return s.substr(s.rfind('\n', end) + 1, end - s.rfind('\n', end) - 1);
  };
  // Level with the first line: the same y after the second column's x.
  EXPECT_EQ(td("right1"), FNPDFX((2250 + 1306 - 20) / 2 + 25) + td("left1").substr(FNPDFX(1306).size())) << s;
  EXPECT_NE(td("left2"), td("left1"));
  EXPECT_EQ(s.find('\x18'), std::string::npos);
}

TEST_F(SheetPrintTest, CurvedConnectors) {
  struct Case {
    std::int32_t ty;
    std::vector<std::string> ops;
  } cases[] = {{130, {" m", " c", "S"}}, {200, {" m", " y", " l", " v", "S"}}};
  BEZIER = 20;
  LAYERCOUNT = 1;
  for (const auto& c : cases) {
    const std::string s = first_stream(one_stream([&] {
      rt::Trap trap("proprint.cpp", "PROPRINT");
      SheetPrint sheet(trap);
      LAYERFILL(1, 0) = 0;
      sheet.DRAWZAGL(1, 500, 100, c.ty, 100, c.ty);
    }));
    std::vector<std::string> ops;
    size_t from = 0;
    for (size_t end; (end = s.find("\r\n", from)) != std::string::npos; from = end + 2) {
      const std::string line = s.substr(from, end - from);
      ops.push_back(line == "S" ? line : line.substr(line.size() - 2));
    }
    EXPECT_EQ(ops, c.ops) << s;
  }
  // Flag 4: no connector at all.
  const std::string none = first_stream(one_stream([] {
    rt::Trap trap("proprint.cpp", "PROPRINT");
    SheetPrint sheet(trap);
    LAYERFILL(1, 0) = 4;
    sheet.DRAWZAGL(1, 500, 100, 300, 100, 300);
  }));
  EXPECT_EQ(none, "");
}

TEST_F(SheetPrintTest, SymbolRowsAsPlotterStrokes) {
  // Two rows, each with one run of pixels 0 to 3: an absolute move to the row's start, "PR", then steps
  // measured from that row's start: to the run's first edge, pen down, to its end, pen up, to the row's end.
  OUTDEV = 2;
  rt::Trap trap("proprint.cpp", "PROPRINT");
  SheetPrint sheet(trap);
  SYMBOLDPI = 150;
  sheet.PRELIM();
  PAPERX = 7918, PAPERY = 10837;
  DXFUNIT = static_cast<double>(25.4f) * 40 / 300;
  double x0 = 0, x1 = 100, y0 = 0, y1 = 100;
  GOVIEWPO(x0, x1, y0, y1);
  GOSCALE(0, PAPERX / DXFUNIT, 3200, 3200 - PAPERY / DXFUNIT);
  PLOTFILE = PAGEFILE = rt::FREEFILE();
  GOOPEN("PLOTFILE");
  for (long k = 2; k <= 241; ++k) SYMBITS(k) = 0;
  SYMBITS(2) = SYMBITS(6) = 0xF0;  // rows 0 and 1: pixels 0 to 3
  RASTERX = 906;
  sheet.RASTERTOP = 600;
  const auto start = rt::LOF(PLOTFILE);
  sheet.SYMBLINE(1);
  sheet.SYMBLINE(2);
  GOCLOSE();
  const std::string pgl = dir.read("PLOTFILE").substr(static_cast<size_t>(start));
  const auto rows = testing_support::find_all_regex(pgl, R"(PA(\d+)\.00,(\d+)\.00PR-2,0PD27,0PU407,0)");
  ASSERT_EQ(rows.size(), 2u) << pgl;
  EXPECT_EQ(rows[0][1], rows[1][1]);  // both rows start at the column's left edge
  EXPECT_NE(rows[0][2], rows[1][2]);  // one pixel row (2 dots) apart
}

TEST_F(SheetPrintTest, SymbolCodesOfALayer) {
  // A library whose bitmap n holds the word n everywhere (its base: 698 at offsets 260-261, so bitmap n
  // starts at 480 n + 480); bitmaps past its end read as 0.
  std::string lib(480 + 480 * 99, '\0');
  lib[260] = static_cast<char>(698 >> 8), lib[261] = static_cast<char>(698 & 0xFF);
  for (int n = 1; n < 99; ++n)
    for (int k = 0; k < 240; ++k) lib[static_cast<size_t>(480 * n + 480 + 2 * k)] = static_cast<char>(n);
  dir.write("LIB.DAT", lib);
  LIBNAME = "LIB.DAT";
  struct Case {
    std::vector<std::int32_t> codes;
    std::int32_t word0;  // word 0 of every row: the frame's 128 with the bitmaps laid in
  } cases[] = {
      {{5, -95}, 128},                 // 5 ORed, then cut out again by its own mask
      {{5, -105}, 128 | 5 | 95},       // two fills
      {{-3, 12}, (128 | 12) & ~97},    // 12 first, then the mask of bitmap 97
      {{100}, 128},                    // past the end of the library: blank
      {{-601, 7}, 128 | 7},            // outside the table: left out
  };
  for (const auto& c : cases) {
    rt::Trap trap("proprint.cpp", "PROPRINT");
    SheetPrint sheet(trap);
    sheet.PRELIM();
    LAYERFILL(1, 1) = static_cast<std::int32_t>(c.codes.size());
    for (size_t k = 0; k < c.codes.size(); ++k) LAYERFILL(1, static_cast<long>(k) + 2) = c.codes[k];
    PUTPSET(sheet.SYMBITS3);
    sheet.BUILDSYM(1);
    for (long r = 0; r < 60; ++r) ASSERT_EQ(SYMBITS(2 + 4 * r) & 0xFFFF, c.word0) << c.codes[0] << " row " << r;
    EXPECT_EQ(SYMBITS(5) & 0xFFFF, 256 | (c.word0 & ~128)) << c.codes[0];  // pixel 63 of the frame
    if (libfile_open(sheet)) rt::close_file(sheet.LIBFILE);
  }
}

}  // namespace
