// Definitions of the log subsystem's shared state.
#include "engine/log/globals.h"

void reset_log_globals() {}
