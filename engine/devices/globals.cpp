// Definitions of the devices subsystem's shared state.
#include "engine/devices/globals.h"

std::int32_t TEXTORIGIN = 0;
std::int32_t BARSHADE = 0;
std::int32_t PLOTFILE = 0;

void reset_devices_globals() { TEXTORIGIN = BARSHADE = PLOTFILE = 0; }
