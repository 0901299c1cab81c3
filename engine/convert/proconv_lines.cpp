// Line steps of PROCONV that the hole passes share: GETLINE (the next logical line and its kind),
// FETCHAST (a line with its continuation lines), FINDKEYW (the keyword of a header line) and
// DATEWORD (a word with a slash).
#include <algorithm>
#include <cstdint>
#include <utility>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

const std::string kHoleEndMark(2, static_cast<char>(180));

// 1 when the upper-cased line begins with a word of the list (the first list word found in it stands
// at position 1), else 0.
std::int32_t begins_with(const std::string& line, const std::string& list) {
  return FNPRES(rt::UCASE(line), list) == 1 ? 1 : 0;
}

}  // namespace

bool is_slash_marker(const std::string& line) {
  return !line.empty() && line.size() <= 3 && line.find_first_not_of(static_cast<char>(180)) == std::string::npos;
}

bool input_ended() { return CONVLINE.empty() && LINECOUNT >= INFILELEN; }

std::int32_t input_line(ConvState& st, std::int32_t offset) {
  if (offset < st.COUNTEDTO) st.COUNTEDTO = 0, st.COUNTEDLINES = 0, st.COUNTEDLAST = 0;
  while (st.COUNTEDTO < offset) {
    rt::seek(CONVCHAN, st.COUNTEDTO + 1);
    const std::string bytes = rt::get_bytes(CONVCHAN, static_cast<std::size_t>(std::min(offset - st.COUNTEDTO, 65536)));
    if (bytes.empty()) break;
    for (const char c : bytes) {
      // A CR ends a line; an LF ends one unless it completes a CR LF.
      if (c == '\r' || (c == '\n' && st.COUNTEDLAST != '\r')) ++st.COUNTEDLINES;
      st.COUNTEDLAST = c;
    }
    st.COUNTEDTO += static_cast<std::int32_t>(bytes.size());
  }
  return st.COUNTEDLINES + 1;
}

void input_fault(ConvState& st, const std::string& what) {
  // The line as typed: the line reader's internal codes back to the mark-up characters of the SET file.
  std::string typed = what;
  const std::pair<const std::string*, const std::string*> marks[] = {
      {&SYMULCHAR, &SYMULCODE},   {&SYMCHAR, &SYMCODE},       {&BREAKCHAR, &BREAKCODE},   {&HARDSPCHAR, &HARDSPCODE},
      {&INDONCHAR, &INDONCODE},   {&INDOFFCHAR, &INDOFFCODE}, {&FONTSWCHAR, &FONTSWCODE}, {&COLUMNCHAR, &COLUMNCODE},
      {&NOSYMCHAR, &NOSYMCODE}};
  for (const auto& [typed_char, code] : marks)
    if (!typed_char->empty() && code->size() == 1 && static_cast<unsigned char>((*code)[0]) < 32)
      for (char& c : typed)
        if (c == (*code)[0]) c = (*typed_char)[0];
  const std::string hole = rt::TRIM(HEADER(20));
  std::string where = "Hole" + rt::STR(st.HOLENO) + (hole.empty() ? std::string() : " (" + hole + ")") + " of " + st.INNAME;
  if (st.LINEAT >= 0 && rt::is_open(CONVCHAN)) where += " line" + rt::STR(input_line(st, st.LINEAT));
  rt::fault_logged(where + ": " + typed);
}

bool depth_beyond_sheet(ConvState& st, double depth, const std::string& line, const std::string& left_out) {
  if (depth_drawable(depth)) return false;
  auto& con = platform::console();
  const std::string said = "Depth " + rt::TRIM(rt::STR(depth)) + " is beyond what a sheet can draw (" +
                           rt::TRIM(rt::STR(kDeepestDepth)) + " at most); " + left_out + ":";
  con.print(said, true);
  con.print("<" + line + ">", true);
  input_fault(st, said + " <" + line + ">");
  st.WARNFLAG = 1;
  return true;
}

void GETLINE(ConvState& st) {
  st.section("GETLINE", "0001");
  FETCHAST(st);
  st.section("GETLINE", "0002");
  // In this order: the search for list 13 runs last, and the caller finds its PRESWORD and PRESSYMB.
  st.ISLIST8 = begins_with(CONVLINE, st.CONVLIST[8]);
  st.ISLIST2 = begins_with(CONVLINE, st.CONVLIST[2]);
  st.ISLIST13 = begins_with(CONVLINE, st.CONVLIST[13]);
  // The hole end and the data end ("//", "///"); two acute accents within a text are no marker.
  st.SLASH2POS = is_slash_marker(CONVLINE) ? static_cast<std::int32_t>(rt::INSTR(CONVLINE, kHoleEndMark)) : 0;
}

void FETCHAST(ConvState& st) {
  st.section("FETCHAST", "0001");
  FETCHNEX(CONVCHAN, CONVLINE);
  st.LINEAT = LINESTART;
  std::string ahead;
  while (LINECOUNT < INFILELEN) {
    st.step("0002");
    const std::int32_t before = LINECOUNT;
    LOOKBACK = LINECOUNT;
    FETCHNEX(CONVCHAN, ahead);
    // A line that begins with three blanks continues the line before it. A look-ahead that read
    // nothing (the end of the file) ends the line too.
    if (LINECOUNT != before && rt::LEFT(ahead, 3) == "   ") {
      CONVLINE += " " + rt::TRIM(ahead);
      continue;
    }
    LINECOUNT = LOOKBACK;
    break;
  }
}

void FINDKEYW(ConvState& st) {
  st.section("FINDKEYW", "0001");
  PRESWORD.clear();
  if (CONVLINE.size() < 3) {
    st.COLONPOS = 0;
    return;
  }
  CONVLINE = rt::TRIM(CONVLINE);
  st.COLONPOS = static_cast<std::int32_t>(rt::INSTR(CONVLINE, ":"));
  if (st.COLONPOS > 0) {
    std::string keyword = rt::LEFT(CONVLINE, st.COLONPOS - 1);
    REMOVE(keyword, ".");
    REMOVE(keyword, "-");
    REMOVE(keyword, " ");
    PRESWORD = keyword;
  }
}

void DATEWORD(ConvState& st, const std::string& word) {
  st.section("DATEWORD", "0001");
  // Only whether the word holds a slash counts: a position beyond the 16-bit range is kept as its
  // largest value rather than overflowing.
  rt::let(st.SLASHPOS, static_cast<double>(std::min<long>(rt::INSTR(word, "/"), INT16_MAX)));
}
