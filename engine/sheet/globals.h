// Shared state of the engine's sheet subsystem. reset_sheet_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

extern std::int32_t PAGEFILE;   // file number of the current page or plot file
extern std::int32_t PAGECOUNT;  // sheet pages of the current hole

void reset_sheet_globals();
