// TABULAR: several attributes written at once as a table. The start line holds "::" ("ATTRIBUTE ::");
// the column definitions follow ("MC: Moisture content %"), then the heading row, whose first character
// is the column separator ("|DEPTH |MC: |PP: |"), then the data rows ("|0.5 |22 |80 |"), up to the hole
// end or the next attribute, sample-block or abbreviation line. Each column becomes what a hand-written
// attribute block would be: a declaration (the start line up to its first ":", then the definition's
// text) and one record per row, "key: cell"; a row without a key adds its cell to the record before.
// A row may be written over several lines: a line short of cells is completed by the lines after it.
#include <cstdint>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/array.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

namespace {

constexpr long kMaxColumns = 20;
constexpr long kMaxRows = 300;

// The line that ends a table (kept as the current line): the hole end, an attribute, sample-block or
// abbreviation line, or the end of the input.
bool table_ends(const ConvState& st) {
  return st.SLASH2POS > 0 || st.ISLIST8 == 1 || st.ISLIST2 == 1 || st.ISLIST13 == 1 || input_ended();
}

// The numeric value of a row key; "@3.5" (a point attribute) counts as 3.5.
double key_value(const std::string& key) { return rt::LEFT(key, 1) == "@" ? rt::VAL(rt::MID(key, 2)) : rt::VAL(key); }

// Something of the table left out: said on the console, and in ERROR.LOG (logged: the words there, when
// they differ) with the line at offset at.
void told(ConvState& st, const std::string& what, const std::string& line, std::int32_t at,
          const std::string& logged = {}) {
  auto& con = platform::console();
  con.print(what, true);
  con.print("<" + line + ">", true);
  const std::int32_t current = st.LINEAT;
  st.LINEAT = at;
  input_fault(st, (logged.empty() ? what : logged) + " <" + line + ">");
  st.LINEAT = current;
  st.WARNFLAG = 1;
}

}  // namespace

void BREAKCOL(ConvState& st) {
  st.section("BREAKCOL", "0001");
  st.COLHEAD = CONVLINE;
  st.COLTEXT.clear();
  const long p = rt::INSTR(CONVLINE, ":");
  if (p > 0 && p < static_cast<long>(CONVLINE.size())) {
    st.COLHEAD = rt::TRIM(rt::LEFT(CONVLINE, p - 1)) + ":";
    st.COLTEXT = rt::MID(CONVLINE, p + 1);
  }
}

void TABULAR(ConvState& st) {
  st.section("TABULAR", "0001");
  auto& con = platform::console();
  rt::Array<std::string> heads, texts, rows;
  rt::Array<std::int16_t> bad;
  heads.dim(0, 25);
  texts.dim(0, 25);
  rows.dim(0, kMaxRows);
  bad.dim(0, kMaxRows);
  rt::Array<std::int32_t> rows_at;  // where each row stands in the input
  rows_at.dim(0, kMaxRows);
  const std::string start = CONVLINE;
  const std::int32_t start_at = st.LINEAT;
  const std::string prefix = rt::LEFT(CONVLINE, rt::INSTR(CONVLINE, "::"));
  long columns = 0;
  heads(1) = "qqq";
  bool columns_told = false;

  // The column definitions, up to the heading row: the first line in which the first column's
  // heading stands at position 3 or later.
  GETLINE(st);
  while (true) {
    st.section("TABULAR", "0002");
    if (table_ends(st)) {
      told(st, PROMPT(99), start, start_at);
      return;
    }
    BREAKCOL(st);
    st.section("TABULAR", "0003");
    if (columns < kMaxColumns) {
      ++columns;
      heads(columns) = st.COLHEAD;
      texts(columns) = st.COLTEXT;
    } else if (!columns_told) {
      told(st, "More than " + rt::STR_TRIM(static_cast<int>(kMaxColumns)) + " columns in this table; left out:", CONVLINE,
           st.LINEAT);
      columns_told = true;
    }
    GETLINE(st);
    if (rt::INSTR(3, CONVLINE, heads(1)) > 0) break;
  }

  // The heading row: blanks before a colon move behind it; its first character separates the fields.
  st.section("TABULAR", "0004");
  std::string heading = rt::TRIM(CONVLINE);
  while (rt::INSTR(heading, " :") > 0) REPLAZE(heading, " :", ": ");
  const std::string sep = rt::LEFT(heading, 1);
  for (long k = 1; k <= columns; ++k) {
    if (rt::INSTR(heading, heads(k)) > 0) continue;
    con.print(PROMPT(100) + "<" + heads(k) + ">", true);
    st.WARNFLAG = 1;
    con.pause_ms(2000);
  }
  std::string delims = sep;
  PARSVARS(heading, delims);
  const std::int32_t fields = PARSEDCOUNT + 1;  // the rows have an empty field before their first separator

  // The data rows, each framed by the separator.
  long count = 0;
  bool rows_told = false;
  while (true) {
    GETLINE(st);
    st.section("TABULAR", "0005");
    if (table_ends(st)) break;
    if (count < kMaxRows) {
      std::string row = rt::TRIM(CONVLINE);
      if (rt::LEFT(row, 1) != sep) row = sep + row;
      if (rt::RIGHT(row, 1) != sep) row += sep;
      rows(++count) = row;
      rows_at(count) = st.LINEAT;
    } else if (!rows_told) {
      con.print("Tabular line-count >" + rt::STR(static_cast<int>(kMaxRows)), true);
      told(st, "Reduce the text.", CONVLINE, st.LINEAT,
           "Tabular line-count >" + rt::STR(static_cast<int>(kMaxRows)) + ": the rows from this one on are left out.");
      con.pause_ms(2000);
      rows_told = true;
    }
  }

  // A row written over two lines or more: a row short of cells takes the cells of the lines after it
  // as long as they make up no more than it lacks (an empty first cell, the depth of no row, dropped).
  st.section("TABULAR", "0006");
  auto cells = [&sep](const std::string& row) {
    std::string split = sep + "blanksok";
    PARSVARS(row, split);
    return PARSEDCOUNT;
  };
  for (long r = 1; r < count; ++r) {
    while (r < count) {
      const std::int32_t have = cells(rows(r));
      if (have >= fields) break;
      std::string next = rows(r + 1);
      std::int32_t more = cells(next) - 1;
      if (more > 1 && rt::TRIM(PARSED(2)).empty()) {
        next = rt::MID(next, rt::INSTR(2, next, sep));
        --more;
      }
      if (more < 1 || have + more > fields) break;
      rows(r) += rt::MID(next, 2);
      for (long k = r + 1; k < count; ++k) rows(k) = rows(k + 1), rows_at(k) = rows_at(k + 1);
      --count;
    }
  }
  // A row with the wrong number of fields is said once; its cells read "?".
  for (long r = 1; r <= count; ++r) {
    std::string split = sep + "blanksok";
    PARSVARS(rows(r), split);
    if (PARSEDCOUNT == fields) continue;
    con.beep();
    con.print(rt::print_number(static_cast<int>(r)) + PROMPT(89) + "  " + rows(r) + " <Tabulation>", true);
    const std::int32_t current = st.LINEAT;
    st.LINEAT = rows_at(r);
    input_fault(st, "row" + rt::STR(static_cast<int>(r)) + " of the table has not as many cells as its heading row; its cells read \"?\": " +
                        rows(r));
    st.LINEAT = current;
    con.pause_ms(200);
    bad(r) = 1;
    st.WARNFLAG = 1;
  }
  // A row whose depth lies beyond what a sheet can draw is said once and left out (bad 2).
  for (long r = 1; r <= count; ++r) {
    std::string split = sep + "blanksok";
    PARSVARS(rows(r), split);
    if (PARSEDCOUNT < 2) continue;
    std::string key = PARSED(2);
    FNCOMMA(key);
    const std::int32_t current = st.LINEAT;
    st.LINEAT = rows_at(r);
    if (depth_beyond_sheet(st, key_value(key), rt::TRIM(rows(r)), "the row is left out")) bad(r) = 2;
    st.LINEAT = current;
  }

  // Column by column: the declaration, then one record per row with a key. A message about them names
  // no line: the rows are read already.
  const std::int32_t end_at = st.LINEAT;
  st.LINEAT = -1;
  for (long k = 1; k <= columns; ++k) {
    st.section("TABULAR", "0007");
    std::string record = prefix + texts(k);
    for (long r = 1; r <= count; ++r) {
      if (bad(r) == 2) continue;
      std::string split = sep + "blanksok";
      PARSVARS(rows(r), split);
      std::string key = PARSED(2);
      FNCOMMA(key);
      const std::string cell = bad(r) == 1 ? std::string("?") : PARSED(2 + k);
      if (key_value(key) == 0) {
        record += " " + cell;
      } else {
        write_attribute_line(st, record);
        record = key + ": " + cell;
      }
    }
    write_attribute_line(st, record);
  }
  st.LINEAT = end_at;
  st.section("TABULAR", "0008");
}
