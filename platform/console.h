// The engine's console: an in-memory model of the screen with pluggable back ends.
//
// The model holds 8 pages of rows x 80 cells (a CP437 byte and a colour each), the page that receives
// output and the page that is shown, the cursor and the current colour. A back end supplies the input
// (key and mouse events as the engine's event strings) and shows the model:
//  - batch: standard input is not a terminal; every key wait returns Esc at once, pauses and beeps are
//    skipped, and what is printed also goes to standard output as plain lines;
//  - terminal (console_terminal.h): raw mode on the alternate screen, the shown page painted in 16 ANSI
//    colours with CP437 shown as UTF-8, keys and xterm mouse reports decoded into event strings;
//  - scripted (console_scripted.h): tests queue keys and mouse events and read the screen back.
//
// Input events are the engine's event strings: one character for an ordinary key (Enter 13, Esc 27,
// Backspace 8, Tab 9); a zero character and the scan code for a key without a character (Up 72, Down 80,
// Left 75, Right 77, Home 71, End 79, PgUp 73, PgDn 81, Ins 82, Del 83, F1..F10 59..68, Shift+Tab 15,
// Alt+letter the letter key's scan code); for a mouse event, once mouse input is on, four characters:
// 255, 255, the event (1 move, 2 double click, 4 press, 8 release) and the button (1 left, 2 right).
//
// Rows and columns count from 1. A row or column outside the window leaves that coordinate as it was.
// Colours are 0..15 in the console's own order; a value outside 0..15 leaves that half unchanged.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Cell {
  std::uint8_t ch = ' ';
  std::uint8_t attr = 0x07;  // foreground in the low nibble, background in the high nibble
  // A character of the terminal's own encoding that print_text put here (a letter of a file name, such
  // as "Ä" of "Ärger.txt"): it is what the cell shows, and ch holds its CP437 byte, or "?" where the
  // code page has none. 0 for every other cell: ch is then a CP437 byte.
  char32_t uc = 0;
  bool operator==(const Cell&) const = default;
};

// File names and the text typed for them are bytes in the terminal's own encoding, while the engine's
// own text is CP437. A terminal whose locale is UTF-8 (or names none: the terminal back end writes
// UTF-8) gets names decoded for display and typed letters encoded; another locale shows every byte
// through CP437 as before. The setting is read once from LC_ALL, LC_CTYPE and LANG; tests set it.
bool names_in_utf8();
void set_names_in_utf8(bool on);
// The length of the valid UTF-8 sequence of one character of a single column that begins text at
// index i, with that character; 0 where there is none (an ASCII byte, a broken sequence, a character
// the cells cannot show in one column: wide or combining). Only while names_in_utf8().
size_t name_character(std::string_view text, size_t i, char32_t& u);
// The cells print_text takes for a text; the longest start of a text that takes at most cells cells
// (never part of a character); the text as UTF-8 (its name characters as they are, the rest CP437).
size_t text_cells(std::string_view text);
std::string cut_text(std::string_view text, size_t cells);
// The end of a text in at most cells cells (never part of a character).
std::string tail_text(std::string_view text, size_t cells);
std::string text_to_utf8(std::string_view text);

// Mouse events and buttons as the event strings carry them.
enum MouseEvent { kMouseMove = 1, kMouseDouble = 2, kMousePress = 4, kMouseRelease = 8 };
enum MouseButton { kMouseLeft = 1, kMouseRight = 2 };

// The engine's event string of a mouse event.
std::string mouse_key(int event, int button);
// True for a four-character mouse event string.
bool is_mouse_key(std::string_view key);
// True for the event of a typed letter that CP437 lacks ("ł", "Œ"): its UTF-8 bytes, 2 to 4 of them,
// the first 0xC2 or more. The key decoder gives such events only while names_in_utf8(), and a console
// passes them on only while a name entry takes them (take_letters): everywhere else a key of two
// characters is read as a scan code, so there they are dropped, as before.
bool is_letter_key(std::string_view key);

class Console {
 public:
  static constexpr int kCols = 80;
  static constexpr int kPages = 8;

  explicit Console(int rows = 25);
  virtual ~Console();

  // Size of the visible window.
  int rows() const { return rows_; }
  int cols() const { return kCols; }

  // --- output into the active page ---
  void locate(int row, int col);
  int cursor_row() const { return row_; }
  int cursor_col() const { return col_; }
  void color(int fg, int bg);
  int foreground() const { return attr_ & 0x0F; }
  int background() const { return (attr_ >> 4) & 0x0F; }
  void print(std::string_view text, bool newline);
  // As print, for text that may hold file names or what was typed for one: each character of the
  // terminal's encoding (name_character) takes one cell and shows as itself; other bytes as print.
  void print_text(std::string_view text, bool newline);
  void cls();
  // Recolours count cells from the cursor with the current colour, leaving their characters.
  void recolor(int count);
  void cursor(bool visible, int size_percent = 0);
  bool cursor_visible() const { return cursor_visible_; }
  int cursor_size() const { return cursor_size_; }

  // --- pages (1..8) ---
  void set_active_page(int page);
  void set_visible_page(int page);
  int active_page() const { return active_; }
  int visible_page() const { return visible_; }
  void copy_page(int from, int to);

  // A whole page with the cursor and colour, to put back later (message boxes drawn over a screen).
  struct Snapshot {
    int page = 1;
    std::vector<Cell> cells;
    int row = 1, col = 1;
    std::uint8_t attr = 0x07;
    bool cursor_visible = true;
  };
  Snapshot snapshot(int page) const;
  void restore(const Snapshot& s);

  // --- read back (from the active page) ---
  std::uint8_t char_at(int row, int col) const;
  std::uint8_t attr_at(int row, int col) const;
  // The text of a row of the active page, trailing blanks kept (80 characters).
  std::string row_text(int row) const;
  // What a cell of the active page holds as text: the bytes of its character in the terminal's
  // encoding (a name's letter), else its byte. AREAD reads this, so a name shown comes back unchanged.
  std::string text_at(int row, int col) const;
  const Cell& cell(int page, int row, int col) const;

  // --- input ---
  // Blocks until one event is available and returns it as the engine's event string. Sets the mouse
  // row and column when the event is a mouse event.
  virtual std::string wait_key() = 0;
  // True when an event is waiting; it stays unread.
  virtual bool key_pending() = 0;
  // Mouse reporting: buttons 1 left, 2 right, 3 both; events bitmask 1 move, 2 double, 4 press, 8 release.
  virtual void mouse_on(int buttons, int events);
  virtual void mouse_off();
  bool mouse_enabled() const { return mouse_on_; }
  // While on, typed letters that CP437 lacks reach wait_key as is_letter_key events (the Filemask
  // field and PUTONE's entry take them into names); while off they are dropped.
  void take_letters(bool on) { take_letters_ = on; }
  bool takes_letters() const { return take_letters_; }
  int mouse_row() const { return mouse_row_; }
  int mouse_col() const { return mouse_col_; }

  // --- other ---
  virtual void beep() {}
  // True when a person can answer (a terminal); false in batch mode.
  virtual bool interactive() const { return false; }
  // Waits the given milliseconds, unless the back end skips pauses.
  virtual void pause_ms(int ms);
  // Makes the screen show the model (terminal back ends repaint; others do nothing).
  virtual void flush() {}
  // A terminal back end keeps what is printed as the plain lines a batch run writes, from the start,
  // and writes them to the normal screen when it gives the terminal back, so that they stay after the
  // program (a one-shot run's summary); false forgets them and keeps no more. Others ignore it.
  virtual void keep_lines_after_exit(bool keep) {}

 protected:
  // Called after output changed the model; back ends that echo output override it.
  virtual void on_print(std::string_view text, bool newline) {}
  virtual void on_locate(int row, int col) {}
  // Called after cls, recolour, page changes and cursor changes.
  virtual void on_change() {}
  // True when mouse input is on and the event (with this button) is one of those chosen.
  bool wants_mouse(int event, int button) const;
  // Drops the mouse events at the front of a queue of events (each with a .key) that were not chosen,
  // and letters CP437 lacks while no name entry takes them; true when an event is left to take.
  template <class Queue>
  bool drop_unwanted_mouse(Queue& queue) const {
    while (!queue.empty()) {
      const std::string& k = queue.front().key;
      if (is_letter_key(k) ? take_letters_
                           : !is_mouse_key(k) ||
                                 wants_mouse(static_cast<unsigned char>(k[2]), static_cast<unsigned char>(k[3])))
        return true;
      queue.pop_front();
    }
    return false;
  }
  std::vector<Cell>& page_cells(int page) { return pages_[page - 1]; }
  void set_mouse_position(int row, int col) { mouse_row_ = row; mouse_col_ = col; }
  // True while print_text's text reaches on_print (its name characters are UTF-8, not CP437).
  bool text_is_utf8_ = false;
  bool mouse_on_ = false;
  bool take_letters_ = false;
  int mouse_buttons_ = 0;
  int mouse_events_ = 0;

 private:
  void put_char(std::uint8_t c);
  void line_feed();
  Cell& at(int page, int row, int col);

  int rows_;
  std::vector<std::vector<Cell>> pages_;
  int active_ = 1;
  int visible_ = 1;
  int row_ = 1;
  int col_ = 1;
  std::uint8_t attr_ = 0x07;
  bool cursor_visible_ = true;
  int cursor_size_ = 25;
  int mouse_row_ = 0;
  int mouse_col_ = 0;
};

// No terminal: keys answer Esc at once, pauses are skipped, output is echoed as plain lines.
class BatchConsole : public Console {
 public:
  explicit BatchConsole(int rows = 25, bool echo = true);
  std::string wait_key() override;
  bool key_pending() override { return false; }
  void pause_ms(int) override {}
  void flush() override;

 protected:
  void on_print(std::string_view text, bool newline) override;
  void on_locate(int row, int col) override;

 private:
  bool echo_;
  bool line_open_ = false;
};

// The console for this process: a terminal back end when standard input and output are terminals,
// else the batch back end.
std::unique_ptr<Console> make_process_console();

// The process-wide console. Until one is installed a batch console of 25 rows is used.
Console& console();
void set_console(std::unique_ptr<Console> c);

// What a cell shows, as UTF-8: its character of the terminal's encoding, else cp437_glyph of its byte.
std::string cell_glyph(const Cell& cell);
// CP437 byte to UTF-8 (used for any text that leaves the engine for a terminal or standard output).
std::string cp437_to_utf8(std::string_view text);
// The picture a console cell shows for a byte: as cp437_to_utf8, but the control codes 1..31 and 127
// are the code page's symbols (smileys, arrows, the triangles 16 and 17) and 0 is a blank.
std::string cp437_glyph(std::uint8_t byte);
// The CP437 byte of a Unicode character, or -1 when the code page has none.
int unicode_to_cp437(char32_t u);

// Key event helpers.
inline std::string key_char(char c) { return std::string(1, c); }
inline std::string key_scan(int scan) { return std::string{'\0', static_cast<char>(scan)}; }
inline const std::string kKeyEsc = "\x1b";

// Lets a name entry take typed letters that CP437 lacks for as long as it lives.
class LetterEntry {
 public:
  explicit LetterEntry(Console& con) : con_(con), was_(con.takes_letters()) { con_.take_letters(true); }
  ~LetterEntry() { con_.take_letters(was_); }
  LetterEntry(const LetterEntry&) = delete;
  LetterEntry& operator=(const LetterEntry&) = delete;

 private:
  Console& con_;
  bool was_;
};

}  // namespace platform
