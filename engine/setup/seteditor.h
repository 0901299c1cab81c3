// Helpers shared by the console SET editor's files (prosetup.cpp, programc.cpp).
#pragma once

#include <cstdint>
#include <string>

namespace seteditor {

// Line n of the table; empty outside 1..SETLINECOUNT.
std::string line(std::int32_t n);
// Beep, the text on the message line for 2 seconds, then the message line blanked.
void tell(const std::string& text);
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
