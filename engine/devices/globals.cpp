// Definitions of the devices subsystem's shared state.
#include "engine/devices/globals.h"

#include <string>

std::int32_t TEXTORIGIN = 0;
std::int32_t BARSHADE = 0;
std::int32_t PLOTFILE = 0;

std::string ESC;
std::int32_t PAPERX = 0, PAPERY = 0, P1X = 0, P1Y = 0, P2X = 0, P2Y = 0;
double XSCALE = 0, YSCALE = 0, XOFFSET = 0, YOFFSET = 0, DXFXSCALE = 0, DXFXOFF = 0, DXFYSCALE = 0, DXFYOFF = 0,
       DXFUNIT = 0;
std::int32_t PENSTATE = 0;
bool plot_open = false;

void reset_devices_globals() {
  TEXTORIGIN = BARSHADE = PLOTFILE = 0;
  ESC.clear();
  PAPERX = PAPERY = P1X = P1Y = P2X = P2Y = 0;
  XSCALE = YSCALE = XOFFSET = YOFFSET = DXFXSCALE = DXFXOFF = DXFYSCALE = DXFYOFF = DXFUNIT = 0;
  PENSTATE = 0;
  plot_open = false;
}
