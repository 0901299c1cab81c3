// FSETFONT: makes a setup font current. The PDF text writer takes it from CURFONT at each text.
#include "engine/devices/devices.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/devices/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/number.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"

void FSETFONT(const std::int32_t& n) {
  RT_TRAP(trap, "FSETFONT");
  CURFONT = n;
  TEXTPOINTS = 0;
  if (OUTDEV == 2 && plot_open && n >= 0 && n <= 3) rt::put_bytes(PAGEFILE, HPGLFONT(n) + ";");
  // The printer: the SET file's selection code, then SI for a primary font or SO for a secondary one.
  if (OUTDEV != 1 && OUTDEV != 2 && OUTDEV != 3 && plot_open && n >= 1 && n <= 3)
    rt::put_bytes(PAGEFILE, FONTSPEC(n) + (FONTSPEC(n).find(')') != std::string::npos ? "\x0e" : "\x0f"));
}

void set_font_size(const std::int32_t& n, double points) {
  RT_TRAP(trap, "FSETFONT");
  const double own = n >= 1 && n <= 3 ? rt::VAL(FNPOINTS(FONTSPEC(n))) : 0;
  if (own <= 0 || points <= 0 || points == own) {
    FSETFONT(n);
    return;
  }
  CURFONT = n;
  TEXTPOINTS = points;
  const double scale = points / own;
  if (OUTDEV == 2 && plot_open) rt::put_bytes(PAGEFILE, plotter_font_command(FONTSPEC(n), scale) + ";");
  if (OUTDEV != 1 && OUTDEV != 2 && OUTDEV != 3 && plot_open)
    rt::put_bytes(PAGEFILE, printer_font_code(FONTSPEC(n), scale) + (FONTSPEC(n).find(')') != std::string::npos ? "\x0e" : "\x0f"));
}
