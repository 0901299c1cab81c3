// FNRGBB: the colour of a normalised marker "[rgb r g b]" in a text, as the borehole-log drawing reads
// it. It belongs to the borehole-log module (its errors are logged as "prolog.cpp"), but lives with the
// other colour-marker procedures of the setup subsystem that write the markers it reads.
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"

std::string FNRGBB(const std::string& text) {
  RT_TRAP(trap, "FNRGBB");
  trap.step("0001");
  const long at = rt::INSTR(rt::UCASE(text), "[RGB");
  RGBFLAG = static_cast<std::int16_t>(at > 0 ? 1 : 0);
  if (at == 0) return {};
  trap.step("0002");
  const long close = rt::INSTR(at, text, "]");
  const std::string colour = close > 0 ? rt::MID(text, at + 5, close - at - 5) : rt::MID(text, at + 5);
  // The case of the marker: capitals anywhere give a solid fill (1), small letters a fill with a
  // pattern over it (3), a mix the pattern in the colour (2).
  if (rt::INSTR(text, "RGB") > 0) RGBFLAG = 1;
  else if (rt::INSTR(text, "rgb") > 0) RGBFLAG = 3;
  else RGBFLAG = 2;
  return colour;
}
