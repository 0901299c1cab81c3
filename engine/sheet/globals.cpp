// Definitions of the sheet subsystem's shared state.
#include "engine/sheet/globals.h"

void reset_sheet_globals() {}
