// RULE: a horizontal rule.
#include <algorithm>

#include "engine/devices/devices.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/devices/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"

void RULE(const std::int32_t& x1, const std::int32_t& x2, const std::int32_t& y) {
  RT_TRAP(trap, "RULE");
  if (x1 == x2) return;
  if (OUTDEV == 1) {
    PDFRULE(x1, x2, y);  // in the caller's order
  } else if (OUTDEV == 2) {
    const std::int32_t a = std::min(x1, x2), b = std::max(x1, x2);
    PPENUP();
    PPLOT(a, y);
    PPLOT(b, y);
  } else if (OUTDEV == 3) {
    DXFLINE(std::min(x1, x2), y, std::max(x1, x2), y);
  } else if (plot_open) {
    const std::int32_t a = std::min(x1, x2), b = std::max(x1, x2);
    TABXY(a, y);
    rt::put_bytes(PAGEFILE, "\x1b*c" + rt::STR_TRIM(static_cast<std::int64_t>(b - a)) + "a1b0P");
  }
}
