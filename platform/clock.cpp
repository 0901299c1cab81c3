// Real and replaceable clock and sleep.
#include "clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {
namespace {
std::function<LocalTime()>& clock_hook() {
  static std::function<LocalTime()> f;
  return f;
}
std::function<void(int)>& sleep_hook() {
  static std::function<void(int)> f;
  return f;
}
}  // namespace

LocalTime local_time(std::int64_t unix_seconds) {
  std::time_t t = static_cast<std::time_t>(unix_seconds);
  std::tm tm{};
  localtime_r(&t, &tm);
  LocalTime lt;
  lt.year = tm.tm_year + 1900;
  lt.month = tm.tm_mon + 1;
  lt.day = tm.tm_mday;
  lt.hour = tm.tm_hour;
  lt.minute = tm.tm_min;
  lt.second = tm.tm_sec;
  lt.weekday = tm.tm_wday;
  return lt;
}

LocalTime now() {
  if (clock_hook()) return clock_hook()();
  auto tp = std::chrono::system_clock::now();
  LocalTime lt = local_time(std::chrono::system_clock::to_time_t(tp));
  lt.millisecond =
      static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(tp.time_since_epoch()).count() % 1000);
  return lt;
}

void sleep_ms(int ms) {
  if (sleep_hook()) {
    sleep_hook()(ms);
    return;
  }
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void set_clock(std::function<LocalTime()> clock) { clock_hook() = std::move(clock); }
void set_sleeper(std::function<void(int)> sleeper) { sleep_hook() = std::move(sleeper); }

}  // namespace platform
