// The pen-plotter commands: coordinates in dots turned into plotter units, the pen state, labels.
//
// A sheet of raster symbols sends tens of thousands of pen commands, so a command is put together in
// one kept buffer, its numbers written straight into it, and handed to the file in one write.
#include <charconv>
#include <string_view>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"

namespace {
void raw(std::string_view bytes) {
  if (plot_open) rt::put_bytes(PLOTFILE, bytes);
}

// The command being put together; its capacity is kept from one command to the next.
std::string& command(std::string_view name) {
  static std::string buffer;
  buffer.assign(name);
  return buffer;
}

// Adds n in decimal without a leading blank (as FNZ).
void add_int(std::string& out, std::int64_t n) {
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
}

// Adds TRIM(FNFIXN(n, places)): the whole number n with places decimals (all 0), a minus before a
// negative one, no digit before the point below 1. A value beyond FNFIXN's range goes through FNFIXN
// itself, with its error.
void add_fixed_trimmed(std::string& out, std::int32_t n, std::int32_t places) {
  std::int64_t scaled = n < 0 ? -static_cast<std::int64_t>(n) : n;
  for (std::int32_t i = 0; i < places && scaled <= 2147483647; ++i) scaled *= 10;
  if (places < 0 || places > 9 || scaled > 2147483647) {
    out += rt::TRIM(FNFIXN(n, places));
    return;
  }
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, scaled).ptr;
  const auto len = static_cast<std::size_t>(end - digits), p = static_cast<std::size_t>(places);
  if (n < 0) out += '-';
  if (p == 0) {
    out.append(digits, len);
  } else if (len > p) {
    out.append(digits, len - p);
    out += '.';
    out.append(end - p, p);
  } else {
    out += '.';
    out.append(p - len, '0');
    out.append(digits, len);
  }
}

// "PAx,y": the pen to a point in plotter units, up or down as it is.
void plot_absolute(std::int32_t px, std::int32_t py) {
  std::string& out = command("PA");
  add_int(out, px);
  out += ',';
  add_int(out, py);
  raw(out);
}
}  // namespace

std::string FNC(const std::int32_t& n) {
  std::string s = FNZ(n);
  s += ',';
  return s;
}
std::string FNZ(const std::int32_t& n) {
  std::string s;
  add_int(s, n);
  return s;
}
std::int32_t FNXPLUS(const double& x) { return rt::to_i32(x * XSCALE + XOFFSET); }
std::int32_t FNYPLUS(const double& y) { return rt::to_i32(y * YSCALE + YOFFSET); }

void PPENWIDT(const double& w) { raw("PW" + FNRANDCE(w)); }
void PPENUP() {
  raw("PU");
  PENSTATE = 0;
}
void PPENDOWN() {
  raw("PD");
  PENSTATE = -1;
}
void PMOVE(const double& x, const double& y) {
  if (PENSTATE != 0) PPENUP();
  plot_absolute(FNXPLUS(x), FNYPLUS(y));
}
void PMOVEDEC(const double& x, const double& y, const std::int32_t& n) {
  if (PENSTATE != 0) PPENUP();
  const std::int32_t px = FNXPLUS(x), py = FNYPLUS(y);
  std::string& out = command("PA");
  add_fixed_trimmed(out, px, n);
  out += ',';
  add_fixed_trimmed(out, py, n);
  raw(out);
}
void PPLOT(const double& x, const double& y) {
  plot_absolute(FNXPLUS(x), FNYPLUS(y));
  if (PENSTATE == 0) PPENDOWN();
}
void PLORG(std::int32_t& n) {
  if (n < 1) n = 1;
  raw("LO" + FNZ(n));
}
void PLABEL(const std::string& text) { raw("LB" + text + std::string(1, '\x1f')); }
