// Where windows stand: places kept across sessions in a form that does not depend on the window
// manager's frame (QWidget::saveGeometry, base64 in the settings), and every window fitted to the screen's
// available area (moved and shrunk) before it shows, whatever the screen size or scale factor.
#pragma once

#include <QRect>
#include <QWidget>
#include <string>

#include "frontend/core/ports.h"

namespace quorvel {

// The settings key of a window's saved place in its section.
inline constexpr const char* kGeometryKey = "Geometry";

// The window rectangle (frame included) moved and shrunk to lie inside the available area. A window
// whose minimum size is larger than the area keeps its minimum and stands at the area's top left, so
// the title bar stays within reach.
QRect FitRect(const QRect& frame, const QRect& available, const QSize& minimum = QSize());

// The available area of the screen the window stands on (the primary screen for a window not on any).
QRect AvailableArea(const QWidget* w);

// Moves and shrinks a top-level window into the available area. Before the window is first shown its
// frame is not known: a title bar's height and a border are allowed for.
void FitOnScreen(QWidget* w);

// FitOnScreen now and again each time the window has been shown and framed.
void KeepOnScreen(QWidget* w);

// Restores a window's place saved by SavePlace and fits it on the screen. False when none is saved or
// the saved text does not restore (the window keeps its place then, fitted). The window is kept on the
// screen (KeepOnScreen).
bool RestorePlace(QWidget* w, SettingsStore* settings, const std::string& section);
// The window's place as text for the settings, and saving it.
std::string PlaceText(const QWidget* w);
void SavePlace(const QWidget* w, SettingsStore* settings, const std::string& section);

}  // namespace quorvel
