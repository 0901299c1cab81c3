// Shared state of the engine's pdf subsystem. reset_pdf_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

void reset_pdf_globals();
