// Local time and sleeping, both replaceable so that tests control the date and never wait.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

struct LocalTime {
  int year = 1980, month = 1, day = 1;  // month 1..12, day 1..31
  int hour = 0, minute = 0, second = 0;
  int millisecond = 0;
  int weekday = 0;  // 0 Sunday
};

LocalTime now();
// A moment of the file system's clock (seconds since 1970 in universal time) as local time.
LocalTime local_time(std::int64_t unix_seconds);
void sleep_ms(int ms);

// Test hooks: an empty function restores the real clock / sleep.
void set_clock(std::function<LocalTime()> clock);
void set_sleeper(std::function<void(int)> sleeper);

}  // namespace platform
