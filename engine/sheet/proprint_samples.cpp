// PROPRINT's samples column: each sample's symbol centred on its depth left of the soil column, its
// label further left, and a double bar with end ticks along a sampled depth range.
//
// Beyond what the sample texts may hold: a "[SYMB" without its "]" ends the mark search (the text
// stays); a symbol name that is not in the library's name list draws no symbol (its bar and label are
// drawn); every sample of a hole has room on a page (the coder's bound).
//
// Labels never print over each other or over the scale's caption: the labels of a page are read first,
// those that touch are pushed apart along the depth axis within the page (spread_labels), and a label
// moved is drawn with a thin leader to its sample's depth. A label that touches nothing stays put.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/console.h"
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

// A sample's place in dots: one beyond a billion dots either way (a depth no input gives; the
// converter leaves such samples out) stands there, far off every page, never outside a number.
std::int32_t place(double dots) { return rounded(std::isfinite(dots) ? std::clamp(dots, -1e9, 1e9) : 1e9); }

}  // namespace

std::vector<double> spread_labels(const std::vector<double>& wanted, double height, double pitch, double lo,
                                  double hi) {
  // Runs of labels that touch, each as a chain `pitch` apart: its first label, its count and its top.
  struct Run {
    size_t first, n;
    double top;
  };
  std::vector<Run> runs;
  // A chain stands where the sum of its labels' squared moves is least (the mean of where each would
  // put its top), within lo..hi.
  auto settle = [&](Run& r) {
    double sum = 0;
    for (size_t k = 0; k < r.n; ++k) sum += wanted[r.first + k] - static_cast<double>(k) * pitch;
    r.top = std::max(std::min(sum / static_cast<double>(r.n), hi - static_cast<double>(r.n - 1) * pitch), lo);
  };
  for (size_t i = 0; i < wanted.size(); ++i) {
    runs.push_back({i, 1, 0});
    settle(runs.back());
    // A run that now touches the one above joins it, and the two settle again (which may make them
    // touch the run above that).
    while (runs.size() > 1) {
      const Run& above = runs[runs.size() - 2];
      if (above.top + static_cast<double>(above.n - 1) * pitch + height <= runs.back().top) break;
      const size_t n = runs.back().n;
      runs.pop_back();
      runs.back().n += n;
      settle(runs.back());
    }
  }
  std::vector<double> at(wanted.size());
  for (const Run& r : runs) {
    // A chain longer than lo..hi is squeezed in: its labels come closer than a pitch, never off the page.
    const double step = r.n > 1 && r.top + static_cast<double>(r.n - 1) * pitch > hi
                            ? std::max(hi - r.top, 0.0) / static_cast<double>(r.n - 1)
                            : pitch;
    for (size_t k = 0; k < r.n; ++k) at[r.first + k] = r.n == 1 ? r.top : r.top + static_cast<double>(k) * step;
  }
  return at;
}

std::vector<double> spread_labels(const std::vector<double>& wanted, const std::vector<double>& heights, double lo,
                                  double hi) {
  // Where label k touches the one below it (a quarter of its line below the baseline, three quarters
  // of the next one's above), and the pitch between them: a quarter line clear.
  const size_t n = wanted.size();
  std::vector<double> touch(n, 0), offset(n + 1, 0);
  for (size_t k = 0; k + 1 < n; ++k) touch[k] = 0.25 * heights[k] + 0.75 * heights[k + 1];
  for (size_t k = 0; k < n; ++k) offset[k + 1] = offset[k] + (k + 1 < n ? 1.25 * touch[k] : 0);
  struct Run {
    size_t first, n;
    double top;
  };
  auto span = [&](const Run& r) { return offset[r.first + r.n - 1] - offset[r.first]; };
  std::vector<Run> runs;
  auto settle = [&](Run& r) {
    double sum = 0;
    for (size_t k = 0; k < r.n; ++k) sum += wanted[r.first + k] - (offset[r.first + k] - offset[r.first]);
    r.top = std::max(std::min(sum / static_cast<double>(r.n), hi - span(r)), lo);
  };
  for (size_t i = 0; i < n; ++i) {
    runs.push_back({i, 1, 0});
    settle(runs.back());
    while (runs.size() > 1) {
      const Run& above = runs[runs.size() - 2];
      if (above.top + span(above) + touch[above.first + above.n - 1] <= runs.back().top) break;
      const size_t more = runs.back().n;
      runs.pop_back();
      runs.back().n += more;
      settle(runs.back());
    }
  }
  std::vector<double> at(n);
  for (const Run& r : runs) {
    const double squeeze = r.n > 1 && r.top + span(r) > hi ? std::max(hi - r.top, 0.0) / span(r) : 1;
    for (size_t k = 0; k < r.n; ++k) at[r.first + k] = r.top + (offset[r.first + k] - offset[r.first]) * squeeze;
  }
  return at;
}

SheetPrint::Sample SheetPrint::read_sample(const std::string& depth_text, std::string text) const {
  Sample s;
  s.depth_text = depth_text;
  const long p = rt::INSTR(depth_text, "--");
  s.range = p > 1 && static_cast<long>(depth_text.size()) > p + 1;
  if (s.range) {
    s.d1 = rt::VAL(rt::LEFT(depth_text, p - 1)) - PAGETOP;
    s.d2 = rt::VAL(rt::MID(depth_text, p + 2)) - PAGETOP;
    s.middle = (s.d1 + s.d2) / 2;
  } else {
    s.middle = rt::VAL(depth_text) - PAGETOP;
  }
  s.y = place(s.middle * DOTSPERUNIT);
  for (long at = rt::INSTR(text, "[SYMB"); at > 0; at = rt::INSTR(text, "[SYMB")) {
    const long e = rt::INSTR(at, text, "]");
    if (e == 0) break;  // a mark without its end: the search stops, the text stays
    s.mark = text[static_cast<size_t>(e - 2)];
    text.erase(static_cast<size_t>(at - 1), static_cast<size_t>(e - at + 1));
  }
  s.has_symbol_group = text.find('[') != std::string::npos;
  if (const size_t open = text.find('['); open != std::string::npos) {
    const size_t close = text.find(']', open);
    if (close != std::string::npos) {
      s.name = text.substr(open + 1, close - open - 1);
      text.erase(open, close - open + 1);
    }
  }
  // The symbol words the coder found in the sample's text ("[CLAY/CLAYS][CLAY]") are no part of its
  // label.
  for (size_t open = text.find('['); open != std::string::npos; open = text.find('[', open)) {
    const size_t close = text.find(']', open);
    if (close == std::string::npos) break;
    text.erase(open, close - open + 1);
  }
  text = rt::TRIM(text);
  // A label (a sample of a file of samples is labelled with its whole line) never runs off the page:
  // it keeps the words that fit left of the column, the last one cut when it alone is too wide.
  const std::int32_t room = SHEETX1 - 86 - 25;
  // The width of every head comes from one walk along the label (a line of tens of thousands of
  // letters costs no more than one measure of it).
  if (room > 0 && FNDLEN(text, 3) > room) {
    const std::vector<std::int32_t> heads = head_widths(text, 3, "");
    size_t n = text.size();
    // Whole words first: cut before the last blank, the blanks before it too.
    size_t blank = text.rfind(' ');
    while (heads[n] > room && blank != std::string::npos) {
      n = blank;
      while (n > 0 && text[n - 1] == ' ') --n;
      blank = n > 0 ? text.rfind(' ', n - 1) : std::string::npos;
    }
    while (heads[n] > room && n > 1) --n;
    text.resize(n);
  }
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(s.mark)));
  if (upper == '9' || upper == 'C') text.clear();
  s.label = text;
  s.label_y = FNPDOT(s.y) - 3;
  return s;
}

bool SheetPrint::sample_on_page(const Sample& s) const {
  return s.has_symbol_group && s.y >= PAGEORIGIN && s.y <= NEXTSTART;
}

std::int32_t SheetPrint::sample_bitmap(const Sample& s) const {
  const long at = s.name.empty() ? 0 : rt::INSTR(VOCABLIST, s.name);
  return at > 0 ? static_cast<std::int32_t>((at - 1) / 11 + 1) : 0;
}

std::int32_t SheetPrint::sample_offset(const Sample& s) const {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(s.mark)));
  if (upper == '9' || upper == 'C') return 0;
  if (s.mark == '6' || s.mark == '7' || s.mark == '8' || s.mark == 'L') return rounded(64 * RASTERSTEP);
  return rounded(57.5 * RASTERSTEP);
}

bool SheetPrint::range_bar(const Sample& s, std::int32_t& top, std::int32_t& bottom) const {
  if (!s.has_symbol_group || !s.range) return false;
  auto clamp = [&](std::int32_t v) { return std::min(std::max(v, PAGEORIGIN), NEXTSTART); };
  const std::int32_t a = clamp(place(s.d2 * DOTSPERUNIT - 0.5)), b = clamp(place(s.d1 * DOTSPERUNIT + 0.5));
  top = std::min(a, b), bottom = std::max(a, b);
  return true;
}

std::vector<SheetPrint::Area> SheetPrint::sample_areas(const Sample& s) {
  std::vector<Area> areas;
  std::int32_t top = 0, bottom = 0;
  if (range_bar(s, top, bottom) && NEXTSTART > top && PAGEORIGIN < bottom)
    areas.push_back({SHEETX1 - 26, FNPDOT(top), SHEETX1 - 16, FNPDOT(bottom)});
  if (!sample_on_page(s)) return areas;
  const std::int32_t py = FNPDOT(s.y);
  if (!rt::TRIM(s.label).empty()) areas.push_back({SHEETX1 - 83 - s.shift, py - 1, SHEETX1 - 74 - s.shift, py + 1});
  // The printer draws no symbol pixels; the others draw the picture's set pixels, a pixel RASTERSTEP
  // dots high and, on PDF, 2 dots wide (the image is 30.72 points wide), on the pen devices RASTERSTEP.
  const std::int32_t bitmap = sample_bitmap(s);
  if (bitmap == 0 || OUTDEV < 1 || OUTDEV > 3) return areas;
  const std::string bytes = library_picture(bitmap);
  std::int32_t left = 64, right = -1, first = 60, last = -1;
  for (std::int32_t row = 0; row < 60; ++row) {
    for (std::int32_t byte = 0; byte < 8; ++byte) {
      // Pixel p is bit 7 - p MOD 8 of byte p \ 8 of the row (each word low byte first).
      const unsigned char bits = static_cast<unsigned char>(bytes[static_cast<size_t>(row * 8 + byte)]);
      if (bits == 0) continue;
      for (std::int32_t k = 0; k < 8; ++k) {
        if ((bits & (0x80 >> k)) == 0) continue;
        left = std::min(left, byte * 8 + k), right = std::max(right, byte * 8 + k);
        first = std::min(first, row), last = std::max(last, row);
      }
    }
  }
  if (right < 0) return areas;
  if (OUTDEV == 1 && first == 0) last = 60;  // the PDF image repeats row 0 below row 59
  const double across = OUTDEV == 1 ? 2 : RASTERSTEP;
  const std::int32_t x = SHEETX1 - sample_offset(s) - s.shift, raster_top = rounded(py - 30 * RASTERSTEP);
  // A dot to spare on each side for the devices' own rounding.
  areas.push_back({rounded(x + left * across) - 1, rounded(raster_top + first * RASTERSTEP) - 1,
                   rounded(x + (right + 1) * across) + 1, rounded(raster_top + (last + 1) * RASTERSTEP) + 1});
  return areas;
}

std::vector<SheetPrint::CaptionLine> SheetPrint::caption_lines() const {
  if (LAYERCOUNT == 0 || PAGENO != 1 || LEGENDSHEET != 0) return {};
  std::int32_t w1 = FNDLEN(VOCAB(3), 3) + 18;
  const std::int32_t w2 = FNDLEN(SCALEUNIT, 3) + 18;
  std::int32_t dy = 30, gap = 40;
  if (VOCAB(3) == rt::UCASE(VOCAB(3))) dy = -6, gap = 0, w1 += w2;
  return {{SHEETX1 - w1 - caption_shift, HEADDOTS + dy, VOCAB(3)},
          {SHEETX1 - w2 - caption_shift, HEADDOTS + dy + gap, SCALEUNIT}};
}

void SheetPrint::place_caption(const std::vector<Sample>& samples) {
  caption_shift = 0;
  const std::vector<CaptionLine> lines = caption_lines();
  std::vector<Area> drawn;
  for (const Sample& s : samples) {
    for (const Area& a : sample_areas(s)) drawn.push_back(a);
  }
  if (lines.empty() || drawn.empty()) return;
  // The caption keeps 3 dots (a quarter of a millimetre) clear of what the samples draw beside it: moved
  // for a leader, it ends where the labels end.
  const std::int32_t gap = 3;
  const double height = text_height(3), above = height * 0.75, below = height - above;
  // Whether the caption moved left by shift meets something drawn, and the left end of what it meets
  // furthest to the left.
  auto meets = [&](std::int32_t shift, std::int32_t& left) {
    bool met = false;
    for (const CaptionLine& c : lines) {
      if (rt::TRIM(c.text).empty()) continue;
      const double x1 = c.x - shift - gap, x2 = c.x + FNDLEN(c.text, 3) - shift + gap;
      const double y1 = c.y - above, y2 = c.y + below;
      for (const Area& a : drawn) {
        if (a.x1 < x2 && x1 < a.x2 && a.y1 < y2 && y1 < a.y2) {
          left = met ? std::min(left, a.x1) : a.x1;
          met = true;
        }
      }
    }
    return met;
  };
  std::int32_t left = 0;
  if (!meets(0, left)) return;
  std::int32_t right = 0;
  for (const CaptionLine& c : lines) right = std::max(right, c.x + FNDLEN(c.text, 3));
  // First to where the labels end (86 dots left of the symbol column), then further left of whatever it
  // still meets; a line in the body of the sheet no further than the layer lines into the log margin
  // leave room for it (212 dots left of the symbol column). Where that is not enough it stays.
  std::int32_t shift = std::max(0, right - (SHEETX1 - 86));
  while (meets(shift, left)) shift = right - (left - gap);
  for (const CaptionLine& c : lines) {
    if (c.y > HEADDOTS && !rt::TRIM(c.text).empty() && c.x - shift < SHEETX1 - 212) return;
  }
  caption_shift = shift;
}

std::vector<SheetPrint::Area> SheetPrint::mark_ink(const Sample& s) {
  std::vector<Area> rows;
  if (!sample_on_page(s)) return rows;
  const std::int32_t bitmap = sample_bitmap(s);
  if (bitmap == 0) return rows;
  const std::string bytes = library_picture(bitmap);
  if (bytes.size() < 480) return rows;
  auto set = [&](std::int32_t row, std::int32_t p) {
    return (static_cast<unsigned char>(bytes[static_cast<size_t>(row * 8 + p / 8)]) & (0x80 >> (p % 8))) != 0;
  };
  // A pixel is 2 dots wide on PDF (the image is 30.72 points wide) and RASTERSTEP on the pen devices:
  // each run is taken as wide as either draws it, so that every device places its marks alike.
  const double narrow = std::min(2.0, RASTERSTEP), wide = std::max(2.0, RASTERSTEP);
  const double x = SHEETX1 - sample_offset(s);
  const std::int32_t raster_top = rounded(FNPDOT(s.y) - 30 * RASTERSTEP);
  const std::int32_t first = s.narrow ? narrow_first : 0, end = s.narrow ? narrow_end : 64;
  for (std::int32_t r = 0; r <= 60; ++r) {
    const std::int32_t row = r % 60;  // the PDF image repeats row 0 below row 59
    for (std::int32_t p = first; p < end; ++p) {
      if (!set(row, p)) continue;
      std::int32_t e = p;
      while (e + 1 < end && set(row, e + 1)) ++e;
      rows.push_back({rounded(x + p * narrow), rounded(raster_top + r * RASTERSTEP), rounded(x + (e + 1) * wide),
                      rounded(raster_top + (r + 1) * RASTERSTEP)});
      p = e;
    }
  }
  return rows;
}

namespace {

using Area = SheetPrint::Area;

// Whether two rectangles come closer than gap dots.
bool near(const Area& a, const Area& b, std::int32_t gap) {
  return a.x1 - gap < b.x2 && b.x1 - gap < a.x2 && a.y1 - gap < b.y2 && b.y1 - gap < a.y2;
}

Area bounds(const std::vector<Area>& ink) {
  Area b = ink.front();
  for (const Area& a : ink) b = {std::min(b.x1, a.x1), std::min(b.y1, a.y1), std::max(b.x2, a.x2), std::max(b.y2, a.y2)};
  return b;
}

Area moved(Area a, std::int32_t shift) { return {a.x1 - shift, a.y1, a.x2 - shift, a.y2}; }

struct Point {
  double x, y;
};

// Whether the segment a-b passes through the rectangle r grown by gap (Liang and Barsky's clipping).
bool crosses(Point a, Point b, const Area& r, double gap) {
  double t0 = 0, t1 = 1;
  const double dx = b.x - a.x, dy = b.y - a.y;
  auto clip = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  return clip(-dx, a.x - (r.x1 - gap)) && clip(dx, r.x2 + gap - a.x) && clip(-dy, a.y - (r.y1 - gap)) &&
         clip(dy, r.y2 + gap - a.y) && t0 <= t1;
}

double distance(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y, len = dx * dx + dy * dy;
  const double t = len == 0 ? 0 : std::max(0.0, std::min(1.0, ((p.x - a.x) * dx + (p.y - a.y) * dy) / len));
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// The least distance between the segments a-b and c-d (0 where they cross).
double distance(Point a, Point b, Point c, Point d) {
  auto side = [](Point p, Point q, Point r) { return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x); };
  const double d1 = side(c, d, a), d2 = side(c, d, b), d3 = side(a, b, c), d4 = side(a, b, d);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return 0;
  return std::min(std::min(distance(a, c, d), distance(b, c, d)), std::min(distance(c, a, b), distance(d, a, b)));
}

// A label of a crowded stretch whose leaders are laid in the order of the labels.
struct OrderedLabel {
  Area box;               // the label's box where it stands now
  double mid = 0;         // the height of the middle of its figures, where its leader starts
  std::vector<Area> ink;  // its mark's ink as drawn (none: a mark without a picture)
  Point end{0, 0};        // for a mark without a picture: where its leader ends
  std::int32_t depth = 0;  // its mark's depth (labels of marks at one depth may change places)
};

// Leaders for a stretch of labels that stand in the order of their marks, none crossing another nor
// passing over a mark but its own. Each leader leaves its label across, goes down (or up) on a track
// of its own left of every mark of the stretch, and comes to its mark across at a height of its own
// (onto the mark's side, or onto its top or foot from above or below where the side is hidden): the
// heights go down the marks in the labels' order, so the leaders never meet. Tracks: of the leaders
// that go down, the one above stands right of those below it that reach its height, and the other
// way round for those that go up. The labels end where the tracks leave room, further left where need
// be (`right`, never left of `least_right`). `inks` holds every mark's ink of the page with the index of
// its label in `labels` (or -1), `texts` what no leader may cross (the scale's caption), `boxes` and
// `fixed` the other labels and the leaders laid elsewhere; top and bottom bound the heights. Labels of
// marks at one depth may change places: place k of the stretch takes label order[k], with leader
// leaders[k]. False where the stretch has no such leaders.
bool lay_in_order(const std::vector<OrderedLabel>& labels, const std::vector<std::pair<long, Area>>& inks,
                  const std::vector<Area>& texts, const std::vector<Area>& boxes,
                  const std::vector<std::pair<Point, Point>>& fixed, double top, double bottom, double least_right,
                  std::int32_t& right, std::vector<size_t>& order, std::vector<std::vector<Point>>& leaders,
                  const std::vector<std::vector<Point>>* given = nullptr) {
  const size_t n = labels.size();
  const double spacing = 4;  // dots between the heights the leaders come in at, and between tracks
  const double reach = 40;   // how far above or below a mark a leader may cross to come down onto it
  // The rows of the stretch, and the leftmost ink in them: the tracks stand left of it.
  double y1 = 1e18, y2 = -1e18, x_hi = 1e18;
  for (const OrderedLabel& l : labels) {
    y1 = std::min(y1, std::min(static_cast<double>(l.box.y1), l.mid));
    y2 = std::max(y2, std::max(static_cast<double>(l.box.y2), l.mid));
    if (l.ink.empty()) {
      y1 = std::min(y1, l.end.y), y2 = std::max(y2, l.end.y), x_hi = std::min(x_hi, l.end.x);
    } else {
      const Area b = bounds(l.ink);
      y1 = std::min(y1, b.y1 - reach - 4.0), y2 = std::max(y2, b.y2 + reach + 4.0);
    }
  }
  std::vector<std::pair<long, Area>> near_inks;
  for (const auto& [owner, a] : inks) {
    if (a.y2 + 4 < y1 || a.y1 - 4 > y2) continue;
    near_inks.push_back({owner, a});
    x_hi = std::min(x_hi, a.x1 - 3.0);
  }
  if (x_hi > 1e17) return false;
  auto clear = [&](Point a, Point b, size_t own) {
    for (size_t i = 0; i < near_inks.size(); ++i) {
      const auto& [owner, r] = near_inks[i];
      if (owner != static_cast<long>(own) && crosses(a, b, r, 2)) return false;
    }
    for (const Area& t : texts) {
      if (crosses(a, b, t, 4)) return false;
    }
    return true;
  };
  // A leader's end stands nearer its own mark than any other (3 dots off its own ink).
  auto own_end = [&](Point e, size_t own) {
    for (const auto& [owner, r] : near_inks) {
      if (owner != static_cast<long>(own) && crosses(e, e, r, 4)) return false;
    }
    return true;
  };
  // Each label's ways onto its mark: the height it comes in at from the tracks, and its points from
  // there on; onto the mark's side at any row of its ink that is clear, or over the middle of its top
  // (foot) row from a height above (below) it.
  struct Way {
    double y;
    std::vector<Point> rest;
    bool side;
  };
  std::vector<std::vector<Way>> ways(n);
  auto find_ways = [&](size_t k) {
    const OrderedLabel& l = labels[k];
    if (l.ink.empty()) {
      if (l.end.y >= top && l.end.y <= bottom && clear({x_hi, l.end.y}, l.end, k)) ways[k].push_back({l.end.y, {l.end}, true});
      return;
    }
    const Area b = bounds(l.ink);
    for (std::int32_t y = b.y1; y <= b.y2; ++y) {
      double x = 1e18;
      for (const Area& r : l.ink) {
        if (r.y1 <= y && y <= r.y2) x = std::min(x, static_cast<double>(r.x1));
      }
      const Point e{x - 3, static_cast<double>(y)};
      if (x < 1e17 && y >= top && y <= bottom && e.x > x_hi && own_end(e, k) && clear({x_hi, e.y}, e, k))
        ways[k].push_back({e.y, {e}, true});
    }
    for (const bool above : {true, false}) {
      const std::int32_t edge = above ? b.y1 : b.y2;
      const Area* run = nullptr;
      for (const Area& r : l.ink) {
        if ((above ? r.y1 : r.y2) == edge && (run == nullptr || r.x1 < run->x1)) run = &r;
      }
      if (run == nullptr) continue;
      // Over its middle first, then further left or right along it (where two marks overlap).
      const double middle = std::floor((run->x1 + run->x2) / 2.0);
      std::vector<double> xs{middle};
      for (double dx = 3; middle - dx >= run->x1 + 1 || middle + dx <= run->x2 - 1; dx += 3) {
        if (middle - dx >= run->x1 + 1) xs.push_back(middle - dx);
        if (middle + dx <= run->x2 - 1) xs.push_back(middle + dx);
      }
      for (double d = 4; d <= reach; ++d) {
        for (double x : xs) {
          const Point e{x, edge + (above ? -3.0 : 3.0)}, c{x, edge + (above ? -d : d)};
          if (!own_end(e, k)) break;
          if (c.y >= top && c.y <= bottom && clear({x_hi, c.y}, c, k) && clear(c, e, k)) ways[k].push_back({c.y, {c, e}, false});
        }
      }
    }
  };
  for (size_t k = 0; k < n; ++k) {
    if (given != nullptr) {
      // The ways given (each from the tracks' right end on, in the labels' order).
      const std::vector<Point>& g = (*given)[k];
      x_hi = g.front().x;
      ways[k].push_back({g.front().y, std::vector<Point>(g.begin() + 1, g.end()), g.size() == 2});
      continue;
    }
    find_ways(k);
    if (ways[k].empty()) return false;
  }
  for (auto& w : ways) std::stable_sort(w.begin(), w.end(), [](const Way& a, const Way& b) { return a.y < b.y; });
  // Labels of marks at one depth stand in the order their marks can be reached in from above: place
  // k of the stretch takes label order[k].
  order.resize(n);
  for (size_t k = 0; k < n; ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return labels[a].depth != labels[b].depth ? labels[a].depth < labels[b].depth : ways[a].front().y < ways[b].front().y;
  });
  {
    std::vector<std::vector<Way>> placed(n);
    for (size_t k = 0; k < n; ++k) placed[k] = ways[order[k]];
    ways = std::move(placed);
  }
  // The heights, `spacing` apart down the labels: the lowest each may take (from the last up), then
  // from the first down the way nearest its label's middle, onto the side before over the top or foot.
  std::vector<double> lowest(n);
  for (size_t k = n; k-- > 0;) {
    const double limit = k + 1 < n ? lowest[k + 1] - spacing : 1e18;
    bool found = false;
    for (const Way& w : ways[k]) {
      if (w.y <= limit) lowest[k] = w.y, found = true;
    }
    if (!found) return false;
  }
  // From the first down, the way nearest its label's middle (onto the side before over the top or
  // foot) that keeps clear of the ways chosen above it, going back to the next best where a label
  // further down finds none (within a bound on the tries).
  std::vector<const Way*> chosen(n, nullptr);
  auto approach = [&](const Way& w) {
    std::vector<Point> a{{x_hi, w.y}};
    a.insert(a.end(), w.rest.begin(), w.rest.end());
    return a;
  };
  auto apart = [&](const std::vector<Point>& a, const std::vector<Point>& b) {
    for (size_t i = 1; i < a.size(); ++i) {
      for (size_t j = 1; j < b.size(); ++j) {
        if (distance(a[i - 1], a[i], b[j - 1], b[j]) < 2) return false;
      }
    }
    return true;
  };
  long tries = 0;
  bool earliest = false;
  std::function<bool(size_t, double)> choose = [&](size_t k, double previous) {
    if (k == n) return true;
    std::vector<const Way*> fitting;
    for (const Way& w : ways[k]) {
      if (w.y >= previous + spacing && w.y <= lowest[k]) fitting.push_back(&w);
    }
    // Onto the side: nearest the label's middle (or the highest); over the top or foot: the shortest
    // way down (up) onto the mark first, whose piece down (up) meets the fewest leaders below.
    const double mid = labels[k].mid;
    auto score = [&](const Way* w) {
      if (w->side) return earliest ? w->y : std::fabs(w->y - mid);
      return 1e6 + std::fabs(w->rest.back().y - w->y);
    };
    std::stable_sort(fitting.begin(), fitting.end(), [&](const Way* a, const Way* b) { return score(a) < score(b); });
    // A few of each kind of way at each place, the best first.
    std::vector<const Way*> few;
    std::vector<std::pair<double, int>> seen;
    for (const Way* w : fitting) {
      const double place = w->side ? -1e9 : w->rest.back().x * (w->rest.back().y < w->y ? 1 : -1);
      auto at = std::find_if(seen.begin(), seen.end(), [&](const auto& p) { return p.first == place; });
      if (at == seen.end()) seen.push_back({place, 0}), at = seen.end() - 1;
      if (++at->second <= 3) few.push_back(w);
    }
    fitting = std::move(few);
    for (const Way* w : fitting) {
      if (--tries < 0) return false;
      const std::vector<Point> mine = approach(*w);
      bool ok = true;
      for (size_t m = 0; m < k && ok; ++m) ok = apart(mine, approach(*chosen[m]));
      if (!ok) continue;
      chosen[k] = w;
      if (choose(k + 1, w->y)) return true;
    }
    return false;
  };
  // First the ways nearest the labels; failing that the highest ways, which leave the most room below.
  tries = 4000;
  if (!choose(0, -1e18)) {
    earliest = true, tries = 20000;
    if (!choose(0, -1e18)) return false;
  }
  // The tracks: counted from the left, each right of those it must pass.
  std::vector<int> track(n, 0);
  auto down = [&](size_t k) { return chosen[k]->y > labels[k].mid; };
  auto up = [&](size_t k) { return chosen[k]->y < labels[k].mid; };
  for (size_t i = n; i-- > 0;) {
    if (!down(i)) continue;
    for (size_t j = i + 1; j < n && labels[j].mid <= chosen[i]->y + spacing; ++j) {
      if (down(j)) track[i] = std::max(track[i], track[j] + 1);
    }
  }
  for (size_t j = 0; j < n; ++j) {
    if (!up(j)) continue;
    for (size_t i = j; i-- > 0 && chosen[j]->y <= labels[i].mid + spacing;) {
      if (up(i)) track[j] = std::max(track[j], track[i] + 1);
    }
  }
  const int most = *std::max_element(track.begin(), track.end());
  right = std::min(right, static_cast<std::int32_t>(std::floor(x_hi - most * spacing - 6)));
  if (right < least_right) return false;
  const double start = right + 3;
  leaders.assign(n, {});
  for (size_t k = 0; k < n; ++k) {
    const double x = x_hi - (most - track[k]) * spacing, y = chosen[k]->y, mid = labels[k].mid;
    std::vector<Point>& way = leaders[k];
    way.push_back({start, mid});
    if (y != mid) {
      way.push_back({x, mid});
      way.push_back({x, y});
    }
    way.insert(way.end(), chosen[k]->rest.begin(), chosen[k]->rest.end());
  }
  // What is drawn, checked: clear of each other, of the leaders laid elsewhere, of the other marks, the
  // labels and the caption.
  for (size_t k = 0; k < n; ++k) {
    const std::vector<Point>& way = leaders[k];
    for (size_t j = 1; j < way.size(); ++j) {
      const Point a = way[j - 1], b = way[j];
      if (!clear(a, b, order[k])) return false;
      for (const Area& r : boxes) {
        if (crosses(a, b, r, 1)) return false;
      }
      for (size_t m = 0; m < n; ++m) {
        const Area box{right - (labels[order[m]].box.x2 - labels[order[m]].box.x1), labels[m].box.y1, right, labels[m].box.y2};
        if (m != k && crosses(a, b, box, 1)) return false;
        if (m <= k) continue;
        for (size_t i = 1; i < leaders[m].size(); ++i) {
          if (distance(a, b, leaders[m][i - 1], leaders[m][i]) < 2) return false;
        }
      }
      for (const auto& [c, d] : fixed) {
        if (distance(a, b, c, d) < 2) return false;
      }
    }
  }
  return true;
}

}  // namespace

void SheetPrint::place_marks(std::vector<Sample>& samples) {
  // Half a millimetre of paper between the inks of two marks; a mark goes no further left than 13.5 mm
  // (its label then still ends 20 mm left of the symbol column).
  const std::int32_t gap = 6;
  struct Placed {
    std::vector<Area> ink;  // at its place on the page, shifted
    Area box;
  };
  std::vector<Placed> placed;
  // A mark moved never goes onto the scale's caption (placed before, clear of the marks at their places
  // where it can be).
  std::vector<Area> caption;
  const double height = text_height(3);
  for (const CaptionLine& c : caption_lines()) {
    if (!rt::TRIM(c.text).empty())
      caption.push_back({c.x, rounded(c.y - height * 0.75), c.x + FNDLEN(c.text, 3), rounded(c.y + height * 0.25)});
  }
  // The marks in the symbol column (never moved) first, then the water marks, whose lines reach the
  // column, then the samples; each kind in order down the page.
  auto rank = [&](const Sample& s) {
    const std::int32_t offset = sample_offset(s);
    return offset == 0 ? 0 : offset == rounded(64 * RASTERSTEP) ? 1 : 2;
  };
  std::vector<size_t> order;
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i].shift = 0;
    samples[i].over = false;
    if (sample_on_page(samples[i]) && sample_bitmap(samples[i]) > 0) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int ra = rank(samples[a]), rb = rank(samples[b]);
    return ra != rb ? ra < rb : samples[a].y < samples[b].y;
  });
  for (size_t i : order) {
    Sample& s = samples[i];
    s.narrow = false;
    std::vector<Area> ink = mark_ink(s);
    if (ink.empty()) continue;
    Area box = bounds(ink);
    // The marks placed already that come near this one's rows.
    std::vector<const Placed*> close;
    for (const Placed& p : placed) {
      if (p.box.y1 - gap < box.y2 && box.y1 - gap < p.box.y2) close.push_back(&p);
    }
    auto meets = [&](std::int32_t shift) {
      for (const Area& c : caption) {
        if (shift > 0 && near(c, moved(box, shift), gap)) {
          for (const Area& b : ink) {
            if (near(c, moved(b, shift), gap)) return true;
          }
        }
      }
      for (const Placed* p : close) {
        if (!near(p->box, moved(box, shift), gap)) continue;
        for (const Area& a : p->ink) {
          for (const Area& b : ink) {
            if (near(a, moved(b, shift), gap)) return true;
          }
        }
      }
      return false;
    };
    std::int32_t shift = 0;
    if (rank(s) > 0 && meets(0)) {
      // The least shift that puts one of its rows just left of a row of a mark placed already (or of
      // the caption) and meets nothing there; 0 when there is none within reach.
      auto least_shift = [&]() {
        std::vector<std::int32_t> shifts;
        auto beside = [&](const Area& a) {
          for (const Area& b : ink) {
            const std::int32_t c = b.x2 + gap - a.x1;
            if (a.y1 - gap < b.y2 && b.y1 - gap < a.y2 && c > 0 && c <= furthest_shift) shifts.push_back(c);
          }
        };
        for (const Placed* p : close) {
          for (const Area& a : p->ink) beside(a);
        }
        for (const Area& c : caption) beside(c);
        std::sort(shifts.begin(), shifts.end());
        shifts.erase(std::unique(shifts.begin(), shifts.end()), shifts.end());
        for (std::int32_t c : shifts) {
          if (!meets(c)) return c;
        }
        return 0;
      };
      shift = least_shift();
      // A water mark with no room for its whole line keeps its triangle and a short piece of the line.
      if (shift == 0 && rank(s) == 1) {
        s.narrow = true;
        if (std::vector<Area> cut = mark_ink(s); !cut.empty()) {
          ink = std::move(cut), box = bounds(ink);
          shift = least_shift();
        }
      }
      if (shift == 0) {
        ++marks_over_marks;  // no room left of the others: it stays at its place, whole
        s.over = true;
        s.narrow = false;
        ink = mark_ink(s), box = bounds(ink);
      }
    }
    s.shift = shift;
    for (Area& a : ink) a = moved(a, shift);
    placed.push_back({std::move(ink), moved(box, shift)});
  }
}

void SheetPrint::place_labels(std::vector<Sample>& samples) {
  // Labels are lines of font 3; a label moved goes a quarter of a line clear of its neighbours.
  const double height = text_height(3);
  const double pitch = height * 1.25, above = height * 0.75, below = height - above;
  // The labels drawn on this page, in order down the page.
  pushed_left.clear();
  std::vector<Sample*> drawn;
  std::int32_t most = 0;  // the largest shift of a mark on the page
  for (Sample& s : samples) {
    s.label_right = 0;
    s.leader.clear();
    if (sample_on_page(s) && !rt::TRIM(s.label).empty()) drawn.push_back(&s);
    if (sample_on_page(s)) most = std::max(most, s.shift);
  }
  // Labels of one depth: the mark nearest the symbol column first, so that its leader goes over the
  // marks beside it.
  std::stable_sort(drawn.begin(), drawn.end(), [](const Sample* a, const Sample* b) {
    return a->label_y != b->label_y ? a->label_y < b->label_y : a->shift < b->shift;
  });
  if (drawn.empty()) return;
  std::int32_t left = SHEETX1 - 86 - most;
  for (const Sample* s : drawn) left = std::min(left, SHEETX1 - (FNDLEN(s->label, 3) + 86 + most));
  // The room of the page: from the head of the sheet body to its foot (the footer's rule, or the end of
  // the body on a page without a footer), and never below the hole's floor.
  const bool footer = PAGENO >= PAGECOUNT || FOOTEVERY == 1;
  const double top = HEADDOTS + above;
  double bottom = (footer ? PAGELENGTH - FOOTDOTS - 1 - (pitch - height) : PAGELENGTH - 34) - below;
  if (LAYERCOUNT > 0 && HOLEBOTY - below > top) bottom = std::min(bottom, HOLEBOTY - below);
  // The caption of the depth scale, where it stands over the labels: labels that reach it go below it.
  double caption_top = 0, caption_bottom = 0;
  bool caption = false;
  std::vector<Area> captions;
  for (const CaptionLine& c : caption_lines()) {
    if (rt::TRIM(c.text).empty()) continue;
    captions.push_back({c.x, rounded(c.y - above), c.x + FNDLEN(c.text, 3), rounded(c.y + below)});
    // (where marks moved, also a caption between the labels and the marks: their leaders would cross it)
    if ((most == 0 && c.x >= SHEETX1 - 86) || c.x + FNDLEN(c.text, 3) <= left) continue;
    caption_top = caption ? std::min(caption_top, c.y - above) : c.y - above;
    caption_bottom = caption ? std::max(caption_bottom, c.y + below) : c.y + below;
    caption = true;
  }
  std::vector<double> wanted_y;
  for (const Sample* s : drawn) wanted_y.push_back(s->label_y);
  // The size of each label against font 3's own (1 but in a crowded stretch set smaller), and what
  // follows from it: its line's height, above and below its baseline, its width, and the pitch and the
  // touching distance between neighbours k and k + 1.
  const double points = rt::VAL(FNPOINTS(FONTSPEC(3)));
  auto scale = [&](size_t k) { return drawn[k]->label_points > 0 && points > 0 ? drawn[k]->label_points / points : 1.0; };
  auto above_of = [&](size_t k) { return above * scale(k); };
  auto below_of = [&](size_t k) { return below * scale(k); };
  auto width_of = [&](size_t k) {
    const std::int32_t w = FNDLEN(drawn[k]->label, 3);
    return scale(k) == 1 ? w : rounded(w * scale(k));
  };
  auto touch = [&](size_t k) { return scale(k) == 1 && scale(k + 1) == 1 ? height : height * (0.25 * scale(k) + 0.75 * scale(k + 1)); };
  auto pitch_after = [&](size_t k) { return scale(k) == 1 && scale(k + 1) == 1 ? pitch : 1.25 * touch(k); };
  auto place = [&](size_t from, size_t to, double lo, double hi, bool firm_top) {
    if (from >= to) return;
    std::vector<double> wanted, heights;
    bool sized = false;
    for (size_t k = from; k < to; ++k) {
      wanted.push_back(drawn[k]->label_y);
      heights.push_back(height * scale(k));
      sized = sized || scale(k) != 1;
    }
    // A label never moves off the page, but one that already stands beyond its room stays there.
    if (!firm_top) lo = std::min(lo, wanted.front());
    hi = std::max(hi, wanted.back());
    const std::vector<double> at =
        sized ? spread_labels(wanted, heights, lo, hi) : spread_labels(wanted, height, pitch, lo, hi);
    for (size_t k = from; k < to; ++k) {
      const std::int32_t y = rounded(at[k - from]);
      drawn[k]->label_moved = y != drawn[k]->label_y;
      drawn[k]->label_y = y;
    }
  };
  auto place_all = [&]() {
    for (size_t k = 0; k < drawn.size(); ++k) drawn[k]->label_y = rounded(wanted_y[k]);
    size_t split = 0;  // the labels above the caption (those clear of it) and the rest
    if (caption) {
      while (split < drawn.size() && drawn[split]->label_y + below <= caption_top) ++split;
      place(0, split, top, caption_top - (pitch - height) - below, false);
      place(split, drawn.size(), caption_bottom + (pitch - height) + above, bottom, true);
    } else {
      place(0, drawn.size(), top, bottom, false);
    }
  };
  // Labels further than 10 mm from their depth, or squeezed over each other where the page has no more
  // room.
  auto far = [&]() {
    std::vector<bool> out(drawn.size(), false);
    for (size_t k = 0; k < drawn.size(); ++k) {
      out[k] = std::fabs(drawn[k]->label_y - wanted_y[k]) > label_reach ||
               (k > 0 && drawn[k]->label_y - drawn[k - 1]->label_y < touch(k - 1) - 1) ||
               (k + 1 < drawn.size() && drawn[k + 1]->label_y - drawn[k]->label_y < touch(k) - 1);
    }
    return out;
  };
  for (Sample* s : drawn) s->label_points = 0;
  place_all();
  std::vector<bool> beyond = far();
  // Where labels stand too far from their marks, the stretch of touching labels they stand in is set
  // smaller: in half points down to the least readable size, the first size at which every label
  // stands within reach. A stretch that then touches another that is too far takes that one in too.
  const double floor_points = points > 0 ? smallest_label_points(points) : 0;
  if (std::find(beyond.begin(), beyond.end(), true) != beyond.end() && floor_points > 0 && floor_points < points) {
    std::vector<bool> small(drawn.size(), false);
    auto take_in = [&]() {
      bool more = false;
      for (size_t from = 0, to = 1; from < drawn.size(); from = to++) {
        while (to < drawn.size() && drawn[to]->label_y - drawn[to - 1]->label_y < pitch_after(to - 1) + 0.5) ++to;
        if (std::find(beyond.begin() + static_cast<std::ptrdiff_t>(from), beyond.begin() + static_cast<std::ptrdiff_t>(to),
                      true) == beyond.begin() + static_cast<std::ptrdiff_t>(to))
          continue;
        for (size_t k = from; k < to; ++k) more = more || !small[k], small[k] = true;
      }
      return more;
    };
    take_in();
    std::vector<double> sizes;
    for (double p = points - 0.5; p > floor_points + 1e-9; p -= 0.5) sizes.push_back(p);
    sizes.push_back(floor_points);
    for (double p : sizes) {
      for (int round = 0; round < 8; ++round) {
        for (size_t k = 0; k < drawn.size(); ++k) drawn[k]->label_points = small[k] ? p : 0;
        place_all();
        beyond = far();
        if (!take_in()) break;
      }
      if (std::find(beyond.begin(), beyond.end(), true) == beyond.end()) break;
    }
  }
  if (std::find(beyond.begin(), beyond.end(), true) != beyond.end()) {
    labels_beyond_reach += static_cast<std::int32_t>(std::count(beyond.begin(), beyond.end(), true));
    // The scale that would hold them in their own size.
    const double f = label_scale_needed(wanted_y, HEADDOTS, height, pitch);
    label_scale_factor = f == 0 || label_scale_factor == 0 ? 0 : std::max(label_scale_factor, f);
  }

  // The marks of the page as drawn, and the boxes of the labels.
  std::vector<std::vector<Area>> inks(drawn.size());
  std::vector<Area> others;  // the ink of marks without a label
  for (Sample& s : samples) {
    std::vector<Area> ink = mark_ink(s);
    for (Area& a : ink) a = moved(a, s.shift);
    const auto at = std::find(drawn.begin(), drawn.end(), &s);
    if (at != drawn.end()) {
      inks[static_cast<size_t>(at - drawn.begin())] = std::move(ink);
    } else {
      others.insert(others.end(), ink.begin(), ink.end());
    }
  }
  // Runs of labels a pitch apart or closer end at one place: left of every mark shifted beside them.
  for (size_t from = 0, to = 1; from < drawn.size(); from = to++) {
    while (to < drawn.size() && drawn[to]->label_y - drawn[to - 1]->label_y < pitch_after(to - 1) + 0.5) ++to;
    double y1 = drawn[from]->label_y - above_of(from), y2 = drawn[to - 1]->label_y + below_of(to - 1);
    for (size_t k = from; k < to; ++k) {
      y1 = std::min(y1, static_cast<double>(FNPDOT(drawn[k]->y)));
      y2 = std::max(y2, static_cast<double>(FNPDOT(drawn[k]->y)));
    }
    std::int32_t shift = 0, ink_left = SHEETX1;
    for (const Sample& s : samples) {
      const std::vector<Area> ink = mark_ink(s);
      if (ink.empty()) continue;
      const Area b = moved(bounds(ink), s.shift);
      if (b.y1 - 6 < y2 && y1 - 6 < b.y2) shift = std::max(shift, s.shift), ink_left = std::min(ink_left, b.x1);
    }
    // Where marks moved, the labels also keep clear of the left end of a water line.
    const std::int32_t right =
        shift > 0 ? std::max(std::min(SHEETX1 - 86 - shift, ink_left - 8), SHEETX1 - 86 - furthest_shift - 21) : SHEETX1 - 86;
    for (size_t k = from; k < to; ++k) drawn[k]->label_right = right;
  }
  std::vector<Area> boxes;
  for (size_t k = 0; k < drawn.size(); ++k) {
    const Sample* s = drawn[k];
    boxes.push_back({s->label_right - width_of(k), rounded(s->label_y - above_of(k)), s->label_right,
                     rounded(s->label_y + below_of(k))});
  }
  // The leaders: from the end of a label that left its mark's side to the mark, by the first way that
  // passes over no other mark, label or leader: straight to the mark's left at its depth, to its top or
  // its foot, or across and then down or up.
  // The leaders are laid one by one, each clear of those laid before it; where one finds no clear way,
  // they are laid once more with those that found none first, and the better of the two is kept.
  std::vector<size_t> order(drawn.size());
  for (size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>> best;
  std::vector<size_t> unclear, best_unclear;
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<std::pair<Point, Point>> laid;
    std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>> leaders(drawn.size());
    unclear.clear();
    for (size_t k : order) {
      Sample& s = *drawn[k];
      if (!s.label_moved && s.label_right == SHEETX1 - 86 - s.shift) continue;
      const double py = FNPDOT(s.y), middle = s.label_y - rounded(height * scale(k) * 0.35);
      const Point start{static_cast<double>(s.label_right + 3), middle};
      // The end at the mark's left, at its depth (for a mark moved: 3 dots left of its leftmost ink).
      Point side{static_cast<double>(SHEETX1 - 74 - s.shift), py};
      if (s.shift > 0 && !inks[k].empty()) side.x = bounds(inks[k]).x1 - 3;
      std::vector<std::vector<Point>> ways{{start, side}};
      if (!inks[k].empty()) {
        const Area b = bounds(inks[k]);
        const double xc = (b.x1 + b.x2) / 2.0, over = b.y1 - 3, under = b.y2 + 3;
        ways.push_back({start, {xc, over}});
        ways.push_back({start, {xc, under}});
        if (middle < over) ways.push_back({start, {xc, middle}, {xc, over}});
        if (middle > under) ways.push_back({start, {xc, middle}, {xc, under}});
      }
      ways.push_back({start, {side.x, middle}, side});
      // Round the marks in the way: a short slant from the label to a height clear of them, across at
      // that height, and down (or up) onto the mark, over its middle or over its leftmost ink (the left
      // end of a water line); the heights nearest the label first.
      if (!inks[k].empty()) {
        const Area b = bounds(inks[k]);
        Area lead = inks[k].front();  // the run of ink furthest left
        for (const Area& r : inks[k]) {
          if (r.x1 < lead.x1) lead = r;
        }
        struct Target {
          double x, y;
          bool from_above;
        };
        const double xc = (b.x1 + b.x2) / 2.0;
        const Target targets[] = {{xc, b.y1 - 3.0, true},           {xc, b.y2 + 3.0, false},
                                  {lead.x1 + 6.0, lead.y1 - 3.0, true}, {lead.x1 + 6.0, lead.y2 + 3.0, false},
                                  {lead.x1 + 2.0, lead.y1 - 3.0, true}, {lead.x1 + 2.0, lead.y2 + 3.0, false}};
        std::vector<double> heights{middle};
        for (const Target& t : targets) heights.push_back(t.y);
        auto note = [&](const Area& r) {
          if (r.x2 + 2 < start.x || r.x1 - 2 > b.x2 || r.y2 < b.y1 - 2 * pitch || r.y1 > b.y2 + 2 * pitch) return;
          heights.push_back(r.y1 - 4);
          heights.push_back(r.y2 + 4);
        };
        for (size_t m = 0; m < drawn.size(); ++m) {
          if (m == k) continue;
          for (const Area& r : inks[m]) note(r);
        }
        for (const Area& r : others) note(r);
        std::stable_sort(heights.begin(), heights.end(),
                         [&](double a, double c) { return std::fabs(a - middle) < std::fabs(c - middle); });
        heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
        if (heights.size() > 48) heights.resize(48);
        for (double h : heights) {
          for (const Target& t : targets) {
            if (t.from_above ? h > t.y : h < t.y) continue;
            std::vector<Point> way{start, {start.x + 6, h}, {t.x, h}};
            if (h != t.y) way.push_back({t.x, t.y});
            ways.push_back(way);
          }
        }
      }
      // What a way passes over: 0 when nothing; texts (labels, the caption) weigh most, then marks,
      // then other leaders.
      auto cost = [&](const std::vector<Point>& way, int enough) {
        int over = 0;
        for (size_t j = 1; j < way.size() && (enough < 0 || over < enough); ++j) {
          const Point a = way[j - 1], b = way[j];
          for (size_t m = 0; m < drawn.size(); ++m) {
            if (m == k) continue;
            for (const Area& r : inks[m]) {
              if (crosses(a, b, r, 2)) {
                over += 10;
                break;
              }
            }
            if (crosses(a, b, boxes[m], 1)) over += 100;
          }
          for (const Area& r : others) {
            if (crosses(a, b, r, 2)) {
              over += 10;
              break;
            }
          }
          for (const Area& r : captions) {
            if (crosses(a, b, r, 4)) over += 100;  // clear of the caption's descenders
          }
          for (const auto& [c, d] : laid) {
            // (Leaders to marks without a picture at one depth meet where the marks would be.)
            const bool shared_end = inks[k].empty() && j + 1 == way.size() && std::hypot(b.x - d.x, b.y - d.y) < 1;
            if (!shared_end && distance(a, b, c, d) < 2) ++over;
          }
        }
        return over;
      };
      // The first way that is clear, or else the one that passes over least.
      size_t chosen = 0;
      int least = -1;
      for (size_t w = 0; w < ways.size(); ++w) {
        const int c = cost(ways[w], least);
        if (least < 0 || c < least) least = c, chosen = w;
        if (c == 0) break;
      }
      if (least > 0) unclear.push_back(k);
      for (const Point& p : ways[chosen]) leaders[k].emplace_back(rounded(p.x), rounded(p.y));
      for (size_t j = 1; j < ways[chosen].size(); ++j) laid.emplace_back(ways[chosen][j - 1], ways[chosen][j]);
    }
    if (pass == 0 || unclear.size() < best_unclear.size()) best = std::move(leaders), best_unclear = unclear;
    if (best_unclear.empty()) break;
    std::stable_partition(order.begin(), order.end(), [&](size_t k) {
      return std::find(best_unclear.begin(), best_unclear.end(), k) != best_unclear.end();
    });
  }
  // The marks of a stretch placed anew one by one in the order of their labels (those of marks at one
  // depth in any order), each where a leader can come to it across at a height below those of the
  // marks before it (onto its side, or over its top or foot): a mark takes a shift at which it keeps
  // clear of the marks, labels and ways placed before it, with room for the leaders' tracks between it
  // and the labels (which end as far left as labels ever stand); where a later mark finds no place,
  // an earlier one takes its next (a bounded search). The leaders are then laid on their tracks as
  // lay_in_order lays them. With `short_lines` a water mark moved is drawn with its line cut short.
  // Nothing changes where the marks find no such places.
  auto place_anew = [&](const std::vector<size_t>& members, bool short_lines) {
    // Each look for a mark's places walks every shift and height against everything placed, so a
    // stretch of many marks would cost seconds a look; such stretches are too crowded to gain anyway.
    constexpr size_t kMostMembers = 24;
    if (members.size() > kMostMembers) return false;
    auto member = [&](size_t m) { return std::find(members.begin(), members.end(), m) != members.end(); };
    std::vector<Area> placed = others, fixed_boxes;
    std::vector<std::pair<Point, Point>> laid;
    for (size_t m = 0; m < drawn.size(); ++m) {
      if (member(m)) continue;
      placed.insert(placed.end(), inks[m].begin(), inks[m].end());
      fixed_boxes.push_back(boxes[m]);
      for (size_t j = 1; j < best[m].size(); ++j) {
        laid.push_back({{static_cast<double>(best[m][j - 1].first), static_cast<double>(best[m][j - 1].second)},
                        {static_cast<double>(best[m][j].first), static_cast<double>(best[m][j].second)}});
      }
    }
    const std::vector<std::pair<Point, Point>> fixed = laid;
    const std::vector<Area> others_of_stretch = placed;  // the marks not of the stretch
    // The labels end as far left as labels ever stand (left of the marks moved furthest).
    const std::int32_t right = SHEETX1 - 86 - furthest_shift - 21;
    // Where the leaders come in from their tracks.
    const double x_track = right + 3 + std::min<double>(2.0 * static_cast<double>(members.size()) + 8, 48);
    const double spacing = 4, reach = 40;
    auto clear = [&](Point a, Point b) {
      for (const Area& p : placed) {
        if (crosses(a, b, p, 2)) return false;
      }
      for (const Area& c : captions) {
        if (crosses(a, b, c, 4)) return false;
      }
      for (const auto& [c, d] : laid) {
        if (distance(a, b, c, d) < 2) return false;
      }
      return true;
    };
    // A place for a mark: its shift, its picture (cut short or not) there, and the way a leader comes
    // in to it from the tracks (at height y).
    struct Placed {
      size_t member;
      std::int32_t shift;
      bool narrow;
      std::vector<Area> ink;
      std::vector<Point> way;
      double y;
    };
    // The places for a mark below the ways before (at `previous`): at the first few shifts clear of
    // what is placed, each with its highest way onto its side and its shortest over its top or foot.
    auto places_for = [&](size_t m, double previous) {
      std::vector<Placed> found;
      Sample& s = *drawn[members[m]];
      const std::int32_t offset = sample_offset(s);
      std::vector<std::vector<Area>> pictures;
      for (const bool narrow : {false, true}) {
        if (narrow && offset != rounded(64 * RASTERSTEP)) break;
        const bool was = s.narrow;
        s.narrow = narrow;
        pictures.push_back(mark_ink(s));
        s.narrow = was;
        if (pictures.back().empty()) return found;
      }
      const std::int32_t most_shift = offset == 0 ? 0 : bounds(pictures.back()).x1 - rounded(x_track + 6);
      // The least shift of each of the first few runs of shifts at which it is clear.
      int runs = 0;
      bool last = false;
      for (std::int32_t shift = 0; shift <= most_shift && runs < 4; shift += 2) {
        bool any = false;
        for (size_t v = 0; v < pictures.size(); ++v) {
          const bool narrow = v == 1;
          if ((narrow && shift == 0) || (!narrow && shift > 0 && short_lines && pictures.size() > 1) ||
              bounds(pictures[v]).x1 - shift < x_track + 6)
            continue;
          std::vector<Area> ink = pictures[v];
          for (Area& a : ink) a = moved(a, shift);
          const Area b = bounds(ink);
          auto meets = [&]() {
            for (const Area& p : placed) {
              if (!near(p, b, 6)) continue;
              for (const Area& a : ink) {
                if (near(p, a, 6)) return true;
              }
            }
            // (the caption was placed clear of the marks at their places)
            for (const Area& c : captions) {
              if (shift > 0 && near(c, b, 6)) return true;
            }
            for (const auto& [c, d] : laid) {
              if (crosses(c, d, b, 2)) {
                for (const Area& a : ink) {
                  if (crosses(c, d, a, 2)) return true;
                }
              }
            }
            for (const Area& x : fixed_boxes) {
              if (near(x, b, 2)) return true;
            }
            return false;
          };
          if (meets()) continue;
          if (last) {
            any = true;
            continue;
          }
          const size_t before = found.size();
          auto own_end = [&](Point e) {
            for (const Area& p : placed) {
              if (crosses(e, e, p, 4)) return false;
            }
            return true;
          };
          auto usable = [&](double y) { return y >= previous + spacing && y >= top - above && y <= bottom + below; };
          for (std::int32_t y = b.y1; y <= b.y2; ++y) {
            double x = 1e18;
            for (const Area& r : ink) {
              if (r.y1 <= y && y <= r.y2) x = std::min(x, static_cast<double>(r.x1));
            }
            const Point e{x - 3, static_cast<double>(y)};
            if (x < 1e17 && usable(y) && own_end(e) && clear({x_track, e.y}, e)) {
              found.push_back({m, shift, narrow, ink, {{x_track, e.y}, e}, e.y});
              break;
            }
          }
          for (const bool from_above : {true, false}) {
            const std::int32_t edge = from_above ? b.y1 : b.y2;
            const Area* run = nullptr;
            for (const Area& r : ink) {
              if ((from_above ? r.y1 : r.y2) == edge && (run == nullptr || r.x1 < run->x1)) run = &r;
            }
            if (run == nullptr) continue;
            // Near the left end of the run, clear of what a mark placed later may take right of it; or
            // further along it where that is not clear.
            std::vector<double> xs;
            for (double x = run->x1 + 2; x <= run->x2 - 2; x += 3) xs.push_back(x);
            if (xs.empty()) xs.push_back(std::floor((run->x1 + run->x2) / 2.0));
            bool got = false;
            for (double d = 4; d <= reach && !got; ++d) {
              for (double x : xs) {
                const Point e{x, edge + (from_above ? -3.0 : 3.0)}, c{x, edge + (from_above ? -d : d)};
                if (usable(c.y) && own_end(e) && clear({x_track, c.y}, c) && clear(c, e)) {
                  found.push_back({m, shift, narrow, ink, {{x_track, c.y}, c, e}, c.y});
                  got = true;
                  break;
                }
              }
            }
          }
          any = any || found.size() > before;
        }
        if (any && !last) ++runs;
        last = any;
      }
      // The highest ways first: they leave the most room below.
      std::stable_sort(found.begin(), found.end(), [](const Placed& a, const Placed& b) { return a.y < b.y; });
      return found;
    };
    // Mark by mark in the order of the labels (those of marks at one depth in any order), going back
    // to another place where a later mark finds none, within a bound on the tries and on the looks
    // for places (a look costs far more than a try, and a look that finds nothing costs no try).
    std::vector<Placed> done;
    std::vector<char> used(members.size(), 0);
    long tries = 4000, looks = 32;
    std::function<bool(double)> search = [&](double previous) {
      if (done.size() == members.size()) return true;
      std::int32_t depth = INT32_MAX;
      for (size_t m = 0; m < members.size(); ++m) {
        if (!used[m]) depth = std::min(depth, drawn[members[m]]->y);
      }
      for (size_t m = 0; m < members.size(); ++m) {
        if (used[m] || drawn[members[m]]->y != depth) continue;
        if (--looks < 0) return false;
        for (Placed& p : places_for(m, previous)) {
          if (--tries < 0) return false;
          const size_t inks_before = placed.size(), laid_before = laid.size();
          placed.insert(placed.end(), p.ink.begin(), p.ink.end());
          for (size_t j = 1; j < p.way.size(); ++j) laid.push_back({p.way[j - 1], p.way[j]});
          used[m] = 1;
          const double y = p.y;
          done.push_back(std::move(p));
          if (search(y)) return true;
          done.pop_back();
          used[m] = 0;
          placed.resize(inks_before), laid.resize(laid_before);
        }
      }
      return false;
    };
    if (!search(-1e18)) return false;
    // The leaders to the marks at their new places, the labels in the order found.
    std::vector<OrderedLabel> labels;
    std::vector<std::pair<long, Area>> marks;
    for (const Area& a : others_of_stretch) marks.push_back({-1, a});
    for (size_t i = 0; i < members.size(); ++i) {
      const size_t k = members[i], m = members[done[i].member];
      for (const Area& a : done[i].ink) marks.push_back({static_cast<long>(i), a});
      OrderedLabel l;
      l.box = {right - width_of(m), boxes[k].y1, right, boxes[k].y2};
      l.mid = drawn[k]->label_y - rounded(height * scale(k) * 0.35);
      l.ink = done[i].ink;
      l.depth = static_cast<std::int32_t>(i);
      labels.push_back(std::move(l));
    }
    std::vector<size_t> kept;
    std::vector<std::vector<Point>> ways, given;
    for (const Placed& p : done) given.push_back(p.way);
    std::int32_t lay_right = right;
    if (!lay_in_order(labels, marks, captions, fixed_boxes, fixed, top - above, bottom + below, right, lay_right,
                      kept, ways, &given))
      return false;
    struct Before {
      Sample* sample;
      std::int32_t label_y;
      double points;
    };
    std::vector<Before> before;
    for (size_t k : members) before.push_back({drawn[k], drawn[k]->label_y, drawn[k]->label_points});
    for (size_t i = 0; i < members.size(); ++i) {
      const size_t k = members[i];
      Sample& s = *before[done[i].member].sample;
      if (s.over) --marks_over_marks;
      s.over = false;
      s.shift = done[i].shift;
      s.narrow = done[i].narrow;
      drawn[k] = &s;
      s.label_y = before[i].label_y;
      s.label_points = before[i].points;
      s.label_moved = true;
      s.label_right = lay_right;
      inks[k] = done[i].ink;
      boxes[k] = {lay_right - width_of(k), boxes[k].y1, lay_right, boxes[k].y2};
      best[k].clear();
      for (const Point& p : ways[i]) best[k].emplace_back(rounded(p.x), rounded(p.y));
      best_unclear.erase(std::remove(best_unclear.begin(), best_unclear.end(), k), best_unclear.end());
    }
    return true;
  };
  const bool over_here = std::any_of(drawn.begin(), drawn.end(), [](const Sample* s) { return s->over; });
  if (!best_unclear.empty() || over_here) {
    // Where leaders found no clear way, the stretch they stand in (the labels and marks whose rows
    // meet, with what lies between) gets leaders laid in the labels' order (lay_in_order), every label
    // of it with one.
    struct Stretch {
      double y1, y2;
      std::vector<size_t> members;
    };
    std::vector<Stretch> spans;
    for (size_t k = 0; k < drawn.size(); ++k) {
      double y1 = boxes[k].y1, y2 = boxes[k].y2;
      const double py = FNPDOT(drawn[k]->y);
      y1 = std::min(y1, py), y2 = std::max(y2, py);
      if (!inks[k].empty()) {
        const Area b = bounds(inks[k]);
        y1 = std::min(y1, static_cast<double>(b.y1)), y2 = std::max(y2, static_cast<double>(b.y2));
      }
      spans.push_back({y1, y2, {k}});
    }
    std::stable_sort(spans.begin(), spans.end(), [](const Stretch& a, const Stretch& b) { return a.y1 < b.y1; });
    std::vector<Stretch> stretches;
    for (Stretch& s : spans) {
      if (!stretches.empty() && s.y1 <= stretches.back().y2 + 6) {
        stretches.back().y2 = std::max(stretches.back().y2, s.y2);
        stretches.back().members.push_back(s.members.front());
      } else {
        stretches.push_back(std::move(s));
      }
    }
    std::vector<std::pair<long, Area>> all_inks;
    for (const Area& a : others) all_inks.push_back({-1, a});
    for (Stretch& st : stretches) {
      std::sort(st.members.begin(), st.members.end());
      const bool unclear_here = std::any_of(st.members.begin(), st.members.end(), [&](size_t k) {
        return drawn[k]->over || std::find(best_unclear.begin(), best_unclear.end(), k) != best_unclear.end();
      });
      if (!unclear_here) continue;
      std::vector<OrderedLabel> labels;
      std::vector<std::pair<long, Area>> marks = all_inks;
      std::vector<Area> other_boxes;
      std::vector<std::pair<Point, Point>> fixed;
      std::int32_t right = SHEETX1;
      for (size_t m = 0; m < drawn.size(); ++m) {
        const auto at = std::find(st.members.begin(), st.members.end(), m);
        const long owner = at == st.members.end() ? -1 : static_cast<long>(at - st.members.begin());
        for (const Area& a : inks[m]) marks.push_back({owner, a});
        if (owner >= 0) continue;
        other_boxes.push_back(boxes[m]);
        for (size_t j = 1; j < best[m].size(); ++j) {
          fixed.push_back({{static_cast<double>(best[m][j - 1].first), static_cast<double>(best[m][j - 1].second)},
                           {static_cast<double>(best[m][j].first), static_cast<double>(best[m][j].second)}});
        }
      }
      for (size_t k : st.members) {
        const Sample& s = *drawn[k];
        OrderedLabel l;
        l.box = boxes[k];
        l.mid = s.label_y - rounded(height * scale(k) * 0.35);
        l.ink = inks[k];
        l.end = {static_cast<double>(SHEETX1 - 74 - s.shift), static_cast<double>(FNPDOT(s.y))};
        l.depth = s.y;
        labels.push_back(std::move(l));
        right = std::min(right, s.label_right);
      }
      std::vector<size_t> places;
      std::vector<std::vector<Point>> ways;
      const bool over_in = std::any_of(st.members.begin(), st.members.end(), [&](size_t k) { return drawn[k]->over; });
      if (over_in || !lay_in_order(labels, marks, captions, other_boxes, fixed, top - above, bottom + below,
                                   SHEETX1 - 86 - furthest_shift - 21, right, places, ways)) {
        if (!place_anew(st.members, false)) place_anew(st.members, true);
        continue;
      }
      // Place i of the stretch takes the label of place places[i] (and its mark), at the place's height
      // and size.
      struct Place {
        Sample* sample;
        std::int32_t label_y;
        double points;
        std::vector<Area> ink;
      };
      std::vector<Place> before;
      for (size_t k : st.members) before.push_back({drawn[k], drawn[k]->label_y, drawn[k]->label_points, inks[k]});
      for (size_t i = 0; i < st.members.size(); ++i) {
        const size_t k = st.members[i];
        const Place& from = before[places[i]];
        drawn[k] = from.sample;
        drawn[k]->label_y = before[i].label_y;
        drawn[k]->label_points = before[i].points;
        drawn[k]->label_moved = true;
        drawn[k]->label_right = right;
        inks[k] = from.ink;
        boxes[k] = {right - width_of(k), boxes[k].y1, right, boxes[k].y2};
        best[k].clear();
        for (const Point& p : ways[i]) best[k].emplace_back(rounded(p.x), rounded(p.y));
        best_unclear.erase(std::remove(best_unclear.begin(), best_unclear.end(), k), best_unclear.end());
      }
    }
  }
  for (size_t k = 0; k < drawn.size(); ++k) {
    if (drawn[k]->label_moved || drawn[k]->label_right != SHEETX1 - 86) pushed_left.push_back(boxes[k]);
    if (drawn[k]->shift > 0 && !inks[k].empty()) pushed_left.push_back(bounds(inks[k]));
  }
  leaders_over_marks += static_cast<std::int32_t>(best_unclear.size());
  for (size_t k = 0; k < drawn.size(); ++k) drawn[k]->leader = std::move(best[k]);
}

double smallest_label_points(double points) { return std::min(points, std::max(points * 0.7, 7.0)); }

double label_scale_needed(const std::vector<double>& wanted, double top, double height, double pitch) {
  auto fits = [&](double f) {
    std::vector<double> at;
    for (double w : wanted) at.push_back(top + (w - top) * f);
    const std::vector<double> spread = spread_labels(at, height, pitch, -1e12, 1e12);
    for (size_t k = 0; k < at.size(); ++k) {
      if (std::fabs(spread[k] - at[k]) > label_reach) return false;
    }
    return true;
  };
  if (wanted.empty() || fits(1)) return 1;
  if (!fits(64)) return 0;
  double lo = 1, hi = 64;
  for (int i = 0; i < 40; ++i) {
    const double f = (lo + hi) / 2;
    (fits(f) ? hi : lo) = f;
  }
  return hi;
}

std::int32_t round_scale_down(double denominator) {
  double best = 1;
  for (double decade = 1; decade <= 1e7; decade *= 10) {
    for (double step : {1.0, 2.0, 2.5, 5.0}) {
      if (step * decade <= denominator + 1e-9) best = step * decade;
    }
  }
  return static_cast<std::int32_t>(best);
}

void SheetPrint::say_crowded_labels() {
  if (labels_beyond_reach == 0 && leaders_over_marks == 0 && marks_over_marks == 0) return;
  auto count = [](std::int32_t n, const std::string& one, const std::string& more) {
    return rt::STR_TRIM(static_cast<std::int64_t>(n)) + " " + (n == 1 ? one : more);
  };
  std::vector<std::string> parts;
  if (labels_beyond_reach > 0)
    parts.push_back(labels_beyond_reach == 1 ? "1 label stands further than 10 mm from its mark or over another label"
                                             : count(labels_beyond_reach, "", "labels stand") +
                                                   " further than 10 mm from their marks or over other labels");
  if (leaders_over_marks > 0)
    parts.push_back(count(leaders_over_marks, "leader finds", "leaders find") + " no way clear of the other marks and leaders");
  if (marks_over_marks > 0) parts.push_back(count(marks_over_marks, "mark stands", "marks stand") + " over others");
  std::string text = "Hole " + rt::TRIM(HEADER(20)) + ": the samples column is too crowded at 1:" +
                     rt::STR_TRIM(static_cast<std::int64_t>(SCALEDENOM)) + " (";
  for (size_t k = 0; k < parts.size(); ++k) text += (k > 0 ? ", " : "") + parts[k];
  text += ")";
  if (labels_beyond_reach > 0 && label_scale_factor > 1) {
    text += "; 1:" + rt::STR_TRIM(static_cast<std::int64_t>(round_scale_down(SCALEDENOM / label_scale_factor))) +
            " would hold its labels.";
  } else if (labels_beyond_reach > 0 && label_scale_factor == 0) {
    text += "; no scale holds so many labels at one depth.";
  } else {
    text += ".";
  }
  show_message(text);
  rt::log_note(text);
}

void SheetPrint::DSAMP() {
  trap_.section("DSAMP");
  SAMPLECOUNT = 0;
  SAMPLEY.assign(static_cast<size_t>(std::max<std::int32_t>(MAXSAMPLES, DSAMPCOUNT)) + 1, 0);
  MOVEDLABELY.clear();
  std::vector<Sample> samples;
  for (std::int32_t i = 1; i <= DSAMPCOUNT && i <= DSAMP1.ubound(); ++i) samples.push_back(read_sample(DSAMP2(i), DSAMP1(i)));
  // The caption clears the marks at their places, and the marks that move keep clear of it.
  for (Sample& s : samples) s.shift = 0, s.narrow = false;
  place_caption(samples);
  place_marks(samples);
  place_labels(samples);
  for (Sample& s : samples) SINGLETI(s);
}

void SheetPrint::SINGLETI(Sample& s) {
  trap_.section("SINGLETI");
  SYMFILL = " 0  0  0  rg";
  if (!s.has_symbol_group) return;
  std::int32_t top = 0, bottom = 0;
  if (range_bar(s, top, bottom)) {
    if (OUTDEV == 1) NEWSTREA();
    const std::int32_t pt = FNPDOT(top), pb = FNPDOT(bottom);
    if (NEXTSTART > top && PAGEORIGIN < bottom) {
      BORDIR(SHEETX1 - 26, pt, pb);
      BORDIR(SHEETX1 - 22, pt, pb);
    }
    if (PAGEORIGIN < top) RULE(SHEETX1 - 26, SHEETX1 - 16, pt);
    if (NEXTSTART > bottom) RULE(SHEETX1 - 26, SHEETX1 - 16, pb);
    if (OUTDEV == 1) CLOSESTR();
  }
  if (!sample_on_page(s)) return;
  const std::int32_t py = FNPDOT(s.y);
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(s.mark)));
  const std::int32_t offset = sample_offset(s);
  ++SAMPLECOUNT;
  if (static_cast<size_t>(SAMPLECOUNT) >= SAMPLEY.size()) SAMPLEY.resize(static_cast<size_t>(SAMPLECOUNT) + 1, 0);
  SAMPLEY[static_cast<size_t>(SAMPLECOUNT)] = py;
  if (const std::int32_t bitmap = sample_bitmap(s); bitmap > 0) {
    PUTPSET(SYMBITS2);
    PICKSYMB(bitmap, false);
    if (s.narrow) {
      // Pixel p of a row is bit 7 - p MOD 8 of byte p \ 8, two bytes a word, low byte first.
      for (std::int32_t row = 0; row < 60; ++row) {
        for (std::int32_t p = 0; p < 64; ++p) {
          if (p >= narrow_first && p < narrow_end) continue;
          const long k = 2 + row * 4 + p / 16;
          SYMBITS(k) = SYMBITS(k) & ~(1 << ((p % 16) / 8 * 8 + 7 - p % 8));
        }
      }
    }
    RASTERX = SHEETX1 - offset - s.shift;
    const std::int32_t raster_top = rounded(py - 30 * RASTERSTEP);
    RASTERTOP = raster_top;
    BEGINRAS();
    if (OUTDEV == 1) {
      RASTEREND = raster_top;
      RASTERY = rounded(60 * RASTERSTEP + raster_top);
      WRITESAM();
      WRITESYMUSE(0, s.depth_text);
    } else {
      for (std::int32_t j = 1; j <= 60; ++j) SYMBLINE(j);
    }
    CLOSERAS();
    if (upper == '9') BANDMASK(py, offset, bitmap + 1);
  }
  SAMPLABE(s);
}

void SheetPrint::BANDMASK(std::int32_t py, std::int32_t offset, std::int32_t picture) {
  trap_.section("BANDMASK");
  const std::string bytes = library_picture(picture);
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

void SheetPrint::SAMPLABE(const Sample& s) {
  trap_.section("SAMPLABE");
  if (OUTDEV == 1) NEWSTREA();
  // A label of a crowded stretch is set smaller (its width scaled as its type); the font's own size is
  // given back after it.
  const double points = rt::VAL(FNPOINTS(FONTSPEC(3)));
  const bool small = s.label_points > 0 && points > 0 && s.label_points != points;
  if (small) {
    set_font_size(3, s.label_points);
  } else {
    FSETFONT(3);
  }
  const std::int32_t w = small ? rounded(FNDLEN(s.label, 3) * s.label_points / points) : FNDLEN(s.label, 3);
  LABELWIDTH = std::max(LABELWIDTH, w);
  std::string text = s.label;
  REPLAZE(text, HARDSPCODE, " ");
  PRINTEXT((s.label_right != 0 ? s.label_right : SHEETX1 - 86) - w, s.label_y, text);
  if (small) FSETFONT(3);
  if (s.leader.size() >= 2) {
    // A thin leader from the end of the label, level with the middle of its figures, to its mark.
    MOVEDLABELY.push_back(s.leader.front().second);
    if (OUTDEV == 1) {
      FPRINT(".12 w");
      PDFMOVE(s.leader.front().first, s.leader.front().second);
      for (size_t k = 1; k < s.leader.size(); ++k) PDFLINE(s.leader[k].first, s.leader[k].second);
      FPRINT("S");
    } else if (OUTDEV == 2) {
      PPENUP();
      for (const auto& [x, y] : s.leader) PPLOT(x, y);
    } else if (OUTDEV == 3) {
      for (size_t k = 1; k < s.leader.size(); ++k)
        DXFLINE(s.leader[k - 1].first, s.leader[k - 1].second, s.leader[k].first, s.leader[k].second);
    } else {
      // The printer draws rules only: a slanted piece goes across, down (or up) and across.
      for (size_t k = 1; k < s.leader.size(); ++k) {
        const auto [x1, y1] = s.leader[k - 1];
        const auto [x2, y2] = s.leader[k];
        if (y1 == y2) {
          RULE(x1, x2, y1);
        } else if (x1 == x2) {
          BORDIR(x1, y1, y2);
        } else {
          const std::int32_t xm = (x1 + x2) / 2;
          RULE(x1, xm, y1);
          BORDIR(xm, y1, y2);
          RULE(xm, x2, y2);
        }
      }
    }
  }
  if (OUTDEV == 1) CLOSESTR();
}
