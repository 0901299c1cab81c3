// IRANK, the exchange sort of texts that the hole catalogue and the summary sheet share.
#include <utility>

#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"

// a(1..n) sorted ascending in plain byte order (character codes, a prefix before the longer text);
// a(0) and the elements above n are not touched. Equal texts are never exchanged.
void IRANK(rt::Array<std::string>& a, const std::int32_t& n) {
  RT_TRAP(trap, "IRANK");
  for (std::int32_t i = 1; i <= n; ++i) {
    for (std::int32_t j = i + 1; j <= n; ++j) {
      // std::string compares as unsigned char: byte order, a prefix first.
      if (a(j) < a(i)) std::swap(a(i), a(j));
    }
  }
}
