// FNRANDCE: a number with exactly two decimals, halves rounded up, in extended precision.
#include <cmath>

#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"

std::string FNRANDCE(double x) {
  RT_TRAP(trap, "FNRANDCE");
  trap.step("0001");
  // The single-precision value of 0.001.
  if (std::fabs(x) < static_cast<double>(0.001f)) return " 0.00";
  trap.step("0002");
  long double k = std::floor(static_cast<long double>(x) * 100.0L + 0.5L);
  // Not a number, or far beyond any page: report it and keep the output file readable.
  if (!(std::fabs(k) < 1e18L)) {
    rt::raise(6);
    return " 0.00";
  }
  long long v = static_cast<long long>(k);
  std::string t = (v < 0 ? "-" : " ") + std::to_string(v < 0 ? -v : v);
  trap.step("0003");
  if (t.size() == 2) return t.substr(0, 1) + "0.0" + t.substr(1);
  if (t.size() == 3) return t.substr(0, 1) + "0." + t.substr(1);
  return t.substr(0, t.size() - 2) + "." + t.substr(t.size() - 2);
}
