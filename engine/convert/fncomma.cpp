// FNCOMMA: decimal commas to points, one trailing point cut.
#include "engine/convert/convert.h"
#include "engine/runtime/error.h"

std::string FNCOMMA(std::string& text) {
  RT_TRAP(trap, "FNCOMMA");
  for (char& c : text)
    if (c == ',') c = '.';
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}
