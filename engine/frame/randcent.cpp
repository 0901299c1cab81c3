// FNRANDCE: a number with exactly two decimals, halves rounded up, in extended precision.
#include <charconv>
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
  const long long v = static_cast<long long>(k);
  trap.step("0003");
  return hundredths_text(v);
}

std::string hundredths_text(long long v) {
  // The sign (a blank when positive), the whole part (at least "0"), "." and two decimals, made in
  // one buffer: this writes every coordinate of a PDF page.
  const unsigned long long a = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  char buf[32];
  buf[0] = v < 0 ? '-' : ' ';
  char* end = std::to_chars(buf + 1, buf + sizeof buf - 3, a / 100).ptr;
  *end++ = '.';
  *end++ = static_cast<char>('0' + a % 100 / 10);
  *end++ = static_cast<char>('0' + a % 10);
  return std::string(buf, end);
}
