// The DXF entities LINE, TEXT and CIRCLE on layer "VELTRAX": a group code and a value per line.
//
// A text never breaks the file: a line break or other control character in it becomes a blank.
//
// A sheet of raster symbols has tens of thousands of LINEs, so an entity is put together in one kept
// buffer (its lines each ended by CR LF, as print_line ends a line) and handed to the file in one write;
// the numbers are formatted straight into it, with the bytes FNFIXN gives. As before, the numbers are
// worked out (and an error of one reported) also when no plot file is open.
#include <charconv>
#include <cmath>
#include <string_view>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/number.h"
#include "engine/runtime/files.h"

namespace {

// The entity being put together; its capacity is kept from one entity to the next.
std::string& entity() {
  static std::string buffer;
  buffer.clear();
  return buffer;
}

void add(std::string& out, std::string_view line) {
  out += line;
  out += "\r\n";
}

// Adds FNFIXN(x, 3) and a line end. Numbers far inside the 32-bit range of thousandths (all that a sheet
// holds) are formatted here; any other value, one that is no number included, goes through FNFIXN
// itself, with its errors.
void add_fixed3(std::string& out, double x) {
  if (!(std::fabs(x) < 1e6)) {
    add(out, FNFIXN(x, 3));
    return;
  }
  // As FNFIXN: the exact product in extended precision rounded to the nearest, ties to even (rint gives
  // the value nearbyint gives, without the slow save and restore of the floating-point state).
  // The whole number goes through double (exact below 2^53), which converts without switching the x87
  // rounding mode.
  const long double scaled = std::rint(static_cast<long double>(x) * 1000.0L);
  const auto k = static_cast<std::int32_t>(static_cast<double>(scaled));
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, k < 0 ? -static_cast<std::int64_t>(k) : k).ptr;
  const auto len = static_cast<std::size_t>(end - digits);
  out += x < 0 ? '-' : ' ';
  if (len > 3) {
    out.append(digits, len - 3);
    out += '.';
    out.append(end - 3, 3);
  } else {
    out += '.';
    out.append(3 - len, '0');
    out.append(digits, len);
  }
  out += "\r\n";
}

void put(const std::string& out) {
  if (plot_open) rt::print_line(PAGEFILE, out, false);
}

}  // namespace

std::string FNDXPLUS(const double& x, const std::int32_t& n) { return FNFIXN(x * DXFXSCALE + DXFXOFF, n); }
std::string FNDYPLUS(const double& y, const std::int32_t& n) { return FNFIXN(y * DXFYSCALE + DXFYOFF, n); }

void DXFLINE(const double& x1, const double& y1, const double& x2, const double& y2) {
  std::string& out = entity();
  out += " 0\r\nLINE\r\n 8\r\nVELTRAX\r\n 10\r\n";
  add_fixed3(out, x1 * DXFXSCALE + DXFXOFF);
  add(out, " 20");
  add_fixed3(out, y1 * DXFYSCALE + DXFYOFF);
  add(out, " 11");
  add_fixed3(out, x2 * DXFXSCALE + DXFXOFF);
  add(out, " 21");
  add_fixed3(out, y2 * DXFYSCALE + DXFYOFF);
  put(out);
}

void DXFTEXT(const std::int32_t& x, const std::int32_t& y, const std::string& text) {
  const std::int32_t f = CURFONT >= 1 && CURFONT <= 3 ? CURFONT : 1;
  std::string& out = entity();
  out += " 0\r\nTEXT\r\n 8\r\nVELTRAX\r\n 10\r\n";
  add_fixed3(out, x * DXFXSCALE + DXFXOFF);
  add(out, " 20");
  add_fixed3(out, y * DXFYSCALE + DXFYOFF);
  add(out, " 40");
  const double own = TEXTPOINTS > 0 ? rt::VAL(FNPOINTS(FONTSPEC(f))) : 0;
  add_fixed3(out, DXFUNIT * FONTHEIGHT(f) * (own > 0 ? TEXTPOINTS / own : 1));
  add(out, " 41");
  add(out, "0.8");
  if (FONTSLANT(f) != 0) {
    add(out, " 51");
    add_fixed3(out, FONTSLANT(f));
  }
  add(out, " 1");
  const std::size_t from = out.size();
  add(out, text);
  for (std::size_t i = from; i < out.size() - 2; ++i)
    if (static_cast<unsigned char>(out[i]) < 32) out[i] = ' ';
  put(out);
}

void DXFCIRCL(const double& x, const double& y, const double& r) {
  std::string& out = entity();
  out += " 0\r\nCIRCLE\r\n 8\r\nVELTRAX\r\n 10\r\n";
  add_fixed3(out, x * DXFXSCALE + DXFXOFF);
  add(out, " 20");
  add_fixed3(out, y * DXFYSCALE + DXFYOFF);
  add(out, " 40");
  add_fixed3(out, r);
  put(out);
}
