// The header fields of PROCONV: JOBHEADE (the job start), PARZE (the field a header line's keyword
// names) and SELECTHE (the value into its field).
//
// Which keyword fills which field is the conversion vocabulary's choice: its keyword block, CONVBLOCK,
// holds entries "/keyword/" followed by "<NN", the field number. Only the fields it marks as per hole
// (CONVCODE) and field 20, the hole, are emptied before each hole; every other field keeps its value
// into the following holes, so that the job's lines need be written once only.
#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "platform/console.h"

void clear_hole_fields(ConvState& st) {
  for (long i = 1; i <= st.CONVCODECOUNT; ++i) {
    const long field = st.CONVCODE(i);
    if (HEADER.in_bounds(field)) HEADER(field).clear();
  }
}

void JOBHEADE(ConvState& st) {
  st.section("JOBHEADE", "0001");
  clear_hole_fields(st);
  HEADER(20).clear();
  HEADER(21).clear();
  st.step("0002");
  if (WPMODE > 0) load_remap_table();
}

void PARZE(ConvState& st) {
  st.section("PARZE", "0001");
  FINDKEYW(st);
  st.section("PARZE", "0002");
  st.FIELDNO = 0;
  st.VALUEPOS = st.COLONPOS;
  if (st.COLONPOS < 1) {
    st.VALUEPOS = 0;
    return;
  }
  st.FIELDNO = keyword_field(st, PRESWORD);
  if (st.FIELDNO == 0) return;
  st.VALUEPOS = static_cast<std::int32_t>(rt::INSTR(CONVLINE, ":")) + 1;
}

std::int32_t keyword_field(const ConvState& st, const std::string& keyword) {
  // The keyword must match a whole entry; the first entry of the block counts.
  static rt::ListSearch in_block;  // the block stays the same for a run, and its keywords repeat
  const long p = in_block.find(st.CONVBLOCK, rt::LCASE("/" + keyword + "/"));
  if (p == 0) return 0;
  const long mark = rt::INSTR(p, st.CONVBLOCK, "<");
  if (mark == 0) return 0;  // a vocabulary without field numbers names no field
  const double field = rt::VAL(rt::MID(st.CONVBLOCK, mark + 1, 2));
  // A field number the header table does not hold names no field either.
  if (field < 1 || field > static_cast<double>(HEADER.ubound())) return 0;
  return static_cast<std::int32_t>(field);
}

void keyword_without_colon(ConvState& st) {
  // A line without a colon is a comment; one that begins with a keyword of the vocabulary and goes on
  // with a short value ("Hole Number BH2") is a header line whose colon was forgotten: said, since its
  // value goes nowhere. A sentence that begins with such a word ("Hole drawn at a small scale, ...")
  // stays a comment.
  std::string blank = " ";
  PARSVARS(CONVLINE, blank);
  std::string keyword;
  for (std::int32_t k = 1; k < PARSEDCOUNT && k <= 4; ++k) {
    std::string word = PARSED(k);
    REMOVE(word, ".");
    REMOVE(word, "-");
    keyword += word;
    // The value: one word after a keyword of one word ("Hole BH2"), at most four after a longer one
    // ("Ground level 24.36"); "Site investigation report" stays a comment.
    if (keyword.empty() || PARSEDCOUNT - k > (k == 1 ? 1 : 4) || keyword_field(st, keyword) == 0) continue;
    const std::string what = "Header line without a colon after its keyword, left out:";
    auto& con = platform::console();
    con.print(what, true);
    con.print("<" + CONVLINE + ">", true);
    input_fault(st, what + " <" + CONVLINE + ">");
    st.WARNFLAG = 1;
    return;
  }
}

void SELECTHE(ConvState& st) {
  st.section("SELECTHE", "0001");
  auto& con = platform::console();
  if (st.FIELDNO == 0) {
    // A keyword the vocabulary does not know: the line's value goes nowhere.
    con.print(CONVLINE + " ???", true);
    input_fault(st, CONVLINE + " ??? (no header keyword of the vocabulary: the line is left out)");
    return;
  }
  HEADER(st.FIELDNO) = st.FIELDVAL;
  st.step("0002");
  // Margins out of range are warned about and kept.
  struct Range {
    std::int32_t field, low, high, prompt;
  };
  static constexpr Range kMargins[] = {{43, -200, 1500, 75}, {44, -100, 1500, 76}, {45, -390, 1200, 82}, {46, 0, 1200, 83}};
  for (const Range& m : kMargins) {
    if (st.FIELDNO != m.field) continue;
    const double v = rt::round_even(rt::VAL(st.FIELDVAL));  // as a whole number, never out of range
    if (v < m.low || v > m.high) con.print(PROMPT(m.prompt), true);
  }
  if (st.FIELDNO == 20) con.print("(" + HEADER(20) + ")", false);
  if (st.FIELDNO == 58) {
    // The top depth of the sheet: said here, with its line; the hole then gets no sheet.
    std::string top = st.FIELDVAL;
    FNCOMMA(top);
    depth_beyond_sheet(st, rt::VAL(top), CONVLINE, "the hole gets no sheet");
  }
}
