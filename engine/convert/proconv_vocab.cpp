// Sections of PROCONV that load the conversion vocabularies: FETCHVOC (the CONVOCAB files of the SET
// file's extension list and "userconv.dat") and READPAIN (the paint library).
//
// A CONVOCAB file: free lines up to a BEGIN line; the header keyword block up to an END line (every
// line, lower-cased, joins CONVBLOCK; "<NN" after a keyword names its header field, "<NN>>" marks a
// field that is emptied before every hole); free lines up to the next BEGIN line; then exactly 23
// lines, line n joining word list n. A PAINTLIB file: free lines up to BEGIN, then "/name = r g b."
// entries up to END.
//
// Each file is read under a trap of its own, so that a file that ends early is reported once (input
// past end) and the reading of that file stops there; what was read stays. A vocabulary file that is
// missing is written in ERROR.LOG too and ends the run with exit code 1.
#include <vector>

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

constexpr int kListLines = 23;

// The lists whose words are compared in lower case (the others keep the case of the file).
constexpr int kLowerLists[] = {3, 4, 6, 7, 14, 15, 16, 17, 23};
// The lists that make up CONVALL, in this order.
constexpr int kAllLists[] = {3, 4, 14, 15, 16, 17, 23};

// Lines of a vocabulary file; false once the file has ended (reported by the first read past it).
class VocabularyLines {
 public:
  explicit VocabularyLines(int file) : file_(file) {}
  bool next(std::string& line) {
    if (ended_) return false;
    if (!rt::line_input(file_, line)) ended_ = true;
    return !ended_;
  }
  // Skips to the line that reads word once trimmed and upper-cased.
  bool skip_to(const char* word) {
    std::string line;
    while (next(line))
      if (rt::UCASE(rt::TRIM(line)) == word) return true;
    return false;
  }

 private:
  int file_;
  bool ended_ = false;
};

// A header field code of a keyword line: the two characters before its first ">>". Recorded once,
// over all files (a plain substring test of the codes joined so far); CONVCODE holds ten.
void record_code(ConvState& st, const std::string& line, const std::string& file) {
  const long p = rt::INSTR(line, ">>");
  if (p < 3) return;  // no code, or fewer than two characters before the ">>"
  const std::string code = rt::MID(line, p - 2, 2);
  if (rt::INSTR(st.CONVCODES, code) > 0) return;
  if (st.CONVCODECOUNT >= st.CONVCODE.ubound()) {
    const std::string said = "More than " + rt::STR_TRIM(static_cast<int>(st.CONVCODE.ubound())) +
                             " per-hole header fields in " + file + "; field " + code + " keeps its value from hole to hole.";
    platform::console().print(said, true);
    rt::fault_logged(said);
    st.WARNFLAG = 1;
    return;
  }
  st.CONVCODES += code;
  ++st.CONVCODECOUNT;
  rt::let(st.CONVCODE(st.CONVCODECOUNT), rt::VAL(code));
}

// Reads one CONVOCAB file that exists into the keyword block, the codes and its 23 list lines.
void read_convocab(ConvState& st, const std::string& name, std::array<std::string, kListLines + 1>& lines) {
  rt::Trap trap("proconv.cpp", "FETCHVOC");
  trap.step("0002");
  VOCCHAN = rt::FREEFILE();
  if (!rt::open_file(VOCCHAN, name, rt::FileMode::Input)) return;
  rt::engine_file(VOCCHAN);
  VocabularyLines in(VOCCHAN);
  if (in.skip_to("BEGIN")) {
    trap.step("0003");
    while (in.next(CONVLINE)) {
      if (rt::UCASE(rt::TRIM(CONVLINE)) == "END") break;
      st.CONVBLOCK += rt::LCASE(CONVLINE);
      record_code(st, CONVLINE, name);
    }
    trap.step("0004");
    if (in.skip_to("BEGIN"))
      for (int n = 1; n <= kListLines && in.next(CONVLINE); ++n) lines[static_cast<size_t>(n)] = CONVLINE;
  }
  rt::close_file(VOCCHAN);
}

}  // namespace

void FETCHVOC(ConvState& st) {
  st.section("FETCHVOC", "0001");
  auto& con = platform::console();
  std::string separators = " ,+";
  PARSVARS(st.CONVEXTS, separators);
  const std::int32_t count = PARSEDCOUNT;
  std::vector<std::string> extensions;
  for (long i = 1; i <= count; ++i) extensions.push_back(PARSED(i));

  for (const std::string& word : extensions) {
    st.step("0002");
    st.CONVEXT = word;
    if (const long dot = rt::INSTR(word, "."); dot > 0) st.CONVEXT = rt::MID(word, dot + 1);
    const std::string name = "CONVOCAB." + st.CONVEXT;
    st.PAINTNAME = "PAINTLIB." + st.CONVEXT;
    if (!rt::file_exists(name)) {
      // The input's words of this vocabulary are not recognised.
      con.print(name + " " + PROMPT(78), true);
      rt::fault_logged_once(name + " " + PROMPT(78));
      st.WARNFLAG = 1;
      continue;
    }
    std::array<std::string, kListLines + 1> lines;
    read_convocab(st, name, lines);
    // The sample-block word of line 2 is a sample word too (list 5).
    std::string heading = lines[2];
    REMOVE(heading, ":");
    REMOVE(heading, "/");
    lines[5] += heading + "/";
    for (int n = 1; n <= kListLines; ++n) {
      const std::string& line = lines[static_cast<size_t>(n)];
      if (n == 21) VOCABNAME += line;
      else if (n == 22) CONVWORDS += rt::LCASE(line);
      else st.CONVLIST[static_cast<size_t>(n)] += line;
    }
  }

  st.step("0003");
  con.cls();
  if (st.CONVBLOCK.empty()) {
    con.print(PROMPT(79), true);
    rt::fault_logged(PROMPT(79));
    st.WARNFLAG = 1;
    EXXIT(st);
  }
  st.step("0004");
  for (int n : kLowerLists) st.CONVLIST[static_cast<size_t>(n)] = rt::LCASE(st.CONVLIST[static_cast<size_t>(n)]);
  st.CONVALL.clear();
  for (int n : kAllLists) st.CONVALL += st.CONVLIST[static_cast<size_t>(n)];
  st.step("0005");
  USERDATA("userconv.dat", st.USERCONV);
  st.CONVALL += rt::LCASE(st.USERCONV);
  READPAIN(st);
}

void READPAIN(ConvState& st) {
  st.section("READPAIN", "0001");
  auto& con = platform::console();
  if (!rt::file_exists(st.PAINTNAME)) {
    con.beep();
    // The input's paint words cannot be drawn in their colours.
    con.print(st.PAINTNAME + " " + PROMPT(78), true);
    rt::fault_logged_once(st.PAINTNAME + " " + PROMPT(78));
    st.WARNFLAG = 1;
    con.flush();
    con.wait_key();
    return;
  }
  rt::Trap trap("proconv.cpp", "READPAIN");
  trap.step("0002");
  VOCCHAN = rt::FREEFILE();
  if (!rt::open_file(VOCCHAN, st.PAINTNAME, rt::FileMode::Input)) return;
  rt::engine_file(VOCCHAN);
  VocabularyLines in(VOCCHAN);
  if (in.skip_to("BEGIN")) {
    trap.step("0003");
    while (in.next(CONVLINE)) {
      DELBLINK(CONVLINE);
      if (rt::UCASE(rt::TRIM(CONVLINE)) == "END") break;
      PAINTWORDS += rt::LCASE(CONVLINE);
    }
  }
  rt::close_file(VOCCHAN);
}
