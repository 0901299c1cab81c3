// DROPSHAD: the shadow of a BOX frame, one row below it and one column (after a blank one) right of it.
#include "engine/frame/console.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

void DROPSHAD(std::int32_t top, std::int32_t left, std::int32_t height, std::int32_t width) {
  RT_TRAP(trap, "DROPSHAD");
  auto& con = platform::console();
  con.locate(top, left + width);
  con.print(" ", false);
  con.locate(top + height, left + 1);
  con.print(rt::STRING_(width + 1, '\xB0'), false);
  for (std::int32_t r = top + 1; r <= top + height - 1; ++r) {
    con.locate(r, left + width);
    con.print(" \xB0", false);
  }
}
