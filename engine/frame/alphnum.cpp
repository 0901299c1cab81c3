// ALPHNUM: a text reduced to upper-case letters and digits (for file and folder names).
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"

std::string ALPHNUM(const std::string& text) {
  RT_TRAP(trap, "ALPHNUM");
  trap.step("0001");
  std::string out;
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) out += c;
  }
  return out;
}
