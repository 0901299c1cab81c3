// The coded hole file of PROCONV: MAKEFILE names it, FILEDATA writes it.
//
// One coded hole file per hole, PROFILECODE + ".TRX" in the engine folder: text lines ended by CR LF,
// in a fixed order of sections without markers, which the hole coder reads back in the same order:
//   HEADERS   the version text, header items 1..22, item 38 (the hole's own vocabulary)
//   UNDISTUR  the hole's text colour, three numbers
//   DISTURBE  a count n, n sample texts, n sample depths
//   NOATES    a count m, m notes
//   DESCRIPT  a count d, the d layer records of "Dwork.1"
//   ATTRIBUT  a count a, a attribute names, a record counts, then the records of "Awork.2" (as many
//             as the counts add up to)
//   ABBREVIA  a count b, b abbreviation lines
//   OTHERDAT  header items 43..46, 49, 53..61 (item 58, the top depth, with a decimal point)
//   and two end lines of two and three characters 180.
// A count is written as the runtime writes a number: a blank before a value of zero or more (" 3").
#include <algorithm>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

constexpr std::int32_t kPauseEvery = 20;  // coded hole files between two pauses for pending warnings
constexpr long kOwnCodes = 99;  // the first codes of its own for the holes of one job code: "_01".."_99"
// The characters of the further spare codes: a hole or job name gives letters and digits only, so a
// code that holds "-" or "_" is never a hole's own code.
constexpr std::string_view kSpareChars = "-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_";

bool code_used(const ConvState& st, const std::string& code) { return st.USEDCODES.count(code) != 0; }

// Spare code number k (from 0) of a job code, six characters as every coded file's name: "_01".."_99"
// after the job code, then every three characters of kSpareChars after it that hold a "-" or "_" (8216
// more), then four, five and six such characters after the first two, one and no characters of the
// job code. Empty for a number that is no spare code; "" at the end of them all is never reached
// (more than 2.6 million codes for each job code).
std::string spare_code(const std::string& job, long k) {
  if (k < kOwnCodes) return job + "_" + rt::RIGHT("0" + std::to_string(k + 1), 2);
  k -= kOwnCodes;
  const long base = static_cast<long>(kSpareChars.size());
  for (size_t tail = 3; tail <= 6; ++tail) {
    long combinations = 1;
    for (size_t i = 0; i < tail; ++i) combinations *= base;
    if (k >= combinations) {
      k -= combinations;
      continue;
    }
    std::string code = job.substr(0, 6 - tail);
    std::string end(tail, ' ');
    for (size_t i = tail; i-- > 0; k /= base) end[i] = kSpareChars[static_cast<size_t>(k % base)];
    if (end.find_first_of("-_") == std::string::npos) return {};
    return code + end;
  }
  return {};
}

// A code for a hole whose code an earlier hole of this conversion has: the next spare code of its job
// code that no hole of this conversion has, so that every hole keeps its own coded file and result.
std::string own_code(ConvState& st) {
  long& next = st.SPARENEXT[st.JOBCODE];
  for (;; ++next) {
    const std::string code = spare_code(st.JOBCODE, next);
    if (!code.empty() && !code_used(st, code)) return code;
  }
}

}  // namespace

void MAKEFILE(ConvState& st) {
  st.section("MAKEFILE", "0001");
  st.JOBCODE = rt::RIGHT("000" + ALPHNUM(HEADER(22)), 3);
  st.HOLECODE = rt::RIGHT("000" + ALPHNUM(HEADER(20)), 3);
  if (rt::TRIM(HEADER(22)).empty()) HEADER(22) = st.JOBCODE;
  if (rt::TRIM(HEADER(20)).empty()) HEADER(20) = st.HOLECODE;
  PROFILECODE = st.JOBCODE + st.HOLECODE;

  // Two holes of the same code must not share one coded file: the later one gets a code of its own,
  // and the user is told. Only a person at the console is asked whether to go on.
  if (code_used(st, PROFILECODE)) {
    st.step("0002");
    auto& con = platform::console();
    const std::string taken = PROFILECODE;
    PROFILECODE = own_code(st);
    con.beep();
    con.print("", true);
    const std::string said = PROMPT(21) + " " + taken + " -> " + PROFILECODE + " (hole " + rt::TRIM(HEADER(20)) + ")";
    con.print(said, true);
    // Written down too: the selection and the run file's hole list know the hole by this code. Nothing
    // is lost, so the exit code stays as it is.
    rt::log_note(said + " in " + SOURCENAME);
    st.WARNFLAG = 1;
    if (RUNFLAGS == 0 && con.interactive()) {
      st.step("0003");
      con.print(PROMPT(20), false);
      con.flush();
      const std::string key = con.wait_key();
      con.print("", true);
      if (key == "\x1b") EXXIT(st);
    }
  }
  st.USEDCODES.insert(PROFILECODE);
}

void FILEDATA(ConvState& st) {
  st.section("FILEDATA", "0001");
  auto& con = platform::console();
  st.TRXCHAN = rt::FREEFILE();
  // The coded file is written whole or not at all: a file cut by a full disk or a failing device would
  // be drawn as a blank sheet of no hole. A hole whose file cannot be written gets no sheet, and the
  // console and ERROR.LOG name the hole and the file.
  const std::string trx = PROFILECODE + ".TRX";
  std::string failure;
  // A hole whose layers or attributes had no work file to go to would be drawn without them.
  std::string work = failed_work_file(DWORKBASE);
  if (work.empty()) work = failed_work_file(AWORKBASE);
  if (!work.empty()) {
    st.step("0013");
    const std::string said = "the work file " + work + " cannot be opened in the engine folder; the hole gets no sheet.";
    con.print("", true);
    con.print("Hole " + rt::TRIM(HEADER(20)) + ": " + said, true);
    input_fault(st, said);
    st.WARNFLAG = 1;
  } else if (rt::open_new_file(st.TRXCHAN, trx, rt::FileMode::Output, &failure)) {
    const int f = st.TRXCHAN;
    // After a write that failed the rest of the file is not tried.
    bool written = true;
    auto line = [f, &written](const std::string& text) {
      if (written) written = rt::print_line(f, text);
    };
    // A count never promises more lines than its table holds.
    auto count = [&line](long n, long most) {
      n = std::clamp(n, 0L, most);
      line(rt::STR(static_cast<std::int64_t>(n)));
      return n;
    };
    std::string text;

    st.step("0002");  // HEADERS
    line(VERSION);
    for (long i = 1; i <= 22; ++i) line(HEADER(i));
    line(HEADER(38));
    st.step("0003");  // UNDISTUR
    line(st.HOLERGB);

    st.step("0004");  // DISTURBE
    const long samples = count(st.DSAMPN, DSAMP1.ubound());
    for (long i = 1; i <= samples; ++i) line(DSAMP1(i));
    for (long i = 1; i <= samples; ++i) line(DSAMP2(i));
    st.step("0005");  // NOATES
    const long notes = count(st.NOTENUM, NOTE.ubound());
    for (long i = 1; i <= notes; ++i) line(NOTE(i));

    st.step("0006");  // DESCRIPT
    const long layers = count(DESCRCOUNT, 32767);
    for (long r = 1; r <= layers; ++r) {
      PIREAD(text, static_cast<std::int32_t>(r), DWORKBASE + WORKFIRST);
      line(text);
    }

    st.step("0007");  // ATTRIBUT
    const long attributes = count(st.ATTRN, ATTRNAME.ubound());
    for (long i = 1; i <= attributes; ++i) line(ATTRNAME(i));
    for (long i = 1; i <= attributes; ++i) line(rt::STR(static_cast<std::int64_t>(ATTRWIDTH(i))));
    for (long r = 1; r <= st.ATTRRECS && r <= 32767; ++r) {
      PIREAD(text, static_cast<std::int32_t>(r), AWORKBASE + WORKSECOND);
      line(text);
    }

    st.step("0008");  // ABBREVIA
    const long abbreviations = count(st.ABBRN, ABBREV.ubound());
    for (long i = 1; i <= abbreviations; ++i) line(ABBREV(i));

    st.step("0009");  // OTHERDAT
    FNCOMMA(HEADER(58));
    for (long i : {43, 44, 45, 46, 49}) line(HEADER(i));
    for (long i = 53; i <= 61; ++i) line(HEADER(i));
    line(std::string(2, static_cast<char>(180)));
    line(std::string(3, static_cast<char>(180)));
    if (!written) {
      failure = rt::write_failure(f);
      rt::abandon_file(f);
    } else {
      rt::commit_file(f, &failure);
    }
  }
  if (work.empty() && failure.empty()) {
    st.step("0010");
    con.print(PROFILECODE, true);
    ++st.TRXCOUNT;
  } else if (!failure.empty()) {
    st.step("0012");
    const std::string said = "its coded file " + trx + " cannot be written (" + failure + "); the hole gets no sheet.";
    con.print("", true);
    con.print("Hole " + rt::TRIM(HEADER(20)) + ": " + said, true);
    input_fault(st, said);
    st.WARNFLAG = 1;
  }

  st.step("0011");
  if (st.TRXCOUNT > 0 && st.TRXCOUNT % kPauseEvery == 0 && st.WARNFLAG > 0) {
    con.print(rt::UCASE(PROMPT(22)), true);
    if (con.interactive()) con.print(PROMPT(110), false);  // no key is asked for where no one is there
    con.flush();
    con.wait_key();
    st.WARNFLAG = 0;
  }
  if (st.BINDFLAG > 0) NOTELIST += "|" + PROFILECODE + NOTENAME + "|";
}
