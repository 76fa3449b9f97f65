// Contoured angle grids: round levels, lines where the values cross them,
// nothing drawn outside the outline, bands filled only when asked.
#include "plot/angle_grid_plot.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot/recording_canvas.h"

namespace quorix {
namespace {

constexpr Color kLevelColor = 0x0000FF;

// Values f(row, column) every `step` degrees over rows 0..rows and columns 0..columns.
template <class F>
AngleGrid GridOf(double rows, double columns, double step, F f) {
  AngleGrid g;
  for (int k = 0; k * step <= rows + 1e-9; ++k) g.rowAngle.push_back(k * step);
  for (int k = 0; k * step <= columns + 1e-9; ++k) g.columnAngle.push_back(k * step);
  for (double r : g.rowAngle)
    for (double c : g.columnAngle) g.values.push_back(f(r, c));
  return g;
}

// The end points of the lines drawn in the level colour.
std::vector<quorix::Pixel> LevelPoints(const RecordingCanvas& canvas) {
  std::vector<quorix::Pixel> out;
  for (const CanvasOp& op : canvas.ops)
    if ((op.kind == CanvasOpKind::MoveTo || op.kind == CanvasOpKind::LineTo) && op.pen == kLevelColor)
      out.push_back({op.x1, op.y1});
  return out;
}

TEST(AngleGridLevels, RoundStepsThenDoublingUpToTheLargestValue) {
  const auto levelsUpTo = [](double top) {
    return AngleGridLevels(GridOf(10, 10, 5, [&](double, double) { return top; }), 8);
  };
  EXPECT_EQ(levelsUpTo(3.7), (std::vector<double>{0.5, 1, 1.5, 2, 2.5, 3, 3.5}));
  EXPECT_EQ(levelsUpTo(1.2), (std::vector<double>{0.25, 0.5, 0.75, 1}));
  EXPECT_EQ(levelsUpTo(12), (std::vector<double>{1, 2, 4, 8}));
  EXPECT_EQ(levelsUpTo(1e6).size(), 8u);
  EXPECT_TRUE(levelsUpTo(0).empty());
}

TEST(AngleGridPlot, SectionLineStandsWhereTheValuesCrossTheLevel) {
  // A ramp along the columns: the level 45 is the vertical line through column 45.
  const AngleGrid g = GridOf(90, 90, 5, [](double, double c) { return c; });
  AngleGridFigure f;
  f.levels = {45};
  f.colors = {kLevelColor};
  f.title = "phi2 = 0";
  f.marks = {{0, 90, "90"}};
  RecordingCanvas canvas;
  DrawAngleGrid(canvas, g, f, PlotBox{0, 0, 300, 300});
  const auto points = LevelPoints(canvas);
  ASSERT_FALSE(points.empty());
  int minY = 1 << 20, maxY = -minY;
  for (const quorix::Pixel& p : points) {
    EXPECT_NEAR(p.x, 150, 2);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  EXPECT_GT(maxY - minY, 150);  // from top to bottom of the section
  int texts = 0;
  for (const CanvasOp& op : canvas.ops)
    texts += op.kind == CanvasOpKind::Text && (op.text == "90" || op.text == f.title);
  EXPECT_EQ(texts, 2);
  for (const CanvasOp& op : canvas.ops) EXPECT_NE(op.kind, CanvasOpKind::Polygon);
}

TEST(AngleGridPlot, StandardTriangleCutsTheLinesAndFills) {
  // Values rise with the tilt: a level's line is an arc about the centre,
  // which the great circle through 101 and 111 cuts off below beta 33 at tilt 50.
  const AngleGrid g = GridOf(90, 45, 5, [](double r, double) { return r; });
  AngleGridFigure f;
  f.shape = AngleGridShape::Stereographic;
  f.outline.emplace_back(0, 0);
  for (int b = 0; b <= 45; ++b) f.outline.emplace_back(std::atan(1 / std::cos(b * M_PI / 180)) * 180 / M_PI, b);
  f.levels = {50};
  f.colors = {kLevelColor};
  RecordingCanvas canvas;
  DrawAngleGrid(canvas, g, f, PlotBox{0, 0, 400, 400});
  // The outline is drawn last, from the centre (alpha 0).
  quorix::Pixel centre;
  for (const CanvasOp& op : canvas.ops)
    if (op.kind == CanvasOpKind::MoveTo && op.pen == 0) centre = {op.x1, op.y1};
  const auto points = LevelPoints(canvas);
  ASSERT_FALSE(points.empty());
  double lowest = 90;
  for (const quorix::Pixel& p : points)
    lowest = std::min(lowest, std::atan2(centre.y - p.y, p.x - centre.x) * 180 / M_PI);
  EXPECT_NEAR(lowest, 32.9, 1.5);

  f.fill = true;
  RecordingCanvas filled;
  DrawAngleGrid(filled, g, f, PlotBox{0, 0, 400, 400});
  int polygons = 0;
  for (const CanvasOp& op : filled.ops)
    if (op.kind == CanvasOpKind::Polygon) {
      ++polygons;
      EXPECT_EQ(op.brush, kLevelColor);
      for (const quorix::Pixel& p : op.points)
        EXPECT_GE(std::atan2(centre.y - p.y, p.x - centre.x) * 180 / M_PI, 32.9 - 1.5);
    }
  EXPECT_GT(polygons, 0);
}

}  // namespace
}  // namespace quorix
