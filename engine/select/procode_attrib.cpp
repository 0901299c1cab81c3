// The last sections of the hole coder: ATTRIBUT (with CUTSTRIN), ABBREVIA, OTHERDAT, and the switch to
// a hole's own vocabulary, SWITCHTA.
//
// Faults this code does not let through:
//  - attributes beyond 30, attribute lines beyond 2000 and abbreviation lines beyond 31 are read and
//    dropped (the hole's message says so); the record counts of the attributes kept still add up to
//    the lines kept;
//  - a setting whose value does not fit a 32-bit number keeps its value (said as well);
//  - the hole's scale written as people write it, "1:50", gives the divisor 50 (its numeric value is 1);
//  - a hole without a scale gets the best fitting one, not the scale of the hole before it;
//  - a hole's own abbreviations do not stay for the holes after it: ABBREVIA keeps the name of the
//    vocabulary in force, which the next hole's header section reads again (procode.cpp).
#include <algorithm>
#include <limits>

#include "engine/convert/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/select/procode.h"
#include "engine/select/select.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

constexpr std::int32_t kMostAbbreviationLines = 31;  // a title and 30 abbreviations

// The value of a setting's text rounded to a whole number; false when it does not fit 32 bits.
bool whole_value(const std::string& text, std::int32_t& value) {
  const double v = rt::round_even(rt::VAL(text));
  if (!(v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max())) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

// The divisor of a scale as written: "1:50" (blanks allowed around ":") gives 50, a plain number itself.
bool scale_value(const std::string& text, std::int32_t& value) {
  const std::string s = rt::TRIM(text);
  if (const size_t colon = s.find(':'); colon != std::string::npos && rt::TRIM(s.substr(0, colon)) == "1")
    return whole_value(s.substr(colon + 1), value);
  return whole_value(s, value);
}

}  // namespace

void CUTSTRIN(std::string& line) {
  for (;;) {
    const long a = rt::INSTR(line, "[");
    if (a == 0) return;
    const long b = rt::INSTR(a, line, "]");
    if (b == 0) return;
    line = rt::TRIM(rt::LEFT(line, a - 1) + rt::MID(line, b + 1));
  }
}

void ATTRIBUT(CoderState& st) {
  st.section("ATTRIBUT", "0001");
  PIOPEN("Awork.1", WORKFIRST + AWORKBASE);
  PIOPEN("Awork.2", WORKSECOND + AWORKBASE);
  PIINIT(WORKSECOND + AWORKBASE);
  const std::int64_t n = count_line(st);
  const std::int64_t kept = std::min<std::int64_t>(n, ATTRNAME.ubound());
  if (n > kept) left_out(st, "attributes");
  ATTRCOUNT = static_cast<std::int32_t>(kept);

  st.step("0002");
  for (std::int64_t i = 1; i <= n; ++i) {
    if (!next_line(st, st.L)) break;
    REPLAZE(st.L, ULWORDCODE, SYMULCODE);
    if (i <= kept) ATTRNAME(static_cast<long>(i)) = st.L;
  }
  // The record counts: those of the attributes kept make ATTRTOTAL; the lines of all are read.
  st.step("0003");
  std::int64_t lines = 0, total = 0;
  for (std::int64_t i = 1; i <= n; ++i) {
    if (!next_line(st, st.L)) break;
    REPLAZE(st.L, ULWORDCODE, SYMULCODE);
    const double v = rt::round_even(rt::VAL(st.L));
    const std::int64_t width = v > 0 ? static_cast<std::int64_t>(std::min(v, 1e9)) : 0;
    lines += width;
    if (i > kept) continue;
    // Records beyond the table: the attribute that reaches the bound is cut there, later ones dropped.
    const std::int64_t room = ATTRROWFIELDS.ubound() - total;
    if (width > room) {
      left_out(st, "attribute lines");
      if (room <= 0) {
        ATTRCOUNT = static_cast<std::int32_t>(std::min<std::int64_t>(ATTRCOUNT, i - 1));
        continue;
      }
    }
    ATTRWIDTH(static_cast<long>(i)) = static_cast<std::int32_t>(std::min(width, room));
    total += std::min(width, room);
  }
  ATTRTOTAL = static_cast<std::int32_t>(total);

  st.step("0004");
  for (std::int64_t i = 1; i <= lines; ++i) {
    if (!next_line(st, st.L)) break;
    if (i > total) continue;
    REPLAZE(st.L, ULWORDCODE, SYMULCODE);
    PIWRITE(st.L, static_cast<std::int32_t>(i), WORKSECOND + AWORKBASE);
    std::string cut = st.L;
    CUTSTRIN(cut);
    std::string delims = " ";
    PARSVARS(cut, delims);
    ATTRROWFIELDS(static_cast<long>(i)) = PARSEDCOUNT;
  }
  st.step("0005");
  close_channel_files(AWORKBASE);
}

void ABBREVIA(CoderState& st) {
  st.section("ABBREVIA", "0001");
  const std::int64_t n = count_line(st);
  if (n <= 0) return;
  if (n > kMostAbbreviationLines) left_out(st, "abbreviations");
  ABBRCOUNT = static_cast<std::int32_t>(std::min<std::int64_t>(n, kMostAbbreviationLines));
  for (std::int64_t i = 1; i <= n; ++i) {
    if (!next_line(st, st.L)) break;
    if (i >= 2 && i - 1 <= ABBREV.ubound()) ABBREV(static_cast<long>(i - 1)) = st.L;
  }
  for (std::int64_t i = n; i <= 15; ++i) ABBREV(static_cast<long>(i)) = "";
  if (ABBRCOUNT > 1) --ABBRCOUNT;
  // No vocabulary counts as loaded now; the next hole reads the one in force again.
  if (!VOCABNAME.empty()) st.vocab_in_force = VOCABNAME;
  VOCABNAME.clear();
}

void OTHERDAT(CoderState& st) {
  st.section("OTHERDAT", "0001");
  for (long i : {43, 44, 45, 46, 49, 53, 54, 55, 56, 57, 58, 59, 60, 61}) next_line(st, HEADER(i));

  st.step("0002");
  // Every hole starts from the run's own choice (the scale given to the run, else the best fitting
  // one): a hole without a scale of its own is never drawn at the scale an earlier hole asked for,
  // so a hole gets the same scale whichever holes were drawn before it.
  if (FORCEDSCALE != 0) {
    SCALEDIV = FORCEDSCALE;
  } else {
    SCALEDIV = 0;
    if (!rt::TRIM(HEADER(3)).empty() && !scale_value(HEADER(3), SCALEDIV)) left_out(st, "scale");
  }

  st.step("0003");
  const struct {
    long item;
    std::int32_t* global;
  } settings[] = {{43, &ATTRLMARGIN}, {44, &ATTRRMARGIN}, {45, &PROFLMARGIN}, {46, &PROFRMARGIN},
                  {49, &SUPPRESS},    {53, &INDENT},      {57, &COMPRESSLOG}, {59, &SYMBOLDPI}};
  for (const auto& s : settings) {
    if (rt::TRIM(HEADER(s.item)).empty()) continue;
    if (!whole_value(HEADER(s.item), *s.global)) left_out(st, "setting" + rt::STR(static_cast<std::int64_t>(s.item)));
  }
  if (COMPRESSLOG != 0 && COMPRESSLOG <= 1200 && COMPRESSLOG > PROFLMARGIN) PROFLMARGIN = COMPRESSLOG;
}

void SWITCHTA(CoderState& st) {
  st.section("SWITCHTA", "0001");
  std::string name = rt::UCASE(VOCABNAME), ext;
  SPLITFIL("PROVOCAB", name, ext);
  VOCABNAME = name + "." + ext;
  if (!rt::file_exists(VOCABNAME)) {
    st.section("LINE15", "0001");
    const std::string text = PROMPT(55) + " " + VOCABNAME + "  " + PROMPT(56) + " " + VOCABSETNAME;
    MESSAGE(text, 1);
    // The hole's symbols come from another vocabulary than the one it names: the run did not draw it
    // as asked.
    rt::fault_logged("Hole " + rt::TRIM(HEADER(20)) + ": " + text);
    VOCABNAME = VOCABSETNAME;
    HEADER(38).clear();
    platform::console().pause_ms(5000);
  }
  st.step("0002");
  READVOCB(VOCABNAME);
}
