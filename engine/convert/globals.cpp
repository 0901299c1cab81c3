// Definitions of the convert subsystem's shared state.
#include "engine/convert/globals.h"

void reset_convert_globals() {}
