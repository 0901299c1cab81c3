// pdfdemo OUT.pdf [--a3]: draws a small document through the PDF writer, so that the writer's output
// can be checked with real readers before the sheet drawing exists.
//
// Two sheet pages and two borehole-log pages (the log on pages of its own): on A4 four pages in the
// order sheet 1, log 1, sheet 2, log 2; with --a3 two landscape pages, each log beside its sheet.
// Run it in an engine folder: it reads pdffonts.dat and the width tables of the font folder LJ4.
#include <cstdio>
#include <string>

#include "engine/devices/globals.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/log/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
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

void sheet_leaf(const std::string& out, int page) {
  const std::string on = "\x1b&dD", off = "\x1b&d@";
  OPENLEAF(out);
  NEWSTREA();
  // Frame and head.
  PDFRULE(0, 2300, 0);
  PDFRULE(0, 2300, 3300);
  PDFBORDE(0, 0, 3300);
  PDFBORDE(2300, 0, 3300);
  PDFRULE4(0, 2300, 300, 6);
  text(100, 200, 2, "Sheet page " + std::to_string(page));
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

int main(int argc, char** argv) {
  std::string out;
  bool a3 = false, bad = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--a3")
      a3 = true;
    else if (out.empty() && a.rfind("--", 0) != 0)
      out = a;
    else
      bad = true;
  }
  if (out.empty() || bad) {
    std::fprintf(stderr, "usage: pdfdemo OUT.pdf [--a3]\n");
    return 2;
  }
  platform::set_console(std::make_unique<platform::BatchConsole>(25, true));
  set_up(a3);
  PAGEFILE = rt::FREEFILE();
  for (int page = 1; page <= 2; ++page) sheet_leaf(out, page);
  for (int page = 1; page <= 2; ++page) log_leaf(out, page, a3 ? 2333 : 0);
  ASSEMBLE();
  rt::close_all();
  bool written = rt::file_exists(out);
  platform::set_console(nullptr);
  return written ? 0 : 1;
}
