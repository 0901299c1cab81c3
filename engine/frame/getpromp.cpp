// The prompt file: numbered texts between the BEGIN and END lines, then the four menus of the SET
// editor.
//
// A damaged file is reported once, naming the file and line, and keeps what was read: a file that ends
// before a marker or before its menus are complete (input past end), a text numbered beyond the table
// (skipped, the texts after it are read), a menu count too large for a number (the menus end there).
// The readers never go on reading past the end.
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"

namespace {

bool is_marker(const std::string& line, const char* word) { return FNSTRIP(rt::UCASE(line)) == word; }

// Reads lines until one reduces to the marker word; false at the end of the file (reported once by the
// line reader).
bool skip_to_marker(int f, const char* word) {
  std::string line;
  while (rt::line_input(f, line))
    if (is_marker(line, word)) return true;
  return false;
}

// A menu count: the next non-zero number item; false at the end of the file or at a count that
// overflows (which would otherwise read the menus' items as counts to the end of the file).
bool read_count(int f, std::int32_t& count, const rt::Trap& trap) {
  std::string item;
  count = 0;
  while (count == 0) {
    if (!rt::input_item(f, item)) return false;
    rt::let(count, rt::VAL(item));
    if (trap.damaged()) return false;
  }
  return true;
}

// Every word of the text, split at commas, full stops and blanks, that is written in capitals (or
// digits) becomes the reverse word; the last one wins.
void take_reverse_word(const std::string& text) {
  std::string delims = ",. ";
  PARSVARS(text, delims);
  for (std::int32_t w = 1; w <= PARSEDCOUNT; ++w)
    if (PARSED(w) == rt::UCASE(PARSED(w))) REVERSEWORD = PARSED(w);
}

}  // namespace

void FETCHPRO(std::string& name) {
  RT_TRAP(trap, "FETCHPRO");
  if (!rt::file_exists(name)) {
    missing_file(name);
    return;
  }
  int f = rt::FREEFILE();
  if (!rt::open_file(f, name, rt::FileMode::Input)) return;
  rt::engine_file(f);
  trap.reading(f, name);
  if (skip_to_marker(f, "BEGIN")) {
    std::string line;
    // The END line is read as a text line first; its number is 0, so it stores nothing. A number
    // beyond the table, or too large for a number, is reported and its text skipped.
    while (rt::line_input(f, line)) {
      std::int32_t n = 0;
      rt::let(n, rt::VAL(rt::LEFT(line, 3)));
      if (n > 0) PROMPT(n) = rt::TRIM(rt::MID(line, 4));
      if (is_marker(line, "END")) break;
    }
  }
  rt::close_file(f);
}

void FETCHMENUS() {
  RT_TRAP(trap, "FETCHMENUS");
  // A missing file: FETCHPRO, which reads it first, has said so on the console; the line in ERROR.LOG
  // is written once.
  if (!rt::file_exists(PROMPTNAME)) {
    rt::fault_logged_once("File not found : " + PROMPTNAME);
    return;
  }
  int f = rt::FREEFILE();
  if (!rt::open_file(f, PROMPTNAME, rt::FileMode::Input)) return;
  rt::engine_file(f);
  trap.reading(f, PROMPTNAME);
  if (skip_to_marker(f, "END")) {
    std::int32_t i = 0;
    bool more = true;
    for (std::int32_t k = 1; k <= 4 && more; ++k) {
      std::int32_t count = 0;
      if (!read_count(f, count, trap)) break;
      MENUFIRST(k) = i;
      MENUCOUNT(k) = count;
      for (std::int32_t j = 1; j <= count; ++j) {
        ++i;
        // More items than the tables hold: one report, and the rest of the file is left unread.
        if (!MENUITEM1.in_bounds(i)) {
          rt::raise(9);
          more = false;
          break;
        }
        if (!rt::input_item(f, MENUITEM1(i)) || !rt::input_item(f, MENUITEM2(i)) ||
            !rt::input_item(f, MENUITEM3(i))) {
          more = false;
          break;
        }
        if (k == 3 && j == 2) take_reverse_word(MENUITEM2(i));
      }
    }
  }
  rt::close_file(f);
}
