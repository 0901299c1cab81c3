// FNPOINTS: the point size of a font selection code, the number written just before its first "v".
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"

std::string FNPOINTS(const std::string& spec) {
  RT_TRAP(trap, "FNPOINTS");
  long v = rt::INSTR(spec, "v");
  if (v == 0) return {};
  long s = v - 1;  // walk back over "+", ",", "-", ".", "/" and digits (codes 43 to 57)
  while (s >= 1 && spec[static_cast<size_t>(s - 1)] >= 43 && spec[static_cast<size_t>(s - 1)] <= 57) --s;
  return spec.substr(static_cast<size_t>(s), static_cast<size_t>(v - 1 - s));
}
