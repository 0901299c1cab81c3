// PROSHOW: the first stage of a sheet run. In a one-shot run the run file names the input file and the
// conversion starts at once; a complete conversion goes on to the hole catalogue, which carries the
// rest of the run.
//
// STAND-IN for the interactive run until the console file picker is built: from the menu it says that
// no file can be picked yet and returns; nothing is converted or drawn.
#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/frame/globals.h"
#include "engine/run/run.h"
#include "engine/runtime/error.h"
#include "engine/select/select.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"

void PROSHOW() {
  RT_TRAP(trap, "PROSHOW");
  trap.step("0001");
  NOTELIST.clear();
  if (RUNFLAGS & 1) {
    trap.step("0002");
    if (PROCONV()) {
      // The coder hands each hole to the sheet, which stands above it.
      auto& h = coder_hand_over();
      if (!h.proforma) h.proforma = PROFORMA;
      if (!h.prosumma) h.prosumma = PROSUMMA;
      PROCAT();
    }
    return;
  }
  auto& con = platform::console();
  con.cls();  // a screen of its own, as the file picker has
  con.print("No sheet is made: the console file picker is not built yet.", true);
  con.print(PROMPT(110), false);
  con.flush();
  con.wait_key();
}
