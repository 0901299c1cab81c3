// Shared state of the engine's log subsystem. reset_log_globals() restores the state at process start.
// What lower subsystems read lives with them (the PDF writer's inputs are in engine/pdf/globals.h).
#pragma once

void reset_log_globals();
