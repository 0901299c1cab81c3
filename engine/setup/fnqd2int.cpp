// FNQD2INT: a big-endian 16-bit number from the first two bytes of a text.
#include "engine/runtime/error.h"
#include "engine/setup/setup.h"

std::int32_t FNQD2INT(const std::string& s) {
  RT_TRAP(trap, "FNQD2INT");
  auto code = [&](size_t i) -> std::int32_t { return i < s.size() ? static_cast<unsigned char>(s[i]) : -1; };
  return 256 * code(0) + code(1);
}
