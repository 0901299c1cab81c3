// PROFORMA's folding: every layer description and note into the printed lines of the description
// column (work channel Dwork.2, one record a line: all lines of layer 1, layer 2, ..., then note 1 ...).
//
// A text is cut into paragraphs at its line-break and indent marks; each paragraph is indented, broken
// into lines by BREAKPT, justified (not on the last line of a paragraph, not in one-sheet mode) and
// written. A column mark splits an item into two newspaper columns: the lines after it get code 24 in
// front and the item is as high as its longer column.
//
// Beyond what the layout can draw:
//  - an INDENT of 0 or a font width that rounds to 0 gives no indent steps (the deepest level is 0);
//  - justification stops when a round of hard spaces adds no width (gap widths of 0 or below);
//  - a paragraph whose indentation fills the line loses its indentation rather than never ending;
//  - a line that holds the column mark and text keeps its text, as the last line of the first column;
//  - an item longer than a page keeps its first lines; the rest is said line by line and left out.
#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proforma.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"

namespace {

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(v)); }

std::int32_t dwork2() { return WORKSECOND + DWORKBASE; }

double font_width() { return FONTWIDTH(CURFONT < 1 || CURFONT > 3 ? 1 : CURFONT); }

// One item being folded.
struct Fold {
  std::int32_t level = 0;
  std::int32_t block_start = 0;
  std::int32_t column_start = -1;  // record counter at the column mark; -1 none
  std::string code, last;          // the mark that ended this paragraph and the one before
  std::int32_t hang = 0;           // hanging count h
  std::int32_t lines = 0;          // the item's height in lines
  std::string prev_line;           // the last line written, as written
  std::int32_t prev_record = 0;
  bool cut = false;                // lines beyond the room of a page were left out (and said)
};

void GETWYDTH(FormaState& st, const std::string& text) {
  const std::int32_t w = RIGHTEDGE - TEXTX - PROFRMARGIN - 30;
  st.fold_width = w;
  if (NOTECOLUMNS > 1 || text.find(COLUMNCODE) != std::string::npos) st.fold_width = rounded((w - 60) / 2.0);
  const std::int32_t fw = rounded(font_width());
  st.deepest = 0;
  if (INDENT != 0 && fw != 0) st.deepest = std::max<std::int32_t>(0, (st.fold_width / fw) / INDENT - 3);
}

// INDENNT: the paragraph's rest, without its blanks at either end, after level x INDENT hard spaces
// (none when indent is false).
void INDENNT(const Fold& f, FoldText& t, bool indent) {
  t.trim();
  if (indent) t.head.insert(0, rt::STRING_(static_cast<long>(INDENT) * f.level, HARDSPCODE.empty() ? '\5' : HARDSPCODE[0]));
}

void CHOPOFFH(FormaState& st, FoldText& t, std::int32_t& w, std::string& line) {
  FOLDLIMIT = rounded(st.fold_width + font_width() * st.extra);
  BREAKPT(t, line, w);
}

// Position after the escape sequences at the start of a line (0-based).
size_t after_leading_escapes(const std::string& t) {
  size_t i = 0;
  while (i < t.size() && t[i] == '\x1b') {
    while (i < t.size() && !(t[i] >= 'A' && t[i] <= 'Z')) ++i;
    if (i < t.size()) ++i;
    while (i < t.size() && t[i] == ' ') ++i;
  }
  return i;
}

// JUSTIFY: round by round, left to right, a hard space after each blank of the line, the n-th of a
// round widening the line by gap n (n up to 30), until the line is no narrower than the limit less a
// character. The hard spaces each blank gets are counted first and the line is built once, so a line
// with many blanks costs no more than its length. A round that does not widen the line ends it (gap
// widths of 0, or below 0 from a damaged font, would otherwise widen it for ever).
void JUSTIFY(FormaState& st, std::string& t, std::int32_t& w, bool last_of_paragraph) {
  if (st.one_sheet || t.size() < 2 || last_of_paragraph) return;
  const size_t start = after_leading_escapes(t);
  std::vector<size_t> blanks;
  for (size_t i = start; i < t.size(); ++i) {
    if (t[i] == ' ') blanks.push_back(i);
  }
  if (blanks.empty()) return;
  const char hardsp = HARDSPCODE.empty() ? '\5' : HARDSPCODE[0];
  const double target = FOLDLIMIT - font_width();
  const size_t count = blanks.size();
  std::vector<std::int32_t> gap(count);
  std::int64_t round_sum = 0;
  bool rising = true;  // no gap below 0: within a round the width only grows
  for (size_t j = 0; j < count; ++j) {
    const size_t n = std::min<size_t>(j + 1, 30);
    gap[j] = static_cast<std::int32_t>(n) <= GAPCOUNT ? GAPWIDTH(static_cast<long>(n)) : 0;
    round_sum += gap[j];
    rising = rising && gap[j] >= 0;
  }
  std::int64_t width = w;
  std::int64_t rounds = 0;  // rounds that every blank took part in
  if (rising && round_sum > 0) {
    // Whole rounds while the width before the last blank of the round stays below the target.
    const std::int64_t before_last = round_sum - gap[count - 1];
    const double room = target - static_cast<double>(width + before_last);
    if (room > 0) {
      rounds = static_cast<std::int64_t>(std::ceil(room / static_cast<double>(round_sum)));
      width += rounds * round_sum;
    }
  }
  size_t partial = 0;  // blanks of the last round, which stopped at the target
  while (width < target) {
    const std::int64_t before = width;
    size_t j = 0;
    for (; j < count && width < target; ++j) width += gap[j];
    if (j < count) {
      partial = j;
      break;
    }
    ++rounds;
    if (width <= before) break;
  }
  std::string out;
  out.reserve(t.size() + static_cast<size_t>(rounds) * count + partial);
  size_t from = 0;
  for (size_t j = 0; j < count; ++j) {
    out.append(t, from, blanks[j] + 1 - from);
    out.append(static_cast<size_t>(rounds) + (j < partial ? 1 : 0), hardsp);
    from = blanks[j] + 1;
  }
  out.append(t, from, std::string::npos);
  t = std::move(out);
  w = static_cast<std::int32_t>(width);
}

void CLEANUP(FormaState& st, std::string& t, std::int32_t w, bool last_of_paragraph) {
  REPLAZE(t, SYMULCODE, ULINEON);
  REPLAZE(t, CTRL2, ULINEOFF);
  REPLAZE(t, HARDSPCODE, " ");
  const bool printer = OUTDEV != 1 && OUTDEV != 2 && OUTDEV != 3;
  if (!printer || st.one_sheet) return;
  if (last_of_paragraph && !st.fixed_word) return;
  if (t.size() < 2) return;
  const size_t p = t.rfind(' ', t.size() - 2);
  if (p == std::string::npos || p == 0) return;
  const std::int32_t gap = FOLDLIMIT - w;
  const std::string move = "\x1b*p" + std::string(w <= FOLDLIMIT ? "+" : "-") +
                           rt::STR_TRIM(static_cast<std::int64_t>(std::abs(gap))) + "X";
  t.insert(p + 1, move);
}

std::int32_t item_count(const Fold& f, std::int32_t counter) {
  if (f.column_start < 0) return counter - f.block_start;
  return std::max(f.column_start - f.block_start, counter - f.column_start);
}

bool only_blanks(const std::string& t) {
  for (char c : t) {
    if (c != ' ' && c != HARDSPCODE[0]) return false;
  }
  return true;
}

// An item with more lines than a page holds keeps those that fit: the first line left out is shown,
// and the console and ERROR.LOG say once for the item which hole and item lost its text from which of
// its lines on; the run ends with exit code 1.
void say_too_long(const FormaState& st, const std::string& line, std::int32_t kept) {
  std::string words;
  for (char c : rt::TRIM(line))
    if (c != ' ' || words.empty() || words.back() != ' ') words += c;  // justified lines have wider gaps
  if (words.size() > 40) {
    const size_t blank = words.rfind(' ', 40);
    words = words.substr(0, blank == std::string::npos || blank < 10 ? 40 : blank) + " ...";
  }
  const std::string hole = rt::TRIM(HEADER(20));
  const std::string text = (hole.empty() ? std::string() : "Hole " + hole + ": ") +
                           (st.item.empty() ? std::string("a text") : st.item) + " is " + PROMPT(47) +
                           "; its lines from line " + rt::STR_TRIM(static_cast<std::int64_t>(kept) + 1) + " (\"" +
                           words + "\") on are left out.";
  show_message(text, 1, {}, MessageHold::kKey);
  rt::fault_logged(text);
}

// FOLDUP and the write: whether the line counts, and its record.
void FOLDUP(FormaState& st, Fold& f, std::string& t, std::int32_t w, bool last_of_paragraph) {
  const std::string nonblank = [&] {
    std::string s;
    for (char c : t) {
      if (c != ' ') s += c;
    }
    return s;
  }();
  if (f.code != BREAKCODE && static_cast<std::int64_t>(nonblank.size()) <= static_cast<std::int64_t>(INDENT) * f.level)
    return;
  if (f.last == INDOFFCODE && only_blanks(t)) return;
  if (f.last == INDONCODE && f.hang > 0 && f.prev_record > 0) {
    std::string joined = rt::MID(t, f.hang);
    CLEANUP(st, joined, w, true);
    f.prev_line += joined;
    PIWRITE(f.prev_line, f.prev_record, dwork2());
    f.last = "*";
    f.hang = 0;
    return;
  }
  if (t.find(COLUMNCODE) != std::string::npos) {
    REPLAZE(t, COLUMNCODE, "");
    if (!rt::TRIM(t).empty() && !only_blanks(t)) {
      // The text beside the mark closes the first column.
      const std::string code = std::exchange(f.code, BREAKCODE);
      std::string rest_of_line = t;
      FOLDUP(st, f, rest_of_line, w, last_of_paragraph);
      f.code = code;
    }
    f.column_start = std::min(st.counter, f.block_start + st.lmax);
    return;
  }
  CLEANUP(st, t, w, last_of_paragraph);
  if (f.code == INDONCODE) {
    const double fw = font_width();
    const std::int32_t lw = FNDLEN(t, CURFONT);
    if (fw > 0 && rounded(INDENT * (f.level + 1) * fw) > lw) f.hang = rounded((lw + 0.8 * fw) / fw);
  }
  if (item_count(f, st.counter) > st.lmax) {
    if (!f.cut) {
      f.cut = true;
      say_too_long(st, t, item_count(f, st.counter));
    }
    return;
  }
  ++st.counter;
  if (f.column_start >= 0) t = std::string(1, '\x18') + t;
  PIWRITE(t, st.counter, dwork2());
  f.prev_line = t;
  f.prev_record = st.counter;
}

// FOLD: one item, text t, scanned from position start (1, or 4 for a note). The text is never copied
// per paragraph or per line: what is still to fold is t[from, to), and a paragraph is folded from a
// FoldText over it, so a long text folds in time in proportion to its length.
std::int32_t FOLD(FormaState& st, std::string t, long start) {
  st.trap->section("FOLD");
  Fold f;
  f.block_start = st.counter;
  GETWYDTH(st, t);
  if (!st.one_sheet) {
    std::int32_t words = 0;
    FNUNDERL(t, words);
  }
  REPLAZE(t, SYMCODE, " ");
  const std::string ends = INDONCODE + INDOFFCODE + BREAKCODE;
  size_t from = 0, to = t.size();
  size_t scan = static_cast<size_t>(std::max<long>(start - 1, 0));  // where the search for the end starts
  for (;;) {
    size_t p = std::string_view(t).substr(0, to).find_first_of(ends, from + scan);
    if (p == std::string::npos) {
      // A text shorter than the start of the scan (a note of two characters) still ends a paragraph.
      if (from == to) break;
      if (ends.find(t[to - 1]) == std::string::npos) {
        t.resize(to);
        t += BREAKCODE;
        to = t.size();
      }
      p = to - 1;
    }
    f.code = t.substr(p, 1);
    FoldText para{std::string(), std::string_view(t).substr(from, p - from)};
    bool indent = true;
    do {
      std::string line;
      std::int32_t w = 0;
      para.trim();
      const size_t left = para.size();
      INDENNT(f, para, indent);
      CHOPOFFH(st, para, w, line);
      // An indentation as wide as the line (its hard spaces measured in a font far wider than the one
      // the deepest level was worked out in) would leave the text where it was for ever: the rest of
      // the paragraph goes without it.
      if (para.size() >= left && line.find_first_not_of(HARDSPCODE.empty() ? "\5" : HARDSPCODE) == std::string::npos)
        indent = false;
      JUSTIFY(st, line, w, para.empty());
      FOLDUP(st, f, line, w, para.empty());
      st.extra = 0;
    } while (!para.empty());
    // The text after the mark, without its blanks at either end.
    from = p + 1;
    while (from < to && t[from] == ' ') ++from;
    while (to > from && t[to - 1] == ' ') --to;
    scan = 0;
    if (f.code == INDONCODE && f.level < st.deepest) ++f.level;
    if (f.code == INDOFFCODE && f.level > 0) --f.level;
    f.last = f.code;
    if (from == to) break;
  }
  // REFLOW
  return item_count(f, st.counter);
}

std::string with_break_at_end(std::string t) {
  if (rt::RIGHT(t, 1) != BREAKCODE) t += BREAKCODE;
  return t;
}

}  // namespace

void COUNTSCR(FormaState& st) {
  st.trap->section("COUNTSCR");
  PIINIT(dwork2());
  st.counter = 0;
  st.lmax = rounded((PAGELENGTH - HEADDOTS - FOOTDOTS) / (LINEPITCH > 0 ? LINEPITCH : 50.0)) - 3;
  const std::int32_t last_item = std::min<std::int32_t>(st.items + 1, static_cast<std::int32_t>(LAYERFILL.ubound(1)));
  for (std::int32_t i = 1; i <= last_item; ++i) LAYERFILL(i, 0) = LAYERFILL(i, 1) = 0;
  for (std::int32_t i = 1; i <= LAYERCOUNT; ++i) {
    CURFONT = 1;
    std::string t;
    PIREAD(t, i, WORKFIRST + DWORKBASE);
    t = with_break_at_end(t);
    ZEDEPTH(st, t, i);
    SOIL(st, t, i);
    st.extra = 0;
    const std::int32_t before = st.counter;
    st.item = "the description of layer " + rt::STR_TRIM(static_cast<std::int64_t>(i));
    st.lines[static_cast<size_t>(i)] = FOLD(st, t, 1);
    LAYERLINES(i) = st.counter - before;
  }
}

void COUNTNOT(FormaState& st) {
  st.trap->section("COUNTNOT");
  CURFONT = 1;
  for (std::int32_t k = 1; k <= NOTECOUNT; ++k) {
    std::string t = with_break_at_end(cut_tags(NOTE(k)));
    // The note's number stands in the margin (the conversion took it off the text), so its first line
    // is drawn in the column like every other and folds to the column's width.
    st.extra = 0;
    const std::int32_t before = st.counter;
    st.item = "note " + rt::STR_TRIM(static_cast<std::int64_t>(k));
    st.lines[static_cast<size_t>(LAYERCOUNT + k)] = FOLD(st, t, 4);
    NOTELINES(k) = st.counter - before;
    st.extra = 0;
  }
}
