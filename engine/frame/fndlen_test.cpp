// Text widths in dots: marks and printer sequences take no room, font switches change the scale.
#include <gtest/gtest.h>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "platform/console.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

class FndlenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_frame_globals();
    platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
    PRODIM();
    FONTSWCODE = "\x13";
    HARDSPCODE = "\x05";
    // Font 1: 100 units a character at 0.1 dots a unit; font 2: 300 units at 0.05; font 3: 50 at 0.2.
    const int units[4] = {0, 100, 300, 50};
    const double scale[4] = {0, 0.1, 0.05, 0.2};
    for (int f = 1; f <= 3; ++f) {
      for (int c = 32; c <= 255; ++c) CHARWIDTH(f, c) = units[f];
      CHARWIDTH(f, 'i') = units[f] / 2;
      FONTSIZE(f) = scale[f];
      FONTWIDTH(f) = units[f] * scale[f];
    }
  }
  void TearDown() override { platform::set_console(nullptr); }
  TempDir dir;
  ScopedCwd cwd{dir.path()};
  BoxRecorder box;
};

TEST_F(FndlenTest, Widths) {
  struct Case {
    int device;
    std::string text;
    int font, want;
  } cases[] = {
      {1, "", 1, 0},
      {1, "   ", 1, 30},
      {1, "ab", 1, 20},
      {1, "ii", 1, 10},
      {1, "a\x1b&dDb\x1b&d@c", 1, 30},  // underline codes add nothing
      {1, "a\x1b*p120Xb", 1, 20},       // nor a cursor move
      {1, "a\x13" "b", 1, 20},          // (100 + 300) units at the scale of font 2, the last font
      {1, "a\x13" "b\x13" "c", 2, 35},  // (300 + 100 + 300) * 0.05
      {1, "a\x13" "b", 3, 20},          // font 3 does not switch
      {1, "a\x05" "b", 1, 30},          // a hard space is a blank
      {1, "a\x01" "b", 1, 20},          // other marks take no room
      {3, "abc", 1, 30},                // DXF: the blank width per character
      {3, "a\x13" "bc", 1, 40},         // 10 + 15 + 15
  };
  for (const auto& c : cases) {
    OUTDEV = c.device;
    EXPECT_EQ(FNDLEN(c.text, c.font), c.want) << c.device << " " << c.text;
  }
  EXPECT_TRUE(box.texts.empty());
}

// The pen plotter draws every font at the fixed pitch of its plotter font, whatever the width tables say:
// 300 / pitch dots a character, the pitch from the printer code (135 / the height when it gives none).
TEST_F(FndlenTest, PlotterPitch) {
  OUTDEV = 2;
  FONTSPEC(1) = "\x1b(s1p10v0s0b4148T";   // 10 pt: 13.5 characters an inch, 22.22 dots each
  FONTSPEC(2) = "\x1b(s0p12h10v0s3b3T";   // pitch 12 and a height: the pitch counts, 25 dots
  FONTSPEC(3) = "\x1b)s1p8v1s0b4148T";    // 8 pt: 16.875 an inch, 17.78 dots
  struct Case {
    std::string text;
    int font, want;
  } cases[] = {
      {"Hole ", 3, 89},              // 5 x 17.78
      {"iiii", 1, 89},               // narrow letters take a whole cell
      {"MMMM", 1, 89},
      {"a\x13" "bc", 1, 72},         // 22.22 + 25 + 25
      {"a\x05" "b", 1, 67},          // a hard space is a cell
      {"a\x1b&dDb\x1b&d@", 1, 44},  // underline codes take none
      {"a\x01" "b", 1, 44},
  };
  for (const auto& c : cases) EXPECT_EQ(FNDLEN(c.text, c.font), c.want) << c.text;
  // A code with neither pitch nor height draws at 10 points.
  FONTSPEC(1) = "\x1b(s1p0s0b4148T";
  EXPECT_EQ(FNDLEN("abc", 1), 67);
  double pitch = 0, height = 0;
  EXPECT_FALSE(plotter_font_size(FONTSPEC(1), pitch, height));
  EXPECT_DOUBLE_EQ(height, 10);
  EXPECT_DOUBLE_EQ(pitch, 13.5);
  EXPECT_TRUE(plotter_font_size(FONTSPEC(2), pitch, height));
  EXPECT_DOUBLE_EQ(pitch, 12);
  EXPECT_DOUBLE_EQ(height, 10);
  // The other devices keep their tables.
  OUTDEV = 1;
  EXPECT_EQ(FNDLEN("iiii", 1), 20);
  EXPECT_TRUE(box.texts.empty());
}

// The widths of every head and every end of a text, as fitting a long text to its box takes them in one
// walk, are what FNDLEN gives each on its own: through font switches (which change the scale of the
// whole text), printer sequences, hard spaces and characters of narrow widths, on every device.
TEST_F(FndlenTest, HeadsAndEndsInOneWalk) {
  FONTSPEC(1) = "\x1b(s1p10v0s0b4148T";
  FONTSPEC(2) = "\x1b(s0p12h10v0s3b3T";
  FONTSPEC(3) = "\x1b)s1p8v1s0b4148T";
  const std::string texts[] = {
      "",
      "Site investigation",
      "a\x13" "bi\x13" "c i\x13",
      "\x1b&dDunder\x1b&d@ lined\x1b*p120X at x",
      "a\x05" "b\x1b" "\x13" "cZd\x13",
      "C:\\Jobs\\J-56\\Site.txt",
  };
  for (int device : {1, 2, 3, 4}) {
    OUTDEV = device;
    for (const std::string& text : texts) {
      for (int font : {1, 2, 3}) {
        for (const std::string mark : {"", "...", "\x13" ".."}) {
          const std::vector<std::int32_t> heads = head_widths(text, font, mark);
          const std::vector<std::int32_t> ends = end_widths(mark, text, font);
          ASSERT_EQ(heads.size(), text.size() + 1);
          ASSERT_EQ(ends.size(), text.size() + 1);
          for (size_t n = 0; n <= text.size(); ++n) {
            EXPECT_EQ(heads[n], FNDLEN(text.substr(0, n) + mark, font)) << device << " " << font << " " << n << " " << text;
            EXPECT_EQ(ends[n], FNDLEN(mark + text.substr(n), font)) << device << " " << font << " " << n << " " << text;
          }
        }
      }
    }
  }
  EXPECT_TRUE(box.texts.empty());
}

// A font outside the tables is one error, not one per character.
TEST_F(FndlenTest, BadFont) {
  OUTDEV = 1;
  EXPECT_EQ(FNDLEN("abc", 0), 0);
  EXPECT_TRUE(box.texts.empty());
  EXPECT_NE(dir.read("ERROR.LOG").find("fndlen.cpp"), std::string::npos);
}

}  // namespace
