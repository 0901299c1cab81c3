// The command tail and the run file of the front end.
//
// A tail that holds "@" names the run file; each of its lines gives one item from its first two
// characters (the item number and "/") and the trimmed text after the first "=". Any other tail is a
// list of "N/value" words itself. Each item n from 1 to 31 that is given sets bit n - 1 of RUNFLAGS;
// items 0 to 9 also set the run settings below. Higher item numbers (only a hand-made tail can hold
// them) are ignored, and so are those too large for a number.
//
// An output or activity word that no word of its prompt list contains names nothing the engine can do:
// it is reported on the console and in ERROR.LOG, the setting keeps its value and run_item_refused
// holds the item, so that a one-shot run is not done with a device or activity the user did not ask for.
// An empty list (no prompt file) refuses nothing: the device keeps its value and a word gives activity 0.
#include <cstdint>

#include "engine/frame/console.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

namespace {

// Stands for a blank inside a run-file value while the items are split at blanks. The line reader ends
// a line at every carriage return, so no value read from the run file can hold one.
constexpr char kBlankMark = '\r';

// The word lookup: the position (from 1) of the first blank-separated piece of the prompt text that
// contains the value, both upper-cased; 0 when none does. Two adjacent blanks give an empty piece,
// which counts but never matches; a blank at the end gives none.
std::int32_t word_position(const std::string& prompt, const std::string& value) {
  rt::current_trap()->section("BREAKOUT");
  const std::string text = rt::UCASE(prompt);
  const std::string want = rt::UCASE(value);
  std::int32_t pieces = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    ++pieces;
    const std::string piece = text.substr(start, end - start);
    if (!piece.empty() && piece.find(want) != std::string::npos) return pieces;
    start = end + 1;
  }
  return 0;
}

// A word that names nothing of its list: said with a beep on the console (a key lets the user read
// it) and in ERROR.LOG; the first such item is remembered.
void refuse_word(std::int32_t item, const std::string& what, const std::string& value, const std::string& list) {
  const std::string text = "Run file: " + what + " \"" + value + "\" is no word of \"" + list + "\"";
  platform::Console& con = platform::console();
  con.beep();
  con.print(text, true);
  rt::log_note(text);
  con.flush();
  con.wait_key();
  if (run_item_refused == 0) run_item_refused = item;
}

// Item 2: the output device from the words of prompt 33 (the first two are its caption).
void LINKUPDE(const std::string& value) {
  rt::current_trap()->section("LINKUPDE");
  std::int32_t position = word_position(PROMPT(33), value);
  if (position == 0 && !PROMPT(33).empty()) refuse_word(2, "output", value, PROMPT(33));
  else if (position > 2) OUTDEV = position - 2;
}

// Item 4: the activity, as a digit ("0", "1", "2", or the runs "01", "12", "012" taken as numbers; "3",
// the reduced sheet, which only a run file asks for) or as a word of prompt 28 (the first is its caption).
void LINKUPME(const std::string& value) {
  rt::current_trap()->section("LINKUPME");
  if (rt::INSTR(std::string("012"), value) > 0 || value == "3") {
    rt::let(SHEETMODE, rt::VAL(value));
    return;
  }
  std::int32_t position = word_position(PROMPT(28), value);
  if (position == 0 && !PROMPT(28).empty()) refuse_word(4, "activity", value, PROMPT(28));
  else SHEETMODE = position > 2 ? position - 2 : 0;
}

void apply_item(std::int32_t n, const std::string& value) {
  if (n >= 32) return;
  if (n >= 1) RUNFLAGS |= static_cast<std::int32_t>(1u << (n - 1));
  switch (n) {
    case 1: SOURCENAME = value; break;
    case 2: LINKUPDE(value); break;
    case 3: RUNLINE = value; break;
    case 4: LINKUPME(value); break;
    case 6: rt::let(FORCEDSCALE, rt::VAL(value)); break;
    case 7:
      if (rt::INSTR(rt::UCASE(value), "YES") > 0) SUMMARYKEY = "|SUMMARY|";
      break;
    case 8: RESULTNAME = value; break;
    case 9:
      if (rt::INSTR(rt::UCASE(value), "YES") > 0) DEBUGRUN = -1;
      break;
    default:
      if (n <= 0) SETUPNAME = rt::INSTR(rt::UCASE(value), ".SET") > 0 ? value : value + ".SET";
      break;
  }
}

// Splits the item text at blanks and applies the items in their order.
void PARSECOM(const std::string& items, bool marked) {
  rt::current_trap()->section("PARSECOM");
  std::string delims = " ";
  PARSVARS(items, delims);
  RUNFLAGS = 0;
  run_item_refused = 0;
  for (std::int32_t i = 1; i <= PARSEDCOUNT; ++i) {
    std::int32_t n = 0;
    std::string value;
    BREAKOUT(PARSED(i), n, value);
    if (value.empty()) continue;
    if (marked)
      for (char& c : value)
        if (c == kBlankMark) c = ' ';
    apply_item(n, value);
  }
}

// The run file as one text of items separated by blanks; blanks inside a value are marked.
std::string read_run_file(const std::string& name) {
  std::string items;
  // A run file the user may not read is said with what to do (the run then has nothing to do).
  if (const int e = rt::read_access(name); e != 0) {
    show_unreadable(name, e);
    return items;
  }
  int f = rt::FREEFILE();
  if (!rt::open_file(f, name, rt::FileMode::Input)) return items;
  std::string line;
  while (!rt::at_eof(f) && rt::line_input(f, line)) {
    long eq = rt::INSTR(line, "=");
    if (eq == 0) continue;
    std::string item = rt::TRIM(rt::LEFT(line, 2) + rt::TRIM(rt::MID(line, eq + 1)));
    for (char& c : item)
      if (c == ' ') c = kBlankMark;
    items += item + " ";
  }
  rt::close_file(f);
  return items;
}

}  // namespace

void BREAKOUT(const std::string& token, std::int32_t& number, std::string& value) {
  RT_TRAP(trap, "BREAKOUT");
  value.clear();
  long slash = rt::INSTR(token, "/");
  if (slash > 0) {
    number = 0;
    rt::let(number, rt::VAL(token));
    // A number too large for an item (reported: overflow) names no item; its value is dropped rather
    // than taken for item 0, the SET file.
    if (!trap.damaged()) value = rt::MID(token, slash + 1);
  } else {
    number = -1;
    value = token;
  }
}

void READRUNS(std::string& cmd) {
  RT_TRAP(trap, "READRUNS");
  bool marked = false;
  if (rt::INSTR(cmd, "@") > 0) {
    const std::string name = cmd;
    if (!rt::file_exists(name)) {
      platform::Console& con = platform::console();
      con.beep();
      missing_file(name);
      con.flush();
      con.wait_key();
      cmd.clear();
    } else {
      cmd = read_run_file(name);
      marked = true;
    }
  }
  PARSECOM(cmd, marked);
}
