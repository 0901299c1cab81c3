// Shared state of the engine's select subsystem. reset_select_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

void reset_select_globals();
