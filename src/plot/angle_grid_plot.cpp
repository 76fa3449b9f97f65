// Contours of a plain angle grid: each cell split into two triangles, the
// part above a level cut out linearly and clipped to the convex outline.
#include "plot/angle_grid_plot.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/number_format.h"
#include "math/vector_math.h"

namespace quorix {
namespace {

struct Point {
  double x = 0, y = 0;  // y upwards
};

// A grid point: its angles and its value.
struct Node {
  double row = 0, column = 0, value = 0;
};

Point MapAngles(AngleGridShape shape, double row, double column) {
  if (shape == AngleGridShape::Rectangle) return {column, -row};
  const double r = std::tan(DegToRad(row) / 2);
  return {r * std::cos(DegToRad(column)), r * std::sin(DegToRad(column))};
}

std::vector<std::pair<double, double>> BoundsOutline(const AngleGrid& grid, AngleGridShape shape) {
  const double r0 = grid.rowAngle.front(), r1 = grid.rowAngle.back();
  const double c0 = grid.columnAngle.front(), c1 = grid.columnAngle.back();
  if (shape == AngleGridShape::Rectangle) return {{r0, c0}, {r0, c1}, {r1, c1}, {r1, c0}};
  std::vector<std::pair<double, double>> out;
  const double step = grid.columnAngle[1] - grid.columnAngle[0];
  const bool fullTurn = c1 - c0 + step >= 360 - 1e-6;
  const double end = fullTurn ? c0 + 360 : c1;
  if (!fullTurn) out.emplace_back(0, c0);
  const int steps = std::max(2, static_cast<int>(std::ceil((end - c0) / 2)));
  for (int k = 0; k <= steps - (fullTurn ? 1 : 0); ++k) out.emplace_back(r1, c0 + (end - c0) * k / steps);
  return out;
}

// Keeps the side of each edge the outline's inside lies on (Sutherland-Hodgman).
class ConvexClip {
 public:
  explicit ConvexClip(std::vector<Point> outline) : edges_(std::move(outline)) {
    double area = 0;
    for (std::size_t k = 0; k < edges_.size(); ++k) {
      const Point& a = edges_[k];
      const Point& b = edges_[(k + 1) % edges_.size()];
      area += a.x * b.y - b.x * a.y;
    }
    sign_ = area < 0 ? -1 : 1;
  }

  std::vector<Point> Polygon(std::vector<Point> poly) const {
    for (std::size_t k = 0; k < edges_.size() && !poly.empty(); ++k) {
      const Point& a = edges_[k];
      const Point& b = edges_[(k + 1) % edges_.size()];
      std::vector<Point> kept;
      for (std::size_t i = 0; i < poly.size(); ++i) {
        const Point& p = poly[i];
        const Point& q = poly[(i + 1) % poly.size()];
        const double sp = Side(a, b, p), sq = Side(a, b, q);
        if (sp >= 0) kept.push_back(p);
        if ((sp >= 0) != (sq >= 0)) kept.push_back(Between(p, q, sp / (sp - sq)));
      }
      poly = std::move(kept);
    }
    return poly;
  }

  // False when nothing of the segment is inside.
  bool Segment(Point& p, Point& q) const {
    double t0 = 0, t1 = 1;
    for (std::size_t k = 0; k < edges_.size(); ++k) {
      const Point& a = edges_[k];
      const Point& b = edges_[(k + 1) % edges_.size()];
      const double sp = Side(a, b, p), sq = Side(a, b, q);
      if (sp < 0 && sq < 0) return false;
      if (sp < 0) t0 = std::max(t0, sp / (sp - sq));
      if (sq < 0) t1 = std::min(t1, sp / (sp - sq));
    }
    if (t0 > t1) return false;
    const Point from = Between(p, q, t0), to = Between(p, q, t1);
    p = from;
    q = to;
    return true;
  }

 private:
  // Tolerant by a hair, so that grid points on the outline count as inside.
  double Side(const Point& a, const Point& b, const Point& p) const {
    return sign_ * ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) + 1e-12;
  }
  static Point Between(const Point& p, const Point& q, double t) {
    return {p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t};
  }

  std::vector<Point> edges_;
  double sign_ = 1;
};

Node Crossing(const Node& p, const Node& q, double t) {
  const double s = (t - p.value) / (q.value - p.value);
  return {p.row + (q.row - p.row) * s, p.column + (q.column - p.column) * s, t};
}

// The corners and crossings of the part of triangle v at or above t, in order.
std::vector<Node> AreaAbove(const std::array<Node, 3>& v, double t) {
  std::vector<Node> out;
  for (std::size_t i = 0; i < 3; ++i) {
    const Node& p = v[i];
    const Node& q = v[(i + 1) % 3];
    if (p.value >= t) out.push_back(p);
    if ((p.value >= t) != (q.value >= t)) out.push_back(Crossing(p, q, t));
  }
  return out;
}

}  // namespace

std::vector<double> AngleGridLevels(const AngleGrid& grid, int count) {
  double top = 0;
  for (double v : grid.values)
    if (std::isfinite(v)) top = std::max(top, v);
  if (!(top > 0) || count < 1) return {};
  std::vector<double> levels;
  if (top > 4) {
    // A sharp peak would leave every linear level but the first empty elsewhere.
    for (double l = 1; l <= top && static_cast<int>(levels.size()) < count; l *= 2) levels.push_back(l);
    return levels;
  }
  static constexpr double kSteps[] = {0.25, 0.5, 1};
  double step = 1;
  for (double s : kSteps)
    if (top / s <= count) {
      step = s;
      break;
    }
  for (int k = 1; k * step <= top && k <= count; ++k) levels.push_back(k * step);
  if (levels.empty()) levels.push_back(step);
  return levels;
}

void DrawAngleGrid(Canvas& canvas, const AngleGrid& grid, const AngleGridFigure& figure, PlotBox box) {
  const std::size_t rows = grid.rowAngle.size(), columns = grid.columnAngle.size();
  if (rows < 2 || columns < 2 || grid.values.size() != rows * columns) return;
  const auto outlineAngles = figure.outline.empty() ? BoundsOutline(grid, figure.shape) : figure.outline;
  std::vector<Point> outline;
  outline.reserve(outlineAngles.size());
  for (const auto& [r, c] : outlineAngles) outline.push_back(MapAngles(figure.shape, r, c));
  double minX = outline.front().x, maxX = minX, minY = outline.front().y, maxY = minY;
  for (const Point& p : outline) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  // Text sizes from the font's point size: this surface has no text metrics.
  const int font = std::max(canvas.FontSize(), 6);
  const int charWidth = font * 3 / 4 + 1, lineHeight = font * 8 / 5 + 2;
  std::size_t longestMark = 1;
  for (const AngleGridMark& m : figure.marks) longestMark = std::max(longestMark, m.text.size());
  const int sideMargin = charWidth * static_cast<int>(longestMark + 1) + 4;
  const int topMargin = lineHeight * 2, bottomMargin = lineHeight * 3 / 2;
  const double width = std::max(maxX - minX, 1e-9), height = std::max(maxY - minY, 1e-9);
  const double scale = std::max(
      1.0, std::min((box.width - 2.0 * sideMargin) / width, (box.height - 1.0 * topMargin - bottomMargin) / height));
  const double left = box.left + (box.width - width * scale) / 2;
  const double top = box.top + topMargin;
  const auto toPixel = [&](const Point& p) {
    return quorix::Pixel{static_cast<int>(std::lround(left + (p.x - minX) * scale)),
                         static_cast<int>(std::lround(top + (maxY - p.y) * scale))};
  };
  const ConvexClip clip(outline);
  const auto colorOf = [&](std::size_t level) {
    return figure.colors.empty() ? Color{0} : figure.colors[level % figure.colors.size()];
  };
  const auto nodeAt = [&](std::size_t i, std::size_t j) {
    return Node{grid.rowAngle[i], grid.columnAngle[j], grid.At(i, j)};
  };
  const auto forEachTriangle = [&](const auto& draw) {
    for (std::size_t i = 0; i + 1 < rows; ++i)
      for (std::size_t j = 0; j + 1 < columns; ++j) {
        const Node a = nodeAt(i, j), b = nodeAt(i, j + 1), c = nodeAt(i + 1, j + 1), d = nodeAt(i + 1, j);
        for (const std::array<Node, 3>& t : {std::array<Node, 3>{a, b, c}, std::array<Node, 3>{a, c, d}})
          if (std::isfinite(t[0].value) && std::isfinite(t[1].value) && std::isfinite(t[2].value)) draw(t);
      }
  };

  canvas.SetPenMode(PenMode::Copy);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetPenWidth(1);
  if (figure.fill) {
    canvas.SetBrushStyle(BrushStyle::Solid);
    for (std::size_t l = 0; l < figure.levels.size(); ++l) {
      canvas.SetBrushColor(colorOf(l));
      canvas.SetPenColor(colorOf(l));
      forEachTriangle([&](const std::array<Node, 3>& t) {
        std::vector<Point> poly;
        for (const Node& n : AreaAbove(t, figure.levels[l])) poly.push_back(MapAngles(figure.shape, n.row, n.column));
        poly = clip.Polygon(std::move(poly));
        if (poly.size() < 3) return;
        std::vector<quorix::Pixel> pixels;
        pixels.reserve(poly.size());
        for (const Point& p : poly) pixels.push_back(toPixel(p));
        canvas.Polygon(pixels);
      });
    }
  }
  canvas.SetBrushStyle(BrushStyle::Clear);
  for (std::size_t l = 0; l < figure.levels.size(); ++l) {
    canvas.SetPenColor(figure.fill ? Color{0} : colorOf(l));
    forEachTriangle([&](const std::array<Node, 3>& t) {
      std::vector<Node> ends;
      for (std::size_t i = 0; i < 3; ++i) {
        const Node& p = t[i];
        const Node& q = t[(i + 1) % 3];
        if ((p.value >= figure.levels[l]) != (q.value >= figure.levels[l]))
          ends.push_back(Crossing(p, q, figure.levels[l]));
      }
      if (ends.size() != 2) return;
      Point p = MapAngles(figure.shape, ends[0].row, ends[0].column);
      Point q = MapAngles(figure.shape, ends[1].row, ends[1].column);
      if (!clip.Segment(p, q)) return;
      const quorix::Pixel a = toPixel(p), b = toPixel(q);
      canvas.MoveTo(a.x, a.y);
      canvas.LineTo(b.x, b.y);
      canvas.LineTo(b.x + 1, b.y);  // LineTo leaves out its end pixel
    });
  }

  canvas.SetPenColor(0);
  const quorix::Pixel first = toPixel(outline.front());
  canvas.MoveTo(first.x, first.y);
  for (std::size_t k = 1; k <= outline.size(); ++k) {
    const quorix::Pixel p = toPixel(outline[k % outline.size()]);
    canvas.LineTo(p.x, p.y);
  }

  Point centre;
  for (const Point& p : outline) {
    centre.x += p.x / static_cast<double>(outline.size());
    centre.y += p.y / static_cast<double>(outline.size());
  }
  for (const AngleGridMark& m : figure.marks) {
    const Point p = MapAngles(figure.shape, m.row, m.column);
    const quorix::Pixel at = toPixel(p);
    const int textWidth = charWidth * static_cast<int>(m.text.size());
    // Outside the outline, away from its middle.
    const int x = p.x < centre.x - 1e-9 * width   ? at.x - textWidth - 3
                  : p.x > centre.x + 1e-9 * width ? at.x + 3
                                                  : at.x - textWidth / 2;
    const int y = p.y > centre.y ? at.y - lineHeight : at.y + 2;
    canvas.TextOut(x, y, m.text);
  }
  if (!figure.title.empty())
    canvas.TextOut(box.left + (box.width - charWidth * static_cast<int>(figure.title.size())) / 2, box.top + 2,
                   figure.title);
}

void DrawLevelLegend(Canvas& canvas, const std::vector<double>& levels, const std::vector<Color>& colors,
                     quorix::Pixel topLeft) {
  const int lineHeight = std::max(canvas.FontSize(), 6) * 8 / 5 + 2;
  canvas.SetPenMode(PenMode::Copy);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetBrushStyle(BrushStyle::Clear);
  for (std::size_t l = 0; l < levels.size(); ++l) {
    const int left = topLeft.x, y = topLeft.y + static_cast<int>(l) * lineHeight;
    canvas.SetPenColor(colors.empty() ? Color{0} : colors[l % colors.size()]);
    for (int w = 0; w < 2; ++w) {
      canvas.MoveTo(left, y + lineHeight / 2 + w);
      canvas.LineTo(left + 20, y + lineHeight / 2 + w);
    }
    canvas.TextOut(left + 26, y, FormatGeneral(levels[l]));
  }
}

}  // namespace quorix
