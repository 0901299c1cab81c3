// Main menu and run control.
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"

// Stand-in until the main menu lands: nothing to run yet.
void PROMENU() { RT_TRAP(trap, "PROMENU"); }
