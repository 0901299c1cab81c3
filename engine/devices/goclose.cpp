// GOCLOSE: the end of a plot file, written once per hole by the end of the plot; nothing when no plot
// file is open.
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"

void GOCLOSE() {
  RT_TRAP(trap, "GOCLOSE");
  if (!plot_open || !rt::is_open(PLOTFILE)) return;
  if (OUTDEV == 2) {
    rt::put_bytes(PLOTFILE, ";" + ESC + "%1A" + ESC + "E" + ESC + "%-12345X");
  } else if (OUTDEV == 3) {
    for (const char* line : {" 0", "ENDSEC", " 0", "EOF"}) rt::print_line(PLOTFILE, line);
  } else if (OUTDEV != 1) {
    rt::put_bytes(PLOTFILE, "\x1b" "E\x1b%-12345X");  // the printer's job end
  }
  rt::close_file(PLOTFILE);
  plot_open = false;
}
