// Shared state of the engine's setup subsystem. reset_setup_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

void reset_setup_globals();
