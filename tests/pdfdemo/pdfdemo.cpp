// pdfdemo OUT.pdf [--a3] [--symbols] [--logo]: draws a small document through the PDF writer, so that
// the writer's output can be checked with real readers before the sheet drawing exists.
//
// Two sheet pages and two borehole-log pages (the log on pages of its own): on A4 four pages in the
// order sheet 1, log 1, sheet 2, log 2; with --a3 two landscape pages, each log beside its sheet.
// --symbols adds a soil-symbol column and sample symbols from the symbol library PROLIB.DAT to the
// sheet pages and bars in the fourteen hatch and shade patterns to the log pages; --logo imports the
// logo of the standard SET file (LOGO0.PDF) at the head of each sheet page.
// Run it in an engine folder: it reads pdffonts.dat and the width tables of the font folder LJ4.
//
// pdfdemo --merge TARGET.pdf IN1.pdf [IN2.pdf ...]: merges the documents as the end of a run from a
// run file does: combined.pdf in the current folder, copied over TARGET.pdf when that file exists.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

// The engine's start-up as far as the writer needs it: mark-up codes, arrays, and the three fonts of
// the standard SET file with their width tables from the engine folder's font folder.
void set_up(bool a3) {
  VERSION = "7022";
  CRLF = "\r\n";
  FONTSWCODE = "\x13";
  CTRL25 = "\x19";
  HARDSPCODE = "\x05";
  PRODIM();
  OUTDEV = 1;
  FONTSPEC(1) = "\x1b(10U\x1b(s1p10v0s0b4148T";
  FONTSPEC(2) = "\x1b(10U\x1b(s1p10v0s3b4148T";
  FONTSPEC(3) = "\x1b)10U\x1b)s1p8v1s0b4148T";
  FONTDIR = "LJ4";
  for (std::int32_t f = 1; f <= 3; ++f) WIDTHTAB(f);
  PDFFONTCOUNT = 3;
  PAPER = a3 ? "A3" : "A4";
  ATTRCOUNT = 1;
  COMPRESSLOG = 0;
  LOGFIRST = 0;
  PAGECOUNT = 2;
  TEXTRGB = "0.8 0 0";
}

void text(std::int32_t x, std::int32_t y, std::int32_t font, std::string t) {
  CURFONT = font;
  PDFPRINT(x, y, t);
}

void bar(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, const std::string& rgb) {
  LOGBARFLAG2 = 1;
  LOGBARRGB2 = rgb;
  PDFBAR(x, y, w, h);
}

// --- the symbol library and the symbol column, as the sheet drawing uses them ---

bool symbols = false, logo = false;
std::int32_t library = 0;  // file number of PROLIB.DAT
std::int32_t library_base = 0;
std::string library_names;  // its list of names, "|" and the name in 10 characters each

// The bitmap number of a name of the library (0 when it has none).
std::int32_t named(const std::string& name) {
  const size_t p = library_names.find("|" + rt::LSET(name, 10));
  return p == std::string::npos ? 0 : static_cast<std::int32_t>(p / 11 + 1);
}

// Bitmap n of the library: 240 words, low byte first, read as signed 16-bit values.
std::vector<std::int32_t> bitmap(std::int32_t n) {
  std::vector<std::int32_t> words(240, 0);
  rt::seek(library, 480LL * n + library_base - 218 + library_base % 2 + 1);
  const std::string b = rt::get_bytes(library, 480);
  for (size_t k = 0; k + 1 < b.size(); k += 2)
    words[k / 2] = static_cast<std::int16_t>(static_cast<unsigned char>(b[k]) | static_cast<unsigned char>(b[k + 1]) << 8);
  return words;
}

// SYMBITS = frame | the fills, then the masks cleared.
void build_image(bool frame, const std::vector<std::string>& fills, const std::vector<std::string>& masks) {
  for (int s = 0; s < 60; ++s)
    for (int k = 0; k < 4; ++k) SYMBITS(2 + 4 * s + k) = frame ? (k == 0 ? 128 : k == 3 ? 256 : 0) : 0;
  for (const std::string& name : fills) {
    std::vector<std::int32_t> w = bitmap(named(name));
    for (int i = 0; i < 240; ++i) SYMBITS(2 + i) |= w[static_cast<size_t>(i)];
  }
  for (const std::string& name : masks) {
    std::vector<std::int32_t> w = bitmap(named(name));
    for (int i = 0; i < 240; ++i) SYMBITS(2 + i) &= -1 - w[static_cast<size_t>(i)];
  }
}

struct Layer {
  std::int32_t bottom;  // strip position of the layer's bottom
  std::vector<std::string> fills, masks;
  std::int32_t rgb;  // red, green, blue and the flag byte
};
const Layer kLayers[] = {
    {400, {"SAND"}, {}, 0},
    {900, {"CLAY"}, {}, 0},
    {1500, {"SILT", "GRAVEL"}, {}, 0},
    {2100, {"PEAT"}, {}, 0x01F0D0A0},        // the band in a colour, no symbol
    {2700, {"SANDSTONE"}, {}, 0x02208040},   // the symbol in a colour
    {3600, {"LIMESTONE"}, {}, 0x0380C0E0},   // the band in a colour, the symbol black over it
    {4500, {"FILL"}, {}, 0},
    {5800, {"CLAYEY", "GRAVEL"}, {"gravel"}, 0},  // cut by a mask
};
const std::int32_t kColumnX = 2140, kPageStrip = 2900;

// The symbol column of a sheet page: one image per layer band on the page.
void symbol_column(int page) {
  const std::int32_t origin = (page - 1) * kPageStrip, end = origin + kPageStrip;
  PAGEORIGIN = origin;
  RASTERX = kColumnX;
  std::int32_t previous = 0;
  for (std::int32_t l = 1; l <= 8; ++l) {
    const Layer& layer = kLayers[l - 1];
    const std::int32_t top = std::max(previous, origin), bottom = std::min(layer.bottom, end);
    previous = layer.bottom;
    if (origin >= bottom) continue;
    if (end <= top) break;
    build_image(true, layer.fills, layer.masks);
    SYMBOLRGB(l) = layer.rgb;
    RASTEREND = HEADDOTS + top;
    RASTERY = HEADDOTS + bottom;
    WRITESYM();
    WRITESYMUSE(l, "SOIL");
  }
}

// A sample symbol centred on page row y, its label left of it; after a mark "9" sample the library's
// next bitmap painted white over it (a band mask).
void sample(std::int32_t y, const std::string& name, const std::string& label, bool band) {
  build_image(false, {name}, {});
  RASTERX = band ? kColumnX : kColumnX - 115;
  RASTEREND = y - 60;
  RASTERY = RASTEREND + 120;
  SYMFILL = " 0  0  0  rg";
  WRITESAM();
  WRITESYMUSE(0, "1.20");
  if (band) {
    std::vector<std::int32_t> next = bitmap(named(name) + 1);
    for (int i = 0; i < 240; ++i) SYMBITS(2 + i) = next[static_cast<size_t>(i)];
    WRITESAM();
    SYMFILL = " 1 1 1 rg  % bandmask";
    WRITESYMUSE(0, "1.20");
    SYMFILL = " 0 0 0 rg";
    return;
  }
  NEWSTREA();
  text(RASTERX - 86 - FNDLEN(label, 3), y - 3, 3, label);
  CLOSESTR();
}

void sheet_leaf(const std::string& out, int page) {
  const std::string on = "\x1b&dD", off = "\x1b&d@";
  OPENLEAF(out);
  if (logo && LOGOFAIL != -1) PDFLOGO();
  if (symbols) {
    symbol_column(page);
    if (page == 1) {
      sample(2300, "S-UNDIST", "U100 1.20", false);
      sample(2600, "S-BULK", "B 2.00", false);
      sample(1300, "S-CORE", "", true);
    }
  }
  NEWSTREA();
  // Frame and head.
  PDFRULE(0, 2300, 0);
  PDFRULE(0, 2300, 3300);
  PDFBORDE(0, 0, 3300);
  PDFBORDE(2300, 0, 3300);
  PDFRULE4(0, 2300, 300, 6);
  text(600, 200, 2, "Sheet page " + std::to_string(page));
  text(1500, 200, 3, "Trial pit TP" + std::to_string(page));

  // Texts: escapes, code-page characters, a font switch, an underline, a colour run, a narrow text.
  text(100, 450, 1, "Firm grey sandy CLAY (weathered) with gravel: a\\b and (c)");
  text(100, 550, 1, "Water at 20\xF8" "C \xF1" "2, area 4 m\xFD, grains 63 \xE6m, Stra\xE1" "e");
  text(100, 650, 1, "Normal text, \x13" "bold text\x13" " and normal again");
  text(100, 750, 1, "Sample " + on + "U100 undisturbed" + off + " taken at 1.20 m");
  text(100, 850, 1, "Colour run: \x19" "red description\x19" " and black");
  text(100, 950, 1, "\x15" "80\x15" "Narrow text at eighty percent");
  text(1500, 1000, 1, on + "Hello" + off);

  // Bars, arrows, a polyline.
  bar(100, 1100, 600, 150, "0 0.5 1");
  bar(800, 1100, 600, 150, "1 0.6 0");
  if (symbols) {  // a pattern that the log leaf beside it uses too
    PATTERNNAME = "/Hatch3";
    ADDPDFSH();
    LOGBARFLAG2 = 2;
    LOGBARRGB2 = "0 0 0";
    PDFBAR(1450, 1100, 200, 150);
  }
  PDFARROW(300, 1400, 80);
  PDFARROW(600, 1480, -80);
  PDFBORDE4(1700, 1100, 1500, 8);
  PDFMOVE(100, 1700);
  for (int i = 1; i <= 10; ++i) PDFLINE(100 + i * 200, 1700 + (i % 2) * 200);
  FPRINT("S");
  CLOSESTR();
  PDFUNDER();
  CLOSELEA();
}

void log_leaf(const std::string& out, int page, std::int32_t shift) {
  OPENLEAF(out);
  NEWSTREA();
  PDFRULE(shift, shift + 2300, 0);
  PDFRULE(shift, shift + 2300, 3300);
  PDFBORDE(shift, 0, 3300);
  PDFBORDE(shift + 2300, 0, 3300);
  text(shift + 100, 200, 2, "Log page " + std::to_string(page));
  for (int i = 0; i < 5; ++i) bar(shift + 200, 400 + i * 250, 300 + i * 250, 150, i % 2 ? "0.2 0.6 0.2" : "0.5 0.5 0.5");
  if (symbols) {
    const char* names[] = {"/Hatch1", "/Hatch2", "/Hatch3",  "/Hatch4",  "/Hatch5",  "/Hatch6",  "/Shade2",
                           "/Shade7", "/Shade16", "/Shade28", "/Shade45", "/Shade68", "/Shade75", "/Shade100"};
    for (int i = 0; i < 14; ++i) {
      PATTERNNAME = names[i];
      ADDPDFSH();
      LOGBARFLAG2 = i % 3 == 2 ? 3 : 2;  // every third bar: a solid colour with the pattern in black over it
      LOGBARRGB2 = i % 3 == 2 ? "1 0.85 0.5" : i % 2 ? "0.6 0.2 0.1" : "0 0 0.6";
      PDFBAR(shift + 200 + i / 7 * 700, 1800 + i % 7 * 190, 600, 150);
    }
    LOGBARFLAG2 = 0;
  }
  std::string fill;
  std::int16_t flag = 0;
  RGB2PDF(0x000000C0, fill, flag);  // red
  FPRINT(fill);
  PDFARROW(shift + 1800, 2000, 100);
  FPRINT("0.0 g");
  CLOSESTR();
  CLOSELEA();
}

}  // namespace

// The end of a PDF run from a run file: its result files merged, the target given as its result name.
int merge(const std::vector<std::string>& names) {
  platform::set_console(std::make_unique<platform::BatchConsole>(25, true));
  VERSION = "7022";
  CRLF = "\r\n";
  PRODIM();
  OUTDEV = 1;
  RESULTNAME = names[0];
  RUNFLAGS = 0x81;  // an input file and a result name given
  OUTDIR = ".";
  for (size_t i = 1; i < names.size(); ++i) OUTLIST += "|" + names[i];
  run_target_source = names.back();  // the last result, which the target gets when nothing is joined
  COMBINE();
  place_run_target();
  rt::close_all();
  const bool written = rt::file_exists("combined.pdf");
  platform::set_console(nullptr);
  return written ? 0 : 1;
}

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "--merge") {
    if (argc < 4) {
      std::fprintf(stderr, "usage: pdfdemo --merge TARGET.pdf IN1.pdf [IN2.pdf ...]\n");
      return 2;
    }
    return merge(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::string out;
  bool a3 = false, bad = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--a3")
      a3 = true;
    else if (a == "--symbols")
      symbols = true;
    else if (a == "--logo")
      logo = true;
    else if (out.empty() && a.rfind("--", 0) != 0)
      out = a;
    else
      bad = true;
  }
  if (out.empty() || bad) {
    std::fprintf(stderr, "usage: pdfdemo OUT.pdf [--a3] [--symbols] [--logo] | --merge TARGET.pdf IN1.pdf ...\n");
    return 2;
  }
  platform::set_console(std::make_unique<platform::BatchConsole>(25, true));
  set_up(a3);
  if (symbols) {
    library = rt::FREEFILE();
    if (!rt::file_exists("PROLIB.DAT") || !rt::open_file(library, "PROLIB.DAT", rt::FileMode::Binary)) {
      std::fprintf(stderr, "pdfdemo: PROLIB.DAT is missing\n");
      return 1;
    }
    rt::seek(library, 261);
    const std::string b = rt::get_bytes(library, 2);
    library_base = b.size() == 2 ? static_cast<std::int16_t>(static_cast<unsigned char>(b[0]) << 8 | static_cast<unsigned char>(b[1])) : 0;
    library_names = rt::get_bytes(library, static_cast<size_t>(std::max<std::int32_t>(library_base, 0)));
    SYMBITS.dim(0, 241);
    RASTERSTEP = 2;
    HEADDOTS = 300;
  }
  if (logo) {  // the logo items of the standard SET file
    LOGOMACRO = "LOGO0";
    LOGOMATRIX.clear();
    LOGOX = LOGOY = 0;
  }
  PAGEFILE = rt::FREEFILE();
  for (int page = 1; page <= 2; ++page) sheet_leaf(out, page);
  for (int page = 1; page <= 2; ++page) log_leaf(out, page, a3 ? 2333 : 0);
  ASSEMBLE();
  rt::close_all();
  bool written = rt::file_exists(out);
  platform::set_console(nullptr);
  return written ? 0 : 1;
}
