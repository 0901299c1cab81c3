// SYSSECONDS: the local date and time now on the seconds scale of DATESECS.
#include "engine/frame/dates.h"
#include "engine/runtime/error.h"
#include "platform/clock.h"

std::int32_t SYSSECONDS() {
  RT_TRAP(trap, "SYSSECONDS");
  trap.step("0001");
  platform::LocalTime t = platform::now();
  trap.step("0002");
  return DATESECS(t.year, t.month, t.day, t.hour, t.minute, t.second);
}
