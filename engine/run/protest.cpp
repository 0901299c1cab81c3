// PROTEST: the symbol test. The keyword table of the vocabulary is listed as a catalogue of first
// keywords; the user gives a range of it ("CLAY,SAND"), and the summary (legend) sheet of those symbols is
// laid out and drawn as a run's legend is.
//
// Beyond what the Parts ask: without a person at the console (a one-shot run with activity 1) nothing can
// be chosen: that is said on the console and in ERROR.LOG and the run ends with exit code 1; the message
// of an answer without a comma stays a second before the question comes back; at most 100 entries of the
// keyword table are listed (said once when there are more), and the scan stops at an entry without its
// "]." end.
#include <algorithm>

#include "engine/convert/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/run/run.h"
#include "engine/runtime/command.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"

namespace {

constexpr int kEntries = 100;
const std::string kBar(1, static_cast<char>(179));

struct Catalogue {
  std::string line;                        // 13-character cells
  std::vector<std::string> keywords{""};   // by entry number, from 1
  std::vector<std::string> names{""};
};

Catalogue catalogue() {
  Catalogue c;
  size_t at = 0;
  for (size_t p = KEYWORDS.find("./", at); p != std::string::npos; p = KEYWORDS.find("./", at)) {
    at = p + 2;
    const size_t slash = KEYWORDS.find('/', p + 2);
    if (slash == std::string::npos) break;
    const size_t end = KEYWORDS.find("].", slash);
    if (end == std::string::npos) break;  // an entry without its end
    const size_t open = end >= 2 ? KEYWORDS.rfind("/[", end - 2) : std::string::npos;
    if (open == std::string::npos || open < p + 2) break;
    if (static_cast<int>(c.names.size()) > kEntries) {
      platform::console().print("More than 100 entries in the keyword table; the rest are not listed.", true);
      break;
    }
    const std::string first = KEYWORDS.substr(p + 2, slash - p - 2);
    c.line += kBar + rt::LSET(rt::LEFT(first, 12), 12);
    std::string words = KEYWORDS.substr(p + 2, open - p - 2);
    if (const size_t s = words.find('/'); s != std::string::npos) words = words.substr(0, s) + rt::LCASE(words.substr(s));
    c.keywords.push_back(words);
    c.names.push_back(KEYWORDS.substr(open + 1, end - open));
    at = end;
  }
  return c;
}

}  // namespace

void PROTEST() {
  RT_TRAP(trap, "PROTEST");
  auto& con = platform::console();
  if ((RUNFLAGS & 1) != 0 && !con.interactive()) {
    const std::string text = "The symbol test takes its range of symbols at the console; nothing is drawn.";
    con.print(text, true);
    rt::log_note(text);
    rt::set_exit_code(1);
    return;
  }
  for (int n : {60, 61, 62, 63, 64}) con.print(PROMPT(n), true);
  con.print("", true);
  con.print(PROMPT(66), true);
  con.print("", true);
  const Catalogue c = catalogue();
  for (int i = 1; i <= 22; ++i) HEADER(i).clear();
  for (size_t s = 0; s < c.line.size(); s += 78) con.print(c.line.substr(s, 78), true);
  long first = 0, last = 0;
  for (;;) {
    std::string answer;
    PUTONE(PROMPT(67), answer);
    if (rt::TRIM(answer).empty()) return;
    const long comma = rt::INSTR(answer, ",");
    if (comma == 0) {
      MESSAGE("    " + PROMPT(68) + " (comma ?) " + answer, 1);
      con.pause_ms(1000);
      MESSOFF();  // the question comes back on a blank line, no part of the message before it
      continue;
    }
    auto cell = [](const std::string& s) { return kBar + rt::LSET(rt::LEFT(rt::UCASE(rt::TRIM(s)), 12), 12); };
    first = rt::INSTR(c.line, cell(rt::LEFT(answer, comma - 1)));
    last = rt::INSTR(c.line, cell(rt::MID(answer, comma + 1)));
    if (first == 0 || last == 0) {
      MESSAGE("    " + PROMPT(68) + " " + answer, 1);
      con.pause_ms(1000);
      MESSOFF();  // the question comes back on a blank line, no part of the message before it
      continue;
    }
    if (first > last) std::swap(first, last);
    if ((last - first + 13) / 13 > 36) {
      MESSAGE("    " + PROMPT(64), 1);
      con.pause_ms(1000);
      MESSOFF();  // the question comes back on a blank line, no part of the message before it
      continue;
    }
    break;
  }
  SUMMARYKEY = "|SUMMARY|";
  std::int32_t n = 0;
  for (long pos = first; pos <= last; pos += 13) {
    const size_t e = static_cast<size_t>((pos - 1) / 13 + 1);
    SUMMARYKEY += c.keywords[e] + c.names[e] + "|";
    if (++n <= SYMBOLUSED.ubound()) SYMBOLUSED(n) = 0;
  }
  SOURCENAME.clear();
  HEADER(20) = VOCAB(24);
  HEADER(21) = VOCAB(23);
  NOTECOUNT = 0;
  ATTRCOUNT = 0;
  PROFILECODE = "000000";
  INFILE.clear();
  CATALOGMARK.clear();
  PROFRMARGIN = 0;
  ROWCENTR(STATUSROW - 1, " " + PROMPT(74) + " ");
  PROSUMMA();
  PROFORMA();
  place_run_target();
}
