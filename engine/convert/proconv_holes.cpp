// The hole loop of PROCONV: HOLEDETA reads the input a second time, hole block by hole block, and
// runs for each hole the header pass HOLEHEAD, MAKEFILE, the layer and notes passes and FILEDATA,
// with the hole's four work channels open around them.
#include <cstdint>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

const std::string kEndOfData(3, static_cast<char>(180));

// The longest text a work channel holds.
constexpr std::size_t kMaxRecordText = 32767;

// The text colour of a hole whose conversion has named none yet.
constexpr const char* kDefaultHoleColour = "1.000  0.000  0.000";

// Closes one file of a work channel: PIFILE(slot) is the index file of channel slot, or the text
// file of channel slot - 1.
void close_work_file(std::int32_t slot) {
  if (PIFILE(slot) > 0) rt::close_file(PIFILE(slot));
  PIFILE(slot) = 0;
}

}  // namespace

void HOLEDETA(ConvState& st) {
  st.section("HOLEDETA", "0001");
  // The line reader starts every conversion outside a verbatim block.
  VERBATIM = 0;
  VERBATIMCOL = 0;
  CONVCHAN = rt::FREEFILE();
  if (!rt::open_file(CONVCHAN, st.INNAME, rt::FileMode::Binary)) return;
  LINECOUNT = text_start(CONVCHAN);
  LOOKBACK = 0;
  st.HOLENO = 0;
  while (LINECOUNT < INFILELEN) {
    ++st.HOLENO;
    HOLEHEAD(st);
    st.section("HOLEDETA", "0002");
    if (CONVLINE == kEndOfData) break;
    // The input ended within a header: the pre-scan counted slash lines that the hole pass reads as
    // text (inside a verbatim block). No hole is left to convert.
    if (input_ended()) break;
    MAKEFILE(st);
    st.section("HOLEDETA", "0003");
    OPENDESC(st);
    OPENATTR(st);
    EDITLAYE(st);
    EDITNOTE(st);
    FILEDATA(st);
    st.section("HOLEDETA", "0004");
    CLOSEDES(st);
    CLOSEATT(st);
  }
  // A verbatim block that no line closes has taken in the rest of the input, the slash lines of the
  // holes after it too: those holes are not converted, and the user must know.
  if (VERBATIM != 0) {
    auto& con = platform::console();
    con.print("", true);
    con.print(PROMPT(96), true);
    st.LINEAT = VERBATIMSTART;
    input_fault(st, PROMPT(96));
    st.WARNFLAG = 1;
  }
  rt::close_file(CONVCHAN);
}

void OPENDESC(ConvState& st) {
  st.section("OPENDESC", "0001");
  PIOPEN("Dwork.1", DWORKBASE + WORKFIRST);
  PIOPEN("Dwork.2", DWORKBASE + WORKSECOND);
}

void OPENATTR(ConvState& st) {
  st.section("OPENATTR", "0001");
  PIOPEN("Awork.1", AWORKBASE + WORKFIRST);
  PIOPEN("Awork.2", AWORKBASE + WORKSECOND);
}

void CLOSEDES(ConvState& st) {
  st.section("CLOSEDES", "0001");
  close_work_file(DWORKBASE + WORKFIRST);
  close_work_file(DWORKBASE + WORKSECOND);
  close_work_file(DWORKBASE + WORKFIRST + 1);
  close_work_file(DWORKBASE + WORKSECOND + 1);
}

void CLOSEATT(ConvState& st) {
  st.section("CLOSEATT", "0001");
  close_work_file(AWORKBASE + WORKFIRST);
  close_work_file(AWORKBASE + WORKSECOND);
  close_work_file(AWORKBASE + WORKFIRST + 1);
  close_work_file(AWORKBASE + WORKSECOND + 1);
}

void write_work_record(ConvState& st, const std::string& text, std::int32_t n, std::int32_t channel) {
  if (text.size() <= kMaxRecordText) {
    PIWRITE(text, n, channel);
    return;
  }
  if (!st.LONGLINETOLD) {
    auto& con = platform::console();
    con.print("Lines longer than " + rt::STR_TRIM(static_cast<int>(kMaxRecordText)) +
                  " characters are cut there; the first in this hole:",
              true);
    con.print("<" + rt::LEFT(text, 60) + "...>", true);
    input_fault(st, "Lines longer than " + rt::STR_TRIM(static_cast<int>(kMaxRecordText)) +
                        " characters are cut there: <" + rt::LEFT(text, 60) + "...>");
    st.WARNFLAG = 1;
    st.LONGLINETOLD = true;
  }
  PIWRITE(text.substr(0, kMaxRecordText), n, channel);
}

void FLUSHHEA(ConvState& st) {
  st.section("FLUSHHEA", "0001");
  clear_hole_fields(st);
  for (long i = 1; i <= st.DSAMPN && i <= DSAMP1.ubound(); ++i) {
    DSAMP1(i).clear();
    DSAMP2(i).clear();
  }
  for (long i = 1; i <= 36; ++i) NOTE(i).clear();
  st.DSAMPN = 0;
  st.BINDFLAG = 0;
  st.LONGLINETOLD = false;
  HEADER(20).clear();
  NOTENAME.clear();
}

void HOLEHEAD(ConvState& st) {
  FLUSHHEA(st);
  st.section("HOLEHEAD", "0001");
  FETCHNEX(CONVCHAN, CONVLINE);
  st.LINEAT = LINESTART;
  // The header ends at the first slash line of any level, or at the end of the input.
  while (!is_slash_marker(CONVLINE) && !input_ended()) {
    // The next line, with the continuation lines of the current one joined to it.
    std::int32_t next_at = 0;
    while (true) {
      st.section("HOLEHEAD", "0002");
      FETCHNEX(CONVCHAN, st.NEXTLINE);
      next_at = LINESTART;
      // The Bezier setting is looked for on every line but the block's first, continuations too.
      const long bezier = rt::INSTR(rt::UCASE(st.NEXTLINE), "BEZIER");
      if (bezier > 0) {
        const long colon = rt::INSTR(bezier, st.NEXTLINE, ":");
        // A number beyond the setting's range changes nothing.
        const double value = rt::round_even(rt::VAL(rt::MID(st.NEXTLINE, colon + 1)));
        if (colon > 0 && value >= INT16_MIN && value <= INT16_MAX) BEZIER = static_cast<std::int16_t>(value);
      }
      if (rt::LEFT(st.NEXTLINE, 3) != "   ") break;
      CONVLINE += " " + rt::TRIM(st.NEXTLINE);
    }

    st.section("HOLEHEAD", "0003");
    PARZE(st);
    if (st.VALUEPOS > 0) {
      st.FIELDVAL = rt::TRIM(rt::MID(CONVLINE, st.VALUEPOS));
      SELECTHE(st);
    } else if (st.COLONPOS < 1) {
      keyword_without_colon(st);
    }

    // The hole's text colour: the first colour marker of a header line that holds a colour word.
    st.section("HOLEHEAD", "0004");
    const std::int32_t p = FNPRES(st.NEXTLINE, CONVWORDS);
    if (p > 0 && rt::MID(st.NEXTLINE, p, 1) != ":") {
      INSERTRG(st.NEXTLINE);
      const long r = rt::INSTR(rt::LCASE(st.NEXTLINE), "[rgb");
      const long s = r > 0 ? rt::INSTR(r, st.NEXTLINE, "]") : 0;
      if (r > 0 && s > r) st.HOLERGB = rt::MID(st.NEXTLINE, r + 5, s - r - 5);
    } else if (p == 0 && st.HOLERGB.empty()) {
      st.HOLERGB = kDefaultHoleColour;
    }
    CONVLINE = st.NEXTLINE;
    st.LINEAT = next_at;
  }
}
