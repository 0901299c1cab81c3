// Definitions of the devices subsystem's shared state: none of its own yet.
#include "engine/devices/globals.h"

void reset_devices_globals() {}
