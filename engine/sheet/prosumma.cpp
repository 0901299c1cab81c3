// IRANK, the exchange sort of texts that the hole catalogue and the summary sheet share, and PROSUMMA.
//
// STAND-IN until the summary (legend) sheet is built: PROSUMMA says on one line what the summary would
// show and draws nothing. The summary sheet replaces it.
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"

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

void PROSUMMA() {
  RT_TRAP(trap, "PROSUMMA");
  long entries = 0;
  for (char c : SUMMARYKEY) entries += c == '|';
  // "|SUMMARY|" opens the key; each symbol's entry then ends with its own "|".
  entries = entries >= 2 ? entries - 2 : 0;
  platform::console().print("Summary of" + rt::STR(static_cast<std::int64_t>(entries)) +
                                " soil symbols: no sheet drawn yet.",
                            true);
}
