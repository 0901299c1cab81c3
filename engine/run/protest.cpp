// STAND-IN until the summary sheet exists: the symbol test says that it cannot draw yet and returns.
#include "engine/frame/globals.h"
#include "engine/run/run.h"
#include "engine/runtime/error.h"
#include "platform/console.h"

void PROTEST() {
  RT_TRAP(trap, "PROTEST");
  auto& con = platform::console();
  con.print("No legend is drawn: the symbol test is not built yet.", true);
  con.print(PROMPT(110), false);
  con.flush();
  con.wait_key();
}
