// FNZDOT: a depth as a dot position on the current page.
#include <cmath>

#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"

std::int32_t FNZDOT(double z) {
  RT_TRAP(trap, "FNZDOT");
  trap.step("0001");
  long double v = (static_cast<long double>(z) - TOPDEPTH) * DOTSPERUNIT - PAGEORIGIN + HEADDOTS;
  return rt::to_i32(static_cast<double>(std::nearbyint(v)));
}
