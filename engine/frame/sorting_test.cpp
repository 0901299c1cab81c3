// IRANK (the exchange sort of the hole catalogue and the summary) and SUBSTUTE.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>
#include "engine/frame/helpers.h"

namespace {

// The exchange sort IRANK first was, kept as the reference for the order it gives: each a(i)
// exchanged with every a(j), j > i, that is smaller.
std::vector<std::string> exchange_sorted(std::vector<std::string> a) {
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = i + 1; j < a.size(); ++j)
      if (a[j] < a[i]) std::swap(a[i], a[j]);
  return a;
}

// n catalogue codes in the manner of the coded hole files: job letters and three characters, with
// repeats (a hole number met twice) and codes that are prefixes of others.
std::vector<std::string> mixed_codes(size_t n) {
  std::vector<std::string> out;
  unsigned x = 12345;
  for (size_t i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345u;
    const unsigned r = (x >> 16) % 40;
    std::string code = std::string(1, static_cast<char>('A' + r % 3)) + std::to_string(r % 7);
    if (r % 5 == 0) code += static_cast<char>(0xb0 + r % 4);
    if (r % 4 == 0) code.pop_back();
    out.push_back(code);
  }
  return out;
}

}  // namespace


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

// The sort gives exactly the order of the exchange sort: equal keys, reversed keys, keys already in
// order, prefixes and high bytes, and a long list with many repeats.
TEST(Irank, GivesTheOrderOfTheExchangeSort) {
  const std::vector<std::vector<std::string>> cases = {
      {"631BH1", "631BH1", "631BH1", "631BH1"},
      {"E", "D", "C", "B", "A", "9", "1"},
      {"A", "A", "B", "B", "C"},
      {"C", "B", "B", "A", "A", "C", ""},
      {"ABC", "AB", "A", "", "AB", "ABC", "A"},
      {"\xff", "\x80", "z", "Z", "\x80", "0", " "},
      mixed_codes(300),
  };
  for (const auto& keys : cases) {
    const auto n = static_cast<std::int32_t>(keys.size());
    rt::Array<std::string> a;
    a.dim(0, n + 2);
    a(0) = "zero";
    a(n + 1) = "above";
    for (std::int32_t i = 0; i < n; ++i) a(i + 1) = keys[static_cast<size_t>(i)];
    IRANK(a, n);
    const std::vector<std::string> want = exchange_sorted(keys);
    for (std::int32_t i = 0; i < n; ++i) EXPECT_EQ(a(i + 1), want[static_cast<size_t>(i)]) << keys[0] << " " << i;
    EXPECT_EQ(a(0), "zero");
    EXPECT_EQ(a(n + 1), "above");
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
