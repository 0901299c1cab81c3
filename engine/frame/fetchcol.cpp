// Console colours and the start screen.
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"

// Stand-ins until the console colour file and start screen land.
void FETCHCOL(std::string name) {
  RT_TRAP(trap, "FETCHCOL");
  (void)name;
}

void STARTSCR() { RT_TRAP(trap, "STARTSCR"); }
