// PUTONE: a one-line question on the message line; CLEARPRO: blank the message line.
#include <algorithm>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

namespace {

constexpr size_t kMaxTyped = kWholeEntry;

// The console's line input at the cursor: characters from code 32 are echoed and taken, Backspace takes
// the last one back, Enter ends the entry and moves to the next row; every other key is ignored (Esc
// does not cancel). Without a person at the console (also once the terminal's input has closed during
// the entry) the entry is empty at once, since no key that could end it will ever come. Echo that would
// scroll the screen (past the last cell of the last row) is not taken, so a long entry cannot push the
// whole screen up.
//
// With a field (its width in columns from the cursor, as part of the message line) the entry stays
// in that field: when it is longer, its last characters are shown, so that what is typed is seen.
// With escaped, Esc ends the entry too: empty, and *escaped set.
std::string line_input(platform::Console& con, long field = 0, bool* escaped = nullptr) {
  std::string typed;
  if (!con.interactive()) {
    con.print("", true);
    return typed;
  }
  const int start_row = con.cursor_row(), start_col = con.cursor_col();
  // The entry in its field: as much of its end as fits, the cursor after it.
  // Measured in cells: a letter of a name in the terminal's encoding takes one, whatever its bytes.
  auto show_field = [&] {
    const size_t room = static_cast<size_t>(field - 1), cells = platform::text_cells(typed);
    const std::string shown = cells > room ? typed.substr(platform::cut_text(typed, cells - room).size()) : typed;
    const size_t shown_cells = platform::text_cells(shown);
    con.locate(start_row, start_col);
    con.print_text(shown + std::string(static_cast<size_t>(field) - shown_cells, ' '), false);
    con.locate(start_row, start_col + static_cast<int>(shown_cells));
  };
  if (field > 0) show_field();
  auto place = [&](size_t index) {
    long lin = start_col - 1 + static_cast<long>(index);
    con.locate(start_row + static_cast<int>(lin / platform::Console::kCols),
               static_cast<int>(lin % platform::Console::kCols) + 1);
  };
  const platform::LetterEntry letters(con);
  for (;;) {
    std::string k = con.wait_key();
    // The terminal's input closed while the question waited: no Enter can end the entry any more.
    if (!con.interactive()) {
      typed.clear();
      break;
    }
    // A letter CP437 lacks comes as its UTF-8 bytes (its first byte is none of the keys below).
    const bool other_letter = platform::is_letter_key(k);
    if (!other_letter && k.size() != 1) continue;
    auto c = static_cast<unsigned char>(k[0]);
    if (c == 13) break;
    if (c == 27 && escaped != nullptr) {
      *escaped = true;
      typed.clear();
      break;
    }
    if (c == 8) {
      if (typed.empty()) continue;
      // The last character goes, all its bytes.
      typed = platform::cut_text(typed, platform::text_cells(typed) - 1);
      if (field > 0) {
        show_field();
        continue;
      }
      place(platform::text_cells(typed));
      con.print(" ", false);
      place(platform::text_cells(typed));
      continue;
    }
    if (c < 32 || typed.size() >= kMaxTyped) continue;
    // A letter beyond ASCII (its CP437 byte from the key decoder) is taken in the terminal's encoding,
    // as the names it may be part of are written.
    const std::string piece =
        other_letter || c < 128 || !platform::names_in_utf8() ? k : platform::cp437_to_utf8(k);
    if (field > 0) {
      typed += piece;
      show_field();
      continue;
    }
    if (con.cursor_row() == con.rows() && con.cursor_col() == platform::Console::kCols) continue;
    typed += piece;
    con.print_text(piece, false);
  }
  if (con.cursor_row() < con.rows()) con.print("", true);
  else con.locate(con.cursor_row(), 1);
  return typed;
}

// The column where PUTONE's question begins: where the key hint (prompt 74) is centred.
std::int32_t question_column() {
  std::int32_t c = 0;
  rt::let(c, 39 - static_cast<std::int32_t>(PROMPT(74).size()) / 2.0);
  return c;
}

// A long entry scrolls in the rest of the message line, which keeps at least 20 columns for it.
constexpr long kLineEnd = 78, kLeastField = 20;

}  // namespace

std::int32_t putone_question_room(std::int32_t longest) {
  const long rest = kLineEnd + 1 - question_column();
  return static_cast<std::int32_t>(std::max(0L, longest > 24 ? rest - kLeastField : rest));
}

void PUTONE(const std::string& question, std::string& answer, std::int32_t longest, bool* escaped) {
  RT_TRAP(trap, "PUTONE");
  auto& con = platform::console();
  if (escaped != nullptr) *escaped = false;
  std::int32_t r = STATUSROW - 1;
  std::string saved;
  AREAD(saved, r, 3, 76);
  // Blank the key hint (prompt 74) where the screens centre it.
  std::int32_t hint_len = static_cast<std::int32_t>(PROMPT(74).size());
  const std::int32_t c = question_column();
  con.locate(r, c);
  con.print(rt::SPACE(hint_len), false);
  SETCOLOR(2);
  con.locate(r, c);
  std::string typed;
  if (longest > 24) {
    // The entry keeps at least 20 columns. A question too long for the rest stands on the row above
    // (folded after a word, with a mark, when it is longer than that row), the entry on the message line.
    const long room = std::max(0L, kLineEnd + 1 - kLeastField - c);
    if (static_cast<long>(platform::text_cells(question)) + 1 > room && r > 1) {
      std::vector<platform::Cell> above;
      for (int col = 1; col <= platform::Console::kCols; ++col)
        above.push_back({con.char_at(r - 1, col), con.attr_at(r - 1, col)});
      std::string shown = question;
      const long width = kLineEnd + 1 - c;
      if (static_cast<long>(platform::text_cells(shown)) > width) shown = fold_words(shown, static_cast<size_t>(width - 4)).front() + " ...";
      con.locate(r - 1, c);
      shown = platform::cut_text(shown, static_cast<size_t>(std::max(0L, width)));
      shown += std::string(static_cast<size_t>(std::max(0L, width)) - platform::text_cells(shown), ' ');
      con.print_text(shown, false);
      con.locate(r, c);
      typed = line_input(con, width, escaped);
      for (int col = 1; col <= static_cast<int>(above.size()); ++col) {
        const platform::Cell& cell = above[static_cast<size_t>(col - 1)];
        con.color(cell.attr & 0x0F, cell.attr >> 4);
        con.locate(r - 1, col);
        con.print(std::string(1, static_cast<char>(cell.ch)), false);
      }
    } else {
      const std::string shown = platform::cut_text(question + " ", static_cast<size_t>(room));
      con.print_text(shown, false);
      typed = line_input(con, kLineEnd + 1 - c - static_cast<long>(platform::text_cells(shown)), escaped);
    }
  } else {
    con.print_text(question + " ", false);
    typed = line_input(con, 0, escaped);
  }
  typed = rt::LEFT(typed, longest);
  if (!typed.empty()) answer = typed;
  SETCOLOR(1);
  con.locate(r, 3);
  con.print(saved, false);
}

void CLEARPRO() {
  RT_TRAP(trap, "CLEARPRO");
  auto& con = platform::console();
  con.locate(STATUSROW - 1, 1);
  con.print(rt::SPACE(78), false);
}
