// BOX: a double-lined frame with a blank interior.
#include "engine/frame/console.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

void BOX(std::int32_t& top, std::int32_t& left, std::int32_t& height, std::int32_t& width) {
  RT_TRAP_NONE(trap, "BOX");
  auto& con = platform::console();
  // The frame fits an 80-column screen and leaves row 25 free; the clamps reach the caller.
  if (left > 79) left = 79;
  if (left + width > 81) width = 81 - left;
  std::int32_t w = std::max(width - 2, 0);
  if (top > 23) top = 23;
  if (top + height > 25) height = 25 - top;
  std::int32_t h = std::max(height - 2, 0);
  con.locate(top, left);
  con.print("\xC9" + rt::STRING_(w, '\xCD') + "\xBB", false);
  for (std::int32_t r = top + 1; r <= top + h; ++r) {
    con.locate(r, left);
    con.print("\xBA" + rt::SPACE(w) + "\xBA", false);
  }
  con.locate(top + h + 1, left);
  con.print("\xC8" + rt::STRING_(w, '\xCD') + "\xBC", false);
}
