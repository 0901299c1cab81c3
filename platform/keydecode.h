// Turns the bytes a terminal sends into the console's input events.
//
// Keys: printable characters (UTF-8 turned into CP437 bytes; a character the code page lacks comes as
// its UTF-8 bytes, is_letter_key, where names are UTF-8 and it takes one cell, else it is dropped), control characters as they are (DEL and BS both give Backspace 8), the escape sequences of
// xterm, VT220 and the Linux console for cursor, editing and function keys (with Shift, Ctrl and Alt
// where the PC keyboard gives them codes of their own), Shift+Tab, and Esc followed by a letter or digit
// as Alt with that key. A lone Esc is a key only once no further byte followed in time (timeout()).
//
// Mouse: xterm SGR reports (ESC [ < b ; x ; y M/m). A press of the same button on the same cell within
// kDoubleClickMs of the previous press is a double click; the wheel is ignored.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct InputEvent {
  std::string key;       // the event string
  int row = 0, col = 0;  // mouse position (from 1), mouse events only
};

class KeyDecoder {
 public:
  static constexpr std::int64_t kDoubleClickMs = 500;

  // Adds bytes that arrived at the time now_ms (any steady clock in milliseconds).
  void feed(std::string_view bytes, std::int64_t now_ms);
  // No further byte came in time: a held lone Esc is the Esc key, a cut-off sequence is dropped.
  void timeout();
  // True when held bytes may still grow into a sequence (wait a little, then call timeout()).
  bool incomplete() const { return !held_.empty(); }
  // The next decoded event.
  std::optional<InputEvent> next();

 private:
  void parse(bool final);
  // Decodes the escape sequence at the start of held_: used = bytes taken, or wait for more bytes.
  void escape(bool final, size_t& used, bool& wait);
  void csi(std::string_view params, char final_byte);
  void ss3(char final_byte);
  void sgr_mouse(std::string_view params, bool press);
  void key(char c) { out_.push_back({std::string(1, c)}); }
  void scan(int code) {
    if (code > 0) out_.push_back({std::string{'\0', static_cast<char>(code)}});
  }

  std::string held_;
  std::deque<InputEvent> out_;
  std::int64_t now_ = 0;
  // The last press, for double clicks.
  int press_button_ = 0, press_row_ = 0, press_col_ = 0;
  std::int64_t press_ms_ = 0;
  bool press_armed_ = false;
};

}  // namespace platform
