// Start-up: default prompt texts, console colours, start screen, the previous run's choices.
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"

void STARTUP() {
  RT_TRAP(trap, "STARTUP");
  // Default texts only; the first SET file read loads its own prompt file with the menus, because
  // PROMPTNAME is empty again afterwards.
  PROMPTNAME = "prompts.eng";
  FETCHPRO(PROMPTNAME);
  PROMPTNAME.clear();

  FETCHCOL("procolor.cus");
  STARTSCR();

  // The device and SET file of the previous run. A short or empty file (a run that was killed while
  // writing it) gives empty values instead of an error at every start.
  if (rt::file_exists("lastrun")) {
    trap.step("0030 opening LASTRUN");
    int f = rt::FREEFILE();
    if (rt::open_file(f, "LASTRUN", rt::FileMode::Input)) {
      std::string a, b;
      trap.step("0031 reading LASTRUN A$");
      if (!rt::at_eof(f)) rt::line_input(f, a);
      trap.step("0032 reading LASTRUN B$");
      if (!rt::at_eof(f)) rt::line_input(f, b);
      rt::let(OUTDEV, rt::VAL(a));
      if (OUTDEV > 3) OUTDEV = 1;
      SETUPNAME = b;
      rt::close_file(f);
    }
  }
  if (SETUPNAME.empty() || !rt::file_exists(SETUPNAME)) SETUPNAME = "STANDARD.SET";
}
