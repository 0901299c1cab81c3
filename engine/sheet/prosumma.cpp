// PROSUMMA: the data of the summary (legend) sheet.
//
// STAND-IN until the summary (legend) sheet is built: PROSUMMA says on one line what the summary would
// show and draws nothing. The summary sheet replaces it.
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"

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
