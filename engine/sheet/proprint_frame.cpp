// PROPRINT's fixed parts of a page: logo, job title, hole and job boxes, outer frame, depth scale,
// borders and continuation marks, layer lines into the log margin, notes and footer.
#include <algorithm>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

#include "engine/convert/globals.h"
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proprint.h"
#include "engine/sheet/sheet.h"

namespace {

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(v)); }

// The lines of a header item cut at its line-break marks.
std::vector<std::string> item_lines(const std::string& item) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (;;) {
    const size_t p = BREAKCODE.empty() ? std::string::npos : item.find(BREAKCODE, from);
    lines.push_back(item.substr(from, p == std::string::npos ? std::string::npos : p - from));
    if (p == std::string::npos) return lines;
    from = p + 1;
  }
}

void text_at(std::int32_t x, std::int32_t y, const std::string& text) {
  std::string t = text;
  PRINTEXT(x, y, t);
}

// A file's path from its first folder separator on: the end of a path cut there.
std::string path_end(const std::string& tail) {
  const size_t sep = tail.find_first_of("\\/");
  return sep == std::string::npos ? tail : tail.substr(sep);
}

// Where a title line too long for its place may start: the body's left edge; on PDF with a logo, two
// label gaps right of what the logo draws as well, and where the logo's extent is not known (its
// content compressed or transformed) the line keeps its place x.
std::int32_t title_floor(std::int32_t x, std::int32_t gap) {
  if (OUTDEV != 1 || LOGOFAIL == -1) return std::min(x, LEFTEDGE);
  if (LOGOINKRIGHT < 0) return x;
  std::string m = rt::TRIM(LOGOMATRIX);
  if (rt::INSTR(m, " cm") == 0) m = "1 0 0 1 0 0 cm";
  ADJUSTMA(m, static_cast<std::int32_t>(rt::INSTR(m, " cm")));
  std::vector<double> v;
  for (size_t i = 0; i < m.size() && v.size() < 6;) {
    const size_t start = m.find_first_not_of(' ', i);
    if (start == std::string::npos) break;
    const size_t stop = std::min(m.find(' ', start), m.size());
    v.push_back(rt::VAL(m.substr(start, stop - start)));
    i = stop;
  }
  if (v.size() < 6) return x;
  const double a = v[0], b = v[1], c = v[2], e = v[4];
  if (a <= 0 || b != 0 || c != 0) return x;
  // Page points to dots: a dot is 0.24 points from 18 points in.
  const double right = (a * LOGOINKRIGHT + e - 18) / 0.24;
  return std::min(x, std::max(LEFTEDGE, static_cast<std::int32_t>(std::ceil(right)) + gap));
}

}  // namespace

double text_height(std::int32_t font) {
  const double points = rt::VAL(FNPOINTS(FONTSPEC(font)));
  return points > 0 ? points * 300 / 72 : (LINEPITCH > 0 ? LINEPITCH : 50.0);
}

std::string fit_text(const std::string& value, std::int32_t font, std::int32_t room, bool path) {
  const std::int32_t width = FNDLEN(value, font);
  if (width <= room || rt::TRIM(value).empty()) return value;
  const double points = rt::VAL(FNPOINTS(FONTSPEC(font)));
  const std::int32_t least = OUTDEV == 1 && points > 2 ? static_cast<std::int32_t>(std::ceil(100 * (points - 2) / points)) : 100;
  // The text at the width in hundredths that fits it best (the PDF writer's horizontal scaling group).
  auto narrowed = [&](const std::string& t) -> std::string {
    const std::int32_t w = FNDLEN(t, font);
    if (w <= room) return t;
    const std::int32_t percent = static_cast<std::int32_t>(std::floor(100.0 * room / w));
    return "\x15" + rt::STR_TRIM(static_cast<std::int64_t>(percent)) + "\x15" + t;
  };
  const auto fits_width = [&](std::int32_t w) {
    return static_cast<std::int64_t>(w) * least <= static_cast<std::int64_t>(room) * 100;
  };
  if (fits_width(width)) return narrowed(value);
  // The widths of every candidate come from one walk along the value (a title of tens of thousands
  // of letters costs no more than one measure of it each way).
  if (path) {
    // The value's end after "..", from a folder separator (the first that fits), else from inside
    // the file's name.
    const std::string mark = "..";
    const std::vector<std::int32_t> ends = end_widths(mark, value, font);
    size_t last = 0;
    for (size_t sep = value.find_first_of("\\/", 1); sep != std::string::npos; sep = value.find_first_of("\\/", sep + 1)) {
      if (fits_width(ends[sep])) return narrowed(mark + value.substr(sep));
      last = sep;
    }
    for (size_t k = last + 1; k < value.size(); ++k) {
      if (fits_width(ends[k])) return narrowed(mark + value.substr(k));
    }
    return {};
  }
  // The longest head that fits with the mark, cut at a blank when one stands in its second half.
  const std::string mark = "...";
  const std::vector<std::int32_t> heads = head_widths(value, font, mark);
  // kept[n]: the length of the first n characters without the blanks at their end.
  std::vector<size_t> kept(value.size() + 1, 0);
  for (size_t n = 1; n <= value.size(); ++n) kept[n] = value[n - 1] == ' ' ? kept[n - 1] : n;
  std::string head;
  for (size_t n = value.size(); n > 0; --n) {
    if (fits_width(heads[kept[n]])) {
      head = value.substr(0, n);
      break;
    }
  }
  if (head.empty()) return {};
  const bool inside_word = head.size() < value.size() && value[head.size()] != ' ';
  if (const size_t blank = head.rfind(' '); inside_word && blank != std::string::npos && blank > head.size() / 2) head.resize(blank);
  while (!head.empty() && std::string(" ,;:-").find(head.back()) != std::string::npos) head.pop_back();
  if (head.empty()) return {};
  return narrowed(head + mark);
}

void SheetPrint::LETTERHE() {
  trap_.section("LETTERHE");
  if (OUTDEV == 1 && LOGOFAIL != -1) PDFLOGO();
}

void SheetPrint::HEADERR() {
  trap_.section("HEADERR");
  CURFONT = 1;
  FSETFONT(1);
  const std::int32_t x = LEFTEDGE + TITLEOFFSET;
  std::int32_t y = 100;
  BOXX = RIGHTEDGE - 445;
  // A title line ends before the hole or job box beside it, or before the frame, with two label gaps
  // to spare.
  struct Box {
    std::int32_t left, top, bottom;
  };
  std::vector<Box> boxes;
  std::int32_t g = 0, m = 0;
  if (rt::TRIM(HEADER(20)) != "000") {
    box_growth(445, hole_box_width(), g, m);
    boxes.push_back({BOXX - g, 50, 50 + 116});
  }
  if (LEGENDSHEET == 0 || !HEADER(22).empty()) {
    box_growth(445, job_box_width(), g, m);
    boxes.push_back({BOXX - g, 197, 197 + 72});
  }
  const double height = text_height(1);
  const std::int32_t gap = 2 * rounded(FONTWIDTH(3));
  struct Line {
    std::string text;
    std::int32_t y, end;
  };
  std::vector<Line> lines;
  for (std::int32_t i : {1, 2}) {
    for (const std::string& line : item_lines(HEADER(i))) {
      std::int32_t end = RIGHTEDGE + 30;
      for (const Box& b : boxes) {
        if (y - 0.75 * height < b.bottom && y + 0.25 * height > b.top) end = std::min(end, b.left);
      }
      lines.push_back({line, y, end});
      y = rounded(y + LINEPITCH);
    }
  }
  // Title lines too long for their place move left together, as far as the longest needs, where the
  // head is free: to the body's left edge, and on PDF no nearer the logo than two label gaps.
  std::int32_t from = x;
  for (const Line& l : lines) {
    const std::int32_t width = FNDLEN(l.text, CURFONT);
    if (width > l.end - gap - x) from = std::min(from, l.end - gap - width);
  }
  if (from < x) from = std::max(from, title_floor(x, gap));
  for (const Line& l : lines) text_at(from, l.y, fit_text(l.text, CURFONT, l.end - gap - from, false));
  BOXY = 50;
  PAGELABEL = rt::TRIM(VOCAB(26)) + " " + rt::STR_TRIM(static_cast<std::int64_t>(PAGENO));
  if (!rt::TRIM(VOCAB(25)).empty())
    PAGELABEL += " " + rt::TRIM(VOCAB(25)) + " " + rt::STR_TRIM(static_cast<std::int64_t>(PAGECOUNT));
  HOLEBOX();
  if (LEGENDSHEET == 0 || !HEADER(22).empty()) {
    BOXY = 197;
    JOBBOX();
  }
  if (rt::INSTR(rt::UCASE(HEADER(9)), "DRAFT") > 0) DRAFTMAR();
}

std::string SheetPrint::hole_box_label() const { return LEGENDSHEET > 0 ? std::string() : rt::TRIM(VOCAB(20)) + " "; }

std::int32_t SheetPrint::hole_box_width() const {
  return FNDLEN(hole_box_label(), 3) + FNDLEN(rt::TRIM(HEADER(20)), CURFONT);
}

std::int32_t SheetPrint::job_box_width() const {
  return FNDLEN(rt::TRIM(VOCAB(22)) + " ", 3) + FNDLEN(rt::TRIM(HEADER(22)), CURFONT);
}

void SheetPrint::HOLEBOX() {
  trap_.section("HOLEBOX");
  const std::int32_t w = 445;
  const std::string label = hole_box_label();
  HOLENAME = rt::TRIM(HEADER(20));
  const std::int32_t lw = FNDLEN(label, 3);
  const std::int32_t tw = hole_box_width();
  if (HOLENAME == "000") return;
  std::int32_t g = 0, m = 0;
  box_growth(w, tw, g, m);
  MINIBOX(BOXX - g, BOXY, w + g, 116);
  for (std::int32_t k = 1; k <= 4; ++k) {
    FSETFONT(3);
    text_at(rounded(BOXX - g + m + k / 4.0), BOXY + 50, label);
    FSETFONT(1);
    text_at(rounded(BOXX - g + m + lw + k / 4.0), BOXY + 50, HOLENAME);
    FSETFONT(3);
    text_at(rounded(BOXX + (w - FNDLEN(PAGELABEL, 3) + k / 2.0) / 2), BOXY + 100, PAGELABEL);
    FSETFONT(1);
  }
}

void SheetPrint::JOBBOX() {
  trap_.section("JOBBOX");
  const std::int32_t w = 445;
  const std::string label = rt::TRIM(VOCAB(22)) + " ";
  const std::string value = rt::TRIM(HEADER(22));
  const std::int32_t lw = FNDLEN(label, 3);
  const std::int32_t tw = job_box_width();
  std::int32_t g = 0, m = 0;
  box_growth(w, tw, g, m);
  MINIBOX(BOXX - g, BOXY, w + g, 72);
  for (std::int32_t k = 0; k <= 1; ++k) {
    FSETFONT(3);
    text_at(BOXX - g + m + k, BOXY + 50, label);
    FSETFONT(1);
    text_at(BOXX - g + m + lw + k, BOXY + 50, value);
  }
}

void SheetPrint::BIGBOX() {
  trap_.section("BIGBOX");
  const std::int32_t mode = COMPRESSLOG <= 0 ? 0 : (COMPRESSLOG % 10 > 0 ? 2 : 1);
  const std::int32_t saved = A3SHIFT;
  if (PAPER == "A3" && (LEGENDSHEET > 0 || ATTRCOUNT < 1)) A3SHIFT = 0;
  std::int32_t x0 = A3SHIFT + 1;
  if (mode == 1 || ATTRCOUNT == 0) x0 = A3SHIFT + 60;
  RULE(x0, RIGHTEDGE + 30, 20);
  RULE(x0, RIGHTEDGE + 30, PAGELENGTH - 4);
  BORDIR(RIGHTEDGE + 30, 20, PAGELENGTH - 4);
  // A sheet with log columns leaves its left side to the log: to the log's frame line when all columns
  // stand beside the profile on this page, or to the log page joined on the left of the sheet (A3). On a
  // page of its own the sheet closes its frame itself.
  const bool separate = mode == 0 || (mode == 2 && ATTRCOUNT > COMPRESSLOG % 10);
  const bool log_closes = mode == 1 ? log_columns_on_profile_page() : separate && log_pages_joined();
  if (ATTRCOUNT < 1 || LEGENDSHEET > 0 || !log_closes) BORDIR(x0, 20, PAGELENGTH - 4);
  A3SHIFT = saved;
}

void SheetPrint::SCALES() {
  trap_.section("SCALES");
  if (LAYERCOUNT == 0) return;
  const std::vector<CaptionLine> caption = caption_lines();
  if (!caption.empty()) FSETFONT(3);
  for (const CaptionLine& c : caption) text_at(c.x, c.y, c.text);
  // Ticks need a step and a division above 0 (the scales file's records are checked when read).
  if (!(SCALESTEP > 0) || SCALETICK <= 0 || LEGENDSHEET > 0) return;
  const double bottom = LAYERDEPTH(LAYERCOUNT) + static_cast<double>(0.005f);
  // The ticks of this page only: from two ticks above the depth at the page's start (those before
  // stand above the page), until the first below its end; and never more than one tick per dot of the
  // page, whatever the interval.
  long first = 0;
  if (DOTSPERUNIT > 0) {
    const double start = std::floor((TOPDEPTH + PAGEORIGIN / DOTSPERUNIT) / SCALESTEP) - 2;
    if (start > 0) first = start < 1e15 ? static_cast<long>(start) : 0;
  }
  const long most = std::max<long>(0, SCALEENDY - HEADY) + 3;
  for (long i = first, seen = 0; seen < most; ++i, ++seen) {
    const double d = i * SCALESTEP;
    if (d > bottom) break;
    if (FNLDOT(d) < PAGEORIGIN) continue;
    const std::int32_t y = FNZDOT(d);
    if (y > SCALEENDY) break;
    if (y <= HEADY) continue;
    const double n = rt::round_even(d / SCALETICK);
    const std::int32_t length = std::fabs(d - n * SCALETICK) < 0.005 ? 16 : 8;
    RULE(SHEETX1 - length, SHEETX1, y);
  }
}

void SheetPrint::BORDERS() {
  trap_.section("BORDERS");
  std::int32_t x0 = SHEETX1;
  if (ATTRCOUNT > 0 && COMPRESSLOG == 0) x0 = A3SHIFT + 1;
  const bool last = PAGENO >= PAGECOUNT;
  if (PAGENO == 1) RULE(x0, RIGHTEDGE + 1, HEADDOTS);
  if (!last) {
    RULE(RIGHTEDGE - 15, RIGHTEDGE + 1, PAGEENDY);
    RULE(SHEETX1 - 35, SHEETX1 - 20, SCALEENDY - 1);
    if (PAGEDEPTH(PAGENO + 1) != PAGEDEPTH(PAGENO) && OUTDEV == 1) {
      PDFARROW(SHEETX1 - 51, SCALEENDY + 3, 16);
      PDFARROW(RIGHTEDGE - 7, PAGEENDY + 4, 16);
    }
  }
  if (PAGENO > 1) {
    RULE(RIGHTEDGE - 15, RIGHTEDGE + 1, HEADDOTS);
    RULE(SHEETX1 - 35, SHEETX1 - 20, HEADDOTS);
    if (PAGEDEPTH(PAGENO) != PAGEDEPTH(PAGENO - 1) && OUTDEV == 1) {
      PDFARROW(SHEETX1 - 51, HEADDOTS - 4, -16);
      PDFARROW(RIGHTEDGE - 7, HEADDOTS - 4, -16);
    }
  }
  const std::int32_t y = last || FOOTEVERY == 1 ? PAGELENGTH - FOOTDOTS : PAGELENGTH - 34;
  BORDIR(RIGHTEDGE + 1, HEADDOTS, y);
  if (ATTRCOUNT == 0) {
    std::int32_t y2 = y;
    if (LAYERCOUNT > 0) y2 = std::min(y, FNZDOT(LAYERDEPTH(LAYERCOUNT)));
    y2 = std::max(y2, HEADDOTS);
    BORDIR(SHEETX1, HEADDOTS, y2);
  }
}

void SheetPrint::SHOOTLAY() {
  trap_.section("SHOOTLAY");
  if (ATTRCOUNT == 0 || LOGSUPPRESS1 == 1 || COMPRESSLOG > 0) return;
  FSETFONT(3);
  for (std::int32_t i = 1; i <= LAYERCOUNT; ++i) {
    const std::int32_t s = FNLDOT(LAYERDEPTH(i));
    const std::int32_t y = FNZDOT(LAYERDEPTH(i));
    if (y < HEADY || y > SCALEENDY) continue;
    std::int32_t xe = SHEETX1;
    bool near_sample = false;
    for (std::int32_t k = 1; k <= SAMPLECOUNT && k < static_cast<std::int32_t>(SAMPLEY.size()); ++k)
      near_sample |= std::abs(y - SAMPLEY[static_cast<size_t>(k)]) < LINEPITCH;
    for (std::int32_t label : MOVEDLABELY) near_sample |= std::abs(y - label) < LINEPITCH;
    if (s < 80 || near_sample) xe = SHEETX1 - 212;
    // Labels and marks moved further left than that: the line stops short of them too.
    for (const Area& a : pushed_left) {
      if (a.y1 - 3 <= y && y <= a.y2 + 3) xe = std::min(xe, a.x1 - 12);
    }
    if (LOGSUPPRESS1 == 2) {
      if (xe > 180) {
        RULE(A3SHIFT + 180, xe, y);
        text_at(A3SHIFT + 60, y, depth_label(LAYERDEPTH(i)));
      }
      if (xe > 60) RULE(A3SHIFT + 1, A3SHIFT + 60, y);
    } else {
      RULE(A3SHIFT + 1, xe, y);
    }
  }
}

void SheetPrint::NOATES() {
  trap_.section("NOATES");
  CURFONT = 1;
  FSETFONT(1);
  if (NOTECOUNT == 0) return;
  for (std::int32_t n = 1; n <= NOTECOUNT; ++n) {
    const std::int32_t j = LAYERCOUNT + n;
    if (!(ITEMBOTTOM(j) <= ROOMEND && TEXTTOP(j) >= PAGEORIGIN)) continue;
    if (n == 1) text_at(TEXTX, rounded(LINEPITCH + FNPDOT(TEXTTOP(j))), VOCAB(4));
    const std::int32_t y0 = FNPDOT(TEXTTOP(j)) + FONT1POINTS;
    CURFONT = 1;
    FSETFONT(1);
    std::int32_t x2 = TEXTX;
    std::int32_t y = rounded(y0 + LINEPITCH);
    text_at(SCALEXLONG, rounded(y + LINEPITCH), rt::STR_TRIM(static_cast<std::int64_t>(n)) + ")");
    std::int32_t x = TEXTX;
    bool broken = false;
    const std::int32_t first = first_record(j);
    for (std::int32_t r = 0; r < NOTELINES(n); ++r) {
      y = rounded(y + LINEPITCH);
      std::string line = description_line(first + r);
      if (line.find(COLBREAK) != std::string::npos) {
        if (!broken) {
          broken = true;
          y = rounded(y0 + LINEPITCH + LINEPITCH);
          x = x2 = rounded((RIGHTEDGE + TEXTX - PROFRMARGIN) / 2.0 + 25);
        }
        REPLAZE(line, COLBREAK, "");
      }
      PRINTEXT(x, y, line);
      x = x2;
    }
  }
  CURFONT = 1;
  FSETFONT(1);
}

void SheetPrint::FOOTER() {
  trap_.section("FOOTER");
  if (PAGENO < PAGECOUNT && FOOTEVERY != 1) return;
  const std::int32_t y = PAGELENGTH - FOOTDOTS;
  std::int32_t xl = SHEETX1;
  if (ATTRCOUNT > 0) xl = COMPRESSLOG == 0 ? A3SHIFT + 1 : A3SHIFT + 280;
  RULE(xl, RIGHTEDGE + 1, y - 1);
  if (HOLENAME == "000") return;
  const std::int32_t step = (FOOTDOTS - 40) / 6;
  // The automatic items: input file, SET file, date and time.
  auto item = [](std::int32_t word) -> std::string* {
    const std::int32_t n = rt::to_i32(rt::VAL(VOCAB(word)));
    return n >= 1 && n <= HEADER.ubound() ? &HEADER(n) : nullptr;
  };
  if (auto* h = item(31)) *h = SOURCENAME;
  if (auto* h = item(29)) *h = SETUPNAME;
  if (auto* h = item(30)) {
    std::string date = rt::ZADATE();
    if (date.size() >= 6) date[2] = '/', date[5] = '/';
    const std::time_t now = std::time(nullptr);
    char hm[8] = "";
    // localtime_r: the time zone is read once, not looked up again for every sheet as localtime does.
    std::tm tm{};
    if (localtime_r(&now, &tm)) std::strftime(hm, sizeof hm, "%H:%M", &tm);
    *h = date + " " + hm;
  }
  const std::int32_t y1 = PAGELENGTH - FOOTDOTS + step;
  const std::int32_t rows[6] = {y1, y1 + step, y1 + 2 * step, y1 + 3 * step, y1 + 4 * step + 20, y1 + 5 * step + 20};
  const std::int32_t indent = rounded(FONTWIDTH(3));
  const std::int32_t c1 = LEFTEDGE + FOOTOFFSET1, c2 = LEFTEDGE + FOOTOFFSET2, c3 = RIGHTEDGE - 280;
  std::string file;
  for (char c : HEADER(16)) {
    if (std::string(": -_+=;,*").find(c) == std::string::npos) file += c;
  }
  if (file.size() > 26) file = ".." + path_end(rt::RIGHT(file, 24));
  // The fields in the order they are drawn: column x, row, label word, value, value font, and whether
  // the value is a file's path (cut at its front, keeping the file's name).
  struct Field {
    std::int32_t x, row, label;
    std::string value;
    std::int32_t font;
    bool path;
  };
  auto item_of = [](std::int32_t word) { return rt::to_i32(rt::VAL(VOCAB(word))); };
  const std::int32_t setup_item = item_of(29), input_item = item_of(31);
  std::vector<Field> fields;
  auto add = [&](std::int32_t x, std::int32_t row, std::int32_t n, const std::string& value, std::int32_t font) {
    fields.push_back({x, row, n, value, font, n == setup_item || n == input_item || n == 16});
  };
  for (std::int32_t r = 0; r < 4; ++r) add(c1, r, 5 + r, HEADER(5 + r), 1);
  add(c1, 4, 9, HEADER(9), 3);
  add(c1, 5, 10, HEADER(10), 3);
  for (std::int32_t r = 0; r < 4; ++r) add(c2, r, 11 + r, HEADER(11 + r), 1);
  add(c2, 4, 15, HEADER(15), 3);
  add(c2, 5, 16, file, 3);
  for (std::int32_t r = 0; r < 3; ++r) add(c3, r, 17 + r, HEADER(17 + r), 1);
  for (const Field& f : fields) {
    // A value ends before the next thing drawn on its row (the next column's label, or its value when
    // that has no label), or before the sheet body's right edge (the frame stands 30 dots beyond it),
    // with two label gaps to spare.
    std::int32_t end = RIGHTEDGE;
    for (const Field& g : fields) {
      if (g.row != f.row || g.x <= f.x) continue;
      std::int32_t left = end;
      if (!rt::TRIM(VOCAB(g.label)).empty()) {
        left = g.x - FNDLEN(VOCAB(g.label), 3);
      } else if (!rt::TRIM(g.value).empty()) {
        left = g.x + indent;
      }
      end = std::min(end, left);
    }
    FSETFONT(3);
    TEXTORIGIN = 7;
    text_at(f.x, rows[f.row], VOCAB(f.label));
    FSETFONT(f.font);
    TEXTORIGIN = 0;
    text_at(f.x + indent, rows[f.row], fit_text(f.value, f.font, end - 2 * indent - (f.x + indent), f.path));
  }
  FSETFONT(3);
  const std::string product = "Veltrax " + VERSION;
  text_at(RIGHTEDGE - FNDLEN(product, 3), PAGELENGTH + 34, product);
  FSETFONT(1);
}
