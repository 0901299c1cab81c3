// PROLOG's data-file columns ("[FILE]"): each record's last word names a text file of depth and value
// lines. Each line is a zone of its own, drawn like a record, or, in a column with "[HPGL abcd]", a
// point of one curve: on PDF a path clipped to the column's body, in DXF lines with a circle at each
// point, on the pen plotter and the printer the plotter's own sequences (style: a point mark, b pen width,
// c line type, d pattern length).
//
// What this code does not let through:
//  - the plot frame (PAPERY, XSCALE, YSCALE, XOFFSET, YOFFSET) is kept and put back exactly, on every
//    device: only the printer needs the HP-GL/2 frame inside its page, and nothing after a data file
//    lands at one plotter unit per dot;
//  - printer bytes go only into the printer's stream, never into a DXF file; the pen plotter's stream
//    gets no "IN", which would undo the sheet's scaling points;
//  - "S" only after a path was begun, and a curve stays inside its column's body on every device: on
//    PDF through a clip ("re W n" inside "q"/"Q"), on the other devices each line is cut at the body's
//    edges and a point mark outside it is left out;
//  - a line holding ":" is split at ":" only, so "2,0: 4.5" reads depth 2.0 and value 4.5;
//  - a missing data file is said once per hole and file (prompt 78; one pause, none without a person at
//    the console), and the column goes on;
//  - a line whose depth no sheet can hold (99999999999) is left out; it and any fault met while the
//    file's lines are drawn are said once, naming the file and line, instead of ending the run with an
//    untrapped error; the file goes on, and a one-shot run ends with exit code 1.
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
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"

namespace {

std::int32_t cint(double v) { return static_cast<std::int32_t>(rt::round_even(std::clamp(v, -32000.0, 32000.0))); }

std::string points(std::int32_t dots) { return FNRANDCE(dots * 0.24); }

// The part of the line from (x0, y0) to (x1, y1) inside the box left..right x top..bottom (Liang and
// Barsky); false when none of it is. An end inside the box stays exactly as it is.
bool clip_line(double& x0, double& y0, double& x1, double& y1, double left, double right, double top, double bottom) {
  double t0 = 0, t1 = 1;
  const double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy}, q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
    } else {
      const double r = q[i] / p[i];
      if (p[i] < 0) t0 = std::max(t0, r);
      else t1 = std::min(t1, r);
    }
  }
  if (t0 > t1) return false;
  const double ax = x0, ay = y0;
  if (t1 < 1) x1 = ax + t1 * dx, y1 = ay + t1 * dy;
  if (t0 > 0) x0 = ax + t0 * dx, y0 = ay + t0 * dy;
  return true;
}

// A depth whose dot position a sheet can hold: within a billion dots of the top of the sheet (a sheet
// of 12 pages holds some 40000), so that no position computed from it overflows.
bool on_some_page(double depth) {
  const double dots = (depth - TOPDEPTH) * DOTSPERUNIT;
  return std::isfinite(dots) && std::fabs(dots) <= 1e9;
}

}  // namespace

void LogDraw::DATAFILE() {
  trap_.section("DATAFILE");
  std::string name = WORDS.size() > 1 ? WORDS.back() : std::string();
  if (!BREAKCODE.empty()) REPLAZE(name, BREAKCODE, "\\");
  if (!rt::file_exists(name)) {
    if (std::find(missing_said.begin(), missing_said.end(), name) == missing_said.end()) {
      missing_said.push_back(name);
      const std::string text = "Hole " + rt::TRIM(HEADER(20)) + ": data file " + name + " " + PROMPT(78);
      show_message(text, 0, {name});
      rt::fault_logged(text);
      if (on_console_screen()) platform::console().pause_ms(1000);  // two seconds in all
    }
    return;
  }
  const int file = rt::FREEFILE();
  if (!rt::open_file(file, name, rt::FileMode::Input)) return;
  // The first fault met while the file's lines are drawn is said, naming the file and line; the others
  // are only counted.
  rt::Trap reading(trap_.module(), "DATAFILE");
  reading.reading(file, name);
  ZONETOP = FIRSTPAGEDEPTH;
  curve_begun = false;
  // The plot frame as it stands; the printer alone draws a curve through an HP-GL/2 frame of its page.
  const std::int32_t paper_y = PAPERY;
  const double xscale = XSCALE, yscale = YSCALE, xoffset = XOFFSET, yoffset = YOFFSET;
  const bool printer = OUTDEV != 1 && OUTDEV != 2 && OUTDEV != 3;
  if (printer) {
    PAPERY = 10861;
    YOFFSET = PAPERY;
    XSCALE = 25.4 * 40 / 300;
    YSCALE = -40 * 25.4 / 300;
  }
  const bool curve = PLOTFLAG > 0;
  const auto digit = [&](size_t i) { return i < PLOTSTYLE.size() ? rt::to_i32(rt::VAL(PLOTSTYLE.substr(i, 1))) : 0; };
  const std::int32_t mark = digit(0), pen = digit(1), line_type = digit(2), pattern = digit(3);
  const std::int32_t radius = cint(mark * 3.367);
  const auto pen_style = [&]() {
    std::string s = line_type > 0 ? "LT" + (pattern > 0 ? FNC(line_type) + FNC(pattern) + "1" : FNZ(line_type)) + ";" : "LT;";
    if (pen > 0) s += "PW0." + rt::RIGHT("0" + FNZ(cint(8.5 * pen)), 2) + ";";
    return s;
  };
  if (curve) {
    if (OUTDEV == 1) {
      FPRINT("%plotting from data file ");
      // The curve stays inside the column's body.
      FPRINT("q");
      FPRINT(FNPDFX(LEFTX) + " " + FNPDFY(PAGEENDROW) + " " + points(RIGHTX - LEFTX) + " " +
             points(PAGEENDROW - HEADDOTS) + " re W n");
    } else if (OUTDEV == 2 && plot_open) {
      rt::put_bytes(PLOTFILE, pen_style());
      PPENUP();
    } else if (printer && plot_open) {
      rt::put_bytes(PLOTFILE, "\x1b%0BINSP1PUPA0,0DT\x1fPW0" + pen_style());
      PPENUP();
    }
  }
  double previous_x = 0, previous_y = 0;
  bool previous = false;
  // The column's body, and whether the pen stands at the previous point, drawing.
  const double left = LEFTX, right = RIGHTX, top = HEADDOTS, bottom = PAGEENDROW;
  const auto inside = [&](double x, double y) { return x >= left && x <= right && y >= top && y <= bottom; };
  bool drawing = false;
  const double floor = LAYERCOUNT > 0 ? LAYERDEPTH(LAYERCOUNT) : 0;
  long below = 0;
  std::int64_t first_below = 0;
  std::string first_below_text;
  for (std::string line; !rt::at_eof(file) && rt::line_input(file, line);) {
    std::string delims = line.find(':') != std::string::npos ? ":" : ",:";
    PARSVARS(line, delims);
    if (PARSEDCOUNT < 2) continue;
    std::string depth = PARSED(1), value = PARSED(2);
    const double line_depth = rt::VAL(FNCOMMA(depth));
    if (!on_some_page(line_depth)) {
      rt::raise(6);
      continue;
    }
    // A point below the bottom of the hole was never measured in it: left out, and said once per
    // file with the first such line and the count.
    if (floor > 0 && line_depth > floor) {
      if (below == 0) first_below = rt::line_number(file), first_below_text = line;
      ++below;
      continue;
    }
    ZONEBOTTOM = line_depth;
    TEXTTOP = ZONETOP;
    TEXTBOTTOM = ZONEBOTTOM;
    const long at = rt::INSTR(rt::INSTR(line, PARSED(1)) + static_cast<long>(PARSED(1).size()), line, value);
    RECTEXT = at > 0 ? rt::MID(line, at) : value;
    LABELDEPTH = (TEXTTOP + TEXTBOTTOM) / 2;
    if (curve) {
      std::string v = value;
      const std::int32_t y = FNZDOT(ZONEBOTTOM);
      const std::int32_t x = LEFTX + cint(FNXSHIFT(FNCOMMA(v), GRAPHMAX, RIGHTX - LEFTX));
      if (OUTDEV == 1) {
        if (!curve_begun) PDFMOVE(x, y); else PDFLINE(x, y);
        curve_begun = true;
      } else if (OUTDEV == 3) {
        double x0 = previous_x, y0 = previous_y, x1 = x, y1 = y;
        if (previous && clip_line(x0, y0, x1, y1, left, right, top, bottom)) DXFLINE(x0, y0, x1, y1);
        if (inside(x, y)) DXFCIRCL(x, y, radius);
      } else {
        // The pen plotter and the printer's HP-GL/2: the pen goes down at the first point inside the body
        // and lifts where the curve leaves it.
        double x0 = previous_x, y0 = previous_y, x1 = x, y1 = y;
        const bool first = !previous && inside(x, y);
        if (first || (previous && clip_line(x0, y0, x1, y1, left, right, top, bottom))) {
          if (!first && !(drawing && x0 == previous_x && y0 == previous_y)) {
            if (PENSTATE != 0) PPENUP();
            PPLOT(x0, y0);
          }
          PPLOT(x1, y1);
          drawing = x1 == x && y1 == y;
        } else {
          drawing = false;
        }
        if (OUTDEV == 2 && mark > 0 && inside(x, y)) rt::put_bytes(PLOTFILE, "CI" + FNZ(radius) + ";");
      }
      previous = true, previous_x = x, previous_y = y;
    } else {
      WORDS = {std::string(), depth, value};
      DOZONE(REC);
    }
    ZONETOP = ZONEBOTTOM;
  }
  rt::close_file(file);
  if (below > 0 && std::find(floor_said.begin(), floor_said.end(), name) == floor_said.end()) {
    floor_said.push_back(name);
    const std::string text = "Hole " + rt::TRIM(HEADER(20)) + ": data file " + name + " line" +
                             rt::STR(static_cast<std::int32_t>(first_below)) + ": " + rt::STR_TRIM(static_cast<std::int32_t>(below)) +
                             (below == 1 ? " point" : " points") + " below the bottom of the hole at" + rt::STR(floor) +
                             " left out <" + first_below_text + ">";
    show_message(text, 0, {name});
    rt::fault_logged(text);
  }
  if (curve) {
    if (OUTDEV == 1) {
      if (curve_begun) FPRINT("S");
      FPRINT("Q");
    } else if (OUTDEV == 2 && plot_open) {
      PPENUP();
      rt::put_bytes(PLOTFILE, "LT;");
    } else if (printer && plot_open) {
      PPENUP();
      rt::put_bytes(PLOTFILE, ";\x1b%1A");
    }
  }
  PAPERY = paper_y;
  XSCALE = xscale, YSCALE = yscale, XOFFSET = xoffset, YOFFSET = yoffset;
}
