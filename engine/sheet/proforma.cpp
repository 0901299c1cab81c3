// PROFORMA: the layout of one sheet (a hole's, or the summary's after PROSUMMA).
//
// It reads the sheet data the hole coder left (the globals and the layer records of Dwork.1), folds
// every layer and note into the printed lines of Dwork.2, takes each layer's depth and symbols out of
// its tags, chooses the scale, finds the pages, and hands the sheet to PROPRINT.
//
// A layout that ends without a sheet (more than 12 pages, no fitting scale, no scales file, a sheet too
// long for the page-length limit, more than 12 symbols in a layer) says why, writes the hole and the
// reason to ERROR.LOG and lets the run go on with the next hole; a one-shot run then ends with exit
// code 1 (a hole of the run got no result). Each hole is laid out from the SET file's page length: the
// length a long hole grew to on a plotter holds for that hole only.
#include "engine/sheet/proforma.h"

#include <cmath>

#include "engine/convert/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
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

// The single-precision value of 0.76, the height of an abbreviation row per log header row.
constexpr double kAbbrevRow = static_cast<double>(0.76f);

void close_channels() {
  for (std::int32_t ch : {WORKFIRST + DWORKBASE, WORKSECOND + DWORKBASE}) {
    for (std::int32_t k : {ch, ch + 1}) {
      if (k >= PIFILE.lbound() && k <= PIFILE.ubound() && PIFILE(k) > 0 && rt::is_open(PIFILE(k)))
        rt::close_file(PIFILE(k));
    }
  }
}

std::int32_t words_of(const std::string& text) {
  std::string delims = " ";
  PARSVARS(text, delims);
  return PARSEDCOUNT;
}

// H: the most words of an attribute name, its tags cut out, and of the titles of the scale strips that
// the log draws beside its columns: beside the profile when the compress code puts columns there, else
// on the log's own pages. The scale, and with it the unit word of the depth title, is chosen after the
// rows are reserved; a unit is one word.
std::int32_t log_rows() {
  std::int32_t most = 0;
  for (std::int32_t a = 1; a <= ATTRCOUNT && a <= ATTRNAME.ubound(); ++a) most = std::max(most, words_of(cut_tags(ATTRNAME(a))));
  const std::string digits = rt::RSET(rt::STR(static_cast<std::int64_t>(SUPPRESS)), 5);
  const std::int32_t hundreds = rt::to_i32(rt::VAL(rt::MID(digits, 3, 1)));
  const bool swapped = (hundreds & 4) != 0;
  const bool left = swapped ? (hundreds & 2) == 0 : (hundreds & 1) == 0;
  const bool right = swapped ? (hundreds & 1) == 0 : (hundreds & 2) == 0;
  const std::string unit = "m";
  const std::int32_t beside = COMPRESSLOG > 0 ? COMPRESSLOG % 10 : -1;
  if (beside == 0) most = std::max(most, log_scale_title_rows(left, false, swapped, unit));
  if (beside > 0) most = std::max(most, log_scale_title_rows(false, right, swapped, unit));
  if (beside < 0) most = std::max(most, log_scale_title_rows(left, right, swapped, unit));
  if (beside > 0 && ATTRCOUNT > beside) most = std::max(most, log_scale_title_rows(left, false, swapped, unit));
  return most;
}

// The point size of a font code: the number just before its first "v" (0 when none).
double point_size(const std::string& code) {
  const size_t v = code.find('v');
  if (v == std::string::npos) return 0;
  size_t s = v;
  while (s > 0 && static_cast<unsigned char>(code[s - 1]) < 58) --s;
  return rt::VAL(code.substr(s, v - s));
}

void edges_and_rows(FormaState& st) {
  LEFTEDGE = 450 + A3SHIFT;
  RIGHTEDGE = 2250 + A3SHIFT;
  LOGHEADDOTS = 0;
  // A negative compress code puts the log on pages of its own, for the layout, the log and the
  // assembly of the PDF pages alike (said once per run).
  if (COMPRESSLOG < 0) {
    static bool said = false;
    if (!said) {
      said = true;
      show_message("A negative compress code counts as 0: the log goes on pages of its own.");
    }
    COMPRESSLOG = 0;
  }
  if (ATTRCOUNT < 1 && COMPRESSLOG > 0) COMPRESSLOG = 0;
  st.rows = ATTRCOUNT >= 1 ? log_rows() : 0;
  double points = point_size(FONTSPEC(3));
  if (points == 0) {
    show_message("Font 3 of the SET file gives no point size; the log rows take 10 pt.");
    points = 10;
  }
  LAYOUTPITCH = 5 * points;
  if (COMPRESSLOG > 0) {
    if (PROFLMARGIN < 150) PROFLMARGIN = 150;
    LOGHEADDOTS = rounded(LAYOUTPITCH * st.rows);
  } else if (ATTRCOUNT >= 1 && st.rows < 3) {
    st.rows = 3;
  }
  if (ATTRCOUNT >= 1 && (COMPRESSLOG == 0 || COMPRESSLOG % 10 != 0)) {
    const std::int32_t head =
        rounded(kAbbrevRow * LAYOUTPITCH * ABBRCOUNT + 1.5 * kAbbrevRow * LAYOUTPITCH + 12);
    if (HEADDOTS < head) HEADDOTS = head;
  }
  LOGHEADROWS = st.rows;
  SHEETX1 = PROFLMARGIN + LEFTEDGE;
  TEXTX = SHEETX1 + 406;
}

// The top depth and every layer's depth must lie where a sheet can draw them: a hole with one beyond
// (a depth of 2000000 or 4294967296 typed by mistake) gets no sheet, said once, rather than positions
// far outside any page.
void check_depths(FormaState& st) {
  const auto said = [](double d) { return rt::TRIM(rt::STR(d)); };
  const std::string deepest = said(kDeepestDepth);
  const double top = rt::VAL(HEADER(58));
  if (!depth_drawable(top))
    ABORTFOR(st, "Top depth " + said(top) + " is beyond what a sheet can draw (" + deepest + " at most).");
  for (std::int32_t i = 1; i <= LAYERCOUNT; ++i) {
    if (!depth_drawable(LAYERDEPTH(i)))
      ABORTFOR(st, "Depth " + said(LAYERDEPTH(i)) + " of layer " + rt::STR_TRIM(static_cast<std::int64_t>(i)) +
                       " is beyond what a sheet can draw (" + deepest + " at most).");
  }
}

}  // namespace

std::string log_depth_title(const std::string& unit) { return VOCAB(28) + " " + VOCAB(3) + " " + unit; }

std::int32_t log_scale_title_rows(bool left, bool right, bool swapped, const std::string& unit) {
  const std::string depth = log_depth_title(unit), level = VOCAB(27);
  std::int32_t rows = 0;
  if (left) rows = std::max(rows, words_of(swapped ? depth : level));
  if (right) rows = std::max(rows, words_of(swapped ? level : depth));
  return rows;
}

std::int32_t FNLMIN(std::int32_t a, std::int32_t b) { return a < b ? a : b; }

void PRELIMIN(FormaState& st) {
  st.trap->section("PRELIMIN");
  CRLF = std::string("\r\n");
  CURFONT = 1;
  SCALEX = rounded(TEXTX - 3 * FONTWIDTH(1));
  SCALEXLONG = rounded(TEXTX - 6 * FONTWIDTH(1));
  SHEETX0 = SHEETX1 - 16;
  SHEETX2 = SHEETX1 + 150;
  ULINEON = "\x1b&dD";
  ULINEOFF = "\x1b&d@";
  BREAKCHARS = " " + SYMCODE + SYMULCODE;
  MARKCHARS = SYMCODE + HARDSPCODE;
  SCALEDENOM = 0;
  GAPWIDTH.dim(1, 30);
  const std::string word = VOCAB(23);
  st.fixed_scale = !word.empty() && rt::LEFT(HEADER(21), static_cast<long>(word.size())) == word;
  st.fixed_word = !word.empty() && rt::INSTR(HEADER(21), word) > 0;
  st.one_sheet = OUTDEV == 2 || OUTDEV == 3;
  if (st.one_sheet) {
    ULINEON = ULINEOFF = " ";
    for (std::int32_t f = 1; f <= 3; ++f) HPGLFONT(f) = "";
  }
  for (long i = LAYERLINES.lbound(); i <= LAYERLINES.ubound(); ++i) LAYERLINES(i) = 0;
}

void HEADERCO(FormaState& st) {
  st.trap->section("HEADERCO");
  for (std::int32_t i = 1; i <= 22; ++i) {
    std::int32_t words = 0;
    std::string item = HEADER(i);
    FNUNDERL(item, words);
    REPLAZE(item, SYMULCODE, ULINEON);
    REPLAZE(item, CTRL2, ULINEOFF);
    HEADER(i) = item;
  }
}

void OPENDESC(FormaState& st) {
  st.trap->section("OPENDESC");
  PIOPEN("Dwork.1", WORKFIRST + DWORKBASE);
  PIOPEN("Dwork.2", WORKSECOND + DWORKBASE);
}

void CLOSEDES(FormaState& st) {
  st.trap->section("CLOSEDES");
  close_channels();
}

void ABORTFOR(FormaState& st, const std::string& text, bool show) {
  close_scales_file(st);
  close_channels();
  if (show) show_message("* " + text, 1, {}, MessageHold::kKey);
  sheet_not_drawn = true;
  rt::log_note("Hole " + rt::TRIM(HEADER(20)) + " (" + rt::TRIM(PROFILECODE) + "): no sheet drawn: " + text);
  if ((RUNFLAGS & 1) != 0) rt::set_exit_code(1);
  throw LeaveLayout{};
}

void PROFORMA() {
  RT_TRAP(trap, "PROFORMA");
  FormaState st;
  st.trap = &trap;
  sheet_not_drawn = false;
  if (PAGELENGTHSET > 0) PAGELENGTH = PAGELENGTHSET;
  st.items = LAYERCOUNT + NOTECOUNT;
  const size_t slots = static_cast<size_t>(st.items) + 2;
  st.lines.assign(slots, 0);
  st.hd.assign(slots, 0);
  st.low.assign(slots, 0);
  st.b.assign(slots, 0);
  st.has_break.assign(slots, false);
  try {
    edges_and_rows(st);
    PRELIMIN(st);
    HEADERCO(st);
    OPENDESC(st);
    const char forced = '\x14';
    for (std::int32_t i = 1; i <= LAYERCOUNT; ++i) {
      std::string t;
      PIREAD(t, i, WORKFIRST + DWORKBASE);
      st.has_break[static_cast<size_t>(i)] = t.find(forced) != std::string::npos;
    }
    for (std::int32_t k = 1; k <= NOTECOUNT; ++k)
      st.has_break[static_cast<size_t>(LAYERCOUNT + k)] = NOTE(k).find(forced) != std::string::npos;
    COUNTSCR(st);
    COUNTNOT(st);
    if (LAYERCOUNT > 0) {
      check_depths(st);
      page_search(st);
      while (st.one_sheet && PAGECOUNT > 1) {
        PAGELENGTH = rounded(PAGELENGTH * std::sqrt(2.0));
        page_search(st);
      }
    } else {
      notes_layout(st);
    }
    CLOSEDES(st);
  } catch (const LeaveLayout&) {
    return;
  }
  if (sheet_hand_over().proprint) {
    sheet_hand_over().proprint();
  } else {
    PROPRINT();
  }
}
