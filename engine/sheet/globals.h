// Shared state of the engine's sheet subsystem. reset_sheet_globals() restores the state at process start.
// What lower subsystems read lives with them (the PDF writer's inputs are in engine/pdf/globals.h).
#pragma once

void reset_sheet_globals();
