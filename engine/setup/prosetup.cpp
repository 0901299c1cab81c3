// STAND-IN until the console SET editor exists: says so and returns; the SET file is not changed.
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

void PROSETUP() {
  RT_TRAP(trap, "PROSETUP");
  auto& con = platform::console();
  con.cls();
  con.print("The console setup editor is not built yet; " + SETUPNAME + " is not changed.", true);
  con.print(PROMPT(110), false);
  con.flush();
  con.wait_key();
}
