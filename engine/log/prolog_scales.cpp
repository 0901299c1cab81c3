// PROLOG's scales and frame: the reduced-level and depth scales in the strips beside the columns, and the
// lines of the log body with the marks of a log continued from or on another page.
//
// A scale without a positive interval or division draws no ticks or labels (rather than looping), and
// the continuation arrows are drawn on PDF only, as the profile's are.
#include <algorithm>
#include <cmath>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/log/globals.h"
#include "engine/log/log.h"
#include "engine/log/prolog.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"

namespace {

std::int16_t dots16(double v) { return static_cast<std::int16_t>(rt::round_even(std::clamp(v, -32000.0, 32000.0))); }

// The most steps one scale may take on a page: a hole 100 km deep at 1 mm steps.
constexpr long kMostSteps = 10000000;

}  // namespace

void LogDraw::SCALES() {
  trap_.section("SCALES");
  // The page's texts to keep clear start with the scales' labels.
  CLEARS.clear();
  SCALEOFFSET = 0;
  LEFTLINE = 0, RIGHTLINE = 0;
  DEEPEST = LAYERDEPTH(LAYERCOUNT);
  if (LEFTSCALEW > 0) {
    SCALEXLINE = dots16(SHEETX1);
    SCALEX = SHEETX1 - 120;
    if (SWAPSCALES) SETDEPLE(); else SETREDLE();
    SCALESIDE = -1, TICKLEN = -8;
    SCALE2();
    LEFTLINE = dots16(SHEETX1);
  }
  if (RIGHTSCALEW > 0 || LOGMODE == 1) {
    SCALEXLINE = dots16(LOGRIGHT);
    SCALEX = LOGRIGHT + 22;
    if (SWAPSCALES) SETREDLE(); else SETDEPLE();
    SCALESIDE = 1, TICKLEN = 8;
    SCALE2();
    RIGHTLINE = dots16(LOGRIGHT);
  }
  SCALECLEARS = CLEARS.size();
}

void LogDraw::SETREDLE() {
  SCALEFACTOR = 1;
  if (INCLINATION > 0 && INCLINATION < 90) SCALEFACTOR = std::cos(INCLINATION * (1 / 57.296));
  SCALEOFFSET = GROUNDLEVEL;
  SCALEDIR = -1;
}

void LogDraw::SETDEPLE() {
  SCALEFACTOR = 1;
  SCALEOFFSET = 0;
  SCALEDIR = 1;
}

void LogDraw::SCALE2() {
  trap_.section("SCALE2");
  const double end = (DEEPEST + 0.05) * SCALEDIR * SCALEFACTOR + SCALEOFFSET;
  // The page row of scale value v, or false when v stands off the page's body.
  auto row_of = [&](double v, std::int32_t& row) {
    const double depth = (v - SCALEOFFSET) / SCALEDIR / SCALEFACTOR;
    const std::int32_t y = FNLDOT(depth);
    row = y - PAGEORIGIN + HEADDOTS;
    return y >= PAGEORIGIN && y <= PAGEENDDOT;
  };
  auto beyond = [&](double v, double step) { return step > 0 ? v > end : v < end; };
  if (SCALESTEP > 0) {
    const double step = SCALEDIR * SCALESTEP, first = SCALESTEP * rt::round_even(SCALEOFFSET / SCALESTEP);
    for (long k = 0; k < kMostSteps; ++k) {
      const double v = first + k * step;
      if (beyond(v, step)) break;
      std::int32_t row = 0;
      if (!row_of(v, row) || row < HEADDOTS || row > PAGEENDROW) continue;
      const bool division = SCALETICK > 0 && std::fabs(v - SCALETICK * rt::round_even(v / SCALETICK)) < 0.005;
      const std::int32_t tick = (division ? 2 : 1) * TICKLEN;
      RULE(SCALEXLINE, SCALEXLINE + tick, row);
    }
  }
  CURFONT = 3;
  FSETFONT(3);
  if (SCALETICK > 0) {
    const double step = static_cast<double>(SCALEDIR) * SCALETICK,
                 first = SCALETICK * rt::round_even(SCALEOFFSET / SCALETICK);
    for (long k = 0; k < kMostSteps; ++k) {
      const double v = first + k * step;
      if (beyond(v, step)) break;
      std::int32_t row = 0;
      if (!row_of(v, row) || row <= HEADDOTS || row > PAGEENDROW) continue;
      const std::string number = rt::STR(static_cast<std::int64_t>(rt::round_even(v)));
      std::string label = SCALESIDE < 0 ? rt::RSET(number, 6) : rt::LSET(number, 6);
      // The ink of the number within its field of six, for the lines that keep clear of it.
      const std::string ink = rt::TRIM(label);
      const size_t lead = label.find_first_not_of(' ');
      keep_clear(SCALEX + FNDLEN(label.substr(0, lead == std::string::npos ? 0 : lead), 3), row - 3, FNDLEN(ink, 3), 3);
      PRINTEXT(SCALEX, row - 3, label);
    }
  }
  CURFONT = 1;
  FSETFONT(1);
}

void LogDraw::BORDERS() {
  trap_.section("BORDERS");
  const std::int16_t top = dots16(HEADDOTS);
  std::int16_t bottom = dots16(PAGELENGTH - 34.0);
  const double titles = LAYOUTPITCH * NAMEROWS;
  if (PAGENO < PAGECOUNT && PAGEDEPTH(PAGENO + 1) != PAGEDEPTH(PAGENO) && OUTDEV == 1) {
    PDFARROW(SHEETX1 - 7, PAGEENDROW + 3, 16);
    PDFARROW(LOGRIGHT - 7, PAGEENDROW + 3, 16);
  }
  if (PAGENO > 1 && PAGEDEPTH(PAGENO - 1) != PAGEDEPTH(PAGENO) && OUTDEV == 1) {
    PDFARROW(SHEETX1 - 7, HEADDOTS - 4, -16);
    PDFARROW(LOGRIGHT - 7, HEADDOTS - 4, -16);
  }
  if (PAGENO == PAGECOUNT || FOOTODD == 1) bottom = dots16(PAGELENGTH - LOGRESERVE + titles);
  const std::int16_t short_bottom = dots16(bottom - titles);
  if (RIGHTLINE != 0) BORDER(RIGHTLINE, top, short_bottom);
  if (LEFTLINE != 0) BORDER(LEFTLINE, top, short_bottom);
  BORDER4(dots16(LOGPASS == 1 || LOGMODE == 1 ? SHEETX2 : SHEETX0), top, bottom);
  if (LOGPASS == 2 && LOGMODE == 0 && SWAPSCALES) BORDER(dots16(LOGRIGHT), top, short_bottom);
  for (std::int32_t i = FROMCOL; i <= TOCOL; ++i) BORDER(COLX[i], top, bottom);
  // The head of the columns is ruled on every page, the pages after the first as the first (they had
  // only short marks at the two ends, so a page's columns stood open at the top).
  RULE(SHEETX2, BOXRIGHT, HEADDOTS);
  if (!SINGLEBLANK) RULE4(dots16(SHEETX0), dots16(SHEETX2), top);
  if (LOGSUPPRESS100 == 0) RULE(SHEETX1, SHEETX0, HEADDOTS);
}
