// SHADEBAR and SETSHADE: filled bars.
#include "engine/devices/devices.h"
#include "engine/frame/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"

void SHADEBAR(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h) {
  RT_TRAP(trap, "SHADEBAR");
  std::int32_t bx = x, by = y, bw = w, bh = h;
  if (bw < 0) bx += bw, bw = -bw;
  if (bh < 0) by += bh, bh = -bh;
  if (OUTDEV == 1) {
    PDFBAR(bx, by, bw, bh);
  } else if (OUTDEV == 2) {
    // HP-GL/2: hatched strokes come with the plot file.
  } else if (OUTDEV == 3) {
    // DXF: hatched strokes come with the plot file.
  } else {
    // PCL printer: comes with the printer stream.
  }
}

void SETSHADE(const std::string& /*mode*/, const std::int32_t& /*shade*/) {}
