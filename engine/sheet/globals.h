// Shared state of the engine's sheet subsystem. reset_sheet_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

void reset_sheet_globals();
