// FNDLEN: the printed width of a text in dots, following its font-switch marks; and the size of the pen
// plotter's font, which measures every character alike.
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"

bool plotter_font_size(const std::string& spec, double& pitch, double& height) {
  pitch = rt::VAL(FNFINDV(spec, "h"));
  height = rt::VAL(FNFINDV(spec, "v"));
  const bool given = pitch != 0 || height != 0;
  if (!given) height = 10;
  if (height == 0 && pitch > 0) height = 135 / pitch;
  if (height > 0 && pitch == 0) pitch = 135 / height;
  return given;
}

double plotter_cell(std::int32_t n) {
  double pitch = 0, height = 0;
  plotter_font_size(FONTSPEC(n), pitch, height);
  return pitch > 0 ? 300 / pitch : 0;
}

std::int32_t FNDLEN(const std::string& text, const std::int32_t& font) {
  RT_TRAP(trap, "FNDLEN");
  const int fontsw = FONTSWCODE.empty() ? -1 : static_cast<unsigned char>(FONTSWCODE[0]);
  const int hardsp = HARDSPCODE.empty() ? -1 : static_cast<unsigned char>(HARDSPCODE[0]);
  // A font outside the tables is reported once, not once per character.
  if (font < 1 || font > 3) {
    rt::raise(9);
    return 0;
  }
  // The plotter's character cell of each font.
  double cell[4] = {0, 0, 0, 0};
  if (OUTDEV == 2)
    for (std::int32_t n = 1; n <= 3; ++n) cell[n] = plotter_cell(n);
  std::int32_t f = font;
  double w = 0;
  bool escape = false;
  // The width table of a font taken once, when the table holds every character of every font (the
  // row of font f, from character 32 on); else each width is looked up on its own.
  const bool whole_table = CHARWIDTH.in_bounds(1, 32) && CHARWIDTH.in_bounds(3, 255);
  const std::int32_t* widths = whole_table && OUTDEV != 2 && OUTDEV != 3 ? &CHARWIDTH(f, 32) : nullptr;
  for (unsigned char ch : text) {
    int c = ch;
    if (c == 27) {
      escape = true;
    } else if (c == fontsw) {
      if (f != 3) f = f == 1 ? 2 : 1;
      if (widths != nullptr) widths = &CHARWIDTH(f, 32);
    } else if (c >= 32) {
      if (!escape) {
        w += OUTDEV == 3 ? rt::round_even(FONTWIDTH(f))
             : OUTDEV == 2 ? cell[f]
             : widths != nullptr ? widths[c - 32]
                                 : CHARWIDTH(f, c);
      } else if (c >= 64 && c <= 90) {
        escape = false;
      }
    } else if (c == hardsp) {
      // The width of a blank, in the table's units (on the plotter one character cell).
      if (OUTDEV == 2) w += cell[f];
      else if (FONTSIZE(f) != 0) w += rt::round_even(FONTWIDTH(f) / FONTSIZE(f));
    }
  }
  if (OUTDEV != 3 && OUTDEV != 2) w *= FONTSIZE(f);
  return rt::to_i32(w);
}
