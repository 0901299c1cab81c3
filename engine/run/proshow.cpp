// PROSHOW: the first stage of a sheet run. In a one-shot run the run file names the input file and the
// conversion starts at once; from the menu the user picks the input file with the console file picker.
// A complete conversion goes on to the hole catalogue, which carries the rest of the run.
#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/devices/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/log/log.h"
#include "engine/run/picker.h"
#include "engine/run/run.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "engine/select/select.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"
#include "platform/paths.h"

namespace {

void convert_and_draw() {
  if (!PROCONV()) return;
  // The coder hands each hole to the sheet, which stands above it.
  auto& h = coder_hand_over();
  if (!h.proforma) h.proforma = PROFORMA;
  if (!h.prosumma) h.prosumma = PROSUMMA;
  // The sheet hands a hole with log columns to the borehole log, which stands above it.
  if (!sheet_hand_over().prolog) sheet_hand_over().prolog = PROLOG;
  PROCAT();
}

// The picking screen's background of shade blocks and its title.
void prelim() {
  PAPERX = PAPERY = PLOTFILE = 0;
  auto& con = platform::console();
  for (std::int32_t row = 1; row <= STATUSROW; ++row) {
    con.locate(row, 1);
    con.print(std::string(80, '\xB1'), false);
  }
  ROWCENTR(2, " " + PROMPT(13) + " ");
}

}  // namespace

void PROSHOW() {
  RT_TRAP(trap, "PROSHOW");
  trap.step("0001");
  NOTELIST.clear();
  if (RUNFLAGS & 1) {
    trap.step("0002");
    convert_and_draw();
    return;
  }
  trap.step("0003");
  prelim();
  for (;;) {
    std::string picked(33, ' ');
    PICKFTCH(picked);
    picked = rt::TRIM(picked);
    if (picked == "NIL") return;
    if (picked.empty()) {
      prelim();
      continue;
    }
    // The name as the path search finds it (letter case kept: names differ by case here). A name it
    // cannot find is said, and the picker comes back: no earlier input is converted in its place.
    const std::string found = platform::search_path(picked);
    if (found.empty()) {
      MESSAGE(PROMPT(78), 1);
      continue;
    }
    SOURCENAME = found;
    if (platform::exists(SOURCENAME) && !platform::is_folder(SOURCENAME)) {
      trap.step("0004");
      convert_and_draw();
      return;
    }
  }
}
