// Definitions of the sheet subsystem's shared state: none of its own yet.
#include "engine/sheet/globals.h"

void reset_sheet_globals() {}
