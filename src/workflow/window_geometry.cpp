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

namespace {

struct Strip {
  int left, top, right, bottom;  // right and bottom exclusive
};

void TileStrip(const Strip& s, int width, int height, int count, std::vector<WindowBox>& out) {
  if (s.right - s.left < width || s.bottom - s.top < height) return;
  const int columns = (s.right - s.left) / width;
  const int rows = (s.bottom - s.top) / height;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      if (static_cast<int>(out.size()) >= count) return;
      out.push_back({s.left + c * width, s.top + r * height, width, height});
    }
}

}  // namespace

// A count of windows beside a band in pixels: a swap shows at once in the placement.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
std::vector<WindowBox> PlaceBesideMain(const WindowBox& screen, const WindowBox& main, int width, int height, int count,
                                       int keepClear) {
  std::vector<WindowBox> out;
  if (count <= 0 || width <= 0 || height <= 0) return out;
  const int sr = screen.left + screen.width, sb = screen.top + screen.height;
  // The main window as far as it lies on the screen.
  const int ml = std::clamp(main.left, screen.left, sr), mt = std::clamp(main.top, screen.top, sb);
  const int mr = std::clamp(main.left + main.width, screen.left, sr);
  const int mb = std::clamp(main.top + main.height, screen.top, sb);
  TileStrip({mr, screen.top, sr, sb}, width, height, count, out);
  TileStrip({screen.left, mb, mr, sb}, width, height, count, out);
  TileStrip({screen.left, screen.top, ml, mb}, width, height, count, out);
  TileStrip({ml, screen.top, mr, mt}, width, height, count, out);

  constexpr int kStep = 30;
  const int firstTop = std::max(screen.top, mt + keepClear);
  for (int k = 0; static_cast<int>(out.size()) < count; ++k) {
    WindowBox b{sr - width - k * kStep, firstTop + k * kStep, width, height};
    // Past the screen's bottom the cascade starts again one column further left.
    if (b.top + height > sb) {
      const int perColumn = std::max(1, (sb - height - firstTop) / kStep + 1);
      b.top = firstTop + (k % perColumn) * kStep;
      b.left = sr - width - k * kStep;
    }
    b.left = std::max(b.left, screen.left);
    b.top = std::max(screen.top, std::min(b.top, sb - height));
    out.push_back(b);
  }
  return out;
}

}  // namespace quorix
