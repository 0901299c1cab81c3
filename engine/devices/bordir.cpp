// BORDIR: a vertical rule.
#include <algorithm>

#include "engine/devices/devices.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/devices/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"

void BORDIR(const std::int32_t& x, const std::int32_t& y1, const std::int32_t& y2) {
  RT_TRAP(trap, "BORDIR");
  const std::int32_t a = std::min(y1, y2), b = std::max(y1, y2);
  if (a == b) return;
  if (OUTDEV == 1) {
    PDFBORDE(x, b, a);  // from the lower end up
  } else if (OUTDEV == 2) {
    PPENUP();
    PPLOT(x, a);
    PPLOT(x, b);
  } else if (OUTDEV == 3) {
    DXFLINE(x, a, x, b);
  } else if (plot_open) {
    TABXY(x, a);
    rt::put_bytes(PAGEFILE, "\x1b*c1a" + rt::STR_TRIM(static_cast<std::int64_t>(b - a)) + "b0P");
  }
}
