// STAND-IN until the input conversion exists: a sheet run has nothing to hand its input file to yet,
// so it says so and returns; nothing is converted or drawn.
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "engine/select/select.h"
#include "platform/console.h"

void PROSHOW() {
  RT_TRAP(trap, "PROSHOW");
  auto& con = platform::console();
  if (!(RUNFLAGS & 1)) con.cls();  // from the menu: a screen of its own, as the file picker has
  con.print("No sheet is made: the input conversion is not built yet.", true);
  if (RUNFLAGS & 1) con.print("Input file: " + SOURCENAME, true);
  con.print(PROMPT(110), false);
  con.flush();
  con.wait_key();
}
