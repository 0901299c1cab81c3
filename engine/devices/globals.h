// Shared state of the engine's devices subsystem. reset_devices_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

extern std::int32_t CURFONT;  // current font of the output devices, 1 to 3

void reset_devices_globals();
