// PROFORMA's choice of scale: the first record of the scales file at which the hole's depth span fits
// on its pages (strictly), not below the hole's smallest allowed denominator SCALEDIV.
//
// The scales file is "scales.MET" (metres) or "scales.IMP" (feet) in the engine folder; its records
// follow the line "BEGIN": denominator, unit word, labelled division, tick interval. A record whose
// denominator, division or interval is not above 0 is skipped and said once (it would divide by zero
// here and never end the ticks of the depth scale), and so is one whose ticks would stand closer than
// two dots (more ticks than a page can show: an interval of 1e-300 or 1e-6); a file without a "BEGIN" line is said as such. A
// number too large for its place (a denominator of 4294967296) and a record cut short at the end of the
// file are said once, naming the file and line: the record is skipped, the end of the file ends the
// search, and a hole that no record fits gets no sheet, as when no record fits.
#include <cmath>
#include <set>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proforma.h"

namespace {

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(v)); }

// The closest the depth scale's ticks stand, in dots: a page shows at most one tick per this many dots.
constexpr double kLeastTickDots = 2;

// The single-precision value of 25.4, as the sheet's metric scales have always used it.
constexpr double kInch = static_cast<double>(25.4f);

// READSCAL: the next usable record; false at the end of the file. Runs under the reading trap of
// FINDSCAL, which names the file and line of the first fault it meets.
bool READSCAL(FormaState& st, rt::Trap& reading, bool& said) {
  st.trap->section("READSCAL");
  reading.section("READSCAL");
  for (;;) {
    std::string n, unit, tick, step;
    if (rt::at_eof(st.scales_file)) return false;
    if (!rt::input_item(st.scales_file, n)) return false;
    if (rt::TRIM(n).empty()) continue;  // an empty line
    // A record cut short ends the file (said by the trap: "Input past end", file and line).
    if (!rt::input_item(st.scales_file, unit) ||
        !rt::input_item(st.scales_file, tick) || !rt::input_item(st.scales_file, step))
      return false;
    // A number too large for its place is said by the trap once (file and line); the record is skipped.
    const int faults = reading.error_count();
    std::int32_t denom = 0, division = 0;
    rt::let(denom, rt::VAL(n));
    rt::let(division, rt::VAL(tick));
    if (reading.error_count() > faults) continue;
    const double interval = rt::VAL(step);
    // Ticks closer than kLeastTickDots would be more than a page can show (an interval of 1e-300
    // would never end the depth scale, one of 1e-6 fill a PDF with millions of ticks).
    const char* fault = nullptr;
    if (denom <= 0 || division <= 0 || !(interval > 0)) fault = "values must be above 0";
    else if (!(interval * (UNITDOTS / denom) >= kLeastTickDots)) fault = "its ticks would stand closer than a page can show";
    if (fault) {
      // Said once per record in a run, however many holes read the file.
      static std::set<std::string> said_records;
      const std::string record = st.scales_name + "|" + n + "," + unit + "," + tick + "," + step;
      if (!said && said_records.insert(record).second) {
        said = true;
        const std::string text = st.scales_name + " line" +
                                 rt::STR(static_cast<std::int64_t>(rt::line_number(st.scales_file))) +
                                 ": scale record " + n + "," + unit + "," + tick + "," + step +
                                 " skipped (" + fault + ").";
        show_message(text, 0, {st.scales_name});
        rt::fault_logged(text);
      }
      continue;
    }
    SCALEDENOM = denom;
    const long i = rt::INSTR(unit, "i");
    if (i > 0) unit[static_cast<size_t>(i - 1)] = '"';
    SCALEUNIT = unit;
    SCALETICK = division;
    SCALESTEP = interval;
    DOTSPERUNIT = UNITDOTS / denom;
    UNITSPERLINE = LINEPITCH > 0 ? DOTSPERUNIT / LINEPITCH : 0;
    return true;
  }
}

void close_scales(FormaState& st) {
  if (st.scales_file > 0 && rt::is_open(st.scales_file)) rt::close_file(st.scales_file);
  st.scales_file = 0;
}

}  // namespace

void FINDSCAL(FormaState& st) {
  st.trap->section("FINDSCAL");
  std::string ext;
  if (SCALEOPT == 1) {
    ext = ".MET", UNITDOTS = 1000 * 300 / kInch;
  } else if (SCALEOPT == 2) {
    ext = ".IMP", UNITDOTS = 12 * 300;
  }
  // Opened by the name it was found by (its check's lookup serves the open); named in capitals.
  const std::string file = "scales" + ext;
  if (!rt::file_exists(file)) {
    NOFILE("SCALES*");
    ABORTFOR(st, "File not found : SCALES*", false);
  }
  st.scales_name = "SCALES" + ext;
  st.scales_file = rt::FREEFILE();
  if (!rt::open_file(st.scales_file, file, rt::FileMode::Input)) {
    st.scales_file = 0;
    ABORTFOR(st, "File not found : SCALES*");
  }
  rt::engine_file(st.scales_file);
  // Every fault met while the file is read is said once, naming the file and line; the reading goes on
  // with what it has (a damaged record is skipped, a record cut short ends the file).
  rt::Trap reading(st.trap->module(), "FINDSCAL");
  reading.reading(st.scales_file, st.scales_name);
  std::string line;
  bool begun = false;
  while (!rt::at_eof(st.scales_file) && rt::line_input(st.scales_file, line)) {
    if (rt::UCASE(line) == "BEGIN") {
      begun = true;
      break;
    }
  }
  if (!begun) ABORTFOR(st, st.scales_name + " has no BEGIN line before its scales.");

  DEPTHSPAN = LAYERDEPTH(LAYERCOUNT) - PAGEDEPTH(1);
  const double span = DEPTHSPAN;
  if (st.fixed_scale) SCALEDIV = 100;
  if (SCALEDIV > 0) {
    std::int64_t over = rounded(span / SCALEDIV * UNITDOTS) - st.room_last + LOGHEADDOTS;
    std::int32_t pages = 1;
    while (over > 0 && pages <= 12) {
      ++pages;
      over -= st.room;
    }
    if (PAGECOUNT < pages) PAGECOUNT = pages;
  }
  st.avail = static_cast<std::int64_t>(st.room) * (PAGECOUNT - 1) + st.room_last - LOGHEADDOTS;
  if (PAGECOUNT > 12) ABORTFOR(st, PROMPT(40));
  if (st.avail > 32765) ABORTFOR(st, PROMPT(95));
  SCALEDENOM = 0;
  bool said = false;
  for (;;) {
    if (!READSCAL(st, reading, said)) ABORTFOR(st, PROMPT(48));
    if (SCALEDENOM >= SCALEDIV && st.avail - rounded(span / SCALEDENOM * UNITDOTS) > 0) break;
  }
  close_scales(st);
}

void close_scales_file(FormaState& st) { close_scales(st); }
