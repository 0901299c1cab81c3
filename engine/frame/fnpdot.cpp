// FNPDOT: a position on the continuous text strip as a position on the current page.
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"

std::int32_t FNPDOT(std::int32_t p) {
  RT_TRAP(trap, "FNPDOT");
  trap.step("0001");
  return static_cast<std::int32_t>(static_cast<std::int64_t>(p) - PAGEORIGIN + HEADDOTS);
}
