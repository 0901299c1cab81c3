// FNFIXN: a number with a fixed count of decimals, no digit before the point below 1.
#include <cmath>

#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"

std::string FNFIXN(double x, std::int32_t n) {
  RT_TRAP(trap, "FNFIXN");
  trap.step("0001");
  if (n < 0 || n > 9) {
    rt::raise(5);
    return {};
  }
  long double m = 1;
  for (int i = 0; i < n; ++i) m *= 10;
  trap.step("0002");
  std::int32_t k = 0;
  long double scaled = std::nearbyint(static_cast<long double>(x) * m);  // ties to even
  if (!(scaled >= -2147483648.0L && scaled <= 2147483647.0L)) {
    rt::raise(6);
    return {};
  }
  k = static_cast<std::int32_t>(scaled);
  trap.step("0003");
  std::string d = std::to_string(k < 0 ? -static_cast<std::int64_t>(k) : static_cast<std::int64_t>(k));
  std::string s = x < 0 ? "-" : " ";
  if (n == 0) return s + d;
  if (static_cast<std::int32_t>(d.size()) > n) return s + d.substr(0, d.size() - n) + "." + d.substr(d.size() - n);
  return s + "." + std::string(static_cast<size_t>(n) - d.size(), '0') + d;
}
