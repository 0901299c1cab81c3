// PROPRINT: draws every page of the sheet PROFORMA laid out, then hands the hole over to the borehole
// log (when it has log columns) or ends its plot (PROSTOP).
//
// Each page is opened on the device, drawn by the sections in a fixed order (logo, symbols, samples,
// header, frame, layer divisions, descriptions, scale, borders, layer lines, notes, footer) and closed.
// On PDF all pages of a hole are leaves of one document, "PAGER.1".
//
// Every section reads only within its tables: the lines of a description or note are read from the
// item's own first record, so a block that lies on no page (said once) never shifts the lines of the
// items after it.
#include "engine/frame/console.h"
#include "engine/sheet/proprint.h"

#include "engine/convert/globals.h"
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"

namespace {

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(v)); }

std::int32_t dwork(std::int16_t second) { return DWORKBASE + second; }

}  // namespace

SheetHandOver& sheet_hand_over() {
  static SheetHandOver h;
  return h;
}

void MINIBOX(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h) {
  RT_TRAP(trap, "MINIBOX");
  RULE(x, x + w, y);
  RULE(x, x + w, y + h);
  BORDIR(x, y, y + h);
  BORDIR(x + w, y, y + h);
}

bool log_pages_joined() { return PAPER == "A3" && OUTDEV >= 1 && OUTDEV <= 3; }

bool log_columns_on_profile_page() { return OUTDEV >= 1 && OUTDEV <= 3; }

void box_growth(std::int32_t w, std::int32_t tw, std::int32_t& growth, std::int32_t& margin) {
  growth = 0;
  for (;;) {
    margin = static_cast<std::int32_t>(rt::round_even((w + growth - tw) / 2.0));
    if (margin > 8) return;
    growth += 2;
  }
}

void SheetPrint::PRELIM() {
  trap_.section("PRELIM");
  PLOTFILE = rt::FREEFILE();
  PAGEFILE = PLOTFILE;
  FOOTEVERY = FOOTDOTS & 1;
  PENDEVICE = OUTDEV == 2 || OUTDEV == 3 ? -1 : 0;
  if (LAYERCOUNT == 0 && PAGECOUNT == 0) PAGECOUNT = 1;
  SYMBITS.dim(0, 241);
  SYMBITS(0) = 64, SYMBITS(1) = 60;
  for (long i = 2; i <= 241; ++i) SYMBITS(i) = 0;
  SYMBITS2.assign(242, 0), SYMBITS3.assign(242, 0), SYMBITS4.assign(242, 0);
  for (auto* b : {&SYMBITS2, &SYMBITS3, &SYMBITS4}) (*b)[0] = 64, (*b)[1] = 60;
  for (size_t r = 0; r < 60; ++r) SYMBITS3[2 + 4 * r] = 128, SYMBITS3[5 + 4 * r] = 256;  // pixels 0 and 63
  CRLF = "\r\n";
  ESCAPE = "\x1b";
  if (LAYERCOUNT > 0) HOLEBOTDOT = FNLDOT(LAYERDEPTH(LAYERCOUNT));
  RASTEREND_ = ESCAPE + (OUTDEV == 2 ? "*rC" : "*rB");
  COLBREAK = "\x18";
  CURSORPUSH = ESCAPE + "*p+";
  LIBFILE = 0, LIBCOUNT = 0;
  if (!rt::file_exists(LIBNAME)) {
    // Said once per run: the sheets are drawn with symbol frames and no patterns.
    static std::string said;
    if (said != LIBNAME) {
      said = LIBNAME;
      const std::string text = "Symbol library " + LIBNAME + " not found: the sheets show no soil symbols.";
      show_message(text, 0, {LIBNAME});
      rt::fault_logged(text);
    }
  } else {
    LIBFILE = rt::FREEFILE();
    if (rt::open_file(LIBFILE, LIBNAME, rt::FileMode::Binary)) {
      rt::engine_file(LIBFILE);
      rt::seek(LIBFILE, 261);
      const std::string two = rt::get_bytes(LIBFILE, 2);
      if (two.size() == 2) {
        LIBCOUNT = static_cast<unsigned char>(two[0]) * 256 + static_cast<unsigned char>(two[1]);
        if (LIBCOUNT > 32767) LIBCOUNT -= 65536;
      }
    } else {
      LIBFILE = 0;
    }
  }
  if (SYMBOLDPI == 0) SYMBOLDPI = 150;
  RASTERSTEP = 300.0 / SYMBOLDPI;
  LEGENDSHEET = VOCAB(23).empty() ? 0 : static_cast<std::int32_t>(rt::INSTR(HEADER(21), VOCAB(23)));
  if (LEGENDSHEET > 0) SCALEDIV = 0;
  const std::string digits = rt::RSET(rt::STR(static_cast<std::int64_t>(SUPPRESS)), 5);
  LOGSUPPRESS1 = rt::to_i32(rt::VAL(rt::MID(digits, 5, 1)));
  LOGSUPPRESS10 = rt::to_i32(rt::VAL(rt::MID(digits, 4, 1)));
  LOGSUPPRESS100 = rt::to_i32(rt::VAL(rt::MID(digits, 3, 1)));
  FONT1POINTS = 0;
  const std::string& spec = FONTSPEC(1);
  if (const size_t v = spec.find('v'); v != std::string::npos && v > 0) {
    size_t s = v;
    while (s > 0 && static_cast<unsigned char>(spec[s - 1]) < 58) --s;
    if (s > 0) FONT1POINTS = rt::to_i32(rt::VAL(spec.substr(s, v - s)));
  }
  TEXTLEFT = TEXTX - 125;
  SYMRIGHT = rounded(RASTERSTEP * 64 + SHEETX1);
  DWORKREC = 0;
  TEXTORIGIN = 0;
  for (std::int32_t i = 1; i <= 22; ++i) {
    REPLAZE(HEADER(i), HARDSPCODE, " ");
    REPLAZE(VOCAB(i), HARDSPCODE, " ");
  }
  if (NOTECOLUMNS > 1) NOTECOL2X = rounded((RIGHTEDGE + TEXTX - PROFRMARGIN) / 2.0);
  LANE.assign(static_cast<size_t>(LAYERCOUNT) + 1, 0);
}

void SheetPrint::OPENDESC() {
  trap_.section("OPENDESC");
  PIOPEN("Dwork.1", dwork(WORKFIRST));
  PIOPEN("Dwork.2", dwork(WORKSECOND));
}

void SheetPrint::CLOSEDES() {
  trap_.section("CLOSEDES");
  for (std::int32_t ch : {dwork(WORKFIRST), dwork(WORKSECOND)}) {
    for (std::int32_t k : {ch, ch + 1}) {
      if (PIFILE(k) > 0 && rt::is_open(PIFILE(k))) rt::close_file(PIFILE(k));
    }
  }
}

void SheetPrint::PAYGESIZ() {
  trap_.section("PAYGESIZ");
  const std::int32_t p = PAGENO;
  const std::int32_t room = PAGELENGTH - HEADDOTS - FOOTDOTS;
  PAGETOP = PAGEDEPTH(p);
  // Depths on this page are measured from its own top depth (a forced page break changes it).
  TOPDEPTH = PAGETOP;
  PAGEORIGIN = PAGESTART(p);
  double next = 0;
  if (p >= PAGECOUNT) {
    ROOMEND = PAGEORIGIN + room;
    next = rt::round_even(DOTSPERUNIT * PAGETOP + ROOMEND);
    SYMEND = ROOMEND;
  } else {
    ROOMEND = PAGESTART(p + 1);
    next = rt::round_even(DOTSPERUNIT * PAGEDEPTH(p + 1) + PAGESTART(p + 1));
    SYMEND = FOOTEVERY == 1 ? PAGESTART(p) + room : PAGESTART(p) + PAGELENGTH - HEADDOTS - 34;
    if (p + 1 == SHAREDPAGE) SYMEND = std::min(SYMEND, ROOMEND);
  }
  NEXTSTART = rounded(next - DOTSPERUNIT * PAGETOP);
  PAGEENDY = FNPDOT(ROOMEND);
  SCALEENDY = FNPDOT(NEXTSTART) + 1;
  SYMENDY = FNPDOT(SYMEND);
  if (LAYERCOUNT > 0) {
    HOLEBOTDOT = FNLDOT(LAYERDEPTH(LAYERCOUNT));
    HOLEBOTY = FNZDOT(LAYERDEPTH(LAYERCOUNT));
  }
  HEADY = HEADDOTS;
}

void SheetPrint::OPENPAGE() {
  trap_.section("OPENPAGE");
  const std::string page = rt::STR_TRIM(static_cast<std::int64_t>(PAGENO));
  PROFILECODE = rt::RIGHT("000" + ALPHNUM(rt::TRIM(HEADER(22))), 3) + rt::RIGHT("000" + ALPHNUM(rt::TRIM(HEADER(20))), 3);
  if (OUTDEV == 1) {
    // The file number is taken when the document is opened: the channels and the library opened since
    // the set-up hold numbers of their own.
    if (PDFBYTES == 0) PLOTFILE = PAGEFILE = rt::FREEFILE();
    OPENLEAF("PAGER." + page);
  } else if ((OUTDEV == 2 || OUTDEV == 3) && PAGENO == 1) {
    // One plot file for all pages of the hole, y turned upwards.
    PAPERX = 7918, PAPERY = 10837;
    DXFUNIT = static_cast<double>(25.4f) * 40 / 300;
    double x0 = 0, x1 = 100, y0 = 0, y1 = 100;
    GOVIEWPO(x0, x1, y0, y1);
    GOSCALE(0, PAPERX / DXFUNIT, PAGELENGTH, PAGELENGTH - PAPERY / DXFUNIT);
    PLOTFILE = PAGEFILE = rt::FREEFILE();
    GOOPEN("PLOTFILE");
    GOHPGL();
    for (std::int32_t f = 1; f <= 3; ++f) CONVERTF(FONTSPEC, HPGLFONT, f);
  } else if (OUTDEV != 2 && OUTDEV != 3 && PAGENO == 1) {
    // The printer: one stream for all pages of the hole.
    PLOTFILE = PAGEFILE = rt::FREEFILE();
    GOOPEN("PLOTFILE");
  }
}

void SheetPrint::CLOSEPAG() {
  trap_.section("CLOSEPAG");
  if (OUTDEV == 1) {
    CLOSELEA();
  } else if (OUTDEV != 2 && OUTDEV != 3 && plot_open) {
    rt::put_bytes(PAGEFILE, "\x0c");  // every printer page ends with a form feed
  }
}

void SheetPrint::page_sequence() {
  OPENPAGE();
  PAYGESIZ();
  const bool reduced = SHEETMODE == 3;
  if (!reduced) LETTERHE();
  SYMBS();
  DSAMP();
  if (OUTDEV == 1) NEWSTREA();
  if (!reduced) {
    CURFONT = 1;
    FSETFONT(1);
  }
  HEADERR();
  if (reduced) {
    SOILDIVS();
  } else {
    BIGBOX();
    DIVISION();
    DESCRIPT();
  }
  SCALES();
  if (!reduced) {
    BORDERS();
    SHOOTLAY();
    NOATES();
    FOOTER();
  }
  if (OUTDEV == 1) {
    CLOSESTR();
    if (!reduced) PDFUNDER();
  }
  CLOSEPAG();
}

std::int32_t SheetPrint::first_record(std::int32_t item) const {
  std::int32_t r = 1;
  for (std::int32_t j = 1; j < item; ++j) r += j <= LAYERCOUNT ? LAYERLINES(j) : NOTELINES(j - LAYERCOUNT);
  return r;
}

std::string SheetPrint::description_line(std::int32_t record) {
  std::string line;
  PIREAD(line, record, dwork(WORKSECOND));
  REPLAZE(line, HARDSPCODE, " ");
  REPLAZE(line, std::string(1, '\x14'), " ");
  REPLAZE(line, std::string(1, '\x17'), "");
  return line;
}

void SheetPrint::say_unplaced(std::int32_t item) {
  const bool note = item > LAYERCOUNT;
  const std::string text = "Hole " + rt::TRIM(HEADER(20)) + ": the text of " + (note ? "note" : "layer") +
                           rt::STR(static_cast<std::int64_t>(note ? item - LAYERCOUNT : item)) +
                           " fits on no page and is left out.";
  show_message(text);
  rt::fault_logged(text);
}

void SheetPrint::run() {
  PRELIM();
  OPENDESC();
  ZIGZAGS();
  // A text block that lies on no page is said once.
  for (std::int32_t j = 1; j <= LAYERCOUNT + NOTECOUNT; ++j) {
    bool placed = false;
    for (std::int32_t p = 1; p <= PAGECOUNT && !placed; ++p) {
      const std::int32_t start = PAGESTART(p);
      const std::int32_t end = p < PAGECOUNT ? PAGESTART(p + 1) : start + PAGELENGTH - HEADDOTS - FOOTDOTS;
      const std::int32_t bottom = j <= LAYERCOUNT ? TEXTBOTTOM(j) : ITEMBOTTOM(j);
      placed = end >= bottom && start <= TEXTTOP(j);
    }
    if (!placed) say_unplaced(j);
  }
  const std::int32_t pages = PAGECOUNT;
  if (SHEETMODE == 2 && pages > 1) {
    const std::string text = "Hole " + rt::TRIM(HEADER(20)) + ": the one-page sheet is cut at the page end (the hole needs" +
                             rt::STR(static_cast<std::int64_t>(pages)) + " pages).";
    show_message(text);
    rt::fault_logged(text);
  }
  // In sheet mode 2 the symbol column makes the sheet one page (PAGECOUNT 1): the loop ends after it.
  for (PAGENO = 1; PAGENO <= pages && PAGENO <= PAGECOUNT; ++PAGENO) page_sequence();
  say_crowded_labels();
  CLOSEDES();
  if (LIBFILE > 0 && rt::is_open(LIBFILE)) rt::close_file(LIBFILE);
  LIBFILE = 0;
  if (ATTRCOUNT > 0 && SHEETMODE != 3 && sheet_hand_over().prolog) {
    sheet_hand_over().prolog();
  } else {
    PROSTOP();
  }
}

void PROPRINT() {
  RT_TRAP(trap, "PROPRINT");
  SheetPrint sheet(trap);
  sheet.run();
}
