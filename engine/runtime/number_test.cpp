// Rounding of integer stores, overflow, VAL and STR.
#include "engine/runtime/number.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/runtime/error.h"
#include "platform/console.h"
#include "testsupport.h"

using namespace testing_support;

TEST(NumberTest, StoresRoundHalfToEven) {
  struct Case {
    double v;
    std::int32_t want;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {3.5000001, 4}, {-2.6, -3}};
  for (const auto& c : cases) {
    std::int32_t r = 99;
    rt::let(r, c.v);
    EXPECT_EQ(r, c.want) << c.v;
  }
}

TEST(NumberTest, OverflowOfSixteenBitStoreIsLost) {
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  TempDir dir;
  ScopedCwd cwd(dir.path());
  BoxRecorder box;
  rt::Trap t("test.cpp", "T");
  std::int16_t v = 11;
  rt::let(v, 32767.4);
  EXPECT_EQ(v, 32767);
  rt::let(v, 32767.5);  // rounds to 32768
  EXPECT_EQ(v, 32767);
  EXPECT_EQ(t.error(), 6);
  platform::set_console(nullptr);
}

TEST(NumberTest, Val) {
  struct Case {
    const char* text;
    double want;
  } cases[] = {{"", 0},        {"  12abc", 12}, {"-3.5", -3.5},  {"+.25", 0.25}, {"1e3", 1000},
               {"2.5D-1", .25}, {"abc", 0},     {"1 2", 1},      {"&H1F", 31},   {"4-5", 4},
               {"1e", 1},      {".", 0},        {"-", 0},        {"  0.05m", 0.05}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(rt::VAL(c.text), c.want) << c.text;
}

// Plain numbers are read without strtod: every one gives strtod's double to the bit, the sign of a
// negative zero too, at and beyond the digit count where the reading changes hands.
TEST(NumberTest, ValGivesStrtodsDoubleToTheBit) {
  const char* texts[] = {"0",        "-0",           "-0.0",           "7",
                         "0.1",      "0.3",          "1.15",           "595.00",
                         "841.89",   "-12.345",      "123456789012345", "1234567890123456",
                         "999999999999999", "9999999999999999", "0.000000000000001", "0.0000000000000001",
                         "3.14159265358979", "2.718281828459045", "100000000000000.5", "4503599627370497",
                         "00000000000000000000012", "1.", ".5", "12.5x", "-.75 m", "2147483648"};
  for (const char* text : texts) {
    std::string digits;
    for (const char* c = text; *c != '\0' && (std::isdigit(static_cast<unsigned char>(*c)) || *c == '.' || *c == '-'); ++c)
      digits += *c;
    const double want = std::strtod(digits.c_str(), nullptr), got = rt::VAL(text);
    EXPECT_EQ(std::memcmp(&want, &got, sizeof want), 0) << text << " " << got;
  }
}

TEST(NumberTest, StrAndPrintForm) {
  struct Case {
    double v;
    const char* want;
  } cases[] = {{0, " 0"},       {53, " 53"},     {-7, "-7"},         {0.5, " .5"},
               {-0.25, "-.25"}, {1.5, " 1.5"},   {0.1 + 0.2, " .3"}, {1234567.125, " 1234567.125"},
               {1e20, " 1E+20"}, {100, " 100"}};
  for (const auto& c : cases) EXPECT_EQ(rt::STR(c.v), c.want) << c.v;
  EXPECT_EQ(rt::print_number(53), " 53 ");
  EXPECT_EQ(rt::print_number(-1), "-1 ");
  EXPECT_EQ(rt::STR_TRIM(12), "12");
}
