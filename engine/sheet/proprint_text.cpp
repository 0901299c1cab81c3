// PROPRINT's descriptions and the lines that tie each to its depth: the boundary across the symbol
// column, a connector in a lane of its own down (or up) to the bottom of the layer's text, the rule under
// the text with the layer's depth, and the floor of the hole.
//
// Lanes: a run of layers whose texts end below their depths steps one lane to the left per layer, a
// run pulled above steps to the right, so neighbouring connectors never overlap. Every layer of a hole
// (up to 200) has its lane.
#include <algorithm>
#include <cstdlib>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/convert/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proprint.h"
#include "engine/sheet/sheet.h"

namespace {

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(v)); }

bool plus_stop(std::int32_t pluspos) { return pluspos >= 1 && pluspos <= 9; }

std::string point(std::int32_t x, std::int32_t y) { return FNPDFX(x) + " " + FNPDFY(y); }

}  // namespace

void SheetPrint::ZIGZAGS() {
  trap_.section("ZIGZAGS");
  PAGENO = 1;
  PAYGESIZ();
  std::int32_t lane = 0, highest = 0, direction = 0;
  LANEMIN = 0;
  for (std::int32_t l = 1; l <= LAYERCOUNT; ++l) {
    const std::int32_t ib = ITEMBOTTOM(l);
    while (ROOMEND < ib && PAGENO < PAGECOUNT) {
      ++PAGENO;
      PAYGESIZ();
    }
    const std::int32_t lb = FNLDOT(LAYERDEPTH(l));
    if (ib == lb) {
      direction = 0;
    } else if (ib > lb) {
      if (direction < 0) --lane;
      direction = -1;
    } else {
      if (direction > 0) ++lane;
      direction = 1;
    }
    LANE[static_cast<size_t>(l)] = lane;
    LANEMIN = std::min(LANEMIN, lane);
    highest = std::max(highest, lane);
  }
  LANEWIDTH = (TEXTLEFT - SHEETX2) / (highest - LANEMIN + 1);
  // The last layer's description says whether the hole goes on below its last depth ("+").
  PLUSPOS = 0;
  if (LAYERCOUNT > 0) {
    std::string last;
    PIREAD(last, LAYERCOUNT, DWORKBASE + WORKFIRST);
    PLUSPOS = static_cast<std::int32_t>(rt::INSTR(last, "+"));
  }
}

void SheetPrint::HOLEFLOO() {
  trap_.section("HOLEFLOO");
  if (LAYERCOUNT == 0 || HOLEBOTY < HEADY || HOLEBOTY > SYMENDY) return;
  for (std::int32_t k = 0; k <= 3; ++k) RULE(SHEETX1, SYMRIGHT, HOLEBOTY - k);
}

void SheetPrint::DIVISION() {
  trap_.section("DIVISION");
  HOLEFLOO();
  const std::int32_t text_right = LEGENDSHEET == 1 ? TEXTX : TEXTLEFT;
  std::int32_t previous = HEADDOTS;
  const std::int32_t b = BEZIER > 0 ? BEZIER : 0;
  FSETFONT(3);
  for (std::int32_t l = 1; l <= LAYERCOUNT; ++l) {
    const std::int32_t flags = LAYERFILL(l, 0);
    const std::int32_t zy = FNZDOT(LAYERDEPTH(l));
    const std::int32_t ty = FNPDOT(ITEMBOTTOM(l));
    const bool text_here = HEADY <= ty && ty <= PAGEENDY;
    if (text_here && (flags & 1) == 0) RULE(TEXTX, RIGHTEDGE + 1, ty);
    if (NOTECOLUMNS > 1 && LEGENDSHEET == 0) {
      const std::int32_t a = std::max(previous, HEADY), e = std::min(ty, PAGEENDY);
      if (PAGEENDY > a && HEADY < e) BORDIR(NOTECOL2X, a, e);
      previous = ty;
    }
    if (l == LAYERCOUNT && plus_stop(PLUSPOS)) break;
    std::int32_t zx = (LANE[static_cast<size_t>(l)] - LANEMIN) * LANEWIDTH + SHEETX2;
    const bool depth_here = HEADY <= zy && zy <= SCALEENDY;
    if (depth_here) {
      if (LEGENDSHEET == 1) zx = SHEETX2;
      RULE(SHEETX1, zx - b, zy);
    }
    const std::int32_t ylo = std::max(HEADY, std::min(zy, ty));
    const std::int32_t yhi = std::min(PAGEENDY, std::max(zy, ty));
    if (depth_here || text_here) DRAWZAGL(l, zx, zy, ty, ylo, yhi);
    if (text_here) {
      if ((flags & 4) == 0) RULE(zx + b, text_right, ty);
      if (LEGENDSHEET == 0 && (flags & 2) == 0) {
        std::string depth = depth_label(LAYERDEPTH(l));
        PRINTEXT(TEXTLEFT, ty, depth);
        if (l == 1 && FNZDOT(LAYERDEPTH(1)) > 30) {
          std::string top = depth_label(PAGEDEPTH(1));
          PRINTEXT(TEXTLEFT, HEADDOTS + 30, top);
        }
      }
    }
  }
}

void SheetPrint::DRAWZAGL(std::int32_t layer, std::int32_t zx, std::int32_t zy, std::int32_t ty, std::int32_t ylo,
                          std::int32_t yhi) {
  trap_.section("DRAWZAGL");
  if ((LAYERFILL(layer, 0) & 4) != 0) return;
  const std::int32_t b = BEZIER > 0 ? BEZIER : 0;
  if (b == 0 || OUTDEV != 1) {
    BORDIR(zx, ylo, yhi);
    return;
  }
  std::int32_t x0 = zx - b, x5 = zx + b;
  if (ty > zy) std::swap(x0, x5);
  FPRINT(point(x0, yhi) + " m");
  if (std::abs(zy - ty) < 2 * b) {
    FPRINT(point(zx, yhi) + " " + point(zx, ylo) + " " + point(x5, ylo) + " c");
  } else {
    FPRINT(point(zx, yhi) + " " + point(zx, yhi - b) + " y");
    FPRINT(point(zx, ylo + b) + " l");
    FPRINT(point(zx, ylo) + " " + point(x5, ylo) + " v");
  }
  FPRINT("S");
}

void SheetPrint::SOILDIVS() {
  trap_.section("SOILDIVS");
  HOLEFLOO();
  for (std::int32_t l = 1; l <= LAYERCOUNT; ++l) {
    const std::int32_t zy = FNZDOT(LAYERDEPTH(l));
    if (l == LAYERCOUNT && plus_stop(PLUSPOS)) break;
    if (HEADY <= zy && zy < SCALEENDY) RULE(SHEETX1, SHEETX2, zy);
  }
}

void SheetPrint::DESCRIPT() {
  trap_.section("DESCRIPT");
  for (std::int32_t l = 1; l <= LAYERCOUNT; ++l) {
    if (!(ROOMEND >= TEXTBOTTOM(l) && PAGEORIGIN <= TEXTTOP(l))) continue;
    std::int32_t x = TEXTX;
    CURFONT = 1;
    FSETFONT(1);
    std::int32_t y = FNPDOT(TEXTTOP(l)) + FONT1POINTS;
    const std::int32_t first = y;
    bool broken = false;
    const std::int32_t record = first_record(l);
    for (std::int32_t r = 0; r < LAYERLINES(l); ++r) {
      DWORKREC = record + r;
      y = rounded(y + LINEPITCH);
      std::string line = description_line(DWORKREC);
      if (line.find(COLBREAK) != std::string::npos) {
        if (!broken) {
          broken = true;
          y = rounded(first + LINEPITCH);
          x = rounded((RIGHTEDGE + TEXTX - PROFRMARGIN) / 2.0 + 25);
        }
        REPLAZE(line, COLBREAK, "");
      }
      if (PENDEVICE != 0) {
        for (size_t p = line.find(CURSORPUSH); p != std::string::npos; p = line.find(CURSORPUSH, p)) {
          const size_t end = line.find('X', p + CURSORPUSH.size());
          if (end == std::string::npos) break;
          line.erase(p, end - p + 1);
        }
      }
      PRINTEXT(x, y, line);
    }
  }
  if (CURFONT != 1) FSETFONT(1);
}
