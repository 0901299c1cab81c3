// BLOCKSLA: the pre-scan of PROCONV. It reads the whole input once, before any hole is converted, and
// checks the slash lines: each hole block ends with "//" after exactly two "/" lines, and "///" ends the
// data. A wrong structure converts nothing: the conversion ends through EXXIT.
#include <algorithm>
#include <limits>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

namespace {

constexpr std::int32_t kStopMark = 0x1000;  // RUNFLAGS: the conversion gave up, the selection codes nothing

// The name of the encoding when the input is UTF-16 text (a text editor's "Unicode" choice): a UTF-16
// byte-order mark, or, among its first 512 bytes, zero bytes in every other place only, at least one in
// four bytes (the high bytes of Latin text). Plain and UTF-8 text hold no such zeros. Empty for any
// other input.
std::string utf16_encoding(int channel, std::int64_t length) {
  if (length < 2) return {};
  rt::seek(channel, 1);
  const std::string head = rt::get_bytes(channel, 512);
  if (head.compare(0, 2, "\xFF\xFE") == 0) return "UTF-16 little-endian";
  if (head.compare(0, 2, "\xFE\xFF") == 0) return "UTF-16 big-endian";
  size_t zeros[2] = {0, 0};
  for (size_t i = 0; i < head.size(); ++i)
    if (head[i] == '\0') ++zeros[i % 2];
  const size_t enough = std::max<size_t>(1, head.size() / 4);
  if (zeros[0] == 0 && zeros[1] >= enough) return "UTF-16 little-endian";
  if (zeros[1] == 0 && zeros[0] >= enough) return "UTF-16 big-endian";
  return {};
}

// A line that names the hole in a hole header ("Hole Number : BH2"): its keyword fills field 20.
bool names_a_hole(const ConvState& st, const std::string& line) {
  const long colon = rt::INSTR(line, ":");
  if (colon < 2) return false;
  std::string keyword = rt::LEFT(line, colon - 1);
  for (const char* c : {".", "-", " "}) REMOVE(keyword, c);
  return !keyword.empty() && keyword_field(st, keyword) == 20;
}

// Said when a hole's "//" line is missing: the hole (its number and, when its header named it, its
// name), the input file, and the line before which the "//" should stand.
std::string end_missing(std::int32_t hole, const std::string& name, const std::string& file, std::int32_t line_no,
                        const std::string& line) {
  return "Hole" + rt::STR(hole) + (name.empty() ? std::string() : " (" + name + ")") + " of " + file + ": " +
         PROMPT(88) + rt::STR(line_no) + ": " + line;
}

// The name a hole-naming header line gives ("Hole Number : BH2" gives "BH2").
std::string hole_name_of(const std::string& line) { return rt::TRIM(rt::MID(line, rt::INSTR(line, ":") + 1)); }

}  // namespace

std::int32_t text_start(int channel) {
  if (rt::LOF(channel) < 3) return 0;
  rt::seek(channel, 1);
  return rt::get_bytes(channel, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

void BLOCKSLA(ConvState& st) {
  st.section("BLOCKSLA", "0001");
  auto& con = platform::console();
  st.BADHOLES.clear();
  st.SLASHCOUNT = 0;
  st.HOLECOUNT = 0;
  if (!rt::file_exists(st.INNAME)) {
    con.print(st.INNAME + " " + PROMPT(78), true);
    rt::fault_logged(st.INNAME + " " + PROMPT(78));
    st.WARNFLAG = 1;
    EXXIT(st);
  }

  st.step("0002");
  INCHAN = rt::FREEFILE();
  if (!rt::open_file(INCHAN, st.INNAME, rt::FileMode::Binary)) EXXIT(st);
  const std::int64_t length = rt::LOF(INCHAN);
  INFILELEN = static_cast<std::int32_t>(std::min<std::int64_t>(length, std::numeric_limits<std::int32_t>::max()));
  // A UTF-16 text would be read as lines of single characters between zero bytes: it is refused by
  // its encoding, not judged by its slash lines.
  if (const std::string encoding = utf16_encoding(INCHAN, length); !encoding.empty()) {
    rt::close_file(INCHAN);
    con.beep();
    con.print(" ", true);
    const std::string said = st.INNAME + " is " + encoding + " (\"Unicode\") text: save it as ANSI or UTF-8 text";
    con.print(said, true);
    rt::fault_logged(said);
    st.WARNFLAG = 1;
    EXXIT(st);
  }
  LINECOUNT = text_start(INCHAN);
  std::string line;
  std::int32_t line_no = 0;
  // A line naming a hole after the two "/" lines of a block: where the next hole starts, should a
  // third "/" show that this block's "//" line is missing.
  std::int32_t next_hole_no = 0;
  std::string next_hole;
  std::string hole_name;  // the name in the header of the hole being scanned
  // Each structure fault is said once, where it is met, and written to ERROR.LOG; the summary after
  // the scan does not repeat it.
  auto say_missing_end = [&](std::int32_t hole, std::int32_t at, const std::string& text) {
    const std::string said = end_missing(hole, hole_name, st.INNAME, at, text);
    con.print("", true);
    con.print(said, true);
    rt::log_note(said);
    st.ENDSMISSING += said + "\n";
    st.BLOCKERR = -1;
    st.WARNFLAG = 1;
  };
  while (LINECOUNT < INFILELEN) {
    st.step("0003");
    const std::int32_t before = LINECOUNT;
    line.clear();
    LINEINPU(INCHAN, line, LINECOUNT);
    if (LINECOUNT == before) break;  // a read that does not move on ends the scan
    ++line_no;
    line = FNATRIM(line);
    // A line that marks word-processor text (the first line of a converted document says "WORDPAD")
    // switches the remap of its characters on.
    if (rt::INSTR(rt::UCASE(line), "WORDPAD") > 0) WPMODE = 1;
    const std::int32_t in_block = st.SLASHCOUNT - 3 * st.HOLECOUNT;  // "/" lines of this block so far
    if (line == "/" && in_block == 2 && next_hole_no > 0) {
      // A third "/" after a line that names a hole: the "//" of this hole is missing, and that line
      // starts the next hole, whose header this "/" ends.
      ++st.HOLECOUNT;
      say_missing_end(st.HOLECOUNT, next_hole_no, next_hole);
      hole_name = hole_name_of(next_hole);
      st.SLASHCOUNT = 3 * st.HOLECOUNT + 1;
      next_hole_no = 0;
      con.print("/", false);
    } else if (line == "/") {
      ++st.SLASHCOUNT;
      next_hole_no = 0;
      con.print("/", false);
    } else if (line == "//") {
      next_hole_no = 0;
      hole_name.clear();
      ++st.SLASHCOUNT;
      ++st.HOLECOUNT;
      con.print("//", false);
      if (st.SLASHCOUNT == 3 * st.HOLECOUNT) {
        con.print(rt::print_number(st.HOLECOUNT), true);
      } else {
        st.BLOCKERR = -1;
        st.BADHOLES += rt::STR(st.HOLECOUNT);
        st.SLASHCOUNT = 3 * st.HOLECOUNT;  // the next hole is judged by itself
        // What is wrong, said in full on the console and in ERROR.LOG alike.
        const std::string said = "Hole" + rt::STR(st.HOLECOUNT) +
                                 (hole_name.empty() ? std::string() : " (" + hole_name + ")") + " of " + st.INNAME +
                                 ": " + rt::STR_TRIM(static_cast<std::int32_t>(in_block)) + " / line" +
                                 (in_block == 1 ? "" : "s") + " before its // line at line" + rt::STR(line_no) +
                                 "; a hole has two (after its header and after its layers)";
        con.print(rt::print_number(st.HOLECOUNT), true);
        con.print(said, true);
        rt::log_note(said);
        st.WARNFLAG = 1;
      }
    } else if (line == "///") {
      st.ENDSEEN = 1;
      con.print("///", true);
      // A hole whose layers and notes are there, but not its "//" line.
      if (in_block == 2) {
        ++st.HOLECOUNT;
        say_missing_end(st.HOLECOUNT, line_no, line);
        st.SLASHCOUNT = 3 * st.HOLECOUNT;
      }
      break;
    } else {
      if (in_block == 2 && next_hole_no == 0 && names_a_hole(st, line)) {
        next_hole_no = line_no;
        next_hole = line;
      } else if (in_block == 0 && hole_name.empty() && names_a_hole(st, line)) {
        hole_name = hole_name_of(line);
      }
      con.print(".", false);
    }
  }
  rt::close_file(INCHAN);

  st.step("0004");
  if (st.SLASHCOUNT > 0) {
    if (st.BLOCKERR == 0 && st.ENDSEEN == 1 && st.SLASHCOUNT == 3 * st.HOLECOUNT) {
      con.print(PROMPT(80), true);
      return;
    }
    // The hole after the last "//" is still open: it is named with the others, so that the message
    // says which hole lacks its lines.
    if (st.SLASHCOUNT != 3 * st.HOLECOUNT) st.BADHOLES += rt::STR(st.HOLECOUNT + 1);
    con.beep();
    con.print("", true);
    if (!st.BADHOLES.empty()) {
      con.print(PROMPT(81), true);
      con.print("viz " + st.BADHOLES, true);
      rt::log_note(st.INNAME + ": " + PROMPT(81) + " viz " + st.BADHOLES);
    }
    if (st.ENDSEEN == 0) {
      con.print(PROMPT(86), true);
      rt::log_note(st.INNAME + ": " + PROMPT(86));
    }
    st.WARNFLAG = 1;
    RUNFLAGS |= kStopMark;
    EXXIT(st);
  }
  st.step("0005");
  con.beep();
  con.print(" ", true);
  con.print(st.INNAME + " ??? " + PROMPT(5), true);
  rt::log_note(st.INNAME + " ??? " + PROMPT(5));
  EXXIT(st);
}
