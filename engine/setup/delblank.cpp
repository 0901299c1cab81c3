// DELBLANK: every blank removed from a text.
#include <algorithm>

#include "engine/runtime/error.h"
#include "engine/setup/setup.h"

void DELBLANK(std::string& text) {
  RT_TRAP(trap, "DELBLANK");
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
}
