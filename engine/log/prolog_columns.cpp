// PROLOG's columns: for each column of the pass its markers, then each record's zone, text band and
// drawing (DOZONE): the graph bar, the record text (WRITEATT), hatches and tubes, and the zone box that
// ties the text back to the depths it describes (BARATTS, BOXLINE).
//
// What this code does not let through:
//  - the markers of one column never carry into the next: every column starts with "[I]", "[+N]",
//    "[LOG]", the maximum, the sub-division and the grid cleared, and "[+N]" is read from every column's
//    own name (so a drawing column writes its texts exactly when it says "[+N]");
//  - words of a label that fall below the last page are still left out, but said once per column with
//    the column's title and the record's depth.
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
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"

namespace {

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(std::clamp(v, -2.0e9, 2.0e9))); }

void rule(std::int32_t x1, std::int32_t x2, std::int32_t y) { RULE(x1, x2, y); }

}  // namespace

void LogDraw::column_markers() {
  const std::string& name = ATTRNAME(ATTRNO);
  LOGBARRGB1 = FNRGBB(name);
  LOGBARFLAG1 = RGBFLAG;
  DRPOS = static_cast<std::int16_t>(rt::INSTR(name, "[DR]"));
  GRAPHPOS = static_cast<std::int16_t>(rt::INSTR(name, "[G="));
  HOLLOW = static_cast<std::int16_t>(rt::INSTR(name, "[h]"));
  FILEFLAG = static_cast<std::int16_t>(rt::INSTR(name, "[FILE]"));
  PLOTFLAG = static_cast<std::int16_t>(rt::INSTR(name, "[HPGL"));
  NUMBERS = static_cast<std::int16_t>(rt::INSTR(name, "[+N]"));
  INVERSE = 0, LOGPOS = 0, SUBPOS = 0, RASTERPOS = 0, GRAPHMAX = 100;
  SUBDOTTED = RASTERDOTTED = false;
  PLOTSTYLE.clear();
  if (GRAPHPOS == 0 && PLOTFLAG == 0) return;
  if (PLOTFLAG > 0) PLOTSTYLE = rt::MID(name, PLOTFLAG + 5, 4);
  INVERSE = static_cast<std::int16_t>(rt::INSTR(name, "[I]"));
  if (GRAPHPOS > 0) DNEXTVAL(GRAPHPOS, name, GRAPHMAX);
  if (std::fabs(GRAPHMAX) < 0.0001) GRAPHMAX = 100;
  LOGPOS = static_cast<std::int16_t>(rt::INSTR(name, "[LOG]"));
  if (const long s = rt::INSTR(name, "[s="); s > 0) {
    SUBPOS = static_cast<std::int16_t>(s), SUBDOTTED = true;
  } else {
    SUBPOS = static_cast<std::int16_t>(rt::INSTR(name, "[S="));
  }
  if (const long r = rt::INSTR(name, "[r="); r > 0) {
    RASTERPOS = static_cast<std::int16_t>(r), RASTERDOTTED = true;
  } else {
    RASTERPOS = static_cast<std::int16_t>(rt::INSTR(name, "[R="));
  }
}

void LogDraw::PRINTATT() {
  trap_.section("PRINTATT");
  title_geometry();
  RIGHTX = SHEETX0;
  for (ATTRNO = FROMCOL; ATTRNO <= TOCOL; ++ATTRNO) {
    TUBEEND = 0;
    CURFONT = 1;
    FSETFONT(1);
    LEFTX = RIGHTX;
    RIGHTX = COLX[ATTRNO];
    column_markers();
    CENTREX = rounded((LEFTX + RIGHTX) / 2.0);
    // A column too narrow for its widest word (the page had not the room) draws all its words
    // narrower alike on PDF, down to the width of the text two points smaller.
    WORDPERCENT = 100;
    if (OUTDEV == 1 && FILEFLAG == 0) {
      const std::int32_t widest = column_widest(ATTRNO), room = word_room(LEFTX, RIGHTX);
      const double points = rt::VAL(FNPOINTS(FONTSPEC(1)));
      const std::int32_t least = points > 2 ? static_cast<std::int32_t>(std::ceil(100 * (points - 2) / points)) : 100;
      if (widest > room && room > 0) {
        const std::int32_t percent = static_cast<std::int32_t>(std::floor(100.0 * room / widest));
        if (percent >= least) WORDPERCENT = percent;
      }
    }
    // The column's words are known before its grid and fills are drawn, which leave them clear.
    column_clears();
    if (GRAPHPOS > 0 || PLOTFLAG > 0) {
      if (SUBPOS > 0) SUBDIVID();
      if (RASTERPOS > 0) RASTERRO();
    }
    PREVOFFSET = 0;
    const std::int32_t n = std::max(ATTRWIDTH(ATTRNO), 0);
    for (std::int32_t i = 1; i <= n; ++i) {
      REC = static_cast<std::int16_t>(ATTRSTART(ATTRNO) + i);
      RECTEXT = log_record(REC);
      LOGBARRGB2 = FNRGBB(RECTEXT);
      LOGBARFLAG2 = RGBFLAG;
      std::string delims = " ";
      PARSVARS(RECTEXT, delims);
      WORDS.assign(1, std::string());
      for (std::int32_t w = 1; w <= PARSEDCOUNT && w <= PARSED.ubound(); ++w) WORDS.push_back(PARSED(w));
      if (FILEFLAG > 0) {
        DATAFILE();
      } else {
        LABELDEPTH = TEXTDEPTH(REC);
        ZONELINE(ZONETOP, ZONEBOTTOM, REC);
        TEXTLINE(TEXTTOP, TEXTBOTTOM, REC);
        DOZONE(REC);
      }
    }
  }
  CLEARS.resize(SCALECLEARS);
  // The record colour ends with the columns.
  LOGBARRGB2.clear();
  LOGBARFLAG2 = 0;
}

void LogDraw::DOZONE(std::int16_t rec) {
  CURFONT = 1;
  FSETFONT(1);
  if (DRPOS == 0 && GRAPHPOS > 0) GRAPHATT();
  if ((DRPOS == 0 && GRAPHPOS == 0) || NUMBERS > 0) WRITEATT();
  XHATCH();
  BARATTS(LEFTX, RIGHTX, rec, WORDS.size() > 1 ? WORDS[1] : std::string());
}

bool LogDraw::placed_words(std::vector<PlacedWord>& out, bool& below) {
  below = false;
  if (PAGEORIGIN > FNLDOT(TEXTBOTTOM)) return false;
  if (PAGEENDDOT <= FNLDOT(TEXTTOP)) {
    below = true;
    return false;
  }
  const long align = rt::INSTR(RECTEXT, "[R]") - rt::INSTR(RECTEXT, "[L]");
  std::string text = RECTEXT;
  CUTSTRIN(text);
  std::string delims = " ";
  PARSVARS(text, delims);
  std::vector<std::string> words;
  for (std::int32_t i = 1; i <= PARSEDCOUNT && i <= PARSED.ubound(); ++i) words.push_back(PARSED(i));
  const double n = static_cast<double>(words.size());
  const double lines = UNITSPERLINE > 0 ? (n / 2) / UNITSPERLINE : 0;
  const std::int32_t y0 = FNZDOT(LABELDEPTH - lines) - 9;
  std::int32_t x = CENTREX, origin = 4;
  if (align < 0) x = LEFTX, origin = 1;
  if (align > 0) x = RIGHTX, origin = 7;
  const std::int32_t room = word_room(LEFTX, RIGHTX);
  for (size_t i = 0; i < words.size(); ++i) {
    const std::int32_t y = rounded(LINEPITCH * static_cast<double>(i + 1) + y0);
    if (y < HEADDOTS - 2) continue;
    if (y > PAGEENDROW) {
      below = true;
      continue;
    }
    std::string word = words[i];
    WASHTEXT(word);
    std::int32_t width = FNDLEN(word, 1);
    // A word wider than its column (where the page has not the room for the column to hold it) is drawn
    // narrower on PDF, from its left end: with all the column's words alike where that is enough, else
    // narrowed or cut on its own.
    if (WORDPERCENT < 100) {
      width = static_cast<std::int32_t>(std::ceil(width * WORDPERCENT / 100.0));
      word = "\x15" + rt::STR_TRIM(static_cast<std::int64_t>(WORDPERCENT)) + "\x15" + word;
      const std::int32_t left = origin == 1 ? x : origin == 7 ? x - width : x - static_cast<std::int32_t>(rt::round_even(width / 2.0));
      out.push_back({left, y, word, 1, left, width});
      continue;
    }
    if (OUTDEV == 1 && width > room && fit_word(word, 1, room, width)) {
      const std::int32_t left = origin == 1 ? x : origin == 7 ? x - width : x - static_cast<std::int32_t>(rt::round_even(width / 2.0));
      out.push_back({left, y, word, 1, left, width});
      continue;
    }
    const std::int32_t left = origin == 1 ? x : origin == 7 ? x - width : x - rt::to_i32(width / 2.0);
    out.push_back({x, y, word, origin, left, width});
  }
  return true;
}

void LogDraw::WRITEATT() {
  trap_.section("WRITEATT");
  std::vector<PlacedWord> words;
  bool below = false;
  const bool placed = placed_words(words, below);
  if (below && PAGENO >= PAGECOUNT && !below_said[static_cast<size_t>(ATTRNO)]) {
    below_said[static_cast<size_t>(ATTRNO)] = true;
    std::string title = ATTRNAME(ATTRNO);
    CUTSTRIN(title);
    const std::string text = "Hole " + rt::TRIM(HEADER(20)) + ": in column \"" + title + "\" the text of the record at" +
                             rt::STR(ZONEBOTTOM) + " falls below the last page and is left out.";
    show_message(text);
    rt::fault_logged(text);
  }
  if (!placed) return;
  // The record's alignment, as before its words are drawn (a word drawn narrower goes from its left end).
  const long align = rt::INSTR(RECTEXT, "[R]") - rt::INSTR(RECTEXT, "[L]");
  TEXTORIGIN = align < 0 ? 1 : align > 0 ? 7 : 4;
  const std::int32_t kept = TEXTORIGIN;
  for (PlacedWord& w : words) {
    TEXTORIGIN = w.origin;
    PRINTEXT(w.x, w.y, w.word);
  }
  TEXTORIGIN = kept;
}

void LogDraw::BARATTS(std::int32_t left, std::int32_t right, std::int16_t rec, const std::string& first_word) {
  trap_.section("BARATTS");
  if (TUBEEND > 0) return;
  if (static_cast<std::int64_t>(FNLDOT(ZONETOP)) - PAGEORIGIN > 31000 ||
      static_cast<std::int64_t>(PAGEENDDOT) - FNLDOT(ZONEBOTTOM) > 31000)
    return;
  const bool point = first_word.find('@') != std::string::npos;
  const std::int32_t first = ATTRSTART(ATTRNO) + 1, last = ATTRSTART(ATTRNO) + std::max(ATTRWIDTH(ATTRNO), 0);
  double top = 0, bottom = 0;
  std::int32_t z = FNZDOT(ZONETOP), t = FNZDOT(TEXTTOP);
  if (!point) {
    t = std::min(z, t);
    if (rec > first) {
      TEXTLINE(top, bottom, static_cast<std::int16_t>(rec - 1));
      t = std::max(t, FNZDOT(bottom));
    }
  }
  BOXLINE(left, right, z, t);
  z = FNZDOT(ZONEBOTTOM), t = FNZDOT(TEXTBOTTOM);
  if (!point) {
    t = std::max(z, t);
    if (rec < last && rec >= first) {
      TEXTLINE(top, bottom, static_cast<std::int16_t>(rec + 1));
      t = std::min(t, FNZDOT(top));
    }
  }
  BOXLINE(left, right, z, t);
}

void LogDraw::BOXLINE(std::int32_t left, std::int32_t right, std::int32_t z, std::int32_t t) {
  const std::int32_t lo = HEADDOTS, hi = PAGEENDROW;
  const std::int32_t zc = std::clamp(z, lo, std::max(lo, hi)), tc = std::clamp(t, lo, std::max(lo, hi));
  if (z >= lo && z <= hi) {
    if (LOGSUPPRESS10 == 0) {
      // The witness lines across the scale strips stop short of the scales' labels.
      if (LOGSUPPRESS100 == 0) rule_clear(SHEETX1, SHEETX0, z, rule);
      rule_clear(SHEETX2, LOGRIGHT, z, rule);
    }
    RULE(left, left + 10, z);
    RULE(right - 10, right, z);
  }
  if (GRAPHPOS > 0 || DRPOS > 0) return;
  if (t >= lo && t <= hi) RULE(left + 10, right - 10, t);
  BORDIR(left + 10, std::min(zc, tc), std::max(zc, tc));
  BORDIR(right - 10, std::min(zc, tc), std::max(zc, tc));
}
