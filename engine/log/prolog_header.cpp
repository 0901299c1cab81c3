// PROLOG's page parts that are neither a scale nor a column: the header of separate log pages (hole box,
// job box, abbreviation table), the page box, the column and scale titles with the lines of the title
// block, the layer boundaries across the log, and the title geometry of the page.
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
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"

namespace {

// The air between a column title's word and the column's sides, dots.
constexpr std::int32_t kTitleAir = 6;

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(std::clamp(v, -2.0e9, 2.0e9))); }
std::int16_t dots16(double v) { return static_cast<std::int16_t>(rt::round_even(std::clamp(v, -32000.0, 32000.0))); }

void rule(std::int32_t x1, std::int32_t x2, std::int32_t y) { RULE(x1, x2, y); }

void text_at(std::int32_t x, std::int32_t y, const std::string& text) {
  std::string t = text;
  PRINTEXT(x, y, t);
}

void font(std::int32_t n) {
  CURFONT = n;
  FSETFONT(n);
}

// The field texts of an abbreviation line, cut at the first line's field starts (1-based positions).
std::vector<std::string> fields_of(const std::string& line, const std::vector<std::int16_t>& starts, std::int16_t n) {
  std::vector<std::string> out;
  for (std::int16_t f = 0; f < n; ++f) {
    const long from = starts[static_cast<size_t>(f)];
    const long end = f + 1 < n ? starts[static_cast<size_t>(f) + 1] - 1 : static_cast<long>(line.size());
    // A field that ends where it starts (one character at the very end) is skipped.
    out.push_back(end > from ? rt::TRIM(rt::MID(line, from, end - from + 1)) : std::string());
  }
  return out;
}

}  // namespace

void LogDraw::HEADERR() {
  trap_.section("HEADERR");
  font(1);
  TEXTORIGIN = 1;
  BOXX = dots16(LOGX0 + 30.0);
  if (LOGPASS == 1) return;
  PAGETEXT = VOCAB(26) + rt::STR(static_cast<std::int64_t>(PAGENO)) + " " + VOCAB(25) +
             rt::STR(static_cast<std::int64_t>(PAGECOUNT));
  HEADBOXEND = 0;
  HOLEBOX();
  JOBBOX();
  // The abbreviation table stands right of the hole and job boxes, also where a long value has grown
  // a box past the table's place (the pen devices' wide fixed-pitch letters): as far from the box as
  // from a box of its first width.
  const std::int32_t table_x = std::max<std::int32_t>(LOGX0 + 540, HEADBOXEND + (540 - 30 - 445));
  std::int32_t y = rounded(24 - TITLEPITCH / 4);
  font(3);
  if (LAYERCOUNT > 0) {
    ABBTAB();
    for (std::int32_t k = 1; k <= ABBRCOUNT; ++k) {
      y = rounded(y + TITLEPITCH);
      std::int32_t offset = 0;
      const std::vector<std::string> fields = fields_of(ABBREV(k), TABSTART, TABCOUNT);
      for (size_t f = 0; f < fields.size(); ++f) {
        std::string text = fields[f];
        if (!text.empty()) {
          WASHTEXT(text);
          text_at(table_x + offset, y, text);
        }
        // Every field keeps its place, also below a blank one, so the columns of the table stay aligned.
        offset += TABWIDTH[f];
      }
    }
  }
  font(1);
}

void LogDraw::ABBTAB() {
  trap_.section("ABBTAB");
  // The field starts: the first character of the line's text, and each character that follows a run
  // of two or more blanks; at most five.
  const std::string first = ABBREV(1);
  TABCOUNT = 0;
  for (size_t i = 0; i < first.size() && TABCOUNT < 5; ++i) {
    if (first[i] == ' ') continue;
    const bool starts = i == 0 || (i >= 2 && first[i - 1] == ' ' && first[i - 2] == ' ') ||
                        (TABCOUNT == 0 && rt::TRIM(first.substr(0, i)).empty());
    if (starts) TABSTART[static_cast<size_t>(TABCOUNT++)] = static_cast<std::int16_t>(i + 1);
  }
  for (std::int32_t k = 1; k <= ABBRCOUNT; ++k) {
    const std::vector<std::string> fields = fields_of(ABBREV(k), TABSTART, TABCOUNT);
    for (size_t f = 0; f < fields.size(); ++f) {
      if (fields[f].empty()) continue;
      std::string text = fields[f];
      WASHTEXT(text);
      const std::int32_t w = FNDLEN(text, 3) + 30;
      // The widths only grow within one call.
      if (w > TABWIDTH[f]) TABWIDTH[f] = dots16(w);
    }
  }
}

void LogDraw::HOLEBOX() {
  trap_.section("HOLEBOX");
  std::string label = rt::TRIM(VOCAB(20)) + " ";
  const std::string value = rt::TRIM(HEADER(20));
  if (HOLETYPE > 0) label.clear();
  if (value == "000") return;
  const std::int32_t tw = FNDLEN(label, 3) + FNDLEN(value, CURFONT);
  std::int32_t g = 0, m = 0;
  box_growth(445, tw, g, m);
  const std::int32_t x = BOXX, y = 50;
  MINIBOX(x, y, 445 + g, 116);
  HEADBOXEND = std::max(HEADBOXEND, x + 445 + g);
  const std::int32_t lw = FNDLEN(label, 3), pw = FNDLEN(PAGETEXT, 3);
  // Four prints a quarter dot apart make the texts heavier.
  for (int k = 1; k <= 4; ++k) {
    const double shift = k / 4.0;
    const std::int32_t tx = rounded(x + m + shift);
    font(3);
    if (!label.empty()) text_at(tx, 100, label);
    font(1);
    text_at(tx + lw, 100, value);
    font(3);
    text_at(rounded(x + (445 - pw) / 2.0 + shift), 150, PAGETEXT);
  }
  font(1);
}

void LogDraw::JOBBOX() {
  trap_.section("JOBBOX");
  const std::string label = rt::TRIM(VOCAB(22)) + " ";
  const std::string value = rt::TRIM(HEADER(22));
  const std::int32_t tw = FNDLEN(label, 3) + FNDLEN(value, CURFONT);
  std::int32_t g = 0, m = 0;
  box_growth(445, tw, g, m);
  const std::int32_t x = BOXX, y = 197;
  MINIBOX(x, y, 445 + g, 72);
  HEADBOXEND = std::max(HEADBOXEND, x + 445 + g);
  const std::int32_t lw = FNDLEN(label, 3);
  for (int k = 0; k <= 1; ++k) {
    font(3);
    text_at(x + m + k, 247, label);
    font(1);
    text_at(x + m + k + lw, 247, value);
  }
  font(1);
}

void LogDraw::BIGBOX() {
  trap_.section("BIGBOX");
  BOXRIGHT = LOGPASS == 1 ? dots16(RIGHTEDGE) : dots16(2335.0 + PAGEOFFSET);
  const std::int16_t bottom = dots16(PAGELENGTH - 4.0);
  // The columns beside the profile on a page of their own (the printer) close their frame themselves.
  const bool alone = LOGPASS == 1 && !log_columns_on_profile_page();
  if (!(LOGPASS == 1 && LOGMODE == 2) || alone) BORDER(LOGX0, 20, bottom);
  if (LOGPASS == 2) {
    RULE(LOGX0, BOXRIGHT, 20);
    RULE(LOGX0, BOXRIGHT, bottom);
    // A log page that is a sheet of its own closes its frame on the right; on A3 the profile page
    // joins it there.
    if (!log_pages_joined()) BORDER(BOXRIGHT, 20, bottom);
  } else if (alone) {
    // Its right side stands a scale strip's width (126 dots) right of the depth scale's line, where the
    // strip ends when some columns have pages of their own; with all columns beside the profile the
    // scale's line is the band's right edge and its labels stand beyond it, inside this side.
    const std::int16_t right = dots16(LOGRIGHT + 126.0);
    RULE(LOGX0, right, 20);
    RULE(LOGX0, right, bottom);
    BORDER(right, 20, bottom);
  }
}

void LogDraw::title_geometry() {
  TITLETOP = dots16(PAGELENGTH - LOGRESERVE - 2.0);
  NAMEHEIGHT = dots16(LAYOUTPITCH * NAMEROWS + 2);
  if (LOGRESERVE < 300) TITLETOP = dots16(static_cast<double>(HEADDOTS) - NAMEHEIGHT);
  SUBBASE = PAGECOUNT > PAGENO && FOOTODD == 0 ? dots16(static_cast<double>(PAGELENGTH) - NAMEHEIGHT - 34) : TITLETOP;
}

void LogDraw::FOOTER() {
  trap_.section("FOOTER");
  font(3);
  TEXTORIGIN = 4;
  std::int32_t left = SHEETX0;
  for (std::int32_t i = FROMCOL; i <= TOCOL; ++i) {
    std::string title = ATTRNAME(i);
    CUTSTRIN(title);
    // A title word keeps a label gap from the column's sides.
    WRITELAB(dots16((left + COLX[i]) / 2.0), title, std::max<std::int32_t>(COLX[i] - left - 2 * kTitleAir, 1));
    left = COLX[i];
  }
  const std::string depth_title = log_depth_title(SCALEUNIT);
  if (LEFTSCALEW > 0) WRITELAB(dots16(SHEETX1), SWAPSCALES ? depth_title : VOCAB(27));
  if (RIGHTSCALEW > 0) WRITELAB(dots16(LOGRIGHT), SWAPSCALES ? VOCAB(27) : depth_title);
  const std::int32_t y = rounded(PAGELENGTH - LAYOUTPITCH * NAMEROWS - 34);
  if (PAGENO < PAGECOUNT && FOOTODD == 0) {
    RULE(SHEETX0, SHEETX2, y + 4);
  } else {
    if (LOGPASS == 2) RULE(SHEETX1, 2335 + PAGEOFFSET, TITLETOP + 3);
    if (!SINGLEBLANK) {
      const std::int16_t x0 = dots16(SHEETX0), x2 = dots16(SHEETX2), bottom = dots16(TITLETOP + NAMEHEIGHT);
      RULE4(x0, x2, TITLETOP);
      RULE4(x0, x2, bottom);
    }
    for (std::int32_t i = FROMCOL; i < TOCOL; ++i) BORDER(COLX[i], TITLETOP, dots16(TITLETOP + NAMEHEIGHT));
  }
  font(1);
}

void LogDraw::SHOOTLAY() {
  trap_.section("SHOOTLAY");
  if (LOGSUPPRESS1 == 1 || LOGMODE == 2) return;
  for (std::int32_t l = 1; l <= LAYERCOUNT; ++l) {
    const std::int32_t y = FNZDOT(LAYERDEPTH(l));
    if (y >= HEADDOTS && y < PAGEENDROW) {
      // A layer line across a scale strip stops short of the scale's labels.
      rule_clear(SHEETX2, BOXRIGHT, y, rule);
      if (LOGSUPPRESS100 == 0) rule_clear(SHEETX1, SHEETX0, y, rule);
    }
  }
}
