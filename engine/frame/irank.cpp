// IRANK, the sort of texts that the hole catalogue and the summary sheet share.
#include <algorithm>
#include <utility>

#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"

// a(1..n) sorted ascending in plain byte order (character codes, a prefix before the longer text);
// a(0) and the elements above n are not touched. The order is that of the exchange sort the
// catalogue was first sorted with (each a(i) exchanged with every smaller a(j), j > i): a sorted
// sequence, in which equal texts are alike byte for byte, so a stable sort gives the same elements in
// the same places in n log n steps.
void IRANK(rt::Array<std::string>& a, const std::int32_t& n) {
  RT_TRAP(trap, "IRANK");
  if (n < 1) return;
  if (a.in_bounds(1) && a.in_bounds(n)) {
    std::string* first = &a(1);
    // std::string compares as unsigned char: byte order, a prefix first.
    std::stable_sort(first, first + n);
    return;
  }
  // Elements outside the bounds: each access reports error 9 as the exchange sort's accesses did.
  for (std::int32_t i = 1; i <= n; ++i) {
    for (std::int32_t j = i + 1; j <= n; ++j) {
      if (a(j) < a(i)) std::swap(a(i), a(j));
    }
  }
}
