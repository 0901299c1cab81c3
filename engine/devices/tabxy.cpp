// TABXY: the current position of the device.
#include "engine/devices/devices.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/devices/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"

void TABXY(const std::int32_t& x, const std::int32_t& y) {
  RT_TRAP(trap, "TABXY");
  if (OUTDEV == 1) {
    PDFMOVE(x, y);
  } else if (OUTDEV == 2) {
    PMOVE(x, y);
  } else if (OUTDEV == 3) {
    // DXF: nothing (no caller places a cursor there).
  } else if (plot_open) {
    // PCL printer: the cursor in dots; a point left of or above the page is written as 0 (the printer
    // clips there), never mirrored.
    rt::put_bytes(PAGEFILE, "\x1b*p" + rt::STR_TRIM(static_cast<std::int64_t>(x < 0 ? 0 : x)) + "x" +
                                rt::STR_TRIM(static_cast<std::int64_t>(y < 0 ? 0 : y)) + "Y");
  }
}
