// FNFINDV: the number written before a key letter of a font selection string.
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"

std::string FNFINDV(const std::string& text, const std::string& key) {
  RT_TRAP(trap, "FNFINDV");
  trap.step("0001");
  if (key.empty()) return {};
  long p = 0;
  for (long q = rt::INSTR(1, text, key); q > 0; q = rt::INSTR(q + 1, text, key)) p = q;
  if (p == 0) return {};
  trap.step("0002");
  long s = p - 1;  // walk back over digits, points and hashes
  while (s >= 1) {
    char c = text[static_cast<size_t>(s - 1)];
    if (!((c >= '0' && c <= '9') || c == '.' || c == '#')) break;
    --s;
  }
  return text.substr(static_cast<size_t>(s), static_cast<size_t>(p - 1 - s));
}
