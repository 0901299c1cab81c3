// BORDER: a vertical rule given in 16-bit values, widened before any arithmetic.
#include "engine/devices/devices.h"
#include "engine/runtime/error.h"

void BORDER(const std::int16_t& x, const std::int16_t& y1, const std::int16_t& y2) {
  RT_TRAP(trap, "BORDER");
  const std::int32_t wx = x, wy1 = y1, wy2 = y2;
  BORDIR(wx, wy1, wy2);
}
