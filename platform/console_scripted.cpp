// The scripted console of the tests.
#include "console_scripted.h"

namespace platform {

ScriptedConsole::ScriptedConsole(int rows) : Console(rows) {}

void ScriptedConsole::push_key(std::string_view event) { queue_.push_back({std::string(event)}); }

void ScriptedConsole::type(std::string_view text) {
  for (char c : text) queue_.push_back({std::string(1, c)});
}

void ScriptedConsole::push_scan(int scan) { queue_.push_back({key_scan(scan)}); }

void ScriptedConsole::push_mouse(int row, int col, int event, int button) {
  queue_.push_back({mouse_key(event, button), row, col});
}

void ScriptedConsole::push_double_click(int row, int col) {
  push_mouse(row, col, kMousePress, kMouseLeft);
  push_mouse(row, col, kMouseRelease, kMouseLeft);
  push_mouse(row, col, kMouseDouble, kMouseLeft);
  push_mouse(row, col, kMouseRelease, kMouseLeft);
}

bool ScriptedConsole::drop_unwanted() { return drop_unwanted_mouse(queue_); }

std::string ScriptedConsole::wait_key() {
  if (!drop_unwanted())
    throw ScriptExhausted("the screen waits for a key the test did not give; it shows:\n" + screen());
  Event e = std::move(queue_.front());
  queue_.pop_front();
  if (is_mouse_key(e.key)) set_mouse_position(e.row, e.col);
  return e.key;
}

bool ScriptedConsole::key_pending() { return drop_unwanted(); }

std::string ScriptedConsole::screen() const {
  std::string out;
  for (int r = 1; r <= rows(); ++r) {
    std::string line;
    for (int c = 1; c <= kCols; ++c) line += static_cast<char>(cell(visible_page(), r, c).ch);
    line.erase(line.find_last_not_of(' ') + 1);
    if (r > 1) out += '\n';
    out += line;
  }
  return out;
}

}  // namespace platform
