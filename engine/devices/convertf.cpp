// CONVERTF: the HP-GL/2 font definition and selection command of a setup font, from its printer code.
// Without pitch and height the font counts as 10 points (said on the console).
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
  const bool secondary = s.find(')') != std::string::npos;
  double pitch = 0, height = 0;
  const bool given = plotter_font_size(s, pitch, height);
  const std::int32_t style = rt::to_i32(rt::VAL(FNFINDV(s, "s"))), weight = rt::to_i32(rt::VAL(FNFINDV(s, "b")));
  if (!given) {
    // A code without pitch or height counts as 10 points, as the width tables take it: texts of height 0
    // would vanish from the plot.
    platform::console().print("Font " + rt::STR_TRIM(static_cast<std::int64_t>(i)) +
                                  " of the SET file gives no pitch or height; the plotter takes 10 points.",
                              true);
  }
  code(i) = std::string(secondary ? "AD" : "SD") + "1,341,2,0,3," + rt::TRIM(FNFIXN(pitch, 2)) + ",4," +
            rt::TRIM(FNFIXN(height, 2)) + ",5," + rt::STR_TRIM(static_cast<std::int64_t>(style)) + ",6," +
            rt::STR_TRIM(static_cast<std::int64_t>(weight)) + ",7,48" + (secondary ? "SA" : "SS") +
            (style > 0 ? ";SL0.3" : ";SL0");
  FONTHEIGHT(i) = height * static_cast<double>(0.67f) * 200 / 72;
  FONTSLANT(i) = 17.0 * style;
}
