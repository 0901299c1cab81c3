// Shared state of the engine's devices subsystem. reset_devices_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

void reset_devices_globals();
