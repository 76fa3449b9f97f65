// Sizes of the main window: the size keys, the mouse wheel and the start-up size.
#pragma once

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

}  // namespace quorix
