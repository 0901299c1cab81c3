// DRAW1BOX: a double-line frame with a blank inside, kept on an 80 x 24 screen.
#include <algorithm>

#include "engine/run/picker.h"
#include "engine/runtime/error.h"
#include "platform/console.h"

void DRAW1BOX(std::int32_t& top, std::int32_t& left, std::int32_t& height, std::int32_t& width) {
  RT_TRAP(trap, "DRAW1BOX");
  if (left > 79) left = 79;
  if (left + width > 81) width = 81 - left;
  const std::int32_t inner_w = std::max(width - 2, 0);
  if (top > 23) top = 23;
  if (top + height > 25) height = 25 - top;
  const std::int32_t inner_h = std::max(height - 2, 0);
  auto& con = platform::console();
  auto row = [&](std::int32_t r, char a, char fill, char b) {
    con.locate(r, left);
    con.print(std::string(1, a) + std::string(static_cast<size_t>(inner_w), fill) + std::string(1, b), false);
  };
  row(top, static_cast<char>(201), static_cast<char>(205), static_cast<char>(187));
  for (std::int32_t r = 1; r <= inner_h; ++r) row(top + r, static_cast<char>(186), ' ', static_cast<char>(186));
  row(top + inner_h + 1, static_cast<char>(200), static_cast<char>(205), static_cast<char>(188));
}
