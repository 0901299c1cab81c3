// PRINTEXT: one text at a point on the current device, aligned by TEXTORIGIN.
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"

void PRINTEXT(const std::int32_t& x, const std::int32_t& y, std::string& text) {
  RT_TRAP(trap, "PRINTEXT");
  const std::string copy = text;
  if (rt::TRIM(copy).empty()) return;
  FIXFONTS(text);
  const std::int32_t font = CURFONT >= 1 && CURFONT <= 3 ? CURFONT : 1;
  const std::int32_t h = rt::to_i32(FONTHEIGHT(font));
  const std::int32_t w = FNDLEN(copy, font);
  if (OUTDEV == 1) {
    std::int32_t px = x, py = y;
    TEXTLORG(px, py, w, h);
    PDFPRINT(px, py, text);
  } else if (OUTDEV == 2) {
    PMOVE(x, y);
    PLORG(TEXTORIGIN);
    PLABEL(text);
  } else if (OUTDEV == 3) {
    std::int32_t px = x, py = y;
    TEXTLORG(px, py, w, h);
    DXFTEXT(px, py, text);
  } else {
    // PCL printer: comes with the printer stream.
  }
}
