// PROPRINT's soil symbol column: each layer filled with its symbols, one image per layer and page.
//
// A layer's image starts as the frame (the column's two edge lines), the layer's symbol bitmaps from the
// library are ORed in (fills) or cut out (masks), codes taken largest first, so every plain fill comes
// before the masks of its band. On PDF the image is an image mask placed in the column; the plotters draw
// its rows with strokes (with their plot file); the printer gets no symbol pixels.
//
// Beyond the table: a code outside the six bands (a library name list of more than 100 names) is
// ignored and said once per sheet; the image positions of long strips are kept whole (no wrap at 32768);
// a picture the library file does not hold whole (a file cut short) is drawn blank, said once a run.
#include <algorithm>
#include <cmath>
#include <set>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proprint.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"

namespace {

void put(const std::vector<std::int32_t>& src, int op) {
  if (SYMBITS.in_bounds(1) && SYMBITS.in_bounds(241) && src.size() > 241) {
    // The whole raster at hand: its elements 1..241 are contiguous.
    std::int32_t* bits = &SYMBITS(1);
    const std::int32_t* from = src.data() + 1;
    if (op == 0) std::copy(from, from + 241, bits);
    if (op == 1)
      for (size_t k = 0; k < 241; ++k) bits[k] |= from[k];
    if (op == 2)
      for (size_t k = 0; k < 241; ++k) bits[k] &= from[k];
    return;
  }
  for (long k = 1; k <= 241; ++k) {
    const std::int32_t v = src[static_cast<size_t>(k)];
    if (op == 0) SYMBITS(k) = v;
    if (op == 1) SYMBITS(k) |= v;
    if (op == 2) SYMBITS(k) &= v;
  }
}

}  // namespace

void PUTPSET(const std::vector<std::int32_t>& src) { put(src, 0); }
void PUTOR(const std::vector<std::int32_t>& src) { put(src, 1); }
void PUTAND(const std::vector<std::int32_t>& src) { put(src, 2); }

void IRANKD(std::vector<std::int32_t>& a, std::int32_t n) {
  for (std::int32_t i = 1; i <= n; ++i)
    for (std::int32_t j = i + 1; j <= n; ++j)
      if (a[static_cast<size_t>(i)] < a[static_cast<size_t>(j)]) std::swap(a[static_cast<size_t>(i)], a[static_cast<size_t>(j)]);
}

void SheetPrint::BEGINRAS() {
  if (OUTDEV == 2) {
    PPENWIDT(0.18f);
    if (plot_open) rt::put_bytes(PLOTFILE, "LA1,2;LA2,4;");
  }
}

void SheetPrint::CLOSERAS() {
  if (OUTDEV == 2) PPENWIDT(0.08f);
  if (OUTDEV != 1 && OUTDEV != 2 && OUTDEV != 3 && PAGEFILE > 0 && rt::is_open(PAGEFILE))
    rt::put_bytes(PAGEFILE, RASTEREND_);
}

void SheetPrint::POLYPOIN(double x, double y) {
  const std::int32_t ix = rt::to_i32(XSCALE * x), iy = rt::to_i32(YSCALE * y);
  if (plot_open) rt::put_bytes(PLOTFILE, FNC(ix - LASTPX) + FNZ(iy));
  LASTPX = ix, LASTPY = iy;
}

void SheetPrint::PSEUDOVE(std::int32_t byte) {
  for (std::int32_t bit = 128; bit >= 1; bit /= 2) {
    ++PIXELNO;
    const std::int32_t on = (byte & bit) != 0 ? -1 : 0;
    if (on == PIXELON) continue;
    EDGEX = PIXELNO * RASTERSTEP - 2.5;
    if (OUTDEV == 2) {
      POLYPOIN(EDGEX, 0);
      if (on != 0) {
        PPENDOWN();
      } else {
        PPENUP();
      }
    } else if (OUTDEV == 3) {
      EDGEX += RASTERX;
      if (on == 0) DXFLINE(ROWX, ROWY, EDGEX, ROWY);
      ROWX = EDGEX;
    }
    PIXELON = on;
  }
}

void SheetPrint::SYMBLINE(std::int32_t j) {
  if (OUTDEV != 2 && OUTDEV != 3) return;
  PIXELON = 0, PIXELNO = 0;
  ROWX = RASTERX;
  ROWY = (j - 1) * RASTERSTEP + RASTERTOP + 1;
  if (OUTDEV == 2) {
    PMOVEDEC(ROWX, ROWY, 2);
    if (plot_open) rt::put_bytes(PLOTFILE, "PR");
    LASTPX = 0;
  }
  const long row = ((j - 1) % 60 + 60) % 60;
  for (long k = 0; k < 4; ++k) {
    const std::int32_t w = SYMBITS(2 + 4 * row + k) & 0xFFFF;
    PSEUDOVE(w % 256);
    PSEUDOVE(w / 256);
  }
  const double end = 63.75 * RASTERSTEP;
  if (OUTDEV == 2) {
    POLYPOIN(end, 0);
  } else if (PIXELON != 0) {
    DXFLINE(ROWX, ROWY, RASTERX + end, ROWY);
  }
}

std::string SheetPrint::library_picture(std::int32_t bitmap) {
  std::string bytes;
  if (LIBFILE > 0 && rt::is_open(LIBFILE)) {
    // After the head of 262 bytes, the name list (padded to an even length), then the pictures from 1.
    const std::int64_t at = 480LL * bitmap + LIBCOUNT - 218 + (LIBCOUNT % 2);
    if (at >= 262 && at + 480 <= rt::LOF(LIBFILE)) {
      rt::seek(LIBFILE, at + 1);
      bytes = rt::get_bytes(LIBFILE, 480);
    } else {
      static std::set<std::string> said;
      if (said.insert(LIBNAME).second) {
        const std::string text = "Symbol library " + LIBNAME + " is cut short: symbol " +
                                 rt::STR_TRIM(static_cast<std::int64_t>(bitmap)) +
                                 " has no picture in it, and is drawn blank as any other it lacks.";
        platform::console().print(text, true);
        rt::fault_logged(text);
      }
    }
  }
  bytes.resize(480, '\0');
  return bytes;
}

void SheetPrint::PICKSYMB(std::int32_t bitmap, bool mask) {
  trap_.section("PICKSYMB");
  const std::string bytes = library_picture(bitmap);
  for (long k = 2; k <= 241; ++k) {
    const size_t i = static_cast<size_t>(k - 2) * 2;
    const std::int32_t w = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[i]) |
                                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    SYMBITS4[static_cast<size_t>(k)] = mask ? -1 - w : w;
  }
  if (mask) {
    PUTAND(SYMBITS4);
  } else {
    PUTOR(SYMBITS4);
  }
}

void SheetPrint::BUILDSYM(std::int32_t layer) {
  trap_.section("BUILDSYM");
  const std::int32_t c = std::clamp<std::int32_t>(LAYERFILL(layer, 1), 0, 17);
  std::vector<std::int32_t> codes(static_cast<size_t>(c) + 1, 0);
  for (std::int32_t k = 1; k <= c; ++k) codes[static_cast<size_t>(k)] = LAYERFILL(layer, k + 1);
  IRANKD(codes, c);
  for (std::int32_t k = 1; k <= c; ++k) {
    const std::int32_t v = codes[static_cast<size_t>(k)];
    std::int32_t bitmap = 0;
    bool mask = false;
    if (v >= 1 && v <= 100) {
      bitmap = v;
    } else if (v >= -100 && v <= -1) {
      bitmap = v + 100, mask = true;
    } else if (v >= -200 && v <= -101) {
      bitmap = v + 200;
    } else if (v >= -300 && v <= -201) {
      bitmap = v + 300, mask = true;
    } else if (v >= -400 && v <= -301) {
      bitmap = v + 400;
    } else if (v >= -500 && v <= -401) {
      bitmap = v + 500, mask = true;
    } else {
      if (!odd_code_said) {
        odd_code_said = true;
        platform::console().print("Symbol code" + rt::STR(static_cast<std::int64_t>(v)) +
                                      " lies outside the symbol library's 100 names; it is left out.",
                                  true);
      }
      continue;
    }
    PICKSYMB(bitmap, mask);
  }
}

void SheetPrint::LINE018() {
  trap_.section("LINE018");
  if (TAILDONE != 0) {
    CLOSERAS();
    return;
  }
  std::string last;
  PIREAD(last, LAYERCOUNT, DWORKBASE + WORKFIRST);
  PLUSPOS = static_cast<std::int32_t>(rt::INSTR(last, "+"));
  if (PLUSPOS >= 1 && PLUSPOS <= 9 && LAYERFILL(LAYERCOUNT, 1) > 0) {
    BUILDSYM(LAYERCOUNT);
    TAILDONE = -1;
    for (long r = 0; r < 60; ++r) {
      SYMBITS4[static_cast<size_t>(2 + 4 * r)] = 0xFFFF & ~0x40;      // all but pixel 1
      SYMBITS4[static_cast<size_t>(3 + 4 * r)] = 0xFFFF;
      SYMBITS4[static_cast<size_t>(4 + 4 * r)] = 0xFFFF;
      SYMBITS4[static_cast<size_t>(5 + 4 * r)] = 0xFFFF & ~0x0300;    // all but pixels 62 and 63
    }
    PUTAND(SYMBITS4);
    std::int32_t h = std::min(SYMEND - HOLEBOTDOT - 10, 340);
    if (h > 48) h = rt::to_i32(h / 2.0);
    if (OUTDEV == 1) {
      RASTEREND = RASTERY;
      if (h > 0) RASTERY += h;
      WRITESYM();
      WRITESYMUSE(LAYERCOUNT, "SOIL");
    } else if (RASTERSTEP > 0) {
      const auto row0 = rt::to_i32(RASTERY / RASTERSTEP), row1 = rt::to_i32((RASTERY + h) / RASTERSTEP);
      for (std::int32_t r = row0; r <= row1; ++r) SYMBLINE(rt::to_i32(r - HEADDOTS / RASTERSTEP + 1));
    }
  }
  CLOSERAS();
}

void SheetPrint::SYMBS() {
  trap_.section("SYMBS");
  if (SHEETMODE == 2) {
    SYMEND = 32767;
    PAGENO = 1;
    PAGECOUNT = 1;
  }
  if (LAYERCOUNT == 0) return;
  RASTERX = SHEETX1;
  RASTERTOP = HEADDOTS;
  BEGINRAS();
  std::int32_t previous = 0;
  for (std::int32_t l = 1; l <= LAYERCOUNT; ++l) {
    const std::int32_t this_bottom = FNLDOT(LAYERDEPTH(l));
    PUTPSET(SYMBITS3);
    const std::int32_t top = std::max(previous, PAGEORIGIN);
    const std::int32_t bottom = std::min(this_bottom, SYMEND);
    previous = this_bottom;
    if (PAGEORIGIN >= bottom) continue;
    if (SYMEND <= top) break;
    BUILDSYM(l);
    RASTEREND = HEADDOTS + top;
    RASTERY = HEADDOTS + bottom;
    if (OUTDEV == 1) {
      WRITESYM();
      WRITESYMUSE(l, "SOIL");
    } else if (RASTERSTEP > 0) {
      const auto first = static_cast<std::int32_t>(std::floor(RASTEREND / RASTERSTEP));
      const auto last = static_cast<std::int32_t>(std::floor(RASTERY / RASTERSTEP)) - 1;
      for (std::int32_t r = first; r <= last; ++r) SYMBLINE(rt::to_i32(r - (HEADDOTS - 0.5) / RASTERSTEP + 1));
    }
    TAILDONE = 0;
  }
  LINE018();
}
