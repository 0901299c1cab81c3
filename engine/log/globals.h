// Shared state of the engine's log subsystem. reset_log_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

void reset_log_globals();
