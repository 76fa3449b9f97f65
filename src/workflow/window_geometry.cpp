#include "workflow/window_geometry.h"

#include <algorithm>

#include "base/nearest.h"

namespace quorix {
namespace {

// The window keeps its centre when it changes size.
WindowBox Resized(const WindowBox& w, int width, int height) {
  WindowBox r = w;
  r.top += Nearest((w.height - height) / 2.0);
  r.left += Nearest((w.width - width) / 2.0);
  r.width = width;
  r.height = height;
  return r;
}

int MidWidth(const SizeLimits& l) { return Nearest((l.minWidth + l.maxWidth) / 2.0); }
int MidHeight(const SizeLimits& l) { return Nearest((l.minHeight + l.maxHeight) / 2.0); }

}  // namespace

WindowBox PageUpSize(const WindowBox& w, const SizeLimits& l) {
  if (w.height < MidHeight(l)) return Resized(w, MidWidth(l), MidHeight(l));
  return Resized(w, l.maxWidth, l.maxHeight);
}

WindowBox PageDownSize(const WindowBox& w, const SizeLimits& l) {
  if (w.height > MidHeight(l)) return Resized(w, MidWidth(l), MidHeight(l));
  return Resized(w, l.minWidth, l.minHeight);
}

WindowBox WheelSize(const WindowBox& w, int delta, const SizeLimits& l) {
  if (delta < 0)
    return Resized(w, std::max(l.minWidth, Nearest(w.width - l.maxWidth / 24.0)),
                   std::max(l.minHeight, Nearest(w.height - l.maxHeight / 24.0)));
  return Resized(w, std::min(l.maxWidth, Nearest(w.width + l.maxWidth / 24.0)),
                 std::min(l.maxHeight, Nearest(w.height + l.maxHeight / 24.0)));
}

WindowBox StartupSize(const WindowBox& w, int startupSize, const SizeLimits& l) {
  const double x = (startupSize - 50) / 50.0;
  WindowBox r = w;
  r.width = std::clamp(Nearest(l.minWidth + (l.maxWidth - l.minWidth) * x), l.minWidth, l.maxWidth);
  r.height = std::clamp(Nearest(l.minHeight + (l.maxHeight - l.minHeight) * x), l.minHeight, l.maxHeight);
  r.left = w.left + Nearest((1 - x) * l.maxWidth / 4);
  r.top = w.top + Nearest((1 - x) * l.maxHeight / 4);
  return r;
}

}  // namespace quorix
