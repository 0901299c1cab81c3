// CONVERTF: the HP-GL/2 font definition and selection command of a setup font, from its printer code.
// Without pitch and height the font counts as 10 points (said on the console).
#include <cstdlib>

#include "engine/devices/devices.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

void CONVERTF(const rt::Array<std::string>& spec, rt::Array<std::string>& code, const std::int32_t& i) {
  RT_TRAP(trap, "CONVERTF");
  const std::string s = spec(i);
  double pitch = 0, height = 0;
  const bool given = plotter_font_size(s, pitch, height);
  const std::int32_t style = rt::to_i32(rt::VAL(FNFINDV(s, "s")));
  if (!given) {
    // A code without pitch or height counts as 10 points, as the width tables take it: texts of height 0
    // would vanish from the plot.
    platform::console().print("Font " + rt::STR_TRIM(static_cast<std::int64_t>(i)) +
                                  " of the SET file gives no pitch or height; the plotter takes 10 points.",
                              true);
  }
  code(i) = plotter_font_command(s, 1);
  FONTHEIGHT(i) = height * static_cast<double>(0.67f) * 200 / 72;
  FONTSLANT(i) = 17.0 * style;
}

std::string plotter_font_command(const std::string& spec, double scale) {
  const bool secondary = spec.find(')') != std::string::npos;
  double pitch = 0, height = 0;
  plotter_font_size(spec, pitch, height);
  if (scale > 0 && scale != 1) pitch /= scale, height *= scale;
  const std::int32_t style = rt::to_i32(rt::VAL(FNFINDV(spec, "s"))), weight = rt::to_i32(rt::VAL(FNFINDV(spec, "b")));
  return std::string(secondary ? "AD" : "SD") + "1,341,2,0,3," + rt::TRIM(FNFIXN(pitch, 2)) + ",4," +
         rt::TRIM(FNFIXN(height, 2)) + ",5," + rt::STR_TRIM(static_cast<std::int64_t>(style)) + ",6," +
         rt::STR_TRIM(static_cast<std::int64_t>(weight)) + ",7,48" + (secondary ? "SA" : "SS") +
         (style > 0 ? ";SL0.3" : ";SL0");
}

std::string printer_font_code(const std::string& spec, double scale) {
  if (scale <= 0 || scale == 1) return spec;
  // The number before the first "v" (the height in points) and the one before the first "h" of the same
  // selection (the pitch, characters an inch) are replaced.
  std::string out = spec;
  auto replace = [&](char key, double factor) {
    const size_t at = out.find(key);
    if (at == std::string::npos) return;
    size_t from = at;
    while (from > 0 && ((out[from - 1] >= '0' && out[from - 1] <= '9') || out[from - 1] == '.')) --from;
    if (from == at) return;
    const double v = std::strtod(out.substr(from, at - from).c_str(), nullptr) * factor;
    out.replace(from, at - from, rt::TRIM(FNFIXN(v, 2)));
  };
  replace('v', scale);
  replace('h', 1 / scale);
  return out;
}
