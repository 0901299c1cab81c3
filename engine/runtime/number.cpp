// Rounding, checked integer stores, VAL and STR.
#include "number.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "engine/runtime/error.h"

namespace rt {

double round_even(double v) { return std::nearbyint(v); }  // default rounding mode: to nearest, ties to even

void let(std::int16_t& dst, double v) {
  double r = round_even(v);
  if (!(r >= -32768.0 && r <= 32767.0)) {
    raise(6);
    return;
  }
  dst = static_cast<std::int16_t>(r);
}

void let(std::int32_t& dst, double v) {
  double r = round_even(v);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
    raise(6);
    return;
  }
  dst = static_cast<std::int32_t>(r);
}

std::int16_t to_i16(double v) {
  std::int16_t r = 0;
  let(r, v);
  return r;
}

std::int32_t to_i32(double v) {
  std::int32_t r = 0;
  let(r, v);
  return r;
}

std::int32_t to_i32_or(double v, std::int32_t fallback) {
  double r = round_even(v);
  return r >= -2147483648.0 && r <= 2147483647.0 ? static_cast<std::int32_t>(r) : fallback;
}

double VAL(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  if (i + 1 < s.size() && s[i] == '&') {
    char k = static_cast<char>(s[i + 1] | 0x20);
    int base = k == 'h' ? 16 : k == 'o' ? 8 : k == 'b' ? 2 : 0;
    if (base) {
      double v = 0;
      for (size_t j = i + 2; j < s.size(); ++j) {
        int d;
        char c = static_cast<char>(s[j] | 0x20);
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else break;
        if (d >= base) break;
        v = v * base + d;
      }
      return v;
    }
  }
  {
    // A plain number of at most 15 digits (no exponent): its digits as an integer m, exact in a
    // double, over the power of ten of its decimals, also exact; one rounding, as strtod's.
    static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    size_t j = i;
    const bool negative = j < s.size() && s[j] == '-';
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    std::uint64_t m = 0;
    int count = 0, decimals = 0;
    for (; j < s.size() && s[j] >= '0' && s[j] <= '9'; ++j, ++count)
      if (count < 16) m = 10 * m + static_cast<std::uint64_t>(s[j] - '0');
    if (j < s.size() && s[j] == '.')
      for (++j; j < s.size() && s[j] >= '0' && s[j] <= '9'; ++j, ++count, ++decimals)
        if (count < 16) m = 10 * m + static_cast<std::uint64_t>(s[j] - '0');
    const bool exponent = j < s.size() && (s[j] == 'e' || s[j] == 'E' || s[j] == 'd' || s[j] == 'D');
    if (count == 0) return 0.0;
    if (count <= 15 && !exponent) {
      const double v = static_cast<double>(m) / kTens[decimals];
      return negative ? -v : v;
    }
  }
  std::string num;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) num += s[i++];
  bool digits = false;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') num += s[i++], digits = true;
  if (i < s.size() && s[i] == '.') {
    num += s[i++];
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') num += s[i++], digits = true;
  }
  if (!digits) return 0.0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    std::string ex = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ex += s[j++];
    bool exd = false;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ex += s[j++], exd = true;
    if (exd) num += ex;
  }
  double v = std::strtod(num.c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}

namespace {

// Shortest form with at most 16 significant digits, without a leading "0" before the point.
std::string digits_of(double a) {
  if (a == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15e", a);  // 16 significant digits
  double r = std::strtod(buf, nullptr);
  // Find the shortest precision that gives the same 16-digit value.
  for (int p = 0; p <= 15; ++p) {
    char t[64];
    std::snprintf(t, sizeof t, "%.*e", p, a);
    if (std::strtod(t, nullptr) == r) {
      std::snprintf(buf, sizeof buf, "%s", t);
      break;
    }
  }
  // buf is d.ddde±xx: split mantissa and exponent.
  std::string m = buf;
  size_t e = m.find('e');
  int exp10 = std::atoi(m.c_str() + e + 1);
  std::string mant;
  for (size_t k = 0; k < e; ++k)
    if (m[k] != '.') mant += m[k];
  int n = static_cast<int>(mant.size());
  if (exp10 >= 16 || exp10 < -16) {
    std::string out = mant.substr(0, 1);
    if (n > 1) out += "." + mant.substr(1);
    char ex[16];
    std::snprintf(ex, sizeof ex, "E%+03d", exp10);
    return out + ex;
  }
  if (exp10 >= 0) {
    if (n <= exp10 + 1) return mant + std::string(static_cast<size_t>(exp10 + 1 - n), '0');
    return mant.substr(0, static_cast<size_t>(exp10 + 1)) + "." + mant.substr(static_cast<size_t>(exp10 + 1));
  }
  return "." + std::string(static_cast<size_t>(-exp10 - 1), '0') + mant;
}

}  // namespace

std::string STR(double v) {
  if (std::isnan(v)) return " 0";
  return (std::signbit(v) && v != 0 ? "-" : " ") + digits_of(std::fabs(v));
}

std::string STR(std::int64_t v) {
  if (v < 0) return "-" + std::to_string(-(v + 1) + 1ULL);
  return " " + std::to_string(v);
}

std::string print_number(double v) { return STR(v) + " "; }
std::string print_number(std::int64_t v) { return STR(v) + " "; }

std::string STR_TRIM(double v) {
  std::string s = STR(v);
  return s[0] == ' ' ? s.substr(1) : s;
}

std::string STR_TRIM(std::int64_t v) {
  std::string s = STR(v);
  return s[0] == ' ' ? s.substr(1) : s;
}

}  // namespace rt
