// The samples and water levels of a hole: lines such as "Disturbed sample DS01 3.1--3.4m" or "Water
// strike at 1m, 21/12." give one entry per level, its kind mark with the sample's name, and the level
// ("[SYMB1]DS01" and "3.1--3.4m"). PUTINPIC picks the kind and finds the levels (every number but the
// line's first word, no date, no duration or percentage: "after 20 minutes" is no level), TRYAGAIN
// finds the names (words in capitals, dates) and pairs them with the levels in order; a level below
// the bottom of the hole is said and left out. READSAMP reads the samples of a hole's attached file,
// one a line after a depth, under the kind of the last line without one.
#include <algorithm>
#include <cstdint>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"

namespace {

// One entry of the hole's sample list; a full list says so for every entry left out.
void add_sample(ConvState& st, const std::string& name, const std::string& level) {
  if (st.DSAMPN < MAXSAMPLES) {
    ++st.DSAMPN;
    DSAMP1(st.DSAMPN) = st.SAMPKIND + name;
    DSAMP2(st.DSAMPN) = level;
    return;
  }
  const std::string said = name + ": " + PROMPT(94) + " >" + rt::print_number(static_cast<int>(MAXSAMPLES));
  platform::console().print(said, true);
  input_fault(st, said);
  st.WARNFLAG = 1;
}

// More levels or names in one line than a hole may have: said, and cut to the limit.
void cut_to_limit(ConvState& st, std::int32_t& count, const char* what) {
  if (count <= MAXSAMPLES) return;
  auto& con = platform::console();
  con.print("", true);
  const std::string said = rt::print_number(static_cast<int>(count)) + what + rt::print_number(static_cast<int>(MAXSAMPLES));
  con.print(said, true);
  input_fault(st, said);
  count = MAXSAMPLES;
  con.pause_ms(1000);
}

// A number followed by a unit of time, with or without a blank ("20 minutes", "2hrs", "30 Sec"), or
// by "%" is a duration or a share, not a level. Word j of PARSED() is the number.
bool is_duration(std::int32_t j) {
  const std::string& word = PARSED(j);
  std::string unit = word.substr(std::min(word.size(), word.find_first_not_of("+-.0123456789")));
  if (unit.empty() && j < PARSEDCOUNT) {
    unit = PARSED(j + 1);
    FNCOMMA(unit);
  }
  unit = rt::LCASE(unit);
  if (!unit.empty() && unit[0] == '%') return true;
  static const char* const kTimeUnits[] = {"s",    "sec",     "secs",   "second", "seconds", "min", "mins",
                                           "minute", "minutes", "hr",     "hrs",    "hour",    "hours", "day",
                                           "days"};
  for (const char* u : kTimeUnits)
    if (unit == u) return true;
  return false;
}

// A level below the deepest layer of the hole cannot be: said on the console and in ERROR.LOG with
// the hole and the line, and left out (exit code 1). A hole without a layer depth has nothing to check against.
bool below_the_hole(ConvState& st, const std::string& level) {
  if (st.HOLEDEPTH <= 0 || rt::VAL(level) <= st.HOLEDEPTH) return false;
  const std::string said = PROMPT(98) + " " + level + " (" + HEADER(20) + ") <" + CONVLINE + ">";
  platform::console().print(said, true);
  input_fault(st, PROMPT(98) + " " + level + " <" + CONVLINE + ">");
  st.WARNFLAG = 1;
  return true;
}

// Whether the line begins with a word of the list; if so, FNPRES has left that word's own mark in
// PRESSYMB. (FNPRES itself gives the first word of the list found anywhere: "water level" inside
// "standing water level".)
bool begins_with_word(const std::string& line, const std::string& list) {
  const std::string text = rt::LCASE(rt::LTRIM(line));
  size_t i = 0;
  while (i < list.size()) {
    const size_t j = list.find('/', i + 1);
    if (j == std::string::npos) break;
    const std::string word = rt::LCASE(list.substr(i + 1, j - i - 1));
    if (!word.empty() && text.compare(0, word.size(), word) == 0) return FNPRES(word, "/" + word + "/") > 0;
    i = j;
  }
  return false;
}

bool is_upper_letter(char c) { return c >= 'A' && c <= 'Z'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void PUTINPIC(ConvState& st) {
  // The kind: the symbol mark of the word the last list search found, unless the sample lists say more.
  st.section("PUTINPIC", "0001");
  st.SAMPKIND = PRESSYMB;
  const std::string& low = st.LOWLINE;
  if (st.ISLIST2 > 0 && begins_with_word(low, st.CONVLIST[14])) {
    // A line of a sample block that a water word begins is a water level: the word's own mark.
    st.SAMPKIND = PRESSYMB;
  } else if (FNPRES(low, st.CONVLIST[3]) > 0) {
    st.SAMPKIND = "[SYMB1]";
    if (FNPRES(low, st.CONVLIST[4]) > 0) st.SAMPKIND = "[SYMB2]";
  } else if (FNPRES(low, st.CONVLIST[5]) > 0 || st.ISLIST2 > 0) {
    st.SAMPKIND = "[SYMB4]";
    if (FNPRES(low, st.CONVLIST[6]) > 0) st.SAMPKIND = "[SYMB3]";
    else if (FNPRES(low, st.CONVLIST[7]) > 0) st.SAMPKIND = "[SYMB5]";
  } else if (FNPRES(low, st.CONVALL) > 0 && FNPRES(low, st.CONVLIST[17]) > 0) {
    st.SAMPKIND = "[SYMB9]";
  }

  // The levels: every word after the first that reads as a number above 0 ("0.0" counts), no date.
  st.step("0002");
  std::string delims = " ;)";
  PARSVARS(CONVLINE, delims);
  st.SAMPLEVELS = 0;
  for (std::int32_t j = 1; j <= PARSEDCOUNT; ++j) {
    st.step("0003");
    FNCOMMA(PARSED(j));
    double value = rt::VAL(PARSED(j));
    if (rt::LEFT(PARSED(j), 2) == "0.") value += 1;
    DATEWORD(st, PARSED(j));
    if (st.SLASHPOS > 0) value = 0;
    if (value <= 0 || j == 1 || is_duration(j)) continue;
    ++st.SAMPLEVELS;
    if (st.SAMPLEVELS <= MAXSAMPLES) {
      st.SAMPLEIDX(st.SAMPLEVELS) = j;
      st.SAMPLEFLAG(st.SAMPLEVELS) = 0;
    }
  }
  TRYAGAIN(st);
}

void TRYAGAIN(ConvState& st) {
  // The names: words in capitals of two characters or more that begin with a letter, or dates.
  st.section("TRYAGAIN", "0001");
  auto& con = platform::console();
  st.SAMPNAMES = 0;
  for (std::int32_t j = 1; j <= PARSEDCOUNT; ++j) {
    const std::string& w = PARSED(j);
    if (w.size() < 2 || w != rt::UCASE(w)) continue;
    if (!is_upper_letter(w[0]) && !(is_digit(w[0]) && rt::INSTR(2, w, "/") > 0)) continue;
    ++st.SAMPNAMES;
    if (st.SAMPNAMES <= MAXSAMPLES) st.SAMPLEFLAG(st.SAMPNAMES) = j;
  }
  st.step("0002");
  if (st.SAMPNAMES != st.SAMPLEVELS && st.SAMPNAMES > 0) {
    // Names beyond the levels are left out; levels beyond the names are named by themselves.
    con.print(PROMPT(91) + " <" + CONVLINE + ">", true);
    input_fault(st, PROMPT(91) + " <" + CONVLINE + ">");
    st.WARNFLAG = 1;
  }
  cut_to_limit(st, st.SAMPLEVELS, "Sample Levels! >");
  cut_to_limit(st, st.SAMPNAMES, "Sample Names! >");

  // Names pair with levels in order; a level without a name is named by itself.
  st.step("0003");
  for (std::int32_t k = 1; k <= st.SAMPLEVELS; ++k) {
    const std::string level = PARSED(st.SAMPLEIDX(k));
    std::string name = level;
    if (st.SAMPLEFLAG(k) > 0) {
      name = PARSED(st.SAMPLEFLAG(k));
      FNCOMMA(name);
    }
    if (below_the_hole(st, level)) continue;
    add_sample(st, name, level);
  }
}

void READSAMP(ConvState& st) {
  st.section("READSAMP", "0001");
  st.TRXCHAN = rt::FREEFILE();
  if (!rt::open_file(st.TRXCHAN, NOTENAME, rt::FileMode::Input)) return;
  // Until a line names their kind, the file's samples are samples of no named kind ("other sample"),
  // never samples without a mark that the sheet would leave out.
  st.SAMPKIND = "[SYMB4]";
  while (!rt::at_eof(st.TRXCHAN)) {
    st.step("0002");
    if (!rt::line_input(st.TRXCHAN, CONVLINE)) break;
    // Words end at blanks, tabs and colons; a line whose first word is no number above 0 names the
    // kind of the samples that follow.
    std::string delims = " :\t";
    PARSVARS(CONVLINE, delims);
    const std::string first = PARSEDCOUNT > 0 ? PARSED(1) : std::string();
    if (rt::VAL(first) == 0) {
      st.step("0003");
      if (FNPRES(CONVLINE, st.CONVLIST[3]) > 0) {
        st.SAMPKIND = "[SYMB1]";
        if (FNPRES(CONVLINE, st.CONVLIST[4]) > 0) st.SAMPKIND = "[SYMB2]";
      } else {
        st.SAMPKIND = "[SYMB4]";
        if (FNPRES(CONVLINE, st.CONVLIST[6]) > 0) st.SAMPKIND = "[SYMB3]";
        else if (FNPRES(CONVLINE, st.CONVLIST[7]) > 0) st.SAMPKIND = "[SYMB5]";
        else if (FNPRES(CONVLINE, st.CONVLIST[17]) > 0) st.SAMPKIND = "[SYMB9]";
      }
      continue;
    }
    // A sample: the depth is the first word, the text what follows it and the one character that
    // ended it.
    st.step("0004");
    const long at = rt::INSTR(CONVLINE, first);
    const std::string text = rt::TRIM(rt::MID(CONVLINE, at + static_cast<long>(first.size()) + 1));
    std::string depth = first;
    FNCOMMA(depth);
    // A depth beyond what a sheet can draw is said with the file's name and line, and left out.
    const std::string where = NOTENAME + " line" + rt::STR(static_cast<std::int64_t>(rt::line_number(st.TRXCHAN)));
    if (depth_beyond_sheet(st, rt::VAL(depth), where + ": " + CONVLINE, "the sample is left out")) continue;
    add_sample(st, text, depth);
  }
  rt::close_file(st.TRXCHAN);
}
