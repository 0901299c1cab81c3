// The word-list tests and the text cleaners and editors of the conversion.
#include <gtest/gtest.h>

#include "engine/convert/convert_fixture.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"

namespace {

class WordTests : public ConvertFixture {};

TEST_F(WordTests, ListScans) {
  struct Case {
    const char* text;
    const char* list;
    std::int32_t lower, upper, any;
  } cases[] = {
      {"silty clay", "/clay/silt/", 7, 0, 7},      // clay is tried first, wherever it stands
      {"SILTY CLAY", "/clay/silt/", 0, 7, 7},
      {"CLAY", "/clay/", 0, 1, 1},
      {"a clay", "clay/silt/", 4, 0, 4},           // the first character opens the list: lay
      {"clay", "clay/silt/", 2, 0, 2},
      {"silt", "/clay/silt", 0, 0, 0},             // silt is not closed: no word
      {"clay", "//clay//", 1, 0, 1},               // empty words are skipped
      {"clay", "", 0, 0, 0},
      {"clay", "/", 0, 0, 0},
      {"clay", "//", 0, 0, 0},
      {"Firm CLAY with Clay", "/Clay/", 0, 6, 6},  // each word in one case for FNLPRES and FNUPRES
      {"", "/clay/", 0, 0, 0},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(FNLPRES(k.text, k.list), k.lower) << k.text << " in " << k.list;
    EXPECT_EQ(FNUPRES(k.text, k.list), k.upper) << k.text << " in " << k.list;
    EXPECT_EQ(FNPRES(k.text, k.list), k.any) << k.text << " in " << k.list;
  }
}

TEST_F(WordTests, FnpresNamesTheWordAndItsSymbolMark) {
  KEYWORDS = "AS ABOVE./WATER STRIKE/SYMB6/[W-STRIKE]./DISTURBED SAMPLE/SYMB1/[S-DIST]./CLAY/CLAYS/[CLAY].";
  struct Case {
    const char* text;
    const char* list;
    const char* word;
    const char* symb;
  } cases[] = {
      {"SILTY CLAY", "/clay/silt/", "CLAY", ""},  // no /SYMB entry after the word's own
      {"Water strike at 2m", "/water strike/", "WATER STRIKE", "[SYMB6]"},
      {"disturbed sample d1", "/disturbed/", "DISTURBED", "[SYMB1]"},  // a longer keyword that begins with it
      {"grass", "/grass/", "GRASS", ""},                                 // not in the keyword table
      {"nothing", "/clay/", "", ""},
  };
  for (const auto& k : cases) {
    PRESWORD = "old";
    PRESSYMB = "old";
    FNPRES(k.text, k.list);
    EXPECT_EQ(PRESWORD, k.word) << k.text;
    EXPECT_EQ(PRESSYMB, k.symb) << k.text;
  }
  KEYWORDS = "/WATER/SYMB";  // an entry without a closed symbol mark
  FNPRES("water", "/water/");
  EXPECT_EQ(PRESSYMB, "");
}

TEST_F(WordTests, Cleaners) {
  struct Case {
    const char* in;
    const char* comma;
    const char* plural;
  } cases[] = {
      {"1,5", "1.5", "1,5"},
      {"1,5,", "1.5", "1,5,"},
      {"12..", "12.", "12.."},
      {",", "", ","},
      {"1,000.50", "1.000.50", "1,000.50"},
      {"", "", ""},
      {"Notes:", "Notes:", "note"},
      {"SAMPLES", "SAMPLES", "sample"},
      {"Glass", "Glass", "gla"},
      {"ss:", "ss:", ""},
  };
  for (const auto& k : cases) {
    std::string t = k.in;
    EXPECT_EQ(FNCOMMA(t), k.comma) << k.in;
    EXPECT_EQ(t, k.comma) << k.in;
    std::string p = k.in;
    STRIPPLU(p);
    EXPECT_EQ(p, k.plural) << k.in;
  }
  std::string b = "  a b\tc  ";
  DELBLANK(b);
  EXPECT_EQ(b, "ab\tc");
  struct Blink {
    const char* in;
    const char* out;
  } blinks[] = {
      {"dark brown = 0.4 0.3 0.1", "darkbrown= 0.4 0.3 0.1"},
      {"a = 0.5 b = 0.7", "a= 0.5b= 0.7"},
      {"END", "END"},
      {"red = 1 0 0", "red= 1 0 0"},
      {"/light grey = 211 211 211./dark red = 139 0 0.", "/lightgrey= 211 211 211./darkred= 139 0 0."},
      {"  ", "  "},
  };
  for (const auto& k : blinks) {
    std::string t = k.in;
    DELBLINK(t);
    EXPECT_EQ(t, k.out) << k.in;
  }
}

TEST_F(WordTests, Numeric) {
  struct Case {
    const char* text;
    bool numeric;
  } cases[] = {{" 12 ", true}, {"0", false},  {"0.00", true}, {"00", true},  {"-0", true},  {"1.5m", true},
               {"3-4", true},  {"0m", false}, {"-", false},   {".", false},  {"", false},   {"+", false},
               {"2.50+", true}, {"to", false}, {"0.0", true}, {"0-1", false}};
  for (const auto& k : cases) EXPECT_EQ(ISNUMERI(k.text), k.numeric ? -1 : 0) << "[" << k.text << "]";
}

TEST_F(WordTests, Editors) {
  NOTE(1) = "a";
  NOTE(2) = "b";
  NOTE(3) = "c";
  std::int16_t count = 3;
  DELNOTE(1, count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(NOTE(1), "b");
  EXPECT_EQ(NOTE(2), "c");
  EXPECT_EQ(NOTE(3), "c");  // the old last slot keeps its text
  DELNOTE(5, count);        // beyond the count: nothing moves, the count still drops
  EXPECT_EQ(count, 1);
  EXPECT_EQ(NOTE(1), "b");
  for (int i = 1; i <= 50; ++i) NOTE(i) = std::to_string(i);
  std::int16_t full = 50;
  DELNOTE(49, full);  // the last slot of the table: nothing is read beyond it
  EXPECT_EQ(full, 49);
  EXPECT_EQ(NOTE(49), "50");
  EXPECT_EQ(log(), "");

  struct Remove {
    const char* text;
    const char* ch;
    const char* out;
  } removes[] = {{"1.2.3", ".", "123"}, {"--", "-", ""}, {"Job No. 1", " ", "JobNo.1"}, {"abab", "ab", "bb"},
                 {"aab", "ab", "b"},     {"x", "", ""},   {"", "-", ""}};
  for (const auto& k : removes) {
    std::string t = k.text;
    REMOVE(t, k.ch);
    EXPECT_EQ(t, k.out) << k.text << " - " << k.ch;
  }
}

TEST_F(WordTests, RiplaceHonoursTheEscapeCharacter) {
  struct Case {
    const char* esc;
    const char* text;
    const char* out;
  } cases[] = {
      {"\"", "a~b", "a\x03" "b"},
      {"\"", "a\"~b", "a~b"},                    // the escaped character stays, the escape goes
      {"\"", "\"a~b~", "\"a\x03" "b\x03"},     // an escape elsewhere stays
      {"\"", "say \"x\" ~", "say \"x\" \x03"},
      {"", "a~b", "a\x03" "b"},                  // no escape character: the mapping stands
      {"", "a~b~", "a\x03" "b\x03"},
      {"\"", "abc", "abc"},
  };
  for (const auto& k : cases) {
    ESCCHAR = k.esc;
    std::string t = k.text;
    RIPLACE(t, "~", SYMCODE);
    EXPECT_EQ(t, k.out) << "[" << k.esc << "] " << k.text;
  }
  ESCCHAR = "\"";
  std::string t = "a\"b";
  RIPLACE(t, "", SYMCODE);  // no character chosen: nothing changes
  EXPECT_EQ(t, "a\"b");
}

TEST_F(WordTests, NextValueForms) {
  struct Case {
    const char* text;
    std::int32_t pos;
    const char* value;
  } cases[] = {
      {"GRAPH 100 PLUS NUMBERS", 1, "100"},
      {"GRAPH = 100", 1, "100"},
      {"PAINT cyan", 1, "0"},
      {"GRAPH 0,5", 1, ".5"},
      {"WIDTH 2 GRAPH", 9, "0"},
      {"SPT [WIDTH=,8]", 6, ".8"},
      {"[GRAPH 3.25]", 2, "3.25"},
      {"GRAPH 0.0001", 1, ".0001"},     // the threshold itself counts
      {"GRAPH 0.00001 7", 1, "7"},
      {"GRAPH -3", 1, "3"},             // the last value, without its sign
      {"GRAPH", 1, "0"},
      {"", 1, "0"},
      {"GRAPH 100 [WIDTH 1.2]", 11, "1.2"},
  };
  for (const auto& k : cases) {
    std::string value = "old";
    NEXTVALU(k.pos, k.text, value);
    EXPECT_EQ(value, k.value) << k.text << " @" << k.pos;
  }
}

}  // namespace
