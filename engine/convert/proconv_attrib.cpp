// The attribute blocks of a hole's notes part: the columns of its borehole log. A block begins with a
// declaration line (a word of list 8 at its start: "ATTRIBUTE: SPT N [GRAPH 50]") and goes on with its
// records ("1.20: 12"), or it is a tabulation ("::", proconv_tabular.cpp). The first pass keeps every
// line as read in "Awork.1"; after the hole end the second pass turns each declaration into a name with
// its option marks appended ("[G=50]", "[I]", "[LOG]", "[FILE]", "[C=..]" or "[M=..]", "[DR]", "[+N]")
// and each record into "[depth] text" in "Awork.2", and counts the records of every attribute, so that
// the counts add up to the records the coded hole file carries.
#include <cstdint>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

constexpr std::int32_t kMaxAttributes = 25;      // log columns of one hole
constexpr std::int32_t kMaxRecords = 2000;       // attribute records of one hole the coder's tables hold
constexpr std::int32_t kMaxChannelLines = 32767;  // records of a work channel

// Appends the option marks to a declaration, each test made on the line with the marks so far.
void mark_options(ConvState& st, std::string& line) {
  std::string value;
  if (const std::int32_t f = FNPRES(line, st.CONVLIST[9]); f > 0) {
    NEXTVALU(f, line, value);
    line += "[G=" + value + "]";
    if (FNPRES(line, st.CONVLIST[10]) > 0) line += "[I]";
    if (FNPRES(line, st.CONVLIST[20]) > 0) line += "[LOG]";
  }
  if (FNPRES(line, VOCABNAME) > 0) line += "[FILE]";
  if (const std::int32_t f = FNPRES(line, st.CONVLIST[12]); f > 0) {
    NEXTVALU(f, line, value);
    line += (FNPRES(line, st.CONVLIST[19]) > 0 ? "[M=" : "[C=") + value + "]";
  }
  if (FNPRES(line, st.CONVLIST[18]) > 0) line += "[DR]";
  if (FNPRES(line, st.CONVLIST[11]) > 0) line += "[+N]";
  if (FNPRES(line, CONVWORDS) > 0) INSERTRG(line);
}

void declaration(ConvState& st, std::string& line) {
  st.step("0011");
  const long colon = rt::INSTR(line, ":");
  if (st.ATTRN >= kMaxAttributes) {
    // The records that follow count for the last attribute.
    platform::console().print(PROMPT(97), true);
    input_fault(st, PROMPT(97) + " <" + line + ">");
    st.WARNFLAG = 1;
    return;
  }
  st.step("0012");
  mark_options(st, line);
  ++st.ATTRN;
  ATTRNAME(st.ATTRN) = colon > 0 ? rt::MID(line, colon + 1) : line;
  if (st.ATTRN > 1) ATTRWIDTH(st.ATTRN - 1) = st.ATTRROWS;
  st.ATTRROWS = 0;
  st.PREVDEPTH = 0;
}

// A record: its depth in front, in brackets. With a colon the depth is the last number before it;
// without one the first number of the line. "@" marks a point attribute ("[1.2@]").
void record(ConvState& st, std::string& line) {
  st.step("0021");
  if (FNPRES(line, CONVWORDS) > 0) INSERTRG(line);
  while (rt::INSTR(line, "@ ") > 0) REPLAZE(line, "@ ", "@");
  st.RECDEPTH = 0;
  const long colon = rt::INSTR(line, ":");
  std::string blank = " ";
  PARSVARS(colon > 0 ? rt::LEFT(line, colon - 1) : line, blank);
  const long words = PARSEDCOUNT;
  std::string word, depth;
  for (long n = 1; n <= words && st.RECDEPTH == 0; ++n) {
    word = PARSED(colon > 0 ? words - n + 1 : n);
    depth = word;
    FNCOMMA(depth);
    st.RECDEPTH = rt::VAL(depth);
    if (rt::LEFT(depth, 1) == "@") st.RECDEPTH = rt::VAL(rt::MID(depth, 2));
  }
  st.step("0022");
  if (st.ATTRN > 0 && depth_beyond_sheet(st, st.RECDEPTH, line, "the record is left out")) return;
  if (st.RECDEPTH != 0) {
    const long start = colon > 0 ? colon + 1 : rt::INSTR(line, word) + static_cast<long>(word.size()) + 1;
    if (rt::INSTR(line, "@") > 0) depth = short_number_text(st.RECDEPTH) + "@";
    line = "[" + depth + "] " + rt::MID(line, start);
  }
  if (st.ATTRN == 0) return;  // before the first declaration a record belongs to no column
  if (st.ATTRRECS >= kMaxRecords) {
    if (!st.ATTRRECSFULL) {
      auto& con = platform::console();
      const std::string said =
          "More than " + rt::STR_TRIM(kMaxRecords) + " attribute records in this hole; left out from this one on:";
      con.print(said, true);
      con.print("<" + line + ">", true);
      input_fault(st, said + " <" + line + ">");
      st.WARNFLAG = 1;
      st.ATTRRECSFULL = true;
    }
    return;
  }
  ++st.ATTRROWS;
  st.PREVDEPTH = st.RECDEPTH;
  ++st.ATTRRECS;
  write_work_record(st, line, st.ATTRRECS, AWORKBASE + WORKSECOND);
}

}  // namespace

bool write_attribute_line(ConvState& st, const std::string& text) {
  if (ATTRTOTAL >= kMaxChannelLines) {
    if (!st.ATTRLINESFULL) {
      auto& con = platform::console();
      const std::string said =
          "More than " + rt::STR_TRIM(kMaxChannelLines) + " attribute lines in this hole; left out from this one on:";
      con.print(said, true);
      con.print("<" + text + ">", true);
      input_fault(st, said + " <" + text + ">");
      st.WARNFLAG = 1;
      st.ATTRLINESFULL = true;
    }
    return false;
  }
  ++ATTRTOTAL;
  if (st.ATTRAT.size() <= static_cast<size_t>(ATTRTOTAL)) st.ATTRAT.resize(static_cast<size_t>(ATTRTOTAL) + 1, -1);
  st.ATTRAT[static_cast<size_t>(ATTRTOTAL)] = st.LINEAT;
  write_work_record(st, text, ATTRTOTAL, AWORKBASE + WORKFIRST);
  return true;
}

void read_attribute_block(ConvState& st) {
  do {
    st.section("ATTRIBUT", "0001");
    if (rt::INSTR(CONVLINE, "::") > 0) {
      TABULAR(st);
    } else {
      write_attribute_line(st, CONVLINE);
      GETLINE(st);
    }
  } while (st.SLASH2POS == 0 && st.ISLIST8 == 0 && st.ISLIST2 == 0 && st.ISLIST13 == 0 && !input_ended());
}

void attribute_pass(ConvState& st) {
  st.section("ATTRIBUT", "0010");
  st.ATTRN = 0;
  st.ATTRRECS = 0;
  st.ATTRRECSFULL = false;
  st.ATTRROWS = 0;
  st.PREVDEPTH = 0;
  const std::int32_t total = ATTRTOTAL;
  for (std::int32_t i = 1; i <= total; ++i) {
    st.section("ATTRIBUT", "0010");
    PIREAD(CONVLINE, i, AWORKBASE + WORKFIRST);
    // A fault of the line is said with the line it came from.
    const std::int32_t current = st.LINEAT;
    if (static_cast<size_t>(i) < st.ATTRAT.size()) st.LINEAT = st.ATTRAT[static_cast<size_t>(i)];
    if (FNPRES(CONVLINE, st.CONVLIST[8]) == 1) declaration(st, CONVLINE);
    else record(st, CONVLINE);
    st.LINEAT = current;
  }
  if (st.ATTRN > 0) ATTRWIDTH(st.ATTRN) = st.ATTRROWS;
}
