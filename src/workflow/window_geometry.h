// Sizes of the main window: the size keys, the mouse wheel and the start-up
// size; where the further pole figure windows go.
#pragma once

#include <vector>

namespace quorix {

struct WindowBox {
  int left = 0, top = 0, width = 0, height = 0;
};

struct SizeLimits {
  int minWidth = 532, maxWidth = 931, minHeight = 435, maxHeight = 763;
};

WindowBox PageUpSize(const WindowBox& w, const SizeLimits& l = {});
WindowBox PageDownSize(const WindowBox& w, const SizeLimits& l = {});
// delta < 0 (towards the user) shrinks, otherwise grows.
WindowBox WheelSize(const WindowBox& w, int delta, const SizeLimits& l = {});
// startupSize 50..100 (percent between the smallest and the largest window).
WindowBox StartupSize(const WindowBox& w, int startupSize, const SizeLimits& l = {});

// Places `count` windows of width x height (frames included) on `screen`
// beside the main window: tiled in the free strips to its right, below it,
// to its left and above it, in that order. Windows for which no free tile is
// left cascade from the screen's right edge, starting below the main window's
// top `keepClear` pixels (title, menus and tool bar), so the menus stay
// reachable whatever the count. Every box lies on the screen where it fits.
std::vector<WindowBox> PlaceBesideMain(const WindowBox& screen, const WindowBox& main, int width, int height, int count,
                                       int keepClear = 100);

}  // namespace quorix
