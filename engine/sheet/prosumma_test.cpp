// The summary (legend) sheet's data: order of the entries, vertical step, the legend lines and their
// samples, and lines too long for the column. Every character 25 dots wide: the column is 1364 dots.
#include "engine/frame/helpers.h"
#include "engine/runtime/number.h"
#include "engine/select/select.h"
#include "engine/select/coder_fixture.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"

namespace {

class SummaryTest : public CoderFixture {
 protected:
  void SetUp() override {
    CoderFixture::SetUp();
    reset_sheet_globals();
    for (std::int32_t f = 1; f <= 3; ++f) {
      FONTWIDTH(f) = 25, FONTSIZE(f) = 1;
      for (std::int32_t c = 32; c <= 255; ++c) CHARWIDTH(f, c) = 25;
    }
    PAGELENGTH = 3200, HEADDOTS = 600, FOOTDOTS = 300, LINEPITCH = 50, A3SHIFT = 0;
    KEYWORDS = "REPEAT./WATER LEVEL/SYMB3/[W-LEVEL].ROOTS/[ORGANIC]./SOFT CLAY/CLAY/[CLAY]./SAND/[SAND].";
    VOCAB(23) = "LEGEND", VOCAB(24) = "LEGEND";
  }
  std::vector<std::string> records() {
    PIOPEN("Dwork.1", WORKFIRST + DWORKBASE);
    std::vector<std::string> out;
    for (std::int32_t i = 1; i <= LAYERCOUNT; ++i) {
      std::string r;
      PIREAD(r, i, WORKFIRST + DWORKBASE);
      out.push_back(r);
    }
    for (std::int32_t k : {WORKFIRST + DWORKBASE, WORKFIRST + DWORKBASE + 1}) rt::close_file(PIFILE(k));
    return out;
  }
};

TEST_F(SummaryTest, LegendLines) {
  OUTDEV = 1;
  SUMMARYKEY = "|SUMMARY|SAND [SAND]|CLAY/SOFT CLAY [CLAY]|BASALT [BASALT]|SYMB3 [W-LEVEL]|CLAY [CLAY]|";
  PROSUMMA();
  const auto r = records();
  ASSERT_EQ(r.size(), 5u);
  // Not in the keyword table first, then by the place in the table, equal places in arrival order.
  EXPECT_EQ(r[0].substr(0, 10), "[ 1]  BASA");
  EXPECT_NE(r[1].find("{W-LEVEL}[----]"), std::string::npos) << r[1];  // a sample mark: the table's keywords
  EXPECT_EQ(r[1].substr(0, 17), "[ 2]  WATER LEVEL") << r[1];
  EXPECT_NE(r[2].find("CLAY/soft clay"), std::string::npos) << r[2];  // keywords after the first lower case
  EXPECT_NE(r[3].find("CLAY "), std::string::npos) << r[3];
  EXPECT_NE(r[4].find("{SAND}[SAND]"), std::string::npos) << r[4];
  // Blanks fill each line so that the shown name ends at the column's edge.
  for (const auto& line : r) {
    const std::string text = line.substr(line.find("]  ") + 3);
    const std::string shown = text.substr(0, text.rfind('['));
    EXPECT_GE(FNDLEN(shown, 1), 1364 - 25) << line;
    EXPECT_LE(FNDLEN(shown, 1), 1364 + 25) << line;
  }
  // The sample mark's sample: the prompt's label for SYMB3 at the line's middle depth.
  ASSERT_EQ(DSAMPCOUNT, 1);
  EXPECT_EQ(DSAMP1(1), PROMPT(59) + "[W-LEVEL][SYMB3]");
  EXPECT_EQ(DSAMP2(1), " 1.5");
  // The fake hole.
  EXPECT_EQ(HEADER(20), "LEGEND");
  EXPECT_EQ(HEADER(21), "LEGEND");
  EXPECT_EQ(SUMMARYKEY, "");
  EXPECT_EQ(ATTRCOUNT, 0);
}

TEST_F(SummaryTest, StepsDepthsAndLongLines) {
  struct Case {
    const char* what;
    int entries;
    std::int32_t outdev;
  } cases[] = {
      // A = 25.4 * 2299 / 3000 = 19.46 cm of room: 5 entries a cm apart.
      {"more room than entries", 5, 1},
      // 30 entries: 23 rows of half the room, fewer than the entries: the step is A / 22.
      {"more entries than rows", 30, 1},
  };
  for (const auto& c : cases) {
    OUTDEV = c.outdev;
    SUMMARYKEY = "|SUMMARY|";
    for (int i = 0; i < c.entries; ++i) SUMMARYKEY += "X" + std::to_string(i) + " [N" + std::to_string(i) + "]|";
    PROSUMMA();
    const auto r = records();
    ASSERT_EQ(static_cast<int>(r.size()), c.entries) << c.what;
    if (c.entries == 5) {
      EXPECT_EQ(r[0].substr(0, 4), "[ 1]") << c.what;
      EXPECT_EQ(r[4].substr(0, 4), "[ 5]") << c.what;
    } else {
      // 25.4 * (3200 - 600 - 32) / 3000 / 22 = 0.9883...: depths floored to the hundredth.
      EXPECT_EQ(r[0].substr(0, 6), "[ .98]") << c.what;
      EXPECT_EQ(r[8].substr(0, 7), "[ 8.89]") << c.what;
      EXPECT_EQ(r[9].substr(0, 6), "[9.88]") << c.what;  // from the tenth line without the blank
    }
  }
  // Printer devices get a printer move instead of blanks; a line too long is cut and ends in ".... ".
  OUTDEV = 4;
  SUMMARYKEY = "|SUMMARY|" + std::string(80, 'K') + " [CLAY]|";
  PROSUMMA();
  auto r = records();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_NE(r[0].find(".... \x1b*p+"), std::string::npos) << r[0];
  // A name wider than the column: the text is cut to nothing and the cutting stops.
  OUTDEV = 1;
  SUMMARYKEY = "|SUMMARY|CLAY [" + std::string(60, 'N') + "]|";
  PROSUMMA();
  r = records();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].substr(0, 7), "[ 1]  {");
  // No entries: no layers.
  SUMMARYKEY = "|SUMMARY|";
  PROSUMMA();
  EXPECT_EQ(LAYERCOUNT, 0);
}

// The coder's summary step: a legend of 38 symbols (more than a page holds), and the five values the
// coder keeps around it are back afterwards.
TEST_F(SummaryTest, ThirtyEightSymbolsAndTheValuesKeptAroundIt) {
  OUTDEV = 1;
  SUMMARYKEY = "|SUMMARY|";
  for (int i = 0; i < 38; ++i) SUMMARYKEY += "WORD" + std::to_string(i) + " [S" + std::to_string(i) + "]|";
  std::int32_t layers = 0, sheets_drawn = 0;
  coder_hand_over().prosumma = PROSUMMA;
  // The hole's sheet, then the legend's (a run that codes no hole draws no legend).
  coder_hand_over().proforma = [&] {
    if (++sheets_drawn == 1) SCALEDIV = 7, FORCEDSCALE = 8, PROFRMARGIN = 9, PROFLMARGIN = 10, ATTRRMARGIN = 11;
    else layers = LAYERCOUNT;
  };
  write_hole("631BH1", Hole{});
  code({"631BH1"});
  EXPECT_EQ(sheets_drawn, 2);
  EXPECT_EQ(layers, 38);
  EXPECT_EQ(SCALEDIV, 7);
  EXPECT_EQ(FORCEDSCALE, 8);
  EXPECT_EQ(PROFRMARGIN, 9);
  EXPECT_EQ(PROFLMARGIN, 10);
  EXPECT_EQ(ATTRRMARGIN, 11);
  const auto r = records();
  ASSERT_EQ(r.size(), 38u);
  // 38 lines at A / 22 a line: the legend runs over more than the 19.5 cm of one page's room.
  EXPECT_GT(rt::VAL(r[37].substr(1)), 19.5);
}

}  // namespace
