// FNSTRIP: the value part of a "value = description" line, without any blank.
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"

std::string FNSTRIP(const std::string& line) {
  RT_TRAP(trap, "FNSTRIP");
  trap.step("0001");
  long p = rt::INSTR(line, "=");
  trap.step("0002");
  if (p == 0) p = 39;  // no "=": the first 38 characters
  trap.step("0003");
  std::string value = rt::TRIM(rt::LEFT(line, p - 1));
  trap.step("0004");
  std::string out;
  for (char c : value)
    if (c != ' ') out += c;
  return out;
}
