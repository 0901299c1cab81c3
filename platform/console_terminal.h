// The console on a real terminal.
//
// The terminal is put into raw mode (no echo, no line editing, no flow control; Ctrl+C still ends the
// program, Ctrl+Z is the key 26 as on the PC console) and switched to its alternate screen with line
// wrapping off. The shown page of the model is painted in the 16 ANSI colours (the PC console's colour
// numbers mapped onto them) with the CP437 bytes shown as UTF-8; only cells that changed since the last
// paint are sent. Input is decoded by KeyDecoder; mouse reports are asked of the terminal only while
// the engine has mouse input on. The window's rows are read once at start and the screen keeps them;
// after a resize the screen is painted again whole, or, while the window is smaller than the screen's
// rows x 80, only a line that asks for a larger window is shown (one row is never drawn over another).
//
// The terminal is put back as it was when the console is destroyed, when the process exits and when
// a fatal signal arrives.
#pragma once

#include <termios.h>

#include <deque>
#include <memory>
#include <string>

#include "console.h"
#include "keydecode.h"

namespace platform {

class TerminalConsole : public Console {
 public:
  // The fewest rows of the screen: a window with fewer is asked to be enlarged.
  static constexpr int kLeastRows = 25;
  // Takes over the terminal on in_fd / out_fd; nullptr when in_fd is not a terminal.
  static std::unique_ptr<TerminalConsole> open(int in_fd = 0, int out_fd = 1);
  ~TerminalConsole() override;

  std::string wait_key() override;
  bool key_pending() override;
  void mouse_on(int buttons, int events) override;
  void mouse_off() override;
  void beep() override;
  bool interactive() const override { return !input_closed_; }
  void pause_ms(int ms) override;
  void flush() override { render(); }
  void keep_lines_after_exit(bool keep) override;

  // Puts the terminal back as it was (idempotent).
  void restore_terminal();

  // The SGR sequence of a cell colour (foreground low nibble, background high nibble).
  static std::string sgr(std::uint8_t attr);

 protected:
  void on_print(std::string_view text, bool newline) override;
  void on_locate(int row, int col) override;
  void on_change() override { render(); }

 private:
  TerminalConsole(int in_fd, int out_fd, int rows, int cols, const termios& saved);
  void render();
  // Ends the open line of the kept lines, without its trailing blanks.
  void end_kept_line();
  void write_out(const std::string& bytes);
  // Waits up to timeout_ms (-1: for ever) for input and decodes it; false when nothing came.
  bool read_input(int timeout_ms);
  // Moves decoded events into the queue, dropping mouse events that are not wanted now.
  bool have_event();
  // Forgets the keys and clicks read so far (while the window is too small).
  void drop_input();

  int in_fd_, out_fd_;
  int term_rows_, term_cols_;
  bool too_small_ = false;  // the window is smaller than the screen: only a message is shown
  termios saved_;
  bool active_ = true;
  bool input_closed_ = false;
  KeyDecoder decoder_;
  std::deque<InputEvent> queue_;

  // The plain lines of what was printed (CP437), while they are kept; "decided" once the program said.
  bool keep_lines_ = true, keep_decided_ = false, line_open_ = false;
  std::string lines_;  // as UTF-8

  // What the terminal shows.
  std::vector<Cell> shown_;
  bool shown_valid_ = false;
  int term_attr_ = -1;
  int term_cursor_row_ = -1, term_cursor_col_ = -1;
  int term_cursor_visible_ = -1;
  int term_cursor_shape_ = -1;
};

}  // namespace platform
