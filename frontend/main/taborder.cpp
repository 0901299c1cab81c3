// Tab order from the layouts.
#include "taborder.h"

#include <QGridLayout>
#include <QLayout>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <tuple>

namespace quorvel {

namespace {

void collect_layout(QLayout* layout, std::vector<QWidget*>& out);

void collect_widget(QWidget* w, std::vector<QWidget*>& out) {
  if (!w) return;
  if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
    out.push_back(tabs->tabBar());
    for (int i = 0; i < tabs->count(); ++i) collect_widget(tabs->widget(i), out);
    return;
  }
  if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
    collect_widget(scroll->widget(), out);
    return;
  }
  if (w->focusPolicy() & Qt::TabFocus) {
    out.push_back(w);
    return;
  }
  if (w->layout()) collect_layout(w->layout(), out);
}

void collect_item(QLayoutItem* item, std::vector<QWidget*>& out) {
  if (!item) return;
  if (QWidget* w = item->widget()) collect_widget(w, out);
  else if (QLayout* l = item->layout()) collect_layout(l, out);
}

void collect_layout(QLayout* layout, std::vector<QWidget*>& out) {
  if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
    // Row by row, left to right: the order of the cells, not the order they were filled in.
    std::vector<std::tuple<int, int, int>> cells;
    for (int i = 0; i < grid->count(); ++i) {
      int row = 0, column = 0, rows = 0, columns = 0;
      grid->getItemPosition(i, &row, &column, &rows, &columns);
      cells.emplace_back(row, column, i);
    }
    std::stable_sort(cells.begin(), cells.end());
    for (const auto& [row, column, i] : cells) collect_item(grid->itemAt(i), out);
    return;
  }
  for (int i = 0; i < layout->count(); ++i) collect_item(layout->itemAt(i), out);
}

}  // namespace

std::vector<QWidget*> ControlsInLayoutOrder(QWidget* window) {
  std::vector<QWidget*> out;
  if (window && window->layout()) collect_layout(window->layout(), out);
  return out;
}

void OrderTabByLayout(QWidget* window) {
  const std::vector<QWidget*> order = ControlsInLayoutOrder(window);
  for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace quorvel
