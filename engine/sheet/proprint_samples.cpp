// PROPRINT's samples column: each sample's symbol centred on its depth left of the soil column, its
// label further left, and a double bar with end ticks along a sampled depth range.
//
// Beyond what the sample texts may hold: a "[SYMB" without its "]" ends the mark search (the text
// stays); a symbol name that is not in the library's name list draws no symbol (its bar and label are
// drawn); every sample of a hole has room on a page (the coder's bound).
#include <algorithm>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proprint.h"
#include "engine/sheet/sheet.h"

namespace {

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(v)); }

}  // namespace

void SheetPrint::DSAMP() {
  trap_.section("DSAMP");
  SAMPLECOUNT = 0;
  SAMPLEY.assign(static_cast<size_t>(std::max<std::int32_t>(MAXSAMPLES, DSAMPCOUNT)) + 1, 0);
  for (std::int32_t i = 1; i <= DSAMPCOUNT && i <= DSAMP1.ubound(); ++i) SINGLETI(DSAMP2(i), DSAMP1(i));
}

void SheetPrint::SINGLETI(const std::string& depth_text, std::string text) {
  trap_.section("SINGLETI");
  SYMFILL = " 0  0  0  rg";
  const long p = rt::INSTR(depth_text, "--");
  const bool range = p > 1 && static_cast<long>(depth_text.size()) > p + 1;
  double d1 = 0, d2 = 0, middle = 0;
  if (range) {
    d1 = rt::VAL(rt::LEFT(depth_text, p - 1)) - PAGETOP;
    d2 = rt::VAL(rt::MID(depth_text, p + 2)) - PAGETOP;
    middle = (d1 + d2) / 2;
  } else {
    middle = rt::VAL(depth_text) - PAGETOP;
  }
  const std::int32_t y = rounded(middle * DOTSPERUNIT);
  char mark = 0;
  for (long s = rt::INSTR(text, "[SYMB"); s > 0; s = rt::INSTR(text, "[SYMB")) {
    const long e = rt::INSTR(s, text, "]");
    if (e == 0) break;  // a mark without its end: the search stops, the text stays
    mark = text[static_cast<size_t>(e - 2)];
    text.erase(static_cast<size_t>(s - 1), static_cast<size_t>(e - s + 1));
  }
  if (text.find('[') == std::string::npos) return;
  if (range) {
    if (OUTDEV == 1) NEWSTREA();
    auto clamp = [&](std::int32_t v) { return std::min(std::max(v, PAGEORIGIN), NEXTSTART); };
    const std::int32_t a = clamp(rounded(d2 * DOTSPERUNIT - 0.5)), b = clamp(rounded(d1 * DOTSPERUNIT + 0.5));
    const std::int32_t top = std::min(a, b), bottom = std::max(a, b);
    const std::int32_t pt = FNPDOT(top), pb = FNPDOT(bottom);
    if (NEXTSTART > top && PAGEORIGIN < bottom) {
      BORDIR(SHEETX1 - 26, pt, pb);
      BORDIR(SHEETX1 - 22, pt, pb);
    }
    if (PAGEORIGIN < top) RULE(SHEETX1 - 26, SHEETX1 - 16, pt);
    if (NEXTSTART > bottom) RULE(SHEETX1 - 26, SHEETX1 - 16, pb);
    if (OUTDEV == 1) CLOSESTR();
  }
  if (y < PAGEORIGIN || y > NEXTSTART) return;
  std::string name;
  if (const size_t open = text.find('['); open != std::string::npos) {
    const size_t close = text.find(']', open);
    if (close != std::string::npos) {
      name = text.substr(open + 1, close - open - 1);
      text.erase(open, close - open + 1);
    }
  }
  const std::int32_t py = FNPDOT(y);
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(mark)));
  std::int32_t offset = rounded(57.5 * RASTERSTEP);
  if (upper == '9' || upper == 'C') {
    offset = 0;
    text.clear();
  } else if (mark == '6' || mark == '7' || mark == '8' || mark == 'L') {
    offset = rounded(64 * RASTERSTEP);
  }
  ++SAMPLECOUNT;
  if (static_cast<size_t>(SAMPLECOUNT) >= SAMPLEY.size()) SAMPLEY.resize(static_cast<size_t>(SAMPLECOUNT) + 1, 0);
  SAMPLEY[static_cast<size_t>(SAMPLECOUNT)] = py;
  const long at = name.empty() ? 0 : rt::INSTR(VOCABLIST, name);
  if (at > 0) {
    const std::int32_t bitmap = static_cast<std::int32_t>((at - 1) / 11 + 1);
    PUTPSET(SYMBITS2);
    PICKSYMB(bitmap, false);
    RASTERX = SHEETX1 - offset;
    const std::int32_t raster_top = rounded(py - 30 * RASTERSTEP);
    RASTERTOP = raster_top;
    BEGINRAS();
    if (OUTDEV == 1) {
      RASTEREND = raster_top;
      RASTERY = rounded(60 * RASTERSTEP + raster_top);
      WRITESAM();
      WRITESYMUSE(0, depth_text);
    } else {
      for (std::int32_t j = 1; j <= 60; ++j) SYMBLINE(j);
    }
    CLOSERAS();
    if (upper == '9') BANDMASK(py, offset);
  }
  SAMPLABE(text, middle);
}

void SheetPrint::BANDMASK(std::int32_t py, std::int32_t offset) {
  trap_.section("BANDMASK");
  // The library's next bitmap, right after the sample's.
  std::string bytes;
  if (LIBFILE > 0 && rt::is_open(LIBFILE)) bytes = rt::get_bytes(LIBFILE, 480);
  bytes.resize(480, '\0');
  for (long k = 2; k <= 241; ++k) {
    const size_t i = static_cast<size_t>(k - 2) * 2;
    SYMBITS(k) = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  RASTERX = SHEETX1 - offset;
  const std::int32_t raster_top = rounded(py - 30 * RASTERSTEP);
  RASTERTOP = raster_top;
  BEGINRAS();
  if (OUTDEV == 2 && plot_open) rt::put_bytes(PLOTFILE, ESCAPE + "*v1O" + ESCAPE + "*v1T");
  if (OUTDEV == 1) {
    RASTEREND = raster_top;
    RASTERY = rounded(60 * RASTERSTEP + raster_top);
    WRITESAM();
    SYMFILL = " 1 1 1 rg  % bandmask";
    WRITESYMUSE(0, "BAND");
    SYMFILL = " 0 0 0 rg";
  } else {
    for (std::int32_t j = 1; j <= 60; ++j) SYMBLINE(j);
  }
  CLOSERAS();
  if (OUTDEV == 2 && plot_open) rt::put_bytes(PLOTFILE, ESCAPE + "*v0O" + ESCAPE + "*v0T");
}

void SheetPrint::SAMPLABE(const std::string& label, double middle) {
  trap_.section("SAMPLABE");
  if (OUTDEV == 1) NEWSTREA();
  FSETFONT(3);
  const std::int32_t y = rounded(DOTSPERUNIT * middle);
  const std::int32_t w = FNDLEN(label, 3);
  LABELWIDTH = std::max(LABELWIDTH, w);
  std::string text = label;
  REPLAZE(text, HARDSPCODE, " ");
  PRINTEXT(SHEETX1 - (w + 86), FNPDOT(y) - 3, text);
  if (OUTDEV == 1) CLOSESTR();
}
