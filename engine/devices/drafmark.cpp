// DRAFTMAR: the word DRAFT in block letters, read from the bottom of the page upwards.
//
// The bars are filled in a light grey of their own (15 % ink); the log's bar colour and pattern, which
// the PDF bars otherwise take, are put back afterwards, so a sheet drawn before any log gets no pattern
// fill without a pattern.
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/error.h"

namespace {

struct Bar {
  std::int32_t a, b, c, d;
};
constexpr Bar kBars[18] = {{1, 1, 2, 6},  {3, 3, 8, 2},   {1, 8, 2, 6},   {6, 9, 2, 2},   {3, 11, 8, 2}, {2, 15, 9, 2},
                           {1, 16, 3, 4}, {7, 17, 2, 2},  {2, 19, 9, 2},  {2, 22, 5, 2},  {8, 22, 3, 2}, {1, 23, 2, 6},
                           {6, 24, 3, 2}, {3, 26, 8, 2},  {2, 30, 8, 2},  {1, 31, 2, 6},  {9, 31, 2, 6}, {3, 34, 6, 2}};

}  // namespace

void DRAFTMAR() {
  RT_TRAP(trap, "DRAFTMAR");
  if (OUTDEV == 2) return;
  BARSHADE = 15;
  SETSHADE("S", BARSHADE);
  const std::string rgb1 = LOGBARRGB1, rgb2 = LOGBARRGB2, pattern = PATTERNNAME;
  const std::int16_t flag1 = LOGBARFLAG1, flag2 = LOGBARFLAG2;
  LOGBARRGB1 = "0.85 0.85 0.85", LOGBARFLAG1 = 1;
  LOGBARRGB2.clear(), LOGBARFLAG2 = 0;
  for (const Bar& bar : kBars) {
    const std::int32_t x = 1060 + 80 * bar.a, y = 420 + 65 * bar.b, w = 80 * bar.c, h = 65 * bar.d;
    SHADEBAR(x, y, w, h);
  }
  LOGBARRGB1 = rgb1, LOGBARRGB2 = rgb2, PATTERNNAME = pattern;
  LOGBARFLAG1 = flag1, LOGBARFLAG2 = flag2;
}
