// IRANK (the exchange sort of the hole catalogue and the summary) and SUBSTUTE.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "engine/frame/helpers.h"


TEST(Irank, SortsElementsOneToNInByteOrder) {
  struct Case {
    std::vector<std::string> in;  // elements 1..
    std::int32_t n;
    std::vector<std::string> want;
  } cases[] = {
      {{"B", "a", "A", "10", "9"}, 5, {"10", "9", "A", "B", "a"}},            // digits, capitals, small letters
      {{"631TP1", "631BH2", "631BH1"}, 3, {"631BH1", "631BH2", "631TP1"}},
      {{"AB", "A", "\xb4", "Z"}, 4, {"A", "AB", "Z", "\xb4"}},                 // a prefix first; byte 180 last
      {{"C", "B", "A"}, 2, {"B", "C", "A"}},                                    // elements above n untouched
      {{"B", "A"}, 0, {"B", "A"}},
      {{"B"}, 1, {"B"}},
  };
  for (const auto& k : cases) {
    rt::Array<std::string> a;
    a.dim(0, 10);
    a(0) = "zero";
    for (size_t i = 0; i < k.in.size(); ++i) a(static_cast<long>(i) + 1) = k.in[i];
    IRANK(a, k.n);
    for (size_t i = 0; i < k.want.size(); ++i) EXPECT_EQ(a(static_cast<long>(i) + 1), k.want[i]) << k.in[0] << " " << i;
    EXPECT_EQ(a(0), "zero");
  }
}

TEST(Substute, ReplacesTheFirstOccurrenceOnly) {
  struct Case {
    std::string text, old_text, new_text, want;
  } cases[] = {
      {"a-b-c", "-", "+", "a+b-c"},
      {"abc", "x", "y", "abc"},
      {"abcabc", "bc", "", "aabc"},
  };
  for (auto k : cases) {
    SUBSTUTE(k.text, k.old_text, k.new_text);
    EXPECT_EQ(k.text, k.want);
  }
}
