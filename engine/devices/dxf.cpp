// The DXF entities LINE, TEXT and CIRCLE on layer "VELTRAX": a group code and a value per line.
//
// A text never breaks the file: a line break or other control character in it becomes a blank.
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/files.h"

namespace {
void lines(std::initializer_list<std::string> items) {
  if (!plot_open) return;
  for (const auto& l : items) rt::print_line(PAGEFILE, l);
}
}  // namespace

std::string FNDXPLUS(const double& x, const std::int32_t& n) { return FNFIXN(x * DXFXSCALE + DXFXOFF, n); }
std::string FNDYPLUS(const double& y, const std::int32_t& n) { return FNFIXN(y * DXFYSCALE + DXFYOFF, n); }

void DXFLINE(const double& x1, const double& y1, const double& x2, const double& y2) {
  lines({" 0", "LINE", " 8", "VELTRAX", " 10", FNDXPLUS(x1, 3), " 20", FNDYPLUS(y1, 3), " 11", FNDXPLUS(x2, 3), " 21",
         FNDYPLUS(y2, 3)});
}

void DXFTEXT(const std::int32_t& x, const std::int32_t& y, const std::string& text) {
  const std::int32_t f = CURFONT >= 1 && CURFONT <= 3 ? CURFONT : 1;
  std::string t = text;
  for (char& c : t)
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  lines({" 0", "TEXT", " 8", "VELTRAX", " 10", FNDXPLUS(x, 3), " 20", FNDYPLUS(y, 3), " 40", FNFIXN(DXFUNIT * FONTHEIGHT(f), 3),
         " 41", "0.8"});
  if (FONTSLANT(f) != 0) lines({" 51", FNFIXN(FONTSLANT(f), 3)});
  lines({" 1", t});
}

void DXFCIRCL(const double& x, const double& y, const double& r) {
  lines({" 0", "CIRCLE", " 8", "VELTRAX", " 10", FNDXPLUS(x, 3), " 20", FNDYPLUS(y, 3), " 40", FNFIXN(r, 3)});
}
