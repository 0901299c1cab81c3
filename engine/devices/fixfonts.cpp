// FIXFONTS: font-switch marks carried out for the devices that cannot switch fonts inside a text.
#include "engine/devices/devices.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/error.h"

void FIXFONTS(std::string& text) {
  RT_TRAP(trap, "FIXFONTS");
  if (OUTDEV == 1 || FONTSWCODE.empty()) return;  // the PDF text writer switches fonts itself
  while (text.find(FONTSWCODE) != std::string::npos) {
    CURFONT = CURFONT == 1 ? 2 : 1;
    SUBSTUTE(text, FONTSWCODE, "");
  }
}
