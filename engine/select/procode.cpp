// PROCODE, the hole coder: the driver and the sections of the coded file up to the notes.
//
// For each entry of INFILE the hole's coded file is opened and read in one fixed order (TRANSFER):
// the version line, HEADERS, UNDISTUR, DISTURBE, NOATES, DESCRIPT, ATTRIBUT, ABBREVIA, OTHERDAT; then
// the sheet layout gets the hole (PROFORMA through the hand-over). After the last hole the summary
// sheet follows when the run asked for one, and for PDF the run's files are joined.
//
// Faults this code does not let through:
//  - a count that promises more than a table holds (samples, notes, layers, attributes, attribute lines,
//    abbreviations) or a setting beyond a 32-bit number stores nothing beyond the bound: the surplus lines
//    are read and dropped, and the hole's message says what was left out, once;
//  - a one-shot run that codes no hole at all says so and ends with exit code 1, and so does one in which
//    a listed coded file is missing;
//  - the grid rows R are at least 1 on a console of 5 rows or fewer;
//  - every loop over lines ends where the coded file ends.
#include "engine/select/procode.h"

#include <algorithm>

#include "engine/convert/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/command.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/select/select.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

constexpr std::int64_t kMostLines = 1000000000;  // a count line is never taken above this

const std::string& two_slashes() {
  static const std::string s(2, static_cast<char>(180));
  return s;
}

// Says a fault of the run on the console and in ERROR.LOG.
void say(const std::string& text) {
  show_message(text);
  rt::fault_logged(text);
}

}  // namespace

CoderHandOver& coder_hand_over() {
  static CoderHandOver h;
  return h;
}

bool next_line(CoderState& st, std::string& text) {
  text.clear();
  if (st.file <= 0 || !rt::is_open(st.file) || st.pos >= rt::LOF(st.file)) return false;
  LINEINPU(st.file, text, st.pos);
  return true;
}

std::int64_t count_line(CoderState& st) {
  std::string text;
  next_line(st, text);
  const double v = rt::round_even(rt::VAL(text));
  if (!(v > 0)) return 0;
  return v > static_cast<double>(kMostLines) ? kMostLines : static_cast<std::int64_t>(v);
}

void close_channel_files(std::int32_t first) {
  for (std::int32_t c = first; c <= first + 3; ++c) {
    if (PIFILE(c) > 0) rt::close_file(PIFILE(c));
    PIFILE(c) = 0;
  }
}

void left_out(CoderState& st, const std::string& what) {
  if (rt::INSTR(st.limits_said, what) > 0) return;
  st.limits_said += (st.limits_said.empty() ? "" : ", ") + what;
}

// The place (from 1) of the hole of code in the selection grid; 0 for a hole of the catalogue that the
// grid has no room for (chosen with ALL). A code not in the grid's list is hole 1 otherwise (a one-shot
// run has no grid).
std::int32_t hole_number(const std::string& code) {
  const long p = rt::INSTR(HOLELIST, code);
  if (p == 0) return !HOLELIST.empty() && HOLECATALOG.size() > HOLELIST.size() ? 0 : 1;
  return static_cast<std::int32_t>((p - 1) / 10 + 1);
}

// Two column marks in a row anywhere in the holes to be coded put every text of the run in two
// columns: the holes before the one that holds them as well as those after it.
static void run_columns() {
  if (COLUMNCODE.empty()) return;
  const std::string twice = COLUMNCODE + COLUMNCODE;
  for (size_t at = 0; at + 6 <= INFILE.size() && NOTECOLUMNS < 2; at += 10) {
    const std::string name = rt::TRIM(INFILE.substr(at, 6)) + ".TRX";
    if (!rt::file_exists(name)) continue;
    const int f = rt::FREEFILE();
    if (!rt::open_file(f, name, rt::FileMode::Binary)) continue;
    const std::int64_t size = rt::LOF(f);
    const std::string bytes = size > 0 ? rt::get_bytes(f, static_cast<size_t>(size)) : std::string();
    rt::close_file(f);
    if (bytes.find(twice) != std::string::npos) NOTECOLUMNS = 2;
  }
}

void PRELIM(CoderState& st) {
  st.section("PRELIM", "0001");
  CRLF = "\r\n";
  st.marks = SYMCODE + BREAKCODE + HARDSPCODE + INDONCODE + INDOFFCODE + FONTSWCODE + COLUMNCODE + NOSYMCODE +
             ULWORDCODE;
  st.grid_rows = std::max<std::int32_t>(1, CONROWS - 5);
  NOTECOLUMNS = 0;
  run_columns();
  DONECOUNT = 0;
  st.symbol_number = 0;
  st.repeat_text.clear();
  st.symbol_numbers.clear();
  // No layer has given a colour yet: the sample lines of the first hole are keyed without one (the
  // global also carries the drawing's colour text, which is no colour image).
  RGBFLAG = 0;
  RGBTEXT.assign(4, '\0');
}

void GETFILE(CoderState& st) {
  st.section("GETFILE", "0001");
  PROFILECODE = rt::LEFT(INFILE, 10);
  hole_file_code = rt::TRIM(rt::LEFT(PROFILECODE, 6));
  st.file_name = hole_file_code + ".TRX";
  // The entry is taken off the front in place: a copy of the rest of the list for every hole would
  // cost the square of the number of holes.
  if (INFILE.size() > 11) INFILE.erase(0, 10);
  else INFILE.clear();
}

void SHOWPIC(CoderState& st, const std::string& mark, const std::string& code) {
  const std::int32_t n = hole_number(code);
  if (n <= 0) return;  // a hole the grid does not show
  const std::int32_t row = PICKGRIDROW + (n - 1) % st.grid_rows;
  const std::int32_t col = PICKGRIDCOL + PICKCOLX + (n - 1) / st.grid_rows * PICKCOLW;
  if (row == 0 || col == 0) return;
  auto& con = platform::console();
  con.locate(row, col);
  con.print(mark, false);
}

void OPENFILE(CoderState& st) {
  st.section("OPENFILE", "0001");
  if (RUNFLAGS & 1) RUNFLAGS |= 0x1000;
  st.file = rt::FREEFILE();
  if (!rt::open_file(st.file, st.file_name, rt::FileMode::Binary)) st.file = 0;
  st.pos = 0;
  st.limits_said.clear();
  LAYERCOUNT = 0;
  NOTECOUNT = 0;
  ++st.holes_coded;
  SHOWPIC(st, "<====", PROFILECODE);
}

void TRANSFER(CoderState& st) {
  st.section("TRANSFER", "0001");
  st.pos = 0;
  std::string version;
  next_line(st, version);
  HEADERS(st);
  UNDISTUR(st);
  DISTURBE(st);
  NOATES(st);
  DESCRIPT(st);
  ATTRIBUT(st);
  ABBREVIA(st);
  OTHERDAT(st);
  st.section("TRANSFER", "0002");
  // Without a screen (a run from the run file without a terminal) the clear would be a line of blanks.
  auto& con = platform::console();
  if (con.interactive()) {
    con.locate(CONROWS - 1, 1);
    con.print(rt::SPACE(60), false);
  }
}

void HEADERS(CoderState& st) {
  st.section("HEADERS", "0001");
  for (long i = 1; i <= 22; ++i) next_line(st, HEADER(i));
  next_line(st, HEADER(38));
  // The hole before brought its own abbreviations into the vocabulary's table: the vocabulary in force
  // (the run's, unless an earlier hole of the call switched to its own) is read again, so that this
  // hole does not show them.
  if (const std::string& in_force = st.vocab_in_force.empty() ? VOCABSETNAME : st.vocab_in_force;
      VOCABNAME.empty() && HEADER(38).empty() && !in_force.empty()) {
    st.step("0002");
    VOCABNAME = in_force;
    READVOCB(VOCABNAME);
  }
  if (!HEADER(38).empty() && HEADER(38) != VOCABNAME) {
    st.step("0003");
    VOCABNAME = HEADER(38);
    SWITCHTA(st);
  }
}

void UNDISTUR(CoderState& st) {
  st.section("UNDISTUR", "0001");
  next_line(st, TEXTRGB);
}

void DISTURBE(CoderState& st) {
  st.section("DISTURBE", "0001");
  const std::int64_t n = count_line(st);
  const std::int64_t kept = std::min<std::int64_t>(n, MAXSAMPLES);
  if (n > kept) left_out(st, "samples");
  DSAMPCOUNT = static_cast<std::int32_t>(kept);
  for (rt::Array<std::string>* samples : {&DSAMP1, &DSAMP2}) {
    st.step(samples == &DSAMP1 ? "0002" : "0003");
    for (std::int64_t i = 1; i <= n; ++i) {
      if (!next_line(st, st.L)) break;
      REPLAZE(st.L, ULWORDCODE, SYMULCODE);
      KEYWORDS_PASS(st);
      if (i <= kept) (*samples)(static_cast<long>(i)) = st.L;
    }
  }
}

void NOATES(CoderState& st) {
  st.section("NOATES", "0001");
  const std::int64_t n = count_line(st);
  std::int32_t k = 0;
  for (std::int64_t i = 1; i <= n; ++i) {
    if (!next_line(st, st.L)) break;
    st.L = rt::TRIM(st.L);
    if (st.L == two_slashes()) break;
    if (k >= NOTE.ubound()) {
      left_out(st, "notes");
      continue;
    }
    REPLAZE(st.L, ULWORDCODE, SYMULCODE);
    BLANKS(st);
    TWOCOLUM(st);
    NOTE(++k) = st.L;
  }
  NOTECOUNT = k;
}

void SIGNOFF(CoderState& st) {
  st.section("SIGNOFF", "0001");
  // The hole is found in the grid by the code of its coded file, as OPENFILE found it: by now the
  // sheet has worked PROFILECODE out again from the header, which for the second of two holes whose
  // codes collided (BH101, TP101: 0J1101 and 0J1_01) is the first's.
  const std::string code = rt::LSET(hole_file_code, 10);
  if (!PROFILECODE.empty() && rt::RIGHT(PROFILECODE, 3) != "END") SHOWPIC(st, "<   -", code);
  ++DONECOUNT;
  // The list feeds the progress marks of the join only; holes beyond it are coded but not recorded.
  if (DONELIST.in_bounds(DONECOUNT)) DONELIST(DONECOUNT) = hole_number(code);
}

void PROCODE() {
  RT_TRAP(trap, "PROCODE");
  CoderState st(trap);
  st.section("PROCODE", "0001");
  auto& con = platform::console();
  auto& h = coder_hand_over();
  // The run may refuse the holes chosen before any is drawn (a target that one of their results would
  // replace): nothing of them is coded, joined or copied.
  if (!INFILE.empty() && h.may_draw && !h.may_draw()) {
    INFILE.clear();
    return;
  }
  if (con.interactive()) MESSOFF();
  PRELIM(st);

  while (!INFILE.empty()) {
    st.section("PROCODE", "0002");
    MARKCHARS = st.marks;
    GETFILE(st);
    if (rt::file_exists(st.file_name)) {
      OPENFILE(st);
      TRANSFER(st);
      // A coded file that cannot be read back whole would be drawn as a blank or cut sheet: the hole
      // gets none, and the console and ERROR.LOG name it and its file.
      if (const std::string unread = rt::take_read_failure(st.file); !unread.empty()) {
        st.section("PROCODE", "0007");
        const std::string hole = rt::TRIM(HEADER(20));
        say("The coded file " + st.file_name + (hole.empty() ? std::string() : " of hole " + hole) +
            " cannot be read back (" + unread + "); the hole gets no sheet.");
        rt::close_all();
        st.file = 0;
        continue;
      }
      // Nor is a hole drawn whose layers or attributes found no work file to go to.
      std::string work = failed_work_file(DWORKBASE);
      if (work.empty()) work = failed_work_file(AWORKBASE);
      if (!work.empty()) {
        st.section("PROCODE", "0008");
        say("Hole " + rt::TRIM(HEADER(20)) + " (" + st.file_name + "): the work file " + work +
            " cannot be opened in the engine folder; the hole gets no sheet.");
        rt::close_all();
        st.file = 0;
        continue;
      }
      if (!st.limits_said.empty()) {
        const std::string text = st.file_name + " " + PROMPT(151) + " " + st.limits_said;
        MESSAGE(text, 1);
        rt::fault_logged(text);
        con.pause_ms(3000);
      }
      st.section("PROCODE", "0003");
      if (h.proforma) h.proforma();
      SIGNOFF(st);
      rt::close_all();
      st.file = 0;
    } else {
      st.section("PROCODE", "0004");
      const std::string text = "<" + st.file_name + "> " + PROMPT(56);
      MESSAGE(text, 1);
      con.pause_ms(3000);
      ++st.holes_missing;
      if (RUNFLAGS & 1) rt::log_note(text);
    }
  }

  st.section("PROCODE", "0005");
  if (RUNFLAGS & 1) {
    if (st.holes_coded == 0) say(PROMPT(150));
    if (st.holes_coded == 0 || st.holes_missing > 0) rt::set_exit_code(1);
  }

  // A run that coded no hole makes nothing: no legend of no symbols, and no joined file that would
  // replace the target of an earlier run with it.
  const bool made = st.holes_coded > 0;
  if (made && !SUMMARYKEY.empty()) {
    st.section("PROCODE", "0006");
    const std::int32_t scale = SCALEDIV, forced = FORCEDSCALE, right = PROFRMARGIN, left = PROFLMARGIN,
                       log_right = ATTRRMARGIN;
    if (h.prosumma) h.prosumma();
    if (h.proforma) h.proforma();
    SCALEDIV = scale, FORCEDSCALE = forced, PROFRMARGIN = right, PROFLMARGIN = left, ATTRRMARGIN = log_right;
  }

  if (made && OUTDEV == 1) {
    st.section("COMBINER", "0001");
    bool join = RUNFLAGS != 0;
    // No question when this pass made no PDF: there is nothing to join.
    if (!join && OUTLIST.find_first_not_of('|') != std::string::npos) {
      // The line is the question's alone: a message of the drawing has had its second there.
      CLEARPRO();
      std::string answer;
      PUTONE(PROMPT(147), answer);
      join = rt::INSTR(PROMPT(147), "(" + rt::UCASE(answer) + "=") > 0;
    }
    if (join) {
      if (h.combine) h.combine();
      else COMBINE();
    }
  }
  place_run_target();
  DONECOUNT = 0;
}
