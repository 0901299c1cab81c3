// RULE: a horizontal rule.
#include <algorithm>

#include "engine/devices/devices.h"
#include "engine/frame/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"

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
  } else {
    // PCL printer: comes with the printer stream.
  }
}
