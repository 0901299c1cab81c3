// PROLOG's column layout: the horizontal frame of a pass (MARGINSE), the columns' widths (FINDCOLU) and
// the depths of the record labels, pushed apart where they overlap (FORMATLO, MOVETEXT). Nothing is
// drawn here.
//
// What this code does not let through:
//  - fixed widths ("[M=") that leave the shared columns no room (wider than the band, or using it up
//    exactly) are said once, naming the column, and scaled down by one factor: they fill half of the
//    band and the shared columns the other half (the whole band when every column is fixed);
//  - a label is moved up no further than the top of its page, also on a sheet that starts below 0 or
//    after a forced page break;
//  - labels that still overlap after 100 rounds are said; only a run with a person at the console
//    waits for a key, a run from a run file goes on;
//  - column edges stay within +-32000 dots.
#include <algorithm>
#include <cmath>

#include "engine/devices/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/log/globals.h"
#include "engine/log/log.h"
#include "engine/log/prolog.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"

namespace {

std::int16_t dots16(double v) { return static_cast<std::int16_t>(rt::round_even(std::clamp(v, -32000.0, 32000.0))); }

}  // namespace

void LogDraw::MARGINSE() {
  trap_.section("MARGINSE");
  RLSCALEW = NORLSCALE ? 0 : 220;
  DEPTHSCALEW = NODEPTHSCALE ? 0 : 220;
  LEFTSCALEW = SWAPSCALES ? DEPTHSCALEW : RLSCALEW;
  RIGHTSCALEW = SWAPSCALES ? RLSCALEW : DEPTHSCALEW;
  GAP = 0;
  if (LOGPASS == 1) {
    const std::int32_t w = std::min<std::int32_t>(300 - LABELWIDTH, 230);
    RIGHTEDGE = std::clamp<std::int32_t>(w + PROFLMARGIN + A3SHIFT, -32000, 32000);
    if (LOGMODE == 1) {
      LOGX0 = dots16(A3SHIFT + 60);
      RIGHTSCALEW = 0;
      LOGRIGHT = RIGHTEDGE;
      SHEETX1 = LOGX0 + 126;
    } else {
      LOGX0 = dots16(A3SHIFT);
      LEFTSCALEW = 0;
      LOGRIGHT = RIGHTEDGE - 126;
      SHEETX1 = LOGX0;
    }
  } else {
    LOGX0 = dots16(ATTRLMARGIN + 250.0);
    if (LOGMODE == 2) {
      RIGHTEDGE = 2333;
      RIGHTSCALEW = 0;
      LOGRIGHT = RIGHTEDGE;
    } else {
      RIGHTEDGE = std::clamp<std::int32_t>(2250 - ATTRRMARGIN, -32000, 32000);
      LOGRIGHT = RIGHTEDGE - 126;
    }
    GAP = 20;
    SHEETX1 = LOGX0 + 126;
  }
  SHEETX0 = LEFTSCALEW + LOGX0 + GAP;
  SHEETX2 = RIGHTEDGE - RIGHTSCALEW;
}

void LogDraw::FINDCOLU() {
  trap_.section("FINDCOLU");
  const double band = static_cast<std::int16_t>(std::clamp<std::int32_t>(SHEETX2 - SHEETX0, -32000, 32000));
  double free = band, total = 0, fixed = 0;
  std::int16_t overflow = 0;  // the column whose fixed width left the shared ones no room
  for (std::int32_t i = FROMCOL; i <= TOCOL; ++i) {
    const std::string& name = ATTRNAME(i);
    const long m = rt::INSTR(rt::UCASE(name), "[M="), c = rt::INSTR(name, "[C=");
    double v = 0;
    if (m > 0) {
      DNEXTVAL(static_cast<std::int32_t>(m), name, v);
      v = std::clamp(v, -32000.0, 32000.0);
      free = rt::round_even(free - v);
      fixed += v;
      COLSHARE[i] = -v;
      if (overflow == 0 && free < 0) overflow = static_cast<std::int16_t>(i);
    } else if (c > 0) {
      DNEXTVAL(static_cast<std::int32_t>(c), name, v);
      v = std::clamp(v, -32000.0, 32000.0);
      total += v;
      COLSHARE[i] = v;
    } else {
      total += 1;
      COLSHARE[i] = 1;
    }
  }
  // Fixed widths that leave the shared columns no room (or more than the band when all are fixed).
  if (fixed > 0 && ((total > 0 && free <= 0) || (total <= 0 && free < 0))) {
    if (overflow == 0) {
      for (std::int32_t i = TOCOL; i >= FROMCOL; --i)
        if (COLSHARE[i] < 0) overflow = static_cast<std::int16_t>(i);
    }
    if (!widths_said) {
      widths_said = true;
      std::string title = ATTRNAME(overflow);
      CUTSTRIN(title);
      const std::string text = "Hole " + rt::TRIM(HEADER(20)) + ": the fixed column widths up to \"" + title +
                               "\" do not fit the log's width; they are narrowed to fit.";
      show_message(text);
      rt::fault_logged(text);
    }
    const double room = total > 0 ? std::max(band, 0.0) / 2 : std::max(band, 0.0);
    const double factor = room / fixed;
    free = band;
    for (std::int32_t i = FROMCOL; i <= TOCOL; ++i) {
      if (COLSHARE[i] < 0 && rt::INSTR(rt::UCASE(ATTRNAME(i)), "[M=") > 0) {
        COLSHARE[i] *= factor;
        free += COLSHARE[i];
      }
    }
    free = rt::round_even(free);
  }
  COLUNIT = total > 0 ? free / total : 1;
  double x = SHEETX0;
  for (std::int32_t i = FROMCOL; i <= TOCOL; ++i) {
    if (COLSHARE[i] < 0.001) COLSHARE[i] = COLUNIT != 0 ? -COLSHARE[i] / COLUNIT : 0;
    x = rt::round_even(std::clamp(x + COLUNIT * COLSHARE[i], -32000.0, 32000.0));
  }
  SHEETX2 = static_cast<std::int32_t>(x);
}

void LogDraw::FORMATLO() {
  trap_.section("FORMATLO");
  if (LAYERCOUNT == 0) return;
  double x = SHEETX0;
  for (std::int32_t i = FROMCOL; i <= TOCOL; ++i) {
    ATTRNO = static_cast<std::int16_t>(i);
    GRAPHPOS = static_cast<std::int16_t>(rt::INSTR(ATTRNAME(i), "[G="));
    x += COLUNIT * COLSHARE[i];
    COLX[i] = dots16(x);
    const std::int32_t n = std::max(ATTRWIDTH(i), 0);
    const std::int32_t first = ATTRSTART(i);
    for (std::int32_t j = 1; j <= n; ++j) {
      const std::int16_t r = static_cast<std::int16_t>(first + j);
      ZONELINE(ZONETOP, ZONEBOTTOM, r);
      TEXTDEPTH(r) = (ZONETOP + ZONEBOTTOM) / 2;
    }
    for (std::int32_t round = 1;; ++round) {
      AGAIN = 0;
      PAGENO = 1;
      PAGELINE();
      for (std::int32_t j = 1; j <= n - 1; ++j) {
        const std::int16_t r = static_cast<std::int16_t>(first + j), next = static_cast<std::int16_t>(r + 1);
        double t1 = 0, b1 = 0, t2 = 0, b2 = 0;
        ZONELINE(ZONETOP, ZONEBOTTOM, r);
        TEXTLINE(t1, b1, r);
        if (PAGEBOTTOM < FNLDOT(std::min(ZONETOP, t1)) && PAGENO < PAGECOUNT) {
          ++PAGENO;
          PAGELINE();
        }
        TEXTLINE(t1, b1, r);
        TEXTLINE(t2, b2, next);
        const double overlap = b1 - t2;
        if (overlap > -QUARTERLINE && GRAPHPOS == 0 && TEXTDEPTH(next) > TEXTDEPTH(r)) MOVETEXT(r, overlap, t1);
      }
      if (round > 100) {
        std::string title = ATTRNAME(i);
        CUTSTRIN(title);
        // On a screen the message waits for a key; a run without one goes on at once.
        const std::string text = rt::TRIM(title) + PROMPT(42);
        if (on_console_screen()) show_message(text + "  " + PROMPT(110), 1, {}, MessageHold::kKey);
        else show_message(text, 1);
        break;
      }
      if (AGAIN == 0) break;
    }
  }
}

void LogDraw::MOVETEXT(std::int32_t r, double overlap, double t1) {
  trap_.section("MOVETEXT");
  const double need = overlap + 2 * QUARTERLINE;
  // The room above the label reaches up to the top of this page, never beyond it.
  const double page_top = TOPDEPTH + (DOTSPERUNIT != 0 ? PAGEORIGIN / DOTSPERUNIT : 0);
  const double room = std::max(t1 - page_top, 0.0);
  const double up = std::min(need / 2, room);
  const double down = need - up;
  TEXTDEPTH(r) = TEXTDEPTH(r) - up;
  TEXTDEPTH(r + 1) = TEXTDEPTH(r + 1) + down;
  AGAIN = 1;
}

std::int32_t LogDraw::column_widest(std::int32_t i) {
  std::int32_t widest = 0;
  const std::int32_t first = ATTRSTART(i), n = std::max(ATTRWIDTH(i), 0);
  for (std::int32_t j = 1; j <= n; ++j) {
    std::string text = log_record(first + j);
    CUTSTRIN(text);
    std::string delims = " ";
    PARSVARS(text, delims);
    for (std::int32_t w = 1; w <= PARSEDCOUNT && w <= PARSED.ubound(); ++w) {
      std::string word = PARSED(w);
      WASHTEXT(word);
      widest = std::max(widest, FNDLEN(word, 1));
    }
  }
  return widest;
}

double LogDraw::column_need(std::int32_t i, double factor) {
  const std::string& name = ATTRNAME(i);
  const bool drawing = rt::INSTR(name, "[DR]") > 0, graph = rt::INSTR(name, "[G=") > 0;
  if (rt::INSTR(name, "[FILE]") > 0) return 0;
  if ((drawing || graph) && rt::INSTR(name, "[+N]") == 0) return 0;
  const std::int32_t widest = column_widest(i);
  if (widest == 0) return 0;
  // The room word_room leaves a word: the air each side, and a text column's zone box sides.
  const std::int32_t pad = 2 * (4 + 1) + (!drawing && !graph ? 2 * 10 : 0);
  // A dot more for the rounding of the column edges.
  return std::ceil(widest * factor) + pad + 1;
}

void LogDraw::fit_columns() {
  trap_.section("FINDCOLU");
  if (LAYERCOUNT == 0 || TOCOL < FROMCOL) return;
  const double band = SHEETX2 - SHEETX0;
  std::vector<double> width(26, 0.0), need(26, 0.0);
  bool narrow = false;
  for (std::int32_t i = FROMCOL; i <= TOCOL; ++i) {
    width[static_cast<size_t>(i)] = COLUNIT * COLSHARE[static_cast<size_t>(i)];
    need[static_cast<size_t>(i)] = column_need(i, 1);
    if (need[static_cast<size_t>(i)] > width[static_cast<size_t>(i)] + 0.5) narrow = true;
  }
  // Where every column holds its words the layout stays as it is.
  if (!narrow || band <= 0) return;
  auto total = [&](std::int32_t last) {
    double t = 0;
    for (std::int32_t i = FROMCOL; i <= last; ++i) t += need[static_cast<size_t>(i)];
    return t;
  };
  const std::string hole = "Hole " + rt::TRIM(HEADER(20)) + ": ";
  if (total(TOCOL) > band) {
    // On PDF the values may be drawn narrower, down to the width of the same text two points smaller.
    const double points = rt::VAL(FNPOINTS(FONTSPEC(1)));
    // (in whole hundredths rounded up, as the narrowing takes it)
    const double least = OUTDEV == 1 && points > 2 ? std::ceil(100 * (points - 2) / points) / 100 : 1;
    for (std::int32_t i = FROMCOL; i <= TOCOL; ++i) need[static_cast<size_t>(i)] = column_need(i, least);
    std::int32_t last = TOCOL;
    while (last > FROMCOL && total(last) > band) --last;
    if (last < TOCOL) {
      std::string first_out = ATTRNAME(last + 1);
      CUTSTRIN(first_out);
      first_out = rt::TRIM(first_out);
      const std::string text = hole + "the log's " + rt::STR_TRIM(static_cast<std::int64_t>(TOCOL - FROMCOL + 1)) +
                               " columns need more width than the page has; \"" + first_out + "\" and the " +
                               rt::STR_TRIM(static_cast<std::int64_t>(TOCOL - last - 1)) +
                               " columns after it are left out.";
      show_message(text);
      rt::fault_logged(text);
      TOCOL = static_cast<std::int16_t>(last);
    } else {
      const std::string text = hole + "the log's columns need more width than the page has; their values are drawn narrower.";
      show_message(text);
      rt::log_note(text);
    }
  }
  // Each column gets what its words need; what the band has beyond that goes to the columns in
  // proportion to what each had beyond its need.
  const double needed = total(TOCOL);
  double spare = 0;
  for (std::int32_t i = FROMCOL; i <= TOCOL; ++i)
    spare += std::max(width[static_cast<size_t>(i)] - need[static_cast<size_t>(i)], 0.0);
  const double free = band - needed;
  const std::int32_t count = TOCOL - FROMCOL + 1;
  if (COLUNIT <= 0) COLUNIT = 1;
  for (std::int32_t i = FROMCOL; i <= TOCOL; ++i) {
    const size_t k = static_cast<size_t>(i);
    double w = 0;
    if (free < 0) {
      w = band * need[k] / needed;  // one column alone wider than the band
    } else {
      w = need[k] + (spare > 0 ? free * std::max(width[k] - need[k], 0.0) / spare : free / count);
    }
    COLSHARE[k] = w / COLUNIT;
  }
  double x = SHEETX0;
  for (std::int32_t i = FROMCOL; i <= TOCOL; ++i)
    x = rt::round_even(std::clamp(x + COLUNIT * COLSHARE[static_cast<size_t>(i)], -32000.0, 32000.0));
  SHEETX2 = static_cast<std::int32_t>(x);
}
