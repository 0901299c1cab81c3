// Shared state of the engine's log subsystem. reset_log_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

extern std::string PATTERNNAME;   // fill pattern of the next bar ("/Hatch1".."/Hatch6", "/Shade2".."/Shade100")
extern std::string LOGBARRGB1;    // first colour of a log bar, three "rg" operands
extern std::string LOGBARRGB2;    // second colour of a log bar; used when not empty
extern std::int16_t LOGBARFLAG1;  // flag of the first colour: 0 none, 1 solid, 2 pattern in the colour, 3 both
extern std::int16_t LOGBARFLAG2;  // flag of the second colour; used when above 0

void reset_log_globals();
