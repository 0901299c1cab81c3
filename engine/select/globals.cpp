// Definitions of the select subsystem's shared state.
#include "engine/select/globals.h"

std::int32_t ATTRCOUNT = 0;
std::string TEXTRGB;

void reset_select_globals() {
  ATTRCOUNT = 0;
  TEXTRGB.clear();
}
