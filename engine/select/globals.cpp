// Definitions of the select subsystem's shared state.
#include "engine/select/globals.h"

void reset_select_globals() {}
