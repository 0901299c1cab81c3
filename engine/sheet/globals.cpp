// Definitions of the sheet subsystem's shared state.
#include "engine/sheet/globals.h"

std::int32_t PAGEFILE = 0;
std::int32_t PAGECOUNT = 0;

void reset_sheet_globals() {
  PAGEFILE = 0;
  PAGECOUNT = 0;
}
