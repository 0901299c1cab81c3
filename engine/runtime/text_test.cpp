// String functions at the edges of their texts.
#include "engine/runtime/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

TEST(TextTest, PositionsOutsideTheText) {
  EXPECT_EQ(rt::MID("abcdef", 3, 2), "cd");
  EXPECT_EQ(rt::MID("abc", 5), "");
  EXPECT_EQ(rt::MID("abc", 0, 2), "ab");
  EXPECT_EQ(rt::LEFT("abc", 10), "abc");
  EXPECT_EQ(rt::RIGHT("abc", 2), "bc");
  EXPECT_EQ(rt::INSTR("a=b=c", "="), 2);
  EXPECT_EQ(rt::INSTR(3, "a=b=c", "="), 4);
  EXPECT_EQ(rt::INSTR(9, "a=b", "="), 0);
  EXPECT_EQ(rt::INSTR_LAST("a=b=c", "="), 4);
  std::string s = "abcdef";
  rt::MID_SET(s, 5, "XYZ");
  EXPECT_EQ(s, "abcdXY");
  EXPECT_EQ(rt::TRIM("  a b  "), "a b");
  EXPECT_EQ(rt::RSET("7", 3), "  7");
  EXPECT_EQ(rt::LSET("abcdef", 3), "abc");
}

// A long text is searched another way than a short one: both give INSTR's positions, also where
// the first character of the text looked for stands at every entry.
TEST(TextTest, InstrInLongTexts) {
  std::string list;
  for (int i = 0; i < 200; ++i) list += "/WORD" + std::to_string(i);
  list += "/SAND/SANDY";
  struct Case {
    long start;
    std::string find;
    long want;
  } cases[] = {
      {1, "/WORD1", 7},    {8, "/WORD1", 61},     {1, "/WORD199", 1483}, {1, "/SAND", 1491},
      {1492, "/SAND", 1496}, {1, "/SANDS", 0},    {1, "Y", 1501},          {1497, "/SANDY", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rt::INSTR(c.start, list, c.find), c.want) << c.start << " " << c.find;
  }
}

// Only the 26 ASCII letters change case: every other byte, the ones beside them in the code table
// and those above 127, stays as it is.
TEST(TextTest, CaseChangesTouchAsciiLettersOnly) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  const std::string up = rt::UCASE(all), low = rt::LCASE(all);
  for (int c = 0; c < 256; ++c) {
    const bool lower = c >= 'a' && c <= 'z', upper = c >= 'A' && c <= 'Z';
    EXPECT_EQ(static_cast<unsigned char>(up[static_cast<size_t>(c)]), lower ? c - 32 : c) << c;
    EXPECT_EQ(static_cast<unsigned char>(low[static_cast<size_t>(c)]), upper ? c + 32 : c) << c;
  }
}

// A short text, searched at every start for texts that begin or end alike, overlap or run past its
// end, gives the places of a plain search.
TEST(TextTest, InstrInShortTexts) {
  const std::string text = " 0 R 10 0 R0 0 R /Parent 2 0 R  aab aaab";
  const std::string finds[] = {" 0 R", "0 R", " ", "R", "aab", "ab", "aaab", "b", " aab", "/Parent ", "R ", "x", "ab x",
                               " R", "  a", " 0 R0", " x", text, text + " "};
  for (const std::string& find : finds)
    for (long start = 0; start <= static_cast<long>(text.size()) + 1; ++start) {
      const size_t from = static_cast<size_t>(std::max(start, 1L) - 1);
      const size_t p = from > text.size() ? std::string::npos : text.find(find, from);
      EXPECT_EQ(rt::INSTR(start, text, find), p == std::string::npos ? 0 : static_cast<long>(p) + 1)
          << start << " '" << find << "'";
    }
}

// The remembered answers are those of INSTR, and a list changed in place is searched afresh.
TEST(TextTest, ListSearchFollowsItsList) {
  rt::ListSearch search;
  std::string list = "|CLAY      |SAND      |";
  EXPECT_EQ(search.find(list, "|SAND"), 12);
  EXPECT_EQ(search.find(list, "|SAND"), 12);
  EXPECT_EQ(search.find(list, "|PEAT"), 0);
  list[12] = 'P', list[13] = 'E', list[14] = 'A', list[15] = 'T';  // same length, other text
  EXPECT_EQ(search.find(list, "|SAND"), 0);
  EXPECT_EQ(search.find(list, "|PEAT"), 12);
  list += "SAND      |";
  EXPECT_EQ(search.find(list, "|SAND"), 23);
}
