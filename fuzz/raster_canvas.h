// A small in-memory raster canvas: enough line drawing and border flood fill
// for the plot routine's fill to read pixels back, without Qt.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "plot/canvas.h"

namespace quorix::fuzz {

class RasterCanvas : public Canvas {
 public:
  RasterCanvas(int w, int h) : w_(w), h_(h), pixels_(static_cast<std::size_t>(w) * h, 0xFFFFFF) {}

  void SetPenColor(Color c) override { pen_ = c; }
  void SetPenMode(PenMode) override {}
  void SetPenStyle(PenStyle s) override { penClear_ = s == PenStyle::Clear; }
  void SetPenWidth(int) override {}
  void SetBrushColor(Color c) override { brush_ = c; }
  void SetBrushStyle(BrushStyle s) override { brushClear_ = s == BrushStyle::Clear; }
  void SetFont(const std::string&, int size) override { font_ = size; }
  int FontSize() const override { return font_; }

  void Rectangle(int x1, int y1, int x2, int y2) override {
    if (brushClear_) return;
    const int left = std::max(0, x1), right = std::min(w_, x2);
    if (left >= right) return;
    for (int y = std::max(0, y1); y < std::min(h_, y2); ++y) {
      const auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * w_;
      std::fill(row + left, row + right, brush_);
    }
  }
  void Ellipse(int x1, int y1, int x2, int y2) override {
    // The outline only; the plot uses ellipses for the rim and small marks.
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0, rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
    if (penClear_ || !std::isfinite(cx + cy + rx + ry) || std::fabs(rx) > 4 * w_ || std::fabs(ry) > 4 * h_) return;
    for (int k = 0; k < 720; ++k) {
      const double t = k * 3.14159265358979 / 360;
      Set(static_cast<int>(cx + rx * std::cos(t)), static_cast<int>(cy + ry * std::sin(t)), pen_);
    }
  }
  void Arc(int, int, int, int, int, int, int, int) override {}
  void MoveTo(int x, int y) override { x_ = x, y_ = y; }
  void LineTo(int x, int y) override {
    if (!penClear_) Line(x_, y_, x, y);
    x_ = x, y_ = y;
  }
  void TextOut(int, int, const std::string&) override {}

  bool HasPixels() const override { return true; }
  Color Pixel(int x, int y) const override {
    return x >= 0 && y >= 0 && x < w_ && y < h_ ? pixels_[static_cast<std::size_t>(y) * w_ + x] : 0xFFFFFF;
  }
  // Fills from (x, y) up to pixels of the border colour.
  void FloodFill(int x, int y, Color border) override {
    if (Pixel(x, y) == border || x < 0 || y < 0 || x >= w_ || y >= h_) return;
    std::vector<char> seen(pixels_.size(), 0);
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
      auto [px, py] = stack.back();
      stack.pop_back();
      if (px < 0 || py < 0 || px >= w_ || py >= h_) continue;
      const std::size_t i = static_cast<std::size_t>(py) * w_ + px;
      if (seen[i] || pixels_[i] == border) continue;
      seen[i] = 1;
      pixels_[i] = brush_;
      stack.insert(stack.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
    }
  }

 private:
  void Set(int x, int y, Color c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) pixels_[static_cast<std::size_t>(y) * w_ + x] = c;
  }
  // Clipped to the image first, so far-away end points cost nothing.
  void Line(double x0, double y0, double x1, double y1) {
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0, w_ - 1 - x0, y0, h_ - 1 - y0};
    for (int k = 0; k < 4; ++k) {
      if (p[k] == 0) {
        if (q[k] < 0) return;
      } else {
        const double r = q[k] / p[k];
        if (p[k] < 0)
          t0 = std::max(t0, r);
        else
          t1 = std::min(t1, r);
      }
    }
    if (t0 > t1) return;
    const double ax = x0 + t0 * dx, ay = y0 + t0 * dy, bx = x0 + t1 * dx, by = y0 + t1 * dy;
    const int steps = static_cast<int>(std::max(std::fabs(bx - ax), std::fabs(by - ay))) + 1;
    for (int s = 0; s < steps; ++s) {
      const double f = static_cast<double>(s) / steps;
      Set(static_cast<int>(std::lround(ax + f * (bx - ax))), static_cast<int>(std::lround(ay + f * (by - ay))), pen_);
    }
  }

  int w_, h_;
  std::vector<Color> pixels_;
  Color pen_ = 0, brush_ = 0xFFFFFF;
  bool penClear_ = false, brushClear_ = false;
  int font_ = 8;
  int x_ = 0, y_ = 0;
};

}  // namespace quorix::fuzz
