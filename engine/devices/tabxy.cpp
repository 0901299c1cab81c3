// TABXY: the current position of the device.
#include "engine/devices/devices.h"
#include "engine/frame/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"

void TABXY(const std::int32_t& x, const std::int32_t& y) {
  RT_TRAP(trap, "TABXY");
  if (OUTDEV == 1) {
    PDFMOVE(x, y);
  } else if (OUTDEV == 2) {
    PMOVE(x, y);
  } else if (OUTDEV == 3) {
    // DXF: nothing (no caller places a cursor there).
  } else {
    // PCL printer: comes with the printer stream.
  }
}
