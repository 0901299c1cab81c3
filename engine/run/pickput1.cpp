// PICKPUT1: the file picker's one-line input field (prompt, field, key hint) with overwrite and insert
// editing, F3 recall of the last entry and the shortening of a long path to "...\" + its tail.
#include <algorithm>

#include "engine/frame/console.h"
#include "engine/frame/helpers.h"
#include "engine/run/picker.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

std::string RECALLTEXT;

namespace {


enum class Look { kLo, kHi, kTwi };

void set_look(platform::Console& con, Look look) {
  switch (look) {
    case Look::kLo: con.color(7, 0); break;
    case Look::kHi: con.color(0, 15); break;
    case Look::kTwi: con.color(15, 4); break;
  }
}

// The field's state while the user edits it.
struct Field {
  platform::Console& con;
  int row = 0;
  int start = 0;       // first column of the field
  int text_start = 0;  // first column after the "...\" prefix
  int last = 0;        // the field's last column
  int cursor = 0;
  bool insert = false;
  bool clear_pending = true;
  std::string text;    // the field text as drawn, recalled or read back

  // One cell: a byte, or a letter of a name as its bytes in the terminal's encoding.
  void put(int col, const std::string& c) {
    con.locate(row, col);
    con.print_text(c, false);
  }
  void put(int col, char c) { put(col, std::string(1, c)); }
  // From the cursor rightwards up to the field's last column, each column takes its right neighbour's
  // character; with stop_at_blank, the shift ends once a blank has been copied.
  void shift_left(bool stop_at_blank) {
    set_look(con, Look::kHi);
    int col = cursor;
    for (; col < last; ++col) {
      const std::string c = con.text_at(row, col + 1);
      put(col, c);
      if (stop_at_blank && c == " ") return;
    }
    put(last, ' ');
  }
  void blank_to_end() {
    set_look(con, Look::kHi);
    for (int col = cursor; col <= last; ++col) put(col, ' ');
  }
};

}  // namespace

void PICKPUT1(const std::int32_t& row, const std::int32_t& col, const std::string& prompt, std::string& text,
              std::string& hint) {
  RT_TRAP(trap, "PICKPUT1");
  auto& con = platform::console();
  if (hint.empty()) hint = std::string{'\x11', '\xC4', '\xD9'} + " Enter";
  const int width = 79 - col - static_cast<int>(prompt.size()) - static_cast<int>(hint.size());

  set_look(con, Look::kLo);
  con.locate(row, col);
  con.print(rt::SPACE(std::max(0, 79 - col)), false);

  // Shortening: "...\\" and the path's end fit in width - 2 columns (path_cut); the head keeps what was
  // cut, so Enter still gives the whole name back.
  std::string head, prefix;
  if (const size_t cut = path_cut(text, width - 2); cut > 0) {
    prefix = "...\\";
    head = text.substr(0, cut);
    text = text.substr(cut);
  }

  Field f{con, 0, 0, 0, 0, 0, false, true, {}};
  f.row = row;
  f.start = col + static_cast<int>(prompt.size());
  f.text_start = f.start + static_cast<int>(prefix.size());
  f.last = f.start + std::max(width, 1) - 1;
  // Measured in cells: a name's letter in the terminal's encoding takes one, whatever its bytes.
  f.text = platform::cut_text(prefix + text, static_cast<size_t>(std::max(width, 0)));
  f.text += std::string(static_cast<size_t>(std::max(width, 0)) - platform::text_cells(f.text), ' ');
  const std::string first_drawn = f.text;
  // Tab and Shift+Tab find commas in the bytes of that text, while the cursor moves by cells: the byte
  // where the text's cell n begins, and the cell of a byte.
  auto byte_at = [&](int n) { return platform::cut_text(first_drawn, static_cast<size_t>(std::max(0, n))).size(); };
  auto cell_of = [&](size_t byte) { return static_cast<int>(platform::text_cells(first_drawn.substr(0, byte))); };

  con.locate(row, col);
  set_look(con, Look::kTwi);
  con.print(prompt, false);
  set_look(con, Look::kHi);
  con.print_text(f.text, false);
  set_look(con, Look::kTwi);
  con.print(hint, false);
  set_look(con, Look::kLo);
  f.cursor = std::min(f.last, f.start + static_cast<int>(platform::text_cells(prefix + text)));

  auto exit_pick = [&] {
    const std::string trimmed = rt::TRIM(f.text);
    text = (trimmed.find(':') != std::string::npos ? std::string() : head) + trimmed;
    con.cursor(false);
  };

  const platform::LetterEntry letters(con);
  for (;;) {
    con.cursor(true, f.insert ? 50 : 10);
    con.locate(row, f.cursor);
    con.flush();
    std::string k = con.wait_key();
    // Without a person at the console (or once the terminal's input has closed) no key can come that
    // ends the editing: it ends as Esc does.
    if (!con.interactive()) k = "\x1B";
    if (f.text.empty()) return exit_pick();
    // A letter CP437 lacks comes as its UTF-8 bytes (its first byte is none of the keys below).
    const bool other_letter = platform::is_letter_key(k);
    if (k.size() == 1 || other_letter) {
      const auto c = static_cast<unsigned char>(k[0]);
      // A letter beyond ASCII (the key decoder gives its CP437 byte) is typed into a name in the
      // terminal's encoding, the name's own; in another locale such letters are not taken.
      const bool letter = other_letter || (c >= 128 && c != 255 && platform::names_in_utf8());
      if ((c >= 32 && c <= 126) || letter) {
        if (f.clear_pending) {
          f.blank_to_end();
          f.clear_pending = false;
        }
        if (f.insert) {
          set_look(con, Look::kHi);
          for (int x = f.last; x > f.cursor; --x) f.put(x, con.text_at(row, x - 1));
        }
        set_look(con, Look::kHi);
        f.put(f.cursor, letter && !other_letter ? platform::cp437_to_utf8(k) : k);
        if (f.cursor < f.last) ++f.cursor;
      } else if (c == 8) {
        f.clear_pending = false;
        if (f.cursor > f.text_start) --f.cursor;
        f.shift_left(true);
      } else if (c == 9) {
        // Tab: on to the next comma of the field text as first drawn, or after the end of that text.
        const size_t from = byte_at(f.cursor - f.start + 1);
        const size_t comma = from < first_drawn.size() ? first_drawn.find(',', from) : std::string::npos;
        const int to = f.start + cell_of(comma != std::string::npos ? comma : rt::RTRIM(first_drawn).size());
        f.cursor = std::clamp(to, f.text_start, f.last);
      } else if (c == 13) {
        std::string back;
        AREAD(back, row, f.text_start, f.last - f.text_start + 1);
        f.text = back;
        RECALLTEXT = back;
        return exit_pick();
      } else if (c == 27) {
        f.text.clear();
        return exit_pick();
      }
      continue;
    }
    if (k.size() != 2) {  // a mouse report
      f.text = std::string(1, k.size() > 1 ? k[1] : '\xFF');
      return exit_pick();
    }
    switch (static_cast<unsigned char>(k[1])) {
      case 15: {  // Shift+Tab: back to the previous comma, or to the start of the text
        const size_t at = byte_at(f.cursor - f.start);
        const size_t comma = at == 0 ? std::string::npos : first_drawn.rfind(',', at - 1);
        f.cursor = comma != std::string::npos ? std::clamp(f.start + cell_of(comma), f.text_start, f.last)
                                              : f.text_start;
        break;
      }
      case 61: {  // F3: the text of the last Enter, as much as the field holds
        const std::string recalled =
            platform::cut_text(RECALLTEXT, static_cast<size_t>(std::max(0, f.last - f.text_start + 1)));
        set_look(con, Look::kHi);
        con.locate(row, f.text_start);
        con.print_text(recalled, false);
        set_look(con, Look::kLo);
        f.text = recalled;
        break;
      }
      case 72:
        f.text = "E";
        return exit_pick();
      case 75:
        if (f.cursor > f.text_start) --f.cursor;
        break;
      case 77:
        if (f.cursor < f.last) ++f.cursor;
        break;
      case 82:
        f.insert = !f.insert;
        break;
      case 83:
        f.shift_left(false);
        break;
      case 89:
      case 99:
        f.blank_to_end();
        break;
      case 79: {  // End: just after the last character of the field, never past its last column
        int x = f.last + 1;
        while (x > f.text_start && con.char_at(row, x - 1) == ' ') --x;
        f.cursor = std::min(x, f.last);
        break;
      }
      case 71:
        f.cursor = f.text_start;
        break;
      default:
        f.text = std::string(1, k[1]);
        return exit_pick();
    }
  }
}
