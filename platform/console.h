// The engine's console: an in-memory model of the screen with pluggable back ends.
//
// The model holds 8 pages of rows x 80 cells (a CP437 byte and a colour each), the page that receives
// output and the page that is shown, the cursor and the current colour. A back end supplies the input
// (key and mouse events as the engine's event strings) and shows the model:
//  - batch: standard input is not a terminal; every key wait returns Esc at once, pauses and beeps are
//    skipped, and what is printed also goes to standard output as plain lines;
//  - terminal and scripted back ends derive from the same class (see console_terminal.h and
//    console_scripted.h when present).
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
};

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

  // --- read back (from the active page) ---
  std::uint8_t char_at(int row, int col) const;
  std::uint8_t attr_at(int row, int col) const;
  // The text of a row of the active page, trailing blanks kept (80 characters).
  std::string row_text(int row) const;
  const Cell& cell(int page, int row, int col) const;

  // --- input ---
  // Blocks until one event is available and returns it as the engine's event string.
  virtual std::string wait_key() = 0;
  virtual bool key_pending() = 0;
  // Mouse reporting: buttons 1 left, 2 right, 3 both; events bitmask 1 move, 2 double, 4 press, 8 release.
  virtual void mouse_on(int buttons, int events);
  virtual void mouse_off();
  bool mouse_enabled() const { return mouse_on_; }
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

 protected:
  // Called after output changed the model; back ends that echo output override it.
  virtual void on_print(std::string_view text, bool newline) {}
  virtual void on_locate(int row, int col) {}
  std::vector<Cell>& page_cells(int page) { return pages_[page - 1]; }
  void set_mouse_position(int row, int col) { mouse_row_ = row; mouse_col_ = col; }
  bool mouse_on_ = false;
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

// CP437 byte to UTF-8 (used for any text that leaves the engine for a terminal or standard output).
std::string cp437_to_utf8(std::string_view text);

// Key event helpers.
inline std::string key_char(char c) { return std::string(1, c); }
inline std::string key_scan(int scan) { return std::string{'\0', static_cast<char>(scan)}; }
inline const std::string kKeyEsc = "\x1b";

}  // namespace platform
