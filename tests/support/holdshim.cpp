// A preloaded library (LD_PRELOAD) for the console tests: a pause of the program of a second or more
// (a message that stands a second before the screen goes on) is held, after its own time, while the file
// VLX_HOLD_FILE names exists. A held pause says so with a file of that name with ".held" added, and goes
// on when the test removes either file. A test makes the hold file before the key that brings the
// message, reads the screen while the message stands, then lets the pause go: a message cannot be gone
// before the test has seen it, however long a loaded machine keeps the test from looking. Shorter pauses,
// and every pause while the hold file is missing, are as they were.
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

constexpr long long kHeldFromNs = 1000LL * 1000 * 1000;  // a second

using NanosleepFn = int (*)(const timespec*, timespec*);
using ClockNanosleepFn = int (*)(clockid_t, int, const timespec*, timespec*);

NanosleepFn real_nanosleep() {
  static auto fn = reinterpret_cast<NanosleepFn>(dlsym(RTLD_NEXT, "nanosleep"));
  return fn;
}

ClockNanosleepFn real_clock_nanosleep() {
  static auto fn = reinterpret_cast<ClockNanosleepFn>(dlsym(RTLD_NEXT, "clock_nanosleep"));
  return fn;
}

long long length_ns(const timespec* t) { return t ? static_cast<long long>(t->tv_sec) * 1000000000LL + t->tv_nsec : 0; }

// After a pause of a second or more while the hold file exists: says so and waits, 20 ms at a time,
// until it is let go.
void hold_after(long long paused_ns) {
  const char* hold = std::getenv("VLX_HOLD_FILE");
  if (!hold || !*hold || paused_ns < kHeldFromNs || !real_nanosleep() || access(hold, F_OK) != 0) return;
  const std::string held = std::string(hold) + ".held";
  const int fd = open(held.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  close(fd);
  const timespec step{0, 20 * 1000 * 1000};
  while (access(hold, F_OK) == 0 && access(held.c_str(), F_OK) == 0) real_nanosleep()(&step, nullptr);
  unlink(held.c_str());
}

}  // namespace

extern "C" int nanosleep(const timespec* req, timespec* rem) {
  if (!real_nanosleep()) {
    errno = ENOSYS;
    return -1;
  }
  const int r = real_nanosleep()(req, rem);
  if (r == 0) hold_after(length_ns(req));
  return r;
}

extern "C" int clock_nanosleep(clockid_t clock, int flags, const timespec* req, timespec* rem) {
  if (!real_clock_nanosleep()) return ENOSYS;
  const int r = real_clock_nanosleep()(clock, flags, req, rem);
  if (r == 0 && (flags & TIMER_ABSTIME) == 0) hold_after(length_ns(req));
  return r;
}
