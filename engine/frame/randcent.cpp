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
  char buf[32];
  return std::string(buf, put_hundredths(buf, v));
}

char* put_hundredths(char* out, long long v) {
  // The sign (a blank when positive), the whole part (at least "0"), "." and two decimals: this
  // writes every coordinate of a PDF page.
  const unsigned long long a = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  *out++ = v < 0 ? '-' : ' ';
  out = std::to_chars(out, out + 20, a / 100).ptr;
  *out++ = '.';
  *out++ = static_cast<char>('0' + a % 100 / 10);
  *out++ = static_cast<char>('0' + a % 10);
  return out;
}

std::string depth_label(double x) {
  if (!std::isfinite(x) || std::fabs(x) >= 1e15) return FNRANDCE(x);
  if (std::fabs(x) < static_cast<double>(0.001f)) return " 0.00";
  // The shortest decimal text that reads back as x: the depth as it was typed.
  char buf[400];
  const auto end = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::fixed).ptr;
  const std::string text(buf, end);
  const size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  const std::string decimals = point == std::string::npos ? std::string() : text.substr(point + 1);
  long long v = std::stoll(whole) * 100;
  for (size_t i = 0; i < 2; ++i) v = v + (i < decimals.size() ? decimals[i] - '0' : 0) * (i == 0 ? 10 : 1);
  // Half up, away from 0: a rest of half a hundredth or more takes the next hundredth.
  if (decimals.size() > 2 && decimals[2] >= '5') ++v;
  return hundredths_text(x < 0 ? -v : v);
}
