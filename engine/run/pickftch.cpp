// The console file picker's highlight: PAINTBOX recolours cells and keeps their characters.
#include <cstdlib>

#include "engine/frame/globals.h"
#include "engine/run/picker.h"
#include "engine/runtime/error.h"
#include "platform/console.h"

void PAINTBOX(const std::int32_t& first, const std::int32_t& last, const std::int32_t& first_col,
              const std::int32_t& last_col, const std::int32_t& top, const std::int32_t& left, std::int32_t& entry) {
  RT_TRAP(trap, "PAINTBOX");
  const bool inverse = entry <= 0;
  entry = std::abs(entry);
  if (entry > COLOURS.ubound(1)) return;
  const std::int32_t fg = COLOURS(entry, inverse ? 2 : 1), bg = COLOURS(entry, inverse ? 1 : 2);
  auto& con = platform::console();
  con.color(fg, bg);
  for (std::int32_t r = first; r <= last; ++r) {
    con.locate(top + r, left + first_col);
    con.recolor(last_col - first_col + 1);
  }
}
