// Shared state of the engine's convert subsystem. reset_convert_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

void reset_convert_globals();
