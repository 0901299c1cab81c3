// Shared state of the engine's select subsystem. reset_select_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

extern std::int32_t ATTRCOUNT;  // borehole-log attributes of the current hole; 0: no log leaves follow the sheet
extern std::string TEXTRGB;     // "rg" operands of the current hole's text colour runs; empty when it has none
extern std::int16_t LOGOFAIL;   // -1 after a failed logo import; the hole selection sets 0 so that it is tried again
extern std::int32_t SCALEDIV;   // scale divisor of the current hole (the run's scale, else the hole's own)
extern std::string RGBLIST;     // one entry per distinct symbol and colour met in the run

// The console grid of the hole selection: entry k stands at row PICKGRIDROW + (k - 1) MOD R and column
// PICKGRIDCOL + ((k - 1) \ R) * PICKCOLW, its choice mark PICKCOLX columns right of it.
extern std::int32_t PICKGRIDROW;  // first row of the grid (3)
extern std::int32_t PICKGRIDCOL;  // first column of the grid (10)
extern std::int32_t PICKCOLW;     // width of a grid column (14)
extern std::int32_t PICKCOLX;     // distance from an entry to its choice mark (7)

void reset_select_globals();
