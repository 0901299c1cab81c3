// Pick-bar menus, the menu stack and the colour chooser of the console SET editor.
//
// A pick-bar menu is a framed column of item names with a highlight bar and, right of the frame, a
// value column that shows the highlighted item's value. Its state is the BAR... globals of the frame.
// The menu asks the editor (a layer above the frame) for its items and hands each pick to it through
// pickbar_hand_over(); the editor fills both before it runs a menu.
#pragma once

#include <functional>

struct PickBarHandOver {
  std::function<void()> writemen;  // builds the items of the menu named by BARMENU
  std::function<void()> programc;  // acts on item BARITEM of BARMENU and leaves the outcome in BARACTION
};
PickBarHandOver& pickbar_hand_over();

// Runs the menu named by BARMENU at level BARLEVEL until it is left.
void PIKBARM();
// Saves the menu context of level BARLEVEL, opens level BARLEVEL + 1 on a copy of its console page and
// places a nested menu below the highlighted item. False (and nothing changed) when no deeper level is
// left: the levels are 1..7 and the console keeps 8 pages.
bool PUSHSCRE();
// Back to the previous level: its context and its page.
void POPSCREE();
// Lets the user change colour pairs 1..COLOURCOUNT on a grid of the 256 console colour combinations.
void COLORMAP();
