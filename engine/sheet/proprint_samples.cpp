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
  s.y = rounded(s.middle * DOTSPERUNIT);
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
  if (room > 0 && FNDLEN(text, 3) > room) {
    while (FNDLEN(text, 3) > room && text.find(' ') != std::string::npos) text = rt::RTRIM(text.substr(0, text.rfind(' ')));
    while (FNDLEN(text, 3) > room && text.size() > 1) text.pop_back();
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
  const std::int32_t a = clamp(rounded(s.d2 * DOTSPERUNIT - 0.5)), b = clamp(rounded(s.d1 * DOTSPERUNIT + 0.5));
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
  if (!rt::TRIM(s.label).empty()) areas.push_back({SHEETX1 - 83, py - 1, SHEETX1 - 74, py + 1});
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
  const std::int32_t x = SHEETX1 - sample_offset(s), raster_top = rounded(py - 30 * RASTERSTEP);
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

void SheetPrint::place_labels(std::vector<Sample>& samples) {
  // Labels are lines of font 3; a label moved goes a quarter of a line clear of its neighbours.
  const double height = text_height(3);
  const double pitch = height * 1.25, above = height * 0.75, below = height - above;
  // The labels drawn on this page, in order down the page.
  std::vector<Sample*> drawn;
  for (Sample& s : samples) {
    if (sample_on_page(s) && !rt::TRIM(s.label).empty()) drawn.push_back(&s);
  }
  std::stable_sort(drawn.begin(), drawn.end(), [](const Sample* a, const Sample* b) { return a->label_y < b->label_y; });
  if (drawn.empty()) return;
  std::int32_t left = SHEETX1 - 86;
  for (const Sample* s : drawn) left = std::min(left, SHEETX1 - (FNDLEN(s->label, 3) + 86));
  // The room of the page: from the head of the sheet body to its foot (the footer's rule, or the end of
  // the body on a page without a footer).
  const bool footer = PAGENO >= PAGECOUNT || FOOTEVERY == 1;
  const double top = HEADDOTS + above;
  const double bottom = (footer ? PAGELENGTH - FOOTDOTS - 1 - (pitch - height) : PAGELENGTH - 34) - below;
  // The caption of the depth scale, where it stands over the labels: labels that reach it go below it.
  double caption_top = 0, caption_bottom = 0;
  bool caption = false;
  for (const CaptionLine& c : caption_lines()) {
    if (rt::TRIM(c.text).empty() || c.x >= SHEETX1 - 86 || c.x + FNDLEN(c.text, 3) <= left) continue;
    caption_top = caption ? std::min(caption_top, c.y - above) : c.y - above;
    caption_bottom = caption ? std::max(caption_bottom, c.y + below) : c.y + below;
    caption = true;
  }
  auto place = [&](size_t from, size_t to, double lo, double hi, bool firm_top) {
    if (from >= to) return;
    std::vector<double> wanted;
    for (size_t k = from; k < to; ++k) wanted.push_back(drawn[k]->label_y);
    // A label never moves off the page, but one that already stands beyond its room stays there.
    if (!firm_top) lo = std::min(lo, wanted.front());
    hi = std::max(hi, wanted.back());
    const std::vector<double> at = spread_labels(wanted, height, pitch, lo, hi);
    for (size_t k = from; k < to; ++k) {
      const std::int32_t y = rounded(at[k - from]);
      drawn[k]->label_moved = y != drawn[k]->label_y;
      drawn[k]->label_y = y;
    }
  };
  size_t split = 0;  // the labels above the caption (those clear of it) and the rest
  if (caption) {
    while (split < drawn.size() && drawn[split]->label_y + below <= caption_top) ++split;
    place(0, split, top, caption_top - (pitch - height) - below, false);
    place(split, drawn.size(), caption_bottom + (pitch - height) + above, bottom, true);
  } else {
    place(0, drawn.size(), top, bottom, false);
  }
}

void SheetPrint::DSAMP() {
  trap_.section("DSAMP");
  SAMPLECOUNT = 0;
  SAMPLEY.assign(static_cast<size_t>(std::max<std::int32_t>(MAXSAMPLES, DSAMPCOUNT)) + 1, 0);
  MOVEDLABELY.clear();
  std::vector<Sample> samples;
  for (std::int32_t i = 1; i <= DSAMPCOUNT && i <= DSAMP1.ubound(); ++i) samples.push_back(read_sample(DSAMP2(i), DSAMP1(i)));
  place_caption(samples);
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
    RASTERX = SHEETX1 - offset;
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
  FSETFONT(3);
  const std::int32_t w = FNDLEN(s.label, 3);
  LABELWIDTH = std::max(LABELWIDTH, w);
  std::string text = s.label;
  REPLAZE(text, HARDSPCODE, " ");
  PRINTEXT(SHEETX1 - (w + 86), s.label_y, text);
  if (s.label_moved) {
    // A thin leader from the end of the label, level with the middle of its figures, to the sample's
    // depth.
    const std::int32_t middle = s.label_y - rounded(text_height(3) * 0.35);
    const std::int32_t x1 = SHEETX1 - 83, x2 = SHEETX1 - 74, py = FNPDOT(s.y);
    MOVEDLABELY.push_back(middle);
    if (OUTDEV == 1) {
      FPRINT(".12 w");
      PDFMOVE(x1, middle);
      PDFLINE(x2, py);
      FPRINT("S");
    } else if (OUTDEV == 2) {
      PPENUP();
      PPLOT(x1, middle);
      PPLOT(x2, py);
    } else if (OUTDEV == 3) {
      DXFLINE(x1, middle, x2, py);
    } else {
      // The printer draws rules only: across, down (or up) and across.
      const std::int32_t xm = (x1 + x2) / 2;
      RULE(x1, xm, middle);
      BORDIR(xm, middle, py);
      RULE(xm, x2, py);
    }
  }
  if (OUTDEV == 1) CLOSESTR();
}
