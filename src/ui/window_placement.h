// Where a new top-level window goes: the window manager places it where there
// is room, or past the screen's edge when there is none.
#pragma once

#include <QSize>
#include <QWidget>

namespace quorix {

// Shows `window` at `wanted` size or as much of it as the screen's free area
// holds, centred over `over` (the screen where none), frame and all inside.
void ShowOnScreen(QWidget& window, QSize wanted, const QWidget* over);

}  // namespace quorix
