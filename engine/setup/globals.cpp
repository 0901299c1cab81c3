// Definitions of the setup subsystem's shared state.
#include "engine/setup/globals.h"

void reset_setup_globals() {}
