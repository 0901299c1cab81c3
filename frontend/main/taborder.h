// Tab order as the controls stand on the screen.
#pragma once

#include <QWidget>
#include <vector>

namespace quorvel {

// The controls Tab stops at in the window, in the order of its layouts: a grid row by row and left to
// right, a box layout in its order; a tab widget's tab bar, then each page; a scroll area's contents.
std::vector<QWidget*> ControlsInLayoutOrder(QWidget* window);

// Makes Tab go through the window's controls in that order (the order they stand on the screen),
// not the order they were made in.
void OrderTabByLayout(QWidget* window);

}  // namespace quorvel
