// PROLOG's fills and tubes of a record: the first hatch code ("[X1".."[X6]") and the first shade code
// ("[S1]".."[S8]") fill the zone across the column, and each tube item ("[D inner outer shift pattern]")
// draws two walls symmetric about the column centre. A tube item whose second word names a regular file
// includes that file's lines.
//
// What this code does not let through:
//  - a code outside the tables ("[X9]", a bracketed word such as "[Sand]") draws no bar on any device
//    (it was an empty pattern on PDF but strokes every 10 dots on the pen devices);
//  - a tube item without its "]" is ignored and ends the scan, said once;
//  - includes stop after 8 per record and at 32767 characters of text; the rest is said once and left
//    out, so a file that includes itself cannot grow the text for ever.
#include <algorithm>
#include <cmath>

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
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"

namespace {

constexpr int kMostIncludes = 8;
constexpr size_t kMostText = 32767;

std::int32_t cint(double v) { return static_cast<std::int32_t>(rt::round_even(std::clamp(v, -32000.0, 32000.0))); }

void say(const std::string& text) {
  show_message(text);
  rt::fault_logged(text);
}

}  // namespace

std::int16_t LogDraw::FINDHATC(const std::string& code) {
  const long at = rt::INSTR("[X1][X2][X3][X4][X5][X6]", code);
  const std::int16_t n = code.size() == 4 && at > 0 && (at - 1) % 4 == 0 ? static_cast<std::int16_t>((at + 3) / 4) : 0;
  BARSHADE = cint(100.0 * n / 6);
  return n;
}

std::int16_t LogDraw::FINDSHAD(const std::string& code) {
  static const std::int16_t percent[] = {2, 7, 16, 28, 45, 68, 75, 100};
  const long at = rt::INSTR("[S1][S2][S3][S4][S5][S6][S7][S8]", code);
  const std::int16_t s = code.size() == 4 && at > 0 && (at - 1) % 4 == 0 ? percent[(at - 1) / 4] : 0;
  BARSHADE = s;
  return s;
}

void LogDraw::XHATCH() {
  trap_.section("XHATCH");
  std::int32_t top = FNLDOT(ZONETOP), bottom = FNLDOT(ZONEBOTTOM);
  if (PAGEORIGIN > bottom || PAGEENDDOT <= top) return;
  top = std::max(top, PAGEORIGIN);
  bottom = std::min(bottom, PAGEENDDOT);
  const std::int32_t y = FNPDOT(top), h = FNPDOT(bottom) - y;
  std::string text = RECTEXT;
  if (const long p = rt::INSTR(text, "[X"); p > 0) {
    if (const std::int16_t n = FINDHATC(rt::MID(text, p, 4)); n > 0) {
      PATTERNNAME = "/Hatch" + rt::STR_TRIM(static_cast<std::int64_t>(n));
      if (OUTDEV == 1) ADDPDFSH(); else SETSHADE("X", n);
      bar_clear(LEFTX, y, RIGHTX - LEFTX, h);
    }
  }
  if (const long p = rt::INSTR(text, "[S"); p > 0) {
    if (const std::int16_t s = FINDSHAD(rt::MID(text, p, 4)); s > 0) {
      PATTERNNAME = "/Shade" + rt::STR_TRIM(static_cast<std::int64_t>(s));
      if (OUTDEV == 1) ADDPDFSH(); else SETSHADE("S", s);
      bar_clear(LEFTX, y, RIGHTX - LEFTX, h);
    }
  }
  int includes = 0;
  for (long from = 1;;) {
    const long p = rt::INSTR(from, text, "[D ");
    if (p == 0) break;
    const long q = rt::INSTR(p + 1, text, "]");
    if (q == 0) {
      if (!open_tube_said) {
        open_tube_said = true;
        say("Hole " + rt::TRIM(HEADER(20)) + ": a tube item without its \"]\" is left out: " + rt::MID(text, p, 40));
      }
      break;
    }
    TUBEEND = static_cast<std::int16_t>(std::min<long>(q, 32000));
    from = q + 1;
    std::string delims = " ";
    PARSVARS(rt::MID(text, p, q - p), delims);
    std::vector<std::string> w(1);
    for (std::int32_t i = 1; i <= PARSEDCOUNT && i <= PARSED.ubound(); ++i) w.push_back(PARSED(i));
    const size_t count = w.size() - 1;
    double inner = count >= 2 ? rt::VAL(w[2]) : 0, outer = inner + 2, shift = 0;
    if (count >= 2 && inner == 0) {
      std::string name = w[2];
      if (!BREAKCODE.empty()) REPLAZE(name, BREAKCODE, "\\");
      if (rt::file_exists(name)) {
        // An include: the file's lines join the text and are scanned in turn.
        std::string added;
        const int f = rt::FREEFILE();
        if (includes < kMostIncludes && rt::open_file(f, name, rt::FileMode::Input)) {
          for (std::string line; !rt::at_eof(f) && rt::line_input(f, line);) added += line;
          rt::close_file(f);
        }
        if (includes >= kMostIncludes || text.size() + added.size() > kMostText) {
          if (!includes_said) {
            includes_said = true;
            say("Hole " + rt::TRIM(HEADER(20)) + ": the tube includes of a record stop at " +
                std::to_string(kMostIncludes) + " files and 32767 characters; " + name + " is left out.");
          }
          continue;
        }
        ++includes;
        text += added;
        continue;
      }
    }
    PATTERNNAME = "/Shade100";
    if (OUTDEV == 1) ADDPDFSH(); else SETSHADE("S", 100), BARSHADE = 100;
    if (count >= 3) {
      outer = rt::VAL(w[3]);
      if (outer < inner) std::swap(inner, outer);
      if (outer == inner) outer = inner + 2;
    }
    if (count >= 4) {
      shift = cint(rt::VAL(w[4]));
      const std::string& last = w[count];
      // A pattern word outside the tables keeps the tube's plain fill.
      if (last.find('S') != std::string::npos) {
        if (const std::int16_t s = FINDSHAD("[" + last + "]"); s > 0) {
          PATTERNNAME = "/Shade" + rt::STR_TRIM(static_cast<std::int64_t>(s));
          if (OUTDEV == 1) ADDPDFSH(); else SETSHADE("S", s);
        } else {
          BARSHADE = 100;
        }
      }
      if (last.find('X') != std::string::npos) {
        if (const std::int16_t n = FINDHATC("[" + last + "]"); n > 0) {
          PATTERNNAME = "/Hatch" + rt::STR_TRIM(static_cast<std::int64_t>(n));
          if (OUTDEV == 1) ADDPDFSH(); else SETSHADE("X", n);
        } else {
          BARSHADE = 100;
        }
      }
    }
    DRAWTUBE(y, h, std::clamp(inner, -32000.0, 32000.0), std::clamp(outer, -32000.0, 32000.0), shift);
  }
}

void LogDraw::DRAWTUBE(std::int32_t y, std::int32_t h, double inner, double outer, double shift) {
  // Each wall is clipped to the column on both sides: a wall that leaves the column is not drawn.
  const double l = LEFTX, r = RIGHTX;
  double a = std::clamp((l + r - outer) / 2 + shift, l, r), b = std::clamp((l + r - inner) / 2 + shift, a, r);
  if (a < b) bar_clear(cint(a), y, cint(b - a), h);
  b = std::clamp((l + r + outer) / 2 + shift, l, r), a = std::clamp((l + r + inner) / 2 + shift, l, b);
  if (a < b) bar_clear(cint(a), y, cint(b - a), h);
}
