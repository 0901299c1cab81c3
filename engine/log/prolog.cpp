// PROLOG: the borehole-log pages of a hole, drawn after its profile pages, then the end of its plot.
//
// The log follows the profile's pagination: page p of the log covers the depth range of profile page
// p. The compress code decides which columns stand beside the profile (pass 1, on the profile pages'
// left band) and which on pages of their own (pass 2); both passes draw every page through BOTHPAGE.
//
// What this code does not let through:
//  - the log ends no plot stream: the end of the HP-GL/2 and DXF plot files and of the printer job is
//    written once, by the end of the plot (PROSTOP); the printer's log pages go into the hole's one
//    stream, each ended by a form feed;
//  - a compressed hole leaves the attribute page's right margin as it found it, for the holes after it;
//  - at most 25 columns (a further one is said once and left out) and 3000 records;
//  - a font 3 without a point size gives titles of 10 pt, as the profile layout takes it.
#include "engine/frame/console.h"
#include "engine/log/prolog.h"

#include <algorithm>
#include <cmath>

#include "engine/convert/convert.h"
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/log/globals.h"
#include "engine/log/log.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proprint.h"
#include "engine/sheet/sheet.h"

namespace {

constexpr std::int32_t kMostColumns = 25;
constexpr std::int32_t kMostRecords = 3000;

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(std::clamp(v, -2.0e9, 2.0e9))); }

// The value of header item n, when n names one.
std::string header_item(double n) {
  const long i = static_cast<long>(rt::round_even(n));
  return i >= HEADER.lbound() && i <= HEADER.ubound() && HEADER.exists() ? HEADER(i) : std::string();
}

void say(const std::string& text) {
  show_message(text);
  rt::fault_logged(text);
}

}  // namespace

void LogDraw::split_columns() {
  trap_.section("PROLOG");
  if (COMPRESSLOG > 0) {
    FIRSTCOLS = static_cast<std::int16_t>(COMPRESSLOG % 10);
    if (FIRSTCOLS == 0) {
      FIRSTCOLS = static_cast<std::int16_t>(ATTRCOUNT);
      LOGMODE = 1;
    } else {
      LOGMODE = 2;
    }
    if (FIRSTCOLS > ATTRCOUNT) FIRSTCOLS = static_cast<std::int16_t>(ATTRCOUNT);
    RESTCOLS = static_cast<std::int16_t>(ATTRCOUNT - FIRSTCOLS);
    ATTRRMARGIN = 0;
  } else {
    LOGMODE = 0;
    FIRSTCOLS = 0;
    RESTCOLS = static_cast<std::int16_t>(ATTRCOUNT);
  }
}

void LogDraw::run() {
  TEXTDEPTH.dim(0, kMostRecords);
  ATTRSTART.dim(0, kMostColumns);
  const std::int32_t attributes = ATTRCOUNT, right_margin = ATTRRMARGIN;
  if (ATTRCOUNT > kMostColumns) {
    say("Hole " + rt::TRIM(HEADER(20)) + ": a log has at most 25 columns; column " +
        rt::STR_TRIM(static_cast<std::int64_t>(kMostColumns + 1)) + " and after are left out.");
    ATTRCOUNT = kMostColumns;
  }
  split_columns();
  OPENATTR();
  PRELIM();
  FINDSTAR();
  if (FIRSTCOLS > 0) {
    LOGPASS = 1;
    FROMCOL = static_cast<std::int16_t>(RESTCOLS + 1);
    TOCOL = static_cast<std::int16_t>(ATTRCOUNT);
    BOTHPAGE();
  }
  if (RESTCOLS > 0) {
    LOGPASS = 2;
    const std::int32_t kept = COMPRESSLOG;
    COMPRESSLOG = 0;
    FROMCOL = 1;
    TOCOL = RESTCOLS;
    BOTHPAGE();
    COMPRESSLOG = kept;
  }
  CLOSEATT();
  ATTRRMARGIN = right_margin;
  ATTRCOUNT = attributes;
}

void LogDraw::BOTHPAGE() {
  trap_.section("BOTHPAGE");
  MARGINSE();
  // The titles of the pass's scale strips stand in the title rows as the column titles do.
  NAMEROWS = std::max(COLUMNROWS, log_scale_title_rows(LEFTSCALEW > 0, RIGHTSCALEW > 0, SWAPSCALES, SCALEUNIT));
  FINDCOLU();
  fit_columns();
  FORMATLO();
  const std::int32_t last = PAGECOUNT;
  for (PAGENO = 1; PAGENO <= last; ++PAGENO) {
    OPENPAGE();
    if (OUTDEV == 1) NEWSTREA();
    GLETTERH();
    HEADERR();
    BIGBOX();
    if (LAYERCOUNT > 0) {
      PAGELINE();
      SCALES();
      BORDERS();
      PRINTATT();
      FOOTER();
      SHOOTLAY();
    }
    if (OUTDEV == 1) CLOSESTR();
    CLOSEPAG();
  }
}

void LogDraw::PRELIM() {
  trap_.section("PRELIM");
  FOOTODD = static_cast<std::int16_t>(FOOTDOTS & 1);
  HOLETYPE = VOCAB(23).empty() ? 0 : static_cast<std::int32_t>(rt::INSTR(HEADER(21), VOCAB(23)));
  if (UNITSPERLINE > 0) QUARTERLINE = (1 / UNITSPERLINE) / 4;
  const std::string digits = rt::RSET(rt::STR(static_cast<std::int64_t>(SUPPRESS)), 5);
  LOGSUPPRESS1 = rt::to_i32(rt::VAL(rt::MID(digits, 5, 1)));
  LOGSUPPRESS10 = rt::to_i32(rt::VAL(rt::MID(digits, 4, 1)));
  LOGSUPPRESS100 = rt::to_i32(rt::VAL(rt::MID(digits, 3, 1)));
  // The point size: the number that ends just before the first "v" of font 3's code.
  const std::string& spec = FONTSPEC(3);
  if (const size_t v = spec.find('v'); v != std::string::npos && v > 0) {
    size_t s = v;
    while (s > 0 && static_cast<unsigned char>(spec[s - 1]) < 58) --s;
    if (s > 0) LOGPOINTSIZE = rt::to_i16(std::clamp(rt::VAL(spec.substr(s, v - s)), 0.0, 1000.0));
  }
  // Without a size the titles take 10 pt, as the width tables and the profile layout take such a font
  // (the layout has said so on the console).
  if (LOGPOINTSIZE <= 0) LOGPOINTSIZE = 10;
  std::string level = header_item(rt::VAL(VOCAB(32)));
  GROUNDLEVEL = rt::VAL(FNCOMMA(level));
  INCLINATION = 0;
  if (rt::VAL(VOCAB(33)) > 0)
    INCLINATION = rt::to_i16(std::clamp(rt::VAL(header_item(rt::VAL(VOCAB(33)))), -32000.0, 32000.0));
  SINGLEBLANK = ATTRCOUNT == 1 && ATTRNAME(1).empty();
  LOGRESERVE = rt::to_i16(std::clamp<double>(LOGHEADDOTS + FOOTDOTS + 3, -32000, 32000));
  LAYOUTPITCH = LOGPOINTSIZE * 5.0;
  TITLEPITCH = ABBRCOUNT > 0 ? (HEADDOTS - 40) / (ABBRCOUNT - 0.25) : 0;
  MARKCHARS = SYMCODE + HARDSPCODE;
  FIRSTPAGEDEPTH = PAGEDEPTH(1);
  VECTORDEV = OUTDEV == 2 || OUTDEV == 3 ? -1 : 0;
  NORLSCALE = (LOGSUPPRESS100 & 1) != 0;
  NODEPTHSCALE = (LOGSUPPRESS100 & 2) != 0;
  SWAPSCALES = (LOGSUPPRESS100 & 4) != 0;
  NAMEROWS = 0;
  for (std::int32_t i = 1; i <= ATTRCOUNT; ++i) {
    std::string title = ATTRNAME(i);
    CUTSTRIN(title);
    std::string delims = " ";
    PARSVARS(title, delims);
    NAMEROWS = std::max(NAMEROWS, PARSEDCOUNT);
  }
  COLUMNROWS = NAMEROWS;
}

void LogDraw::FINDSTAR() {
  trap_.section("FINDSTAR");
  std::int32_t s = 0;
  for (std::int32_t i = 1; i <= ATTRCOUNT; ++i) {
    ATTRSTART(i) = static_cast<std::int16_t>(std::min(s, kMostRecords));
    s += std::max(ATTRWIDTH(i), 0);
  }
}

void LogDraw::CUTSTRIN(std::string& text) {
  MARKERS.clear();
  for (;;) {
    const long p = rt::INSTR(text, "[");
    if (p == 0) return;
    const long q = rt::INSTR(p, text, "]");
    if (q == 0) return;
    MARKERS = rt::TRIM(rt::MID(text, p, q - p + 1)) + MARKERS;
    text = rt::TRIM(rt::LEFT(text, p - 1) + rt::MID(text, q + 1));
  }
}

void LogDraw::PAGELINE() {
  trap_.section("PAGELINE");
  const std::int32_t p = PAGENO;
  TOPDEPTH = PAGEDEPTH(p);
  PAGEORIGIN = PAGESTART(p);
  std::int32_t b = PAGELENGTH - HEADDOTS - LOGRESERVE + PAGEORIGIN;
  PAGEENDDOT = rounded(DOTSPERUNIT * TOPDEPTH + b);
  PAGEBOTTOM = b;
  if (p < PAGECOUNT) {
    b = PAGESTART(p + 1);
    PAGEENDDOT = rounded(DOTSPERUNIT * PAGEDEPTH(p + 1) + PAGESTART(p + 1));
    PAGEBOTTOM = FOOTODD == 1 ? rounded(PAGELENGTH - HEADDOTS - LAYOUTPITCH * NAMEROWS - FOOTDOTS + PAGESTART(p))
                              : rounded(PAGELENGTH - HEADDOTS - 34 - LAYOUTPITCH * NAMEROWS + PAGESTART(p));
  }
  PAGEENDDOT = rounded(PAGEENDDOT - DOTSPERUNIT * TOPDEPTH);
  PAGEFLOOR = FNPDOT(b);
  PAGEENDROW = rt::to_i16(std::clamp<double>(FNPDOT(PAGEENDDOT) + 1.0, -32000, 32000));
  if (LAYERCOUNT > 0) {
    HOLEBOTDOT = FNLDOT(LAYERDEPTH(LAYERCOUNT));
    HOLEBOTY = FNZDOT(LAYERDEPTH(LAYERCOUNT));
  }
}

void LogDraw::OPENPAGE() {
  trap_.section("OPENPAGE");
  const std::string page = rt::STR_TRIM(static_cast<std::int64_t>(PAGENO));
  if (OUTDEV == 1) {
    OPENLEAF("PAGER." + page);
  } else if (OUTDEV == 2 || OUTDEV == 3) {
    DXFUNIT = static_cast<double>(25.4f) * 40 / 300;
    // A separate log page on A4 stands one paper width beside the profile sheet.
    if (LOGPASS == 2 && PAPER == "A4") XOFFSET -= PAPERX;
    DXFXOFF = XOFFSET, DXFXSCALE = XSCALE, DXFYOFF = YOFFSET, DXFYSCALE = YSCALE;
  }
  // The printer: the page goes on in the hole's one stream, opened by the sheet.
}

void LogDraw::CLOSEPAG() {
  trap_.section("CLOSEPAG");
  if (OUTDEV == 1) {
    CLOSELEA();
  } else if (OUTDEV != 2 && OUTDEV != 3 && plot_open) {
    // Every printer page ends with a form feed; the job's end is written by the end of the plot. The
    // columns beside the profile come on a page of their own, since the profile page has gone out.
    rt::put_bytes(PAGEFILE, "\x0c");
  }
}

void LogDraw::GLETTERH() {
  trap_.section("GLETTERH");
  if (LOGPASS == 2 && rt::INSTR(rt::UCASE(HEADER(9)), "DRAFT") > 0) DRAFTMAR();
}

void LogDraw::OPENATTR() {
  trap_.section("OPENATTR");
  PIOPEN("Awork.1", WORKFIRST + AWORKBASE);
  PIOPEN("Awork.2", WORKSECOND + AWORKBASE);
  std::int32_t total = 0;
  for (std::int32_t i = 1; i <= ATTRCOUNT; ++i) total += std::max(ATTRWIDTH(i), 0);
  load_log_records(std::min(total, kMostRecords));
}

void LogDraw::CLOSEATT() {
  trap_.section("CLOSEATT");
  for (std::int32_t ch : {AWORKBASE + WORKFIRST, AWORKBASE + WORKSECOND}) {
    for (std::int32_t k : {ch, ch + 1}) {
      if (PIFILE(k) > 0 && rt::is_open(PIFILE(k))) rt::close_file(PIFILE(k));
    }
  }
  forget_log_records();
}

void PROLOG() {
  {
    RT_TRAP(trap, "PROLOG");
    LogDraw log(trap);
    log.run();
  }
  PROSTOP();
}
