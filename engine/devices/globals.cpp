// Definitions of the devices subsystem's shared state.
#include "engine/devices/globals.h"

std::int32_t CURFONT = 0;

void reset_devices_globals() { CURFONT = 0; }
