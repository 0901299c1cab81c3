// Definitions of the devices subsystem's shared state.
#include "engine/devices/globals.h"

void reset_devices_globals() {}
