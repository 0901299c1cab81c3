// Shared state of the engine's devices subsystem. reset_devices_globals() restores the state at process start.
// What lower subsystems read lives with them (the PDF writer's inputs are in engine/pdf/globals.h).
#pragma once

void reset_devices_globals();
