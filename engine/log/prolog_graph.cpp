// PROLOG's graph columns: a record's value as a bar (GRAPHATT), the labelled sub-division lines of a
// column (SUBDIVID, SUBLABEL) and its grid of lines at a fixed depth step (RASTERRO).
//
// What this code does not let through:
//  - a hollow column's outline starts from 0 at the start of each column, not from another column's last
//    value; records above the page still set it, so the outline on a later page goes on from the record
//    above;
//  - a grid without a step (or one whose lines would fall less than a dot apart) is not drawn, said once
//    per column, instead of looping for ever;
//  - a bar never leaves its column: a value beyond the column's maximum draws to the column's right
//    edge, a value below its origin to its left edge (offsets stay within +-32000 dots before that).
#include <algorithm>
#include <cmath>

#include "engine/convert/convert.h"
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/console.h"
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

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(std::clamp(v, -32000.0, 32000.0))); }

void rule(std::int32_t x1, std::int32_t x2, std::int32_t y) { RULE(x1, x2, y); }
void pdf_rule(std::int32_t x1, std::int32_t x2, std::int32_t y) { PDFRULE(x1, x2, y); }
void border(std::int32_t x, std::int32_t y1, std::int32_t y2) {
  const std::int16_t a = static_cast<std::int16_t>(x), b = static_cast<std::int16_t>(y1), c = static_cast<std::int16_t>(y2);
  BORDER(a, b, c);
}
void dotted(std::int32_t x, std::int32_t y1, std::int32_t y2) {
  const std::int16_t a = static_cast<std::int16_t>(x), b = static_cast<std::int16_t>(y1), c = static_cast<std::int16_t>(y2);
  DOTLINE(a, b, c);
}

}  // namespace

void LogDraw::shade(const std::string& kind, std::int32_t value) {
  SETSHADE(kind, value);
  if (kind == "S") BARSHADE = value;
}

void LogDraw::GRAPHATT() {
  trap_.section("GRAPHATT");
  std::string value = WORDS.size() > 2 ? WORDS[2] : std::string();
  // "[H]" hatches the bar whether it is written onto the value (12[H]) or after it (12 [H]).
  bool hatched = false;
  for (size_t w = 2; w < WORDS.size(); ++w) hatched = hatched || rt::INSTR(WORDS[w], "[H]") > 0;
  const std::int32_t offset = rounded(FNXSHIFT(FNCOMMA(value), GRAPHMAX, RIGHTX - LEFTX));
  std::int32_t top = FNLDOT(ZONETOP), bottom = FNLDOT(ZONEBOTTOM);
  if (PAGEORIGIN > bottom || PAGEENDDOT <= top) {
    PREVOFFSET = offset;
    return;
  }
  top = std::max(top, PAGEORIGIN);
  bottom = std::min(bottom, PAGEENDDOT);
  const std::int32_t y = FNPDOT(top), height = FNPDOT(bottom) - y;
  if (hatched) {
    PATTERNNAME = "/Hatch3";
    if (OUTDEV == 1) ADDPDFSH(); else shade("X", 3);
  } else if (HOLLOW > 0) {
    PATTERNNAME = "/Shade100";
    if (OUTDEV == 1) ADDPDFSH(); else shade("S", 100);
  } else if (OUTDEV == 1) {
    if (LOGBARFLAG1 == 0) {
      LOGBARFLAG1 = 2;
      LOGBARRGB1 = "0 0 0";
    }
    PATTERNNAME = "/Shade28";
    ADDPDFSH();
  } else {
    shade("S", 28);
  }
  if (HOLLOW > 0) {
    const std::int32_t a = LEFTX + rounded(PREVOFFSET), b = LEFTX + offset;
    column_bar(std::min(a, b), y, std::abs(b - a), 1);
  }
  std::int32_t x = LEFTX;
  if (INVERSE > 0 || HOLLOW > 0) x = LEFTX + offset;
  if (HOLLOW > 0 && hatched && INVERSE == 0) x = LEFTX;
  std::int32_t width = offset;
  if (INVERSE > 0) width = (RIGHTX - LEFTX) - offset;
  if (HOLLOW > 0 && !hatched) width = 1;
  column_bar(x, y, width, height);
  PREVOFFSET = offset;
}

void LogDraw::column_bar(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  const std::int32_t from = std::min(x, x + w), to = std::max(x, x + w);
  if (from >= LEFTX && to <= RIGHTX) {
    bar_clear(x, y, w, h);
  } else if (w == 1) {
    // A line (the outline of a hollow column) stands inside or is left out.
    if (x >= LEFTX && x <= RIGHTX) bar_clear(x, y, w, h);
  } else if (std::max(from, LEFTX) < std::min(to, RIGHTX)) {
    bar_clear(std::max(from, LEFTX), y, std::min(to, RIGHTX) - std::max(from, LEFTX), h);
  }
}

void LogDraw::SUBDIVID() {
  trap_.section("SUBDIVID");
  const std::string& name = ATTRNAME(ATTRNO);
  const long close = rt::INSTR(SUBPOS, name, "]");
  const std::string list = close > 0 ? rt::MID(name, SUBPOS + 3, close - SUBPOS - 3) : rt::MID(name, SUBPOS + 3);
  std::string label;
  CURFONT = 3;
  FSETFONT(3);
  std::int32_t previous = LEFTX, written_to = LEFTX - 10;
  const double width = COLUNIT * COLSHARE[static_cast<size_t>(ATTRNO)];
  size_t i = 0;
  while (i < list.size()) {
    // A word after more than the one separating blank (or after a blank at the list's start) is silent.
    size_t blanks = 0;
    while (i < list.size() && list[i] == ' ') ++blanks, ++i;
    if (i >= list.size()) break;
    const bool silent = blanks > 1 || (blanks == 1 && i == 1);
    size_t end = list.find(' ', i);
    if (end == std::string::npos) end = list.size();
    const std::string word = list.substr(i, end - i);
    i = end;
    const unsigned char c = static_cast<unsigned char>(word[0]);
    if (c >= '.' && c <= '9') {
      const std::int32_t x = rounded(FNXSHIFT(word, GRAPHMAX, width) + LEFTX);
      // A value beyond the column's scale (100 in a column to 50) would stand in the next column with
      // its line and number: it is left out, and said once per column.
      if (x < LEFTX - 1 || x > RIGHTX + 1) {
        if (!sub_said[static_cast<size_t>(ATTRNO)]) {
          sub_said[static_cast<size_t>(ATTRNO)] = true;
          std::string title = name;
          CUTSTRIN(title);
          const std::string text = "Hole " + rt::TRIM(HEADER(20)) + ": the sub-division " + word + " of column \"" +
                                   title + "\" lies outside the column's scale and is not drawn.";
          show_message(text);
          rt::fault_logged(text);
        }
        continue;
      }
      const std::int16_t x16 = static_cast<std::int16_t>(x), top = static_cast<std::int16_t>(HEADDOTS),
                         base = SUBBASE;
      border_clear(x16, top, base, SUBDOTTED ? dotted : border);
      SUBLABEL(previous, x, label);
      label.clear();
      // A number ends at its line; one that would run into the number before it (50 and 100 close
      // together read "50100") or out of the column's left edge is left unwritten, its line stays.
      const std::int32_t from = x - FNDLEN(word, 3);
      if (!silent && from >= std::max(LEFTX, written_to + 10)) {
        std::string number = word;
        PRINTEXT(from, SUBBASE - 4, number);
        written_to = x;
      }
      previous = x;
    } else {
      label += " " + word;
    }
  }
  SUBLABEL(previous, RIGHTX, label);
  CURFONT = 1;
  FSETFONT(1);
  if (OUTDEV == 1) FPRINT("%end of subdivide    ");
}

void LogDraw::SUBLABEL(std::int32_t from, std::int32_t to, const std::string& label) {
  const std::int32_t centre = static_cast<std::int32_t>(rt::round_even((from + to) / 2.0));
  std::string delims = " ";
  PARSVARS(label, delims);
  std::vector<std::string> words;
  for (std::int32_t i = 1; i <= PARSEDCOUNT && i <= PARSED.ubound(); ++i) words.push_back(PARSED(i));
  TEXTORIGIN = 4;
  const double n = static_cast<double>(words.size());
  for (size_t i = 0; i < words.size(); ++i) {
    std::string word = words[i];
    WASHTEXT(word);
    PRINTEXT(centre, rounded(SUBBASE - (n - static_cast<double>(i + 1)) * LAYOUTPITCH - 18), word);
  }
}

void LogDraw::RASTERRO() {
  trap_.section("RASTERRO");
  const std::string& name = ATTRNAME(ATTRNO);
  const double step = std::fabs(rt::VAL(rt::MID(name, RASTERPOS + 3)));
  // A grid needs a step whose lines fall at least a dot apart.
  if (!(step > 0) || step * std::fabs(DOTSPERUNIT) < 1) {
    if (!grid_said[static_cast<size_t>(ATTRNO)]) {
      grid_said[static_cast<size_t>(ATTRNO)] = true;
      std::string title = name;
      CUTSTRIN(title);
      const std::string text = "Hole " + rt::TRIM(HEADER(20)) + ": the grid of column \"" + title +
                               "\" has no step of a dot or more and is not drawn.";
      show_message(text);
      rt::fault_logged(text);
    }
    return;
  }
  const std::int32_t width = RIGHTX - LEFTX - 1;
  if (RASTERDOTTED) {
    if (OUTDEV == 1) FPRINT("[1 3] 0 d"); else shade("X", 2);
  }
  BARSHADE = 0;
  const double deepest = LAYERCOUNT > 0 ? LAYERDEPTH(LAYERCOUNT) : 0;
  for (long k = 0;; ++k) {
    const double d = k * step;
    if (d > deepest) break;
    const std::int32_t y = FNLDOT(d);
    if (y < PAGEORIGIN || y > PAGEENDDOT) continue;
    const std::int32_t r = y - PAGEORIGIN + HEADDOTS;
    if (r < HEADDOTS || r > PAGEENDROW) continue;
    bool solid = !RASTERDOTTED;
    if (RASTERDOTTED && SCALETICK > 0.0001) {
      const double q = d / SCALETICK;
      solid = q - std::floor(q) < 0.1;
    }
    if (OUTDEV == 1) {
      FPRINT(solid ? "[] 0 d" : "[1 3] 0 d");
      rule_clear(LEFTX, RIGHTX, r, pdf_rule);
    } else if (!RASTERDOTTED) {
      shade("S", 100);
      bar_clear(LEFTX, r, width, 1);
    } else if (solid) {
      shade("X", 2);
      rule_clear(LEFTX, RIGHTX, r, rule);
    } else {
      shade("X", 2);
      bar_clear(LEFTX, r, width, 2);
    }
  }
  if (OUTDEV == 1) FPRINT("[] 0 d"); else shade("S", 100);
}

