// ZADATE: today's date as dd/mm/yyyy, as the error log and the sheets show it.
#include <cstdio>
#include <string>

#include "engine/runtime/error.h"
#include "platform/clock.h"

namespace rt {
namespace {
std::string two_digits(int v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", v);
  return b;
}
}  // namespace

std::string ZADATE() {
  RT_TRAP(trap, "ZADATE");
  trap.step("0001");
  platform::LocalTime t = platform::now();
  // The platform gives mm-dd-yyyy; the engine rearranges it to dd/mm/yyyy.
  trap.step("0002");
  std::string d = two_digits(t.month) + "-" + two_digits(t.day) + "-" + std::to_string(t.year);
  trap.step("0003");
  return d.substr(3, 2) + "/" + d.substr(0, 2) + "/" + d.substr(d.size() - 4);
}

}  // namespace rt
