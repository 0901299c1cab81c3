// FNATRIM: a text trimmed of blanks and control characters at both ends.
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"

std::string FNATRIM(const std::string& text) {
  RT_TRAP(trap, "FNATRIM");
  auto low = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  size_t i = 0, j = text.size();
  while (i < j && low(text[i])) ++i;
  while (j > i && low(text[j - 1])) --j;
  return text.substr(i, j - i);
}
