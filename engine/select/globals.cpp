// Definitions of the select subsystem's shared state.
#include "engine/select/globals.h"

std::int32_t ATTRCOUNT = 0;
std::string TEXTRGB;
std::int16_t LOGOFAIL = 0;

void reset_select_globals() {
  ATTRCOUNT = 0;
  TEXTRGB.clear();
  LOGOFAIL = 0;
}
