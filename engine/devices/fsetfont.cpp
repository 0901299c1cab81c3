// FSETFONT: makes a setup font current. The PDF text writer takes it from CURFONT at each text.
#include "engine/devices/devices.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/error.h"

void FSETFONT(const std::int32_t& n) {
  RT_TRAP(trap, "FSETFONT");
  CURFONT = n;
  if (OUTDEV == 2) {
    // HP-GL/2: the font command comes with the plot file.
  }
}
