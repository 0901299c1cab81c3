// Line steps of PROCONV that the hole passes share: GETLINE (the next logical line and its kind),
// FETCHAST (a line with its continuation lines), FINDKEYW (the keyword of a header line) and
// DATEWORD (a word with a slash).
#include <algorithm>
#include <cstdint>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"

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
