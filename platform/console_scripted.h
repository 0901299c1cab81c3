// The console of the tests: keys and mouse events come from a queue the test fills, and the screen is
// read back from the model.
//
// It behaves as a console with a person at it (interactive). A key wait with an empty queue throws
// ScriptExhausted, so a screen that waits for more keys than the test gave fails that test instead of
// hanging; the exception carries the screen as it was. Mouse events reach the engine only while it has
// mouse input on for that event and button, as on the real console; others are dropped.
#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <string_view>

#include "console.h"

namespace platform {

class ScriptExhausted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ScriptedConsole : public Console {
 public:
  explicit ScriptedConsole(int rows = 25);

  // One event string as wait_key returns it.
  void push_key(std::string_view event);
  // One event per character of text.
  void type(std::string_view text);
  // A key without a character: zero and the scan code.
  void push_scan(int scan);
  // A mouse event at a row and column (from 1).
  void push_mouse(int row, int col, int event = kMousePress, int button = kMouseLeft);
  // A left click as the terminal reports a quick double click: a press, then a double click.
  void push_double_click(int row, int col);
  // Events not yet read.
  size_t queued() const { return queue_.size(); }

  std::string wait_key() override;
  bool key_pending() override;
  bool interactive() const override { return true; }
  void pause_ms(int ms) override { paused_ms_ += ms; }
  void beep() override { ++beeps_; }

  int beeps() const { return beeps_; }
  long paused_ms() const { return paused_ms_; }
  // The shown page as text: one line per row, trailing blanks cut, rows joined by "\n".
  std::string screen() const;

 private:
  struct Event {
    std::string key;
    int row = 0, col = 0;
  };
  bool drop_unwanted();
  std::deque<Event> queue_;
  int beeps_ = 0;
  long paused_ms_ = 0;
};

}  // namespace platform
