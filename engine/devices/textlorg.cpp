// TEXTLORG: a text's reference point moved by its alignment code.
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"

void TEXTLORG(std::int32_t& x, std::int32_t& y, const std::int32_t& w, const std::int32_t& h) {
  RT_TRAP(trap, "TEXTLORG");
  const std::int32_t half_w = rt::to_i32(w / 2.0), half_h = rt::to_i32(h / 2.0);
  switch (TEXTORIGIN) {
    case 2: y -= half_h; break;
    case 3: y -= h; break;
    case 4: x -= half_w; break;
    case 5: x -= half_w, y -= half_h; break;
    case 6: x -= half_w, y -= h; break;
    case 7: x -= w; break;
    case 8: x -= w, y -= half_h; break;
    case 9: x -= w, y -= h; break;
    default: break;
  }
}
