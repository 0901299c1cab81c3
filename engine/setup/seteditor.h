// Helpers shared by the console SET editor's files (prosetup.cpp, programc.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/console.h"

namespace seteditor {

// Line n of the table; empty outside 1..SETLINECOUNT.
std::string line(std::int32_t n);
// The message line of the editor's screens (STATUSROW - 1, where the key row stands), kept as it is
// (characters and colours) while a message stands in it, and put back afterwards. A message keeps to
// columns 3 to 78, inside the screen's shaded edge.
class MessageRow {
 public:
  static constexpr int kFirst = 3, kWidth = 76;
  MessageRow();
  void show(const std::string& text) const;
  // Waits up to most_ms, or until a key is pressed (the key is left for what follows).
  void hold(int most_ms) const;
  void put_back() const;

 private:
  int row_;
  std::vector<platform::Cell> cells_;
};
// Beep, the text on the message line for hold_ms (2 seconds unless said; a key ends it early), then the
// line as it was (the key row).
void tell(const std::string& text, int hold_ms = 2000);
// The SET file's name on the title row (right of the title), on the pages of every open menu.
void show_title();
// True when key answers yes to a question whose text gives the accepting letter after "(".
bool yes(const std::string& question, const std::string& key);
// Forms layout item i's text again from its line: the display value, a bar and the item's name.
void FIXLAYOU(std::int32_t i);
// Says that the file has no second "BEGIN" line when it has none; true when it has one.
bool has_second_block();

// The font menus (prompts 117 to 120): the column at which the menu narrows the fonts in choice by
// the item picked in the menu before (0: no narrowing), and the record columns its items list.
struct FontMenu {
  std::int32_t level = 0;  // 1..4; 0: not a font menu
  std::int32_t narrow = 0, start = 0, width = 0;
};
FontMenu font_menu(const std::string& menu);

}  // namespace seteditor
