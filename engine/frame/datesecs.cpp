// DATESECS: a date and time as seconds since 1 January 2000 on the engine's 365-day-year scale.
#include "engine/frame/dates.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"

std::int32_t DATESECS(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                      std::int32_t minute, std::int32_t second) {
  RT_TRAP(trap, "DATESECS");
  // Days before each month; entry 13 is the whole year.
  static const std::int64_t kDaysBefore[14] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
  trap.step("0001");
  std::int64_t before = 0;
  if (month >= 1 && month <= 13) before = kDaysBefore[month];
  else rt::raise(9);
  std::int64_t days = std::int64_t{day} - 1 + before + (std::int64_t{year} - 2000) * 365;
  trap.step("0002");
  if (month > 2 && year % 4 == 0) ++days;  // the leap day of the date's own year only
  trap.step("0003");
  std::int64_t secs = days * 24 * 3600 + std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second;
  std::int32_t result = 0;
  rt::let(result, static_cast<double>(secs));  // beyond 5 February 2068: overflow, 0
  return result;
}
