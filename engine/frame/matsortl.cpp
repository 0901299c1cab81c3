// MATSORTL: a sorted index over an array of 32-bit keys, the keys left in place.
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"

// idx(1..n) = the numbers 1..n ordered by ascending key; equal keys keep ascending numbers (a stable
// insertion sort). idx(1) is 1 even when n is 0.
void MATSORTL(rt::Array<std::int32_t>& idx, const rt::Array<std::int32_t>& key, const std::int32_t& n) {
  RT_TRAP(trap, "MATSORTL");
  idx(1) = 1;
  for (std::int32_t e = 2; e <= n; ++e) {
    std::int32_t k = e - 1;
    const std::int32_t v = key(e);
    while (k >= 1 && v < key(idx(k))) {
      idx(k + 1) = idx(k);
      --k;
    }
    idx(k + 1) = e;
  }
}
