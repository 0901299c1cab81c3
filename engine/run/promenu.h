// What the main menu and run control hands over to in other subsystems.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The procedures a go, the setup cell and the start call: the SET file reader, the width tables, the
// sheet run, the symbol test and the setup editor. A member left empty calls the engine's own
// procedure; tests put recorders in its place to drive the menu on its own.
struct MenuHandOver {
  std::function<void()> getsetup;
  std::function<void(std::int32_t)> widthtab;
  std::function<void()> proshow;
  std::function<void()> protest;
  std::function<void()> prosetup;
};
MenuHandOver& menu_hand_over();

// The line that ends a go from the main menu (within 78 columns): the file it wrote, or how many files
// in which folder, or that it wrote none.
std::string run_closing_line(const std::vector<std::string>& files);
