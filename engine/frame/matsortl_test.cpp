// The sorted index of MATSORTL.
#include <gtest/gtest.h>

#include <vector>
#include "engine/frame/helpers.h"


TEST(Matsortl, StableIndexByAscendingKey) {
  struct Case {
    std::vector<std::int32_t> keys;
    std::vector<std::int32_t> want;
  } cases[] = {
      {{5, 3, 5, 1}, {4, 2, 1, 3}},
      {{-1, 7, -2147483647 - 1, 0}, {3, 1, 4, 2}},  // signed 32-bit comparison
      {{}, {1}},                                     // n = 0 still sets idx(1)
  };
  for (const auto& c : cases) {
    rt::Array<std::int32_t> idx, key;
    idx.dim(0, 10);
    key.dim(0, 10);
    for (size_t i = 0; i < c.keys.size(); ++i) key(static_cast<long>(i) + 1) = c.keys[i];
    std::int32_t n = static_cast<std::int32_t>(c.keys.size());
    MATSORTL(idx, key, n);
    for (size_t i = 0; i < c.want.size(); ++i) EXPECT_EQ(idx(static_cast<long>(i) + 1), c.want[i]) << i;
    EXPECT_EQ(key(1), c.keys.empty() ? 0 : c.keys[0]);  // keys stay in place
  }
}
