// PROLOG's room for its texts: the boxes of the texts of a page that its lines and fills leave clear.
// The depth scale's labels and the words of the column in hand are noted before anything is drawn over
// them; a hatch, shade, graph bar or tube of the column is then drawn around its words, and a rule or
// grid line that would cross a word is broken there. So "IV" over line hatching, "Peat" on a full
// shade and a depth label under a layer rule stand on clear paper on every device (a pen plotter
// cannot draw a white ground, so the pattern leaves the room instead of a ground painted over it).
// Where nothing meets a text, each fill and line is drawn in one piece as before.
#include <algorithm>
#include <cmath>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/log/globals.h"
#include "engine/log/log.h"
#include "engine/log/prolog.h"
#include "engine/runtime/number.h"
#include "engine/sheet/proprint.h"

namespace {

// The air kept round a text's ink, dots.
constexpr std::int32_t kAir = 4;
// The zone box's sides stand this far inside a text column's edges.
constexpr std::int32_t kBoxSide = 10;

}  // namespace

void LogDraw::keep_clear(std::int32_t left, std::int32_t y, std::int32_t w, std::int32_t font) {
  if (w <= 0) return;
  const double em = text_height(font);
  CLEARS.push_back({left - kAir, static_cast<std::int32_t>(std::floor(y - 0.78 * em)) - kAir, left + w + kAir,
                    static_cast<std::int32_t>(std::ceil(y + 0.22 * em)) + kAir});
}

std::vector<LogDraw::Clear> LogDraw::pieces(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) const {
  std::vector<Clear> out;
  if (x1 <= x0 || y1 <= y0) {
    out.push_back({x0, y0, x1, y1});
    return out;
  }
  std::vector<Clear> holes;
  for (const Clear& c : CLEARS) {
    const Clear h{std::max(c.x0, x0), std::max(c.y0, y0), std::min(c.x1, x1), std::min(c.y1, y1)};
    if (h.x0 < h.x1 && h.y0 < h.y1) holes.push_back(h);
  }
  if (holes.empty()) {
    out.push_back({x0, y0, x1, y1});
    return out;
  }
  // Bands between the holes' tops and bottoms; in each band the stretches no hole covers.
  std::vector<std::int32_t> cuts{y0, y1};
  for (const Clear& h : holes) cuts.push_back(h.y0), cuts.push_back(h.y1);
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  for (size_t b = 0; b + 1 < cuts.size(); ++b) {
    const std::int32_t top = cuts[b], bottom = cuts[b + 1];
    std::vector<std::pair<std::int32_t, std::int32_t>> covered;
    for (const Clear& h : holes)
      if (h.y0 < bottom && h.y1 > top) covered.emplace_back(h.x0, h.x1);
    std::sort(covered.begin(), covered.end());
    std::int32_t x = x0;
    auto piece = [&](std::int32_t from, std::int32_t to) {
      if (to <= from) return;
      // A piece that goes on the stretch of the band above is joined to it.
      for (Clear& p : out) {
        if (p.x0 == from && p.x1 == to && p.y1 == top) {
          p.y1 = bottom;
          return;
        }
      }
      out.push_back({from, top, to, bottom});
    };
    for (const auto& [a, e] : covered) {
      piece(x, a);
      x = std::max(x, e);
    }
    piece(x, x1);
  }
  return out;
}

void LogDraw::bar_clear(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  // SHADEBAR takes a bar of negative width or height from its other corner.
  std::int32_t bx = x, by = y, bw = w, bh = h;
  if (bw < 0) bx += bw, bw = -bw;
  if (bh < 0) by += bh, bh = -bh;
  const std::vector<Clear> p = pieces(bx, by, bx + bw, by + bh);
  if (p.size() == 1 && p[0].x0 == bx && p[0].y0 == by && p[0].x1 == bx + bw && p[0].y1 == by + bh) {
    SHADEBAR(x, y, w, h);
    return;
  }
  for (const Clear& c : p) SHADEBAR(c.x0, c.y0, c.x1 - c.x0, c.y1 - c.y0);
}

namespace {

// Calls piece(from, to) for each stretch of [a, b] that no covered span reaches, in order.
template <typename Piece>
void uncovered_pieces(std::int32_t a, std::int32_t b, std::vector<std::pair<std::int32_t, std::int32_t>>& covered,
                      Piece piece) {
  std::sort(covered.begin(), covered.end());
  std::int32_t at = a;
  for (const auto& [from, to] : covered) {
    if (from > at) piece(at, from);
    at = std::max(at, to);
  }
  if (b > at) piece(at, b);
}

}  // namespace

void LogDraw::rule_clear(std::int32_t x1, std::int32_t x2, std::int32_t y, void (*draw)(std::int32_t, std::int32_t, std::int32_t)) {
  const std::int32_t a = std::min(x1, x2), b = std::max(x1, x2);
  std::vector<std::pair<std::int32_t, std::int32_t>> covered;
  for (const Clear& c : CLEARS)
    if (y >= c.y0 && y <= c.y1 && c.x1 > a && c.x0 < b) covered.emplace_back(c.x0, c.x1);
  if (covered.empty()) {
    draw(x1, x2, y);
    return;
  }
  uncovered_pieces(a, b, covered, [&](std::int32_t from, std::int32_t to) { draw(from, to, y); });
}

void LogDraw::border_clear(std::int32_t x, std::int32_t y1, std::int32_t y2, void (*draw)(std::int32_t, std::int32_t, std::int32_t)) {
  const std::int32_t a = std::min(y1, y2), b = std::max(y1, y2);
  std::vector<std::pair<std::int32_t, std::int32_t>> covered;
  for (const Clear& c : CLEARS)
    if (x >= c.x0 && x <= c.x1 && c.y1 > a && c.y0 < b) covered.emplace_back(c.y0, c.y1);
  if (covered.empty()) {
    draw(x, y1, y2);
    return;
  }
  uncovered_pieces(a, b, covered, [&](std::int32_t from, std::int32_t to) { draw(x, from, to); });
}

void LogDraw::column_clears() {
  CLEARS.resize(SCALECLEARS);
  if (FILEFLAG > 0) return;
  if (!((DRPOS == 0 && GRAPHPOS == 0) || NUMBERS > 0)) return;
  const std::int16_t rec = REC;
  const std::string text = RECTEXT;
  const double label = LABELDEPTH, top = TEXTTOP, bottom = TEXTBOTTOM, ztop = ZONETOP, zbottom = ZONEBOTTOM;
  const std::int32_t n = std::max(ATTRWIDTH(ATTRNO), 0);
  for (std::int32_t i = 1; i <= n; ++i) {
    REC = static_cast<std::int16_t>(ATTRSTART(ATTRNO) + i);
    RECTEXT = log_record(REC);
    LABELDEPTH = TEXTDEPTH(REC);
    TEXTLINE(TEXTTOP, TEXTBOTTOM, REC);
    std::vector<PlacedWord> words;
    bool below = false;
    if (!placed_words(words, below)) continue;
    for (const PlacedWord& w : words) keep_clear(w.left, w.y, w.width, 1);
  }
  REC = rec, RECTEXT = text, LABELDEPTH = label, TEXTTOP = top, TEXTBOTTOM = bottom, ZONETOP = ztop, ZONEBOTTOM = zbottom;
}

std::int32_t LogDraw::word_room(std::int32_t left, std::int32_t right) const {
  const bool boxed = GRAPHPOS == 0 && DRPOS == 0;
  return right - left - 2 * (kAir + 1) - (boxed ? 2 * kBoxSide : 0);
}
