// Colour markers of the input text: INSERTRG rewrites a marker into the one form later stages read,
// "[rgb r g b]" with three fractions; ACI2RGB and FNRGB turn a colour index into red, green and blue.
//
// A marker opens with a keyword of the conversion vocabulary's colour list (CONVWORDS: "[rgb",
// "[paint", ...), then a blank and the colour: three numbers 0..255, one colour index, or a paint name
// of the paint library (PAINTWORDS). The letter case of the keyword gives the opener: "[rgb" when a
// keyword is written in lower case, "[RGB" in capitals, "[Rgb" otherwise.
#include <algorithm>
#include <cstdint>

#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"

namespace {

// Red, green and blue of the colour indexes 1 to 9.
constexpr std::int16_t kFixedColours[9][3] = {{255, 0, 0},   {255, 255, 0}, {0, 255, 0},
                                              {0, 255, 255}, {0, 0, 255},   {255, 0, 255},
                                              {0, 0, 0},     {128, 128, 128}, {210, 210, 210}};

// num / den rounded to the nearest integer, a half to the even neighbour (den > 0).
std::int64_t divide_half_even(std::int64_t num, std::int64_t den) {
  std::int64_t q = num / den, r = num % den;
  if (r < 0) {
    --q;
    r += den;
  }
  if (2 * r > den || (2 * r == den && (q & 1))) ++q;
  return q;
}

// A number of a marker rounded into a 16-bit value; false for one beyond that range (a typo such as
// "[rgb 255128000]"), which makes no colour rather than an overflow error.
bool read_number(const std::string& text, std::int16_t& value) {
  const double v = rt::round_even(rt::VAL(text));
  if (v < INT16_MIN || v > INT16_MAX) return false;
  value = static_cast<std::int16_t>(v);
  return true;
}

// The last three fields of PARSED as red, green and blue; false when one is out of range.
bool last_three(std::int16_t& red, std::int16_t& green, std::int16_t& blue) {
  return read_number(PARSED(PARSEDCOUNT - 2), red) && read_number(PARSED(PARSEDCOUNT - 1), green) &&
         read_number(PARSED(PARSEDCOUNT), blue);
}

std::string fraction(std::int16_t component) {
  const long double q = static_cast<long double>(component) / 255.0L;
  return FNFIXN(static_cast<double>(q), 3);
}

}  // namespace

void INSERTRG(std::string& text) {
  RT_TRAP(trap, "INSERTRG");
  trap.step("0001");
  const std::string list = "[" + CONVWORDS;
  const long p = FNPRES(text, list);
  if (p == 0) return;
  trap.step("0005");
  std::string opener = "[Rgb";
  if (FNLPRES(text, list) > 0) opener = "[rgb";
  if (FNUPRES(text, list) > 0) opener = "[RGB";

  // The marker runs from its "[" to the first "]" after it, with a blank after the keyword within 99
  // characters. A marker left open (another "[" comes before that "]") is no marker: it must not take
  // in the text up to the "]" of whatever follows.
  trap.step("0010");
  const long blank = rt::INSTR(p + 1, text, " ");
  if (blank == 0 || blank > p + 99) return;
  const long close = rt::INSTR(p + 1, text, "]");
  if (close == 0 || close < blank) return;
  const long inner = rt::INSTR(p + 1, text, "[");
  if (inner > 0 && inner < close) return;

  trap.step("0020");
  std::string value = rt::LCASE(rt::MID(text, blank, close - blank));
  std::string delims = " -";
  PARSVARS(value, delims);
  const std::int32_t fields = PARSEDCOUNT;
  DELBLANK(value);

  std::int16_t red = 0, green = 0, blue = 0;
  bool replace = false;
  trap.step("0030");
  const long entry = rt::INSTR(PAINTWORDS, "/" + value + "=");
  if (entry > 0) {
    // A paint name: three numbers, or one colour index (black when it is none).
    const long from = entry + static_cast<long>(value.size()) + 2;
    const long end = rt::INSTR(from, PAINTWORDS, ".");
    const std::string paint = end > 0 ? rt::MID(PAINTWORDS, from, end - from) : rt::MID(PAINTWORDS, from);
    std::string paint_delims = " ,-";
    PARSVARS(paint, paint_delims);
    if (PARSEDCOUNT >= 3) {
      replace = last_three(red, green, blue);
    } else {
      std::int16_t index = 0;
      if (!read_number(paint, index)) index = 0;  // an index out of range gives black
      ACI2RGB(index, red, green, blue);
      replace = true;
    }
  } else if (fields == 1) {
    trap.step("0040");
    std::int16_t index = 0;
    if (read_number(value, index) && index >= 1 && index <= 254) {
      ACI2RGB(index, red, green, blue);
      replace = true;
    }
  } else if (fields >= 3) {
    trap.step("0045");
    replace = last_three(red, green, blue);  // the fields of the split above
  }
  if (!replace) return;
  trap.step("0050");
  const std::string marker = opener + fraction(red) + fraction(green) + fraction(blue) + "]";
  text = rt::LEFT(text, p - 1) + marker + rt::MID(text, close + 1);
}

void ACI2RGB(const std::int16_t& index, std::int16_t& red, std::int16_t& green, std::int16_t& blue) {
  RT_TRAP(trap, "ACI2RGB");
  trap.step("0061");
  if (index >= 1 && index <= 9) {
    red = kFixedColours[index - 1][0];
    green = kFixedColours[index - 1][1];
    blue = kFixedColours[index - 1][2];
  } else if (index >= 10 && index <= 249) {
    trap.step("0070");
    std::int16_t r = static_cast<std::int16_t>(index + 80), g = index, b = static_cast<std::int16_t>(index - 80);
    red = FNRGB(r);
    green = FNRGB(g);
    blue = FNRGB(b);
  } else if (index >= 250 && index <= 255) {
    trap.step("0080");
    const std::int16_t grey = static_cast<std::int16_t>(255 - (255 - index) * 32);
    red = green = blue = grey;
  }
}

std::int16_t FNRGB(std::int16_t& value) {
  RT_TRAP(trap, "FNRGB");
  trap.step("0090");
  if (value < 10) value = static_cast<std::int16_t>(value + 240);
  if (value > 250) value = static_cast<std::int16_t>(value - 240);
  const std::int64_t h = value / 10 * 10, s = value % 10;
  trap.step("0095");
  // A trapezoid over the hue: 0 at 10, rising to 40 at 50, 40 up to 130, falling to 0 at 170.
  const std::int64_t t = h - std::max<std::int64_t>(0, h - 50) - std::max<std::int64_t>(0, h - 130) +
                         std::max<std::int64_t>(0, h - 170) - 10;
  std::int64_t c = divide_half_even(t * 255, 40);
  trap.step("0100");
  if (s > 0) {
    c = divide_half_even(c * (20 - s), 20);                      // darker by s twentieths
    if (s % 2 == 1) c = divide_half_even((c - 128) * 45 + 17000, 100);  // washed out towards a pale tint
  }
  return static_cast<std::int16_t>(c);
}
