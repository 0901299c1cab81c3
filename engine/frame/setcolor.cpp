// SETCOLOR: one of the console colour pairs becomes the current colour.
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "platform/console.h"

void SETCOLOR(std::int32_t i) {
  RT_TRAP(trap, "SETCOLOR");
  auto& con = platform::console();
  std::int64_t n = i < 0 ? -static_cast<std::int64_t>(i) : i;
  if (i > 0) con.color(COLOURS(n, 1), COLOURS(n, 2));
  else if (i < 0) con.color(COLOURS(n, 2), COLOURS(n, 1));
}
