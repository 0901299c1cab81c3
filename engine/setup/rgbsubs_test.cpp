// Colour markers: the normalised form INSERTRG writes, colour indexes and their hues, and the colour
// FNRGBB reads back.
#include <gtest/gtest.h>

#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/setup/setup_fixture.h"

namespace {

class ColourMarkers : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    CONVWORDS = "/[rgb/[paint/[colour/";
    PAINTWORDS = "/cyan= 0 255 255./darkbrown= 101 67 33./water= 150./odd= 5 9./bad= 300./huge= 70000 0 0./far= 99999.";
  }
};

TEST_F(ColourMarkers, InsertrgRewritesTheFirstMarker) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"Clay [rgb 255 128 0] soft", "Clay [rgb 1.000 .502 .000] soft"},
      {"Clay [RGB 255 128 0]", "Clay [RGB 1.000 .502 .000]"},
      {"Clay [Rgb 255 128 0]", "Clay [Rgb 1.000 .502 .000]"},
      {"[rgb 255-0-0]", "[rgb 1.000 .000 .000]"},             // "-" separates the numbers
      {"[rgb 255,0,0]", "[rgb 255,0,0]"},                     // one field: the index 255 is refused
      {"[rgb 10]", "[rgb 1.000 .000 .000]"},                  // a colour index
      {"[rgb 7]", "[rgb .000 .000 .000]"},
      {"[rgb 0]", "[rgb 0]"},
      {"[rgb 9 255 0 0]", "[rgb 1.000 .000 .000]"},           // the last three of four
      {"[rgb 255 0]", "[rgb 255 0]"},                         // two numbers: unchanged
      {"[rgb 300 0 0]", "[rgb 1.176 .000 .000]"},
      {"[PAINT cyan]", "[RGB .000 1.000 1.000]"},
      {"[paint Dark Brown] sandy", "[rgb .396 .263 .129] sandy"},  // blanks and case of a name do not count
      {"[Paint water]", "[Rgb .000 .502 1.000]"},              // a paint given as an index
      {"[paint odd]", "[rgb .000 .000 1.000]"},                // two numbers: read as one index
      {"[paint bad]", "[rgb .000 .000 .000]"},
      {"[paint nosuch]", "[paint nosuch]"},
      {"Clay [colour 150] and [rgb 1 2 3]", "Clay [colour 150] and [rgb .004 .008 .012]"},  // list order decides
      {"[rgb]", "[rgb]"},                                      // no blank in the marker
      {"[rgb 255 0 0", "[rgb 255 0 0"},                        // not closed
      {"[rgb 255 0 0 Brown CLAY [SYMB1] firm", "[rgb 255 0 0 Brown CLAY [SYMB1] firm"},  // left open
      {"[rgb 255 0 0 and [paint cyan]", "[rgb 255 0 0 and [paint cyan]"},  // only the first keyword is handled
      {"no marker here", "no marker here"},
      // Numbers beyond a component's range (a typo, blanks left out) make no colour and no run-time error.
      {"[rgb 40000 0 0]", "[rgb 40000 0 0]"},
      {"[rgb 255128000]", "[rgb 255128000]"},
      {"[paint huge]", "[paint huge]"},
      {"[paint far]", "[rgb .000 .000 .000]"},                 // an index out of range: black
  };
  for (const auto& k : cases) {
    std::string t = k.in;
    INSERTRG(t);
    EXPECT_EQ(t, k.out) << k.in;
  }
  EXPECT_EQ(log(), "");
}

TEST_F(ColourMarkers, IndexTable) {
  struct Case {
    std::int16_t index, red, green, blue;
  } cases[] = {
      {1, 255, 0, 0},     {7, 0, 0, 0},        {9, 210, 210, 210},  {10, 255, 0, 0},     {11, 221, 112, 112},
      {12, 230, 0, 0},    {13, 210, 112, 112}, {14, 204, 0, 0},     {15, 198, 112, 112}, {16, 178, 0, 0},
      {17, 187, 112, 112}, {18, 153, 0, 0},    {19, 175, 112, 112}, {20, 255, 64, 0},    {30, 255, 128, 0},
      {40, 255, 191, 0},  {60, 191, 255, 0},   {90, 0, 255, 0},     {130, 0, 255, 255},  {150, 0, 128, 255},
      {170, 0, 0, 255},   {200, 191, 0, 255},  {240, 255, 0, 64},   {250, 95, 95, 95},   {253, 191, 191, 191},
      {255, 255, 255, 255},
  };
  for (const auto& k : cases) {
    std::int16_t r = -1, g = -1, b = -1;
    ACI2RGB(k.index, r, g, b);
    EXPECT_EQ(r, k.red) << k.index;
    EXPECT_EQ(g, k.green) << k.index;
    EXPECT_EQ(b, k.blue) << k.index;
  }
  for (std::int16_t index : {0, -3, 256}) {
    std::int16_t r = 1, g = 2, b = 3;
    ACI2RGB(index, r, g, b);
    EXPECT_EQ(r * 100 + g * 10 + b, 123) << index;
  }
  struct Hue {
    std::int16_t in, out, changed;
  } hues[] = {{90, 255, 90}, {10, 0, 10}, {20, 64, 20}, {30, 128, 30}, {5, 112, 245}, {329, 175, 89}, {-70, 0, 170}};
  for (const auto& h : hues) {
    std::int16_t v = h.in;
    EXPECT_EQ(FNRGB(v), h.out) << h.in;
    EXPECT_EQ(v, h.changed) << h.in;
  }
}

TEST_F(ColourMarkers, FnrgbbReadsTheColourBack) {
  struct Case {
    const char* text;
    const char* colour;
    std::int16_t flag;
  } cases[] = {
      {"SPT [rgb 1.000 .502 .000] N", "1.000 .502 .000", 3},
      {"[RGB .000 1.000 1.000]", ".000 1.000 1.000", 1},
      {"[Rgb .5 .5 .5]", ".5 .5 .5", 2},
      {"[rgb .1 .2 .3] and RGB", ".1 .2 .3", 1},  // capitals anywhere in the text
      {"[rgb .1 .2 .3", ".1 .2 .3", 3},           // not closed: the rest of the text
      {"no colour", "", 0},
  };
  for (const auto& k : cases) {
    RGBFLAG = -1;
    EXPECT_EQ(FNRGBB(k.text), k.colour) << k.text;
    EXPECT_EQ(RGBFLAG, k.flag) << k.text;
  }
}

}  // namespace
