// PROSUMMA: the data of the summary (legend) sheet of a run's soil symbols, as a hole of its own: one
// layer record per symbol (its keywords and name as the text, the symbol as the layer's tag), one
// sample per sample mark. The caller lays it out and draws it with PROFORMA.
//
// Entries are sorted by the place of their name in the keyword table (names not in it first, equal
// places in the order they came). Beyond the tables of a legend:
//  - every entry the coder can collect has its line (more than 22 lines run on over further pages of
//    the fixed-scale layout);
//  - an entry that starts with its name (or is a sample mark) whose name the keyword table lacks gets no
//    keywords in front;
//  - a legend line too long for the column is cut from the end of its text, which then ends in ".... ";
//    the cutting stops when no text is left;
//  - an entry without a bracketed name gets the depth of its position, like the others.
#include <cmath>
#include <vector>

#include "engine/convert/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"

namespace {

// The single-precision values of the legend's constants.
constexpr double kInch = static_cast<double>(25.4f);
constexpr double kCmPerInch = static_cast<double>(2.54f);
constexpr double kHundredth = static_cast<double>(0.01f);

struct Summary {
  std::vector<std::string> texts{""};  // entry texts by entry number, from 1
  rt::Array<std::string> keys;         // sort keys 1..n
  std::int32_t n = 0;
  double step = 1;
};

void SORTSUMM(Summary& s) {
  show_message(PROMPT(34));
  std::vector<std::string> keys{""};
  long p = rt::INSTR(2, SUMMARYKEY, "|");
  while (p > 0) {
    const long q = rt::INSTR(p + 1, SUMMARYKEY, "|");
    if (q == 0) break;
    ++s.n;
    std::string e = rt::MID(SUMMARYKEY, p + 1, q - p - 1);
    long b = rt::INSTR(e, "[");
    const std::string name = b > 0 && static_cast<long>(e.size()) > b ? rt::MID(e, b) : std::string("******");
    const long k = rt::INSTR(KEYWORDS, "/" + name);
    keys.push_back(rt::RSET(rt::STR(static_cast<std::int64_t>(k)), 6) + rt::RSET(rt::STR(static_cast<std::int64_t>(s.n)), 6));
    if (rt::INSTR(rt::UCASE(e), "SYMB") > 0) b = 1, e = name;
    if (b == 1 && k > 1) {
      long d = k - 1;
      while (d > 1 && KEYWORDS[static_cast<size_t>(d - 1)] != '.') --d;
      if (d == 1) d = 0;
      e = rt::MID(KEYWORDS, d + 2, k - d - 2) + e;
    }
    s.texts.push_back(e);
    p = q;
  }
  s.keys.dim(0, s.n + 1);
  for (std::int32_t i = 1; i <= s.n; ++i) s.keys(i) = keys[static_cast<size_t>(i)];
  IRANK(s.keys, s.n);
  const double h = PAGELENGTH - HEADDOTS - FOOTDOTS;
  // The depth one page holds: the layout keeps 34 dots above the footer free on the last page, so a
  // legend that reached the footer (22 lines at 1 cm) ran on to a second page holding only a footer.
  double a = kInch * (h - 34 - 1) / 3000;
  const double rows = LINEPITCH > 0 ? std::floor(h / 2 / LINEPITCH) : 0;
  if (a > s.n) {
    s.step = 1;
  } else if (rows > s.n) {
    s.step = a / s.n;
  } else {
    a = kInch * (PAGELENGTH - HEADDOTS - 32) / 3000;
    s.step = a / 22;
  }
  LAYERCOUNT = s.n;
}

std::string depth_text(double v) { return rt::STR(v); }

void BUILDFIL(Summary& s) {
  const std::int32_t w = RIGHTEDGE - TEXTX - PROFRMARGIN - 30;
  DSAMPCOUNT = 0;
  for (std::int32_t i = 1; i <= s.n; ++i) {
    const auto j = static_cast<std::int32_t>(rt::VAL(rt::RIGHT(s.keys(i), 6)));
    std::string e = j >= 1 && j < static_cast<std::int32_t>(s.texts.size()) ? s.texts[static_cast<size_t>(j)] : std::string();
    std::string line = e;
    const long mark_at = rt::INSTR(rt::UCASE(e), "SYMB");
    std::string mark;
    if (mark_at > 0) {
      mark = rt::MID(e, mark_at, 5);
      SUBSTUTE(e, mark, "");
      mark = rt::UCASE(mark);
      REPLAZE(e, "/[", "[");
      line = e;
    }
    const double bottom0 = std::floor(100 * s.step * i) / 100;
    const double bottom = std::fabs(bottom0 - 22) < kHundredth ? (PAGELENGTH - HEADDOTS - FOOTDOTS - 1) * kCmPerInch / 300 : bottom0;
    const double sample_depth = std::floor(100 * s.step * i - 50) / 100;
    const long b = rt::INSTR(e, "[");
    if (b > 0 && static_cast<long>(e.size()) > b) {
      const long f = rt::INSTR(e, "/");
      if (f > 0 && f < b - 1) e = rt::LEFT(e, f - 1) + rt::LCASE(rt::MID(e, f, b - f)) + rt::MID(e, b);
      std::string tag = rt::MID(e, b);
      std::string shown = tag;
      for (char& c : shown) c = c == '[' ? '{' : c == ']' ? '}' : c;
      std::string x = rt::LEFT(e, b - 1);
      const std::int32_t wn = FNDLEN(shown, CURFONT);
      bool cut = false;
      // The longest head of the name that fits beside the tag (every head's width from one walk).
      const std::vector<std::int32_t> heads = head_widths(x, CURFONT, "");
      size_t n = x.size();
      while (n > 0 && heads[n] + wn > w) --n;
      cut = n < x.size();
      x.resize(n);
      if (cut) {
        const size_t keep = x.size() >= 5 ? x.size() - 5 : 0;
        x = x.substr(0, keep) + std::string(".... ").substr(0, x.size() - keep);
      }
      const std::int32_t gap = w - FNDLEN(x, CURFONT) - wn;
      std::string fill;
      if (OUTDEV == 1) {
        for (int c = 0; c < 1000 && gap > 0 && w - FNDLEN(x, CURFONT) - FNDLEN(fill, CURFONT) - wn > 0; ++c) fill += ' ';
      } else {
        fill = "\x1b*p+" + rt::STR_TRIM(static_cast<std::int64_t>(std::abs(gap))) + "X";
      }
      if (!mark.empty()) {
        // DZAMPLE: a sample at the line's middle depth.
        if (DSAMPCOUNT < DSAMP1.ubound()) {
          const std::int32_t m = ++DSAMPCOUNT;
          DSAMP2(m) = depth_text(sample_depth);
          const std::string label = mark == "SYMB3" || mark == "SYMB4" || mark == "SYMB5" ? PROMPT(59) : DSAMP2(m);
          DSAMP1(m) = label + tag + "[" + mark + "]";
        }
        tag = "[----]";
      }
      if (OUTDEV == 2) shown.clear();
      line = x + fill + shown + tag;
    }
    std::string depth = depth_text(bottom);
    if (i >= 10 && !depth.empty() && depth[0] == ' ') depth.erase(0, 1);
    PIWRITE("[" + depth + "]  " + line, i, WORKFIRST + DWORKBASE);
    if (i <= SYMBOLRGB.ubound()) SYMBOLRGB(i) = j >= 0 && j <= SYMBOLUSED.ubound() ? SYMBOLUSED(j) : 0;
  }
}

void CLEANUP() {
  for (std::int32_t i : {3, 5, 6, 7, 8, 11, 12, 13, 14, 17, 18, 19, 58}) HEADER(i).clear();
  HEADER(20) = VOCAB(24);
  HEADER(21) = VOCAB(23);
  NOTECOUNT = 0;
  PROFILECODE = rt::LEFT(PROFILECODE, 3) + "000";
  hole_file_code.clear();  // the summary is no hole's: it is printed with no hole's text
  SUMMARYKEY.clear();
  INFILE.clear();
  FORCEDSCALE = 0, SCALEDIV = 0, NOTECOLUMNS = 0;
}

}  // namespace

void PROSUMMA() {
  RT_TRAP(trap, "PROSUMMA");
  drawing_summary = true;
  ATTRCOUNT = 0, PROFRMARGIN = 0, PROFLMARGIN = 0, ATTRRMARGIN = 0, COMPRESSLOG = 0, LOGHEADDOTS = 0;
  LEFTEDGE = 450 + A3SHIFT;
  RIGHTEDGE = 2250 + A3SHIFT;
  SHEETX1 = PROFLMARGIN + LEFTEDGE;
  TEXTX = SHEETX1 + 406;
  PIOPEN("Dwork.1", WORKFIRST + DWORKBASE);
  PIOPEN("Dwork.2", WORKSECOND + DWORKBASE);
  PIINIT(WORKFIRST + DWORKBASE);
  CURFONT = 1;
  Summary s;
  trap.section("SORTSUMM");
  SORTSUMM(s);
  trap.section("BUILDFIL");
  BUILDFIL(s);
  trap.section("CLEANUP");
  CLEANUP();
  for (std::int32_t ch : {WORKFIRST + DWORKBASE, WORKSECOND + DWORKBASE}) {
    for (std::int32_t k : {ch, ch + 1}) {
      if (PIFILE(k) > 0 && rt::is_open(PIFILE(k))) rt::close_file(PIFILE(k));
    }
  }
}
