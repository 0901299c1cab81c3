// SHADEBAR, PGLBAR, DXFBAR and SETSHADE: filled bars; the pen devices hatch them with strokes on the
// page's 10-dot grid, BARSHADE / 10 + 1 strokes in every 10 dots.
#include <cmath>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"

namespace {

// The strokes of a hatch, offset 0 top to bottom, then offset 1, ...
template <class Stroke>
void hatch(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, Stroke stroke) {
  const std::int64_t y0 = static_cast<std::int64_t>(std::floor(y / 10.0)) * 10;
  const std::int32_t n = rt::to_i32(BARSHADE / 10.0);
  for (std::int32_t k = 0; k <= n; ++k) {
    for (std::int64_t yy = y0 + k; yy <= static_cast<std::int64_t>(y) + h; yy += 10) {
      if (yy >= y) stroke(static_cast<double>(yy));
    }
  }
}

}  // namespace

void PGLBAR(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h) {
  RT_TRAP(trap, "PGLBAR");
  PPENWIDT(0);
  if (w == 1) {
    PPENUP(), PPLOT(x, y), PPLOT(x, y + h);
  } else if (h == 1) {
    PPENUP(), PPLOT(x, y), PPLOT(x + w, y);
  } else {
    hatch(x, y, w, h, [&](double yy) { PPENUP(), PPLOT(x, yy), PPLOT(x + w, yy); });
  }
}

void DXFBAR(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h) {
  RT_TRAP(trap, "DXFBAR");
  hatch(x, y, w, h, [&](double yy) { DXFLINE(x, yy, x + w, yy); });
}

void SHADEBAR(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h) {
  RT_TRAP(trap, "SHADEBAR");
  std::int32_t bx = x, by = y, bw = w, bh = h;
  if (bw < 0) bx += bw, bw = -bw;
  if (bh < 0) by += bh, bh = -bh;
  if (OUTDEV == 1) {
    PDFBAR(bx, by, bw, bh);
  } else if (OUTDEV == 2) {
    PGLBAR(bx, by, bw, bh);
  } else if (OUTDEV == 3) {
    DXFBAR(bx, by, bw, bh);
  } else if (plot_open) {
    // The printer: a rectangle shaded BARSHADE percent (kept within 1..100) from its top left corner.
    TABXY(bx, by);
    const std::int32_t g = BARSHADE < 1 ? 1 : BARSHADE > 100 ? 100 : BARSHADE;
    rt::put_bytes(PAGEFILE, "\x1b*c" + rt::STR_TRIM(static_cast<std::int64_t>(bw)) + "a" +
                                rt::STR_TRIM(static_cast<std::int64_t>(bh)) + "b" + rt::STR_TRIM(static_cast<std::int64_t>(g)) +
                                "g2P");
  }
}

void SETSHADE(const std::string& /*mode*/, const std::int32_t& /*shade*/) {}
