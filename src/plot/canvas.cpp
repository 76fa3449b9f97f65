// The parts of a pole figure plot as the pixel and vector surfaces draw them.
#include "plot/canvas.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "base/nearest.h"
#include "math/vector_math.h"
#include "plot/contours.h"

namespace quorix {

namespace {

constexpr Color kBlack = 0x000000;
constexpr Color kRed = 0x0000FF;  // R + 256 G + 65536 B

}  // namespace

void Canvas::Labels(const PlotLabels& l, int s, int lh, const std::string& title, bool showMrd) {
  for (std::size_t i = 0; i < l.legend.size(); ++i) {
    const int k = static_cast<int>(i) + 1;
    SetPenColor(l.legendColors[i]);
    Rectangle(s, lh * k, s + 30, lh * k + 2);
    TextOut(s + 40, lh * k - 8, l.legend[i]);
  }
  const int n = static_cast<int>(l.legend.size()) + 2;
  TextOut(s, lh * n - 8, l.norm);

  // The column at the right is counted in lines from the bottom.
  auto line = [&](int number) { return s - lh * number; };
  TextOut(s, line(2), l.fileName);
  if (!title.empty()) TextOut(10, line(2), title);
  const int rows = static_cast<int>(l.addRows.size());
  for (int r = 1; r <= rows; ++r) TextOut(s, line(r + 2), l.addRows[r - 1]);
  TextOut(s, line(rows + 2), l.projection);
  if (!l.zoom.empty()) TextOut(s, line(rows + 3), l.zoom);
  TextOut(s, line(rows + 4), "max:  " + l.maxTail);
  TextOut(s, line(rows + 5), (showMrd ? "min:  " : "min:   ") + l.minTail);
  if (l.eigen) {
    SetPenColor(kBlack);
    SetBrushStyle(BrushStyle::Clear);
    TextOut(s, line(rows + 7), l.shape);
    for (int k = 3; k >= 1; --k) TextOut(s, line(rows + 11 - k), l.eigenTails[k - 1]);
  }

  if (l.rotationMode == RotationMode::Matrix) {
    TextOut(10, 10, "Rotation:");
    TextOut(10, lh + 10, l.rotationAxis);
  } else if (l.rotationMode == RotationMode::List) {
    TextOut(10, 10, "Rotation:");
    int k = 0;
    for (const auto& [axis, angle] : l.rotationList) {
      ++k;
      TextOut(10, lh * k + 10, fmt::format("{}:{}", axis, angle));
    }
  }
}

void Canvas::ContourLine(const std::vector<PathStep>& path) { DrawContour(*this, path); }

void Canvas::LowPoint(quorix::Pixel at, bool negative) {
  SetPenColor(negative ? kRed : kBlack);
  MoveTo(at.x, at.y);
  LineTo(at.x + 1, at.y);
}

void Canvas::EigenMarks(const std::vector<quorix::Pixel>& at) {
  SetPenColor(kBlack);
  SetBrushColor(kBlack);
  SetBrushStyle(BrushStyle::Solid);
  for (const quorix::Pixel& p : at) Ellipse(p.x - 3, p.y - 3, p.x + 3, p.y + 3);
}

void Canvas::Outline(int r0, double betaRange) {
  SetPenColor(kBlack);
  SetBrushStyle(BrushStyle::Clear);
  if (betaRange >= 360) {
    Ellipse(10, 10, 2 * r0 + 11, 2 * r0 + 11);
  } else {
    // Screen y grows downward, so the angle runs the other way round.
    const double gamma = (360 - betaRange + 5) * kPi / 180.0;
    const int ex = Nearest(r0 * std::cos(gamma) + r0 + 10);
    const int ey = Nearest(r0 * std::sin(gamma) + r0 + 10);
    Arc(10, 10, 2 * r0 + 10, 2 * r0 + 10, 2 * r0 + 10, r0 + 10, ex, ey);
    MoveTo(ex, ey);
    LineTo(r0 + 10, r0 + 10);
    LineTo(2 * r0 + 10, r0 + 10);
  }
  SetBrushStyle(BrushStyle::Solid);
}

void Canvas::Ticks(const RimTicks& t) {
  if (!t.fullTurn) return;
  for (double beta : {0.0, 90.0, 180.0, 270.0}) {
    const quorix::Pixel a = ProjectPoint(t.plotSize, 90, beta, t.equalArea);
    const quorix::Pixel b = ProjectPoint(t.plotSize, 92, beta, t.equalArea);
    MoveTo(a.x, a.y);
    LineTo(b.x, b.y);
  }
}

void Canvas::SetLineWidthF(double w) { SetPenWidth(std::max(1, Nearest(w))); }

void Canvas::PolylineF(const PointsF& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i == 0)
      MoveTo(Nearest(points[i].x), Nearest(points[i].y));
    else
      LineTo(Nearest(points[i].x), Nearest(points[i].y));
  }
}

void Canvas::PolygonF(const PointsF& points) {
  std::vector<quorix::Pixel> rounded;
  rounded.reserve(points.size());
  for (const PointF& p : points) rounded.push_back({Nearest(p.x), Nearest(p.y)});
  Polygon(rounded);
}

void Canvas::AreaF(const std::vector<PointsF>& pieces) {
  SetPenStyle(PenStyle::Clear);
  for (const PointsF& p : pieces) PolygonF(p);
}

void Canvas::CircleF(PointF c, double r) {
  Ellipse(Nearest(c.x - r), Nearest(c.y - r), Nearest(c.x + r) + 1, Nearest(c.y + r) + 1);
}

void Canvas::TextF(PointF at, const std::string& text, double size, TextAlign align) {
  // Whole points of a 96 dpi screen, and widths guessed from the em.
  SetFont(kFigureFontName, std::max(1, Nearest(size * 72.0 / 96.0)));
  const double width = 0.55 * size * static_cast<double>(text.size());
  const double left = align == TextAlign::Left ? at.x : align == TextAlign::Centre ? at.x - width / 2 : at.x - width;
  TextOut(Nearest(left), Nearest(at.y - 0.93 * size), text);
}

}  // namespace quorix
