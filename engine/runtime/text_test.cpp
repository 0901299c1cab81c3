// String functions at the edges of their texts.
#include "engine/runtime/text.h"

#include <gtest/gtest.h>

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
