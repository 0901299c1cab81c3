// Definitions of the log subsystem's shared state: none of its own yet.
#include "engine/log/globals.h"

void reset_log_globals() {}
