// Which fill a level gets on pixel surfaces: the border fill only where the
// level's lines leave no gap, the triangle pieces everywhere else.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <vector>

#include "math/vector_math.h"
#include "plot/contours.h"
#include "plot/recording_canvas.h"
#include "plot/render.h"
#include "record/circle_links.h"
#include "test_support.h"

namespace quorix {
namespace {

constexpr Color kLow = 0x00FF00, kHigh = 0x0000FF;

// A four-point grid (see test::FourPointGrid) with its values, linked.
std::unique_ptr<PoleFigure> Grid(std::initializer_list<double> alphas,
                                 std::initializer_list<std::vector<double>> values) {
  auto pf = test::FourPointGrid(alphas);
  int i = 0;
  for (const std::vector<double>& circle : values) test::SetCircle(*pf, ++i, circle);
  EXPECT_TRUE(BuildCircleLinks(*pf));
  return pf;
}

// High on the side of beta 0 and 90, low on the other: one line from rim to rim.
std::unique_ptr<PoleFigure> HalfHigh() { return Grid({0, 45, 90}, {{5}, {9, 9, 1, 1}, {9, 9, 1, 1}}); }

PlotGeometry Geometry(const RotationState& rotation = {}) {
  return PlotGeometry{650, false, DisplayRotation(rotation)};
}

RotationState ListRotation(char axis, double angle, bool triclin = false) {
  RotationState r;
  r.Mode = RotationMode::List;
  r.List = {{axis, angle}};
  r.TriclinicSymmetry = triclin;
  return r;
}

TEST(LineIsClosed, EndsInTheSameDirection) {
  EXPECT_TRUE(LineIsClosed({{40, 355}, {40, 10}, {45, 20}, {40, -5}}));  // a full turn apart
  EXPECT_TRUE(LineIsClosed({{0, 10}, {5, 20}, {5, 90}, {0, 200}}));      // the centre has no azimuth
  EXPECT_TRUE(LineIsClosed({{40, 10}, {45, 20}, {50, 30}, {40 + 1e-12, 10 - 1e-12}}));
  EXPECT_FALSE(LineIsClosed({{40, 10}, {45, 20}, {50, 30}, {40, 10.01}}));
  EXPECT_FALSE(LineIsClosed({{40, 10}, {40, 10}}));
  EXPECT_FALSE(LineIsClosed({}));
}

TEST(FloodFillStaysInside, ClosedLinesAndLinesFromRimToRim) {
  auto peak = Grid({0, 30, 60}, {{10}, {4, 4, 4, 4}, {1, 1, 1, 1}});
  const LevelContours ring = TraceLevel(*peak, 5.001, true);
  ASSERT_EQ(ring.lines.size(), 1u);
  EXPECT_TRUE(LineIsClosed(ring.lines[0]));
  EXPECT_TRUE(FloodFillStaysInside(*peak, Geometry(), ring.lines));
  EXPECT_TRUE(FloodFillStaysInside(*peak, Geometry(), {}));
  // The same ring a degree across is drawn a speck its seed pixel misses
  // (half-degree circles of area-detector slices).
  auto speck = Grid({0, 0.5, 1}, {{10}, {4, 4, 4, 4}, {1, 1, 1, 1}});
  EXPECT_FALSE(FloodFillStaysInside(*speck, Geometry(), TraceLevel(*speck, 5.001, true).lines));

  auto half = HalfHigh();
  const LevelContours cut = TraceLevel(*half, 5.001, true);
  ASSERT_EQ(cut.lines.size(), 1u);
  EXPECT_DOUBLE_EQ(cut.lines[0].front().alpha, 90);
  EXPECT_DOUBLE_EQ(cut.lines[0].back().alpha, 90);
  EXPECT_TRUE(FloodFillStaysInside(*half, Geometry(), cut.lines));
  // On a grid of half a turn the outline no longer closes the rim.
  half->BetaRange = 180;
  EXPECT_FALSE(FloodFillStaysInside(*half, Geometry(), cut.lines));
}

TEST(FloodFillStaysInside, LinesEndingInsideThePlotLeaveAGap) {
  // Without a centre point the line ends on the innermost circle as well.
  auto ring = Grid({30, 60, 90}, {{9, 9, 1, 1}, {9, 9, 1, 1}, {9, 9, 1, 1}});
  const LevelContours inner = TraceLevel(*ring, 5.001, true);
  ASSERT_FALSE(inner.lines.empty());
  EXPECT_FALSE(FloodFillStaysInside(*ring, Geometry(), inner.lines));

  // A grid measured to 60 degrees only.
  auto partial = Grid({0, 30, 60}, {{5}, {9, 9, 1, 1}, {9, 9, 1, 1}});
  EXPECT_FALSE(FloodFillStaysInside(*partial, Geometry(), TraceLevel(*partial, 5.001, true).lines));

  // A negative value and a point without value stop the line on the middle circle.
  for (double stop : {-0.5, -1.0}) {
    auto half = HalfHigh();
    half->Intensity[2][3] = stop;
    const LevelContours level = TraceLevel(*half, 5.001, true);
    ASSERT_FALSE(level.lines.empty()) << stop;
    EXPECT_FALSE(FloodFillStaysInside(*half, Geometry(), level.lines)) << stop;
  }
}

TEST(FloodFillStaysInside, JudgedWhereTheRotationDrawsTheLines) {
  auto half = HalfHigh();
  const std::vector<ContourLine> cut = TraceLevel(*half, 5.001, true).lines;
  // About Z the rim stays the rim; about X the ends at beta 135 and 315 move inside.
  EXPECT_TRUE(FloodFillStaysInside(*half, Geometry(ListRotation('Z', 30)), cut));
  EXPECT_FALSE(FloodFillStaysInside(*half, Geometry(ListRotation('X', 30)), cut));

  // A closed ring half turned out of the hemisphere: folded it stays whole,
  // dropped it breaks.
  auto peak = Grid({0, 30, 60}, {{10}, {4, 4, 4, 4}, {1, 1, 1, 1}});
  const std::vector<ContourLine> ring = TraceLevel(*peak, 5.001, true).lines;
  EXPECT_TRUE(FloodFillStaysInside(*peak, Geometry(ListRotation('X', 90)), ring));
  EXPECT_FALSE(FloodFillStaysInside(*peak, Geometry(ListRotation('X', 90, true)), ring));
}

// Levels 2 and 5; the upper band is broken by a point without value on
// circle 2 (alpha 30, beta 270), the lower one lies whole between 60 and 90.
std::unique_ptr<PoleFigure> BrokenUpperBand() {
  auto pf = Grid({0, 30, 60, 90}, {{10}, {8, 8, 8, -1}, {4, 4, 4, 4}, {1, 1, 1, 1}});
  pf->Level[1] = 2, pf->Level[2] = 5;
  pf->LevelCount = 2;
  pf->NormFactor = 1;
  pf->MaxValue = 10, pf->MaxCircle = 1, pf->MaxPoint = 1;
  pf->MinValue = 1, pf->MinCircle = 4, pf->MinPoint = 1;
  return pf;
}

ProgramState FillState() {
  ProgramState state;
  state.ContourColor[1] = kLow;
  state.ContourColor[2] = kHigh;
  state.Options.FillAreas = true;
  state.Options.DrawGrid = false;
  return state;
}

struct LevelOps {
  std::vector<std::size_t> floods, polygons, lines;
};

LevelOps OpsInColour(const RecordingCanvas& c, Color colour) {
  LevelOps out;
  for (std::size_t i = 0; i < c.ops.size(); ++i) {
    const CanvasOp& op = c.ops[i];
    if (op.kind == CanvasOpKind::FloodFill && op.color == colour) out.floods.push_back(i);
    if (op.kind == CanvasOpKind::Polygon && op.brush == colour) out.polygons.push_back(i);
    if (op.kind == CanvasOpKind::LineTo && op.pen == colour) out.lines.push_back(i);
  }
  return out;
}

TEST(PlotFillChoice, BrokenLevelIsFilledInPiecesUnderItsLines) {
  auto pf = BrokenUpperBand();
  RecordingCanvas c;
  c.pixelSource = [](int, int) { return Color{0xFFFFFF}; };
  PlotPoleFigure(*pf, FillState(), c, 650, 910, "");

  const LevelOps low = OpsInColour(c, kLow);
  EXPECT_FALSE(low.floods.empty());
  EXPECT_TRUE(low.polygons.empty());

  const LevelOps high = OpsInColour(c, kHigh);
  EXPECT_TRUE(high.floods.empty());
  ASSERT_FALSE(high.polygons.empty());
  ASSERT_FALSE(high.lines.empty());
  // Ascending levels, and the lines drawn over the pieces.
  EXPECT_LT(low.floods.back(), high.polygons.front());
  EXPECT_LT(high.polygons.back(), high.lines.front());

  // The pieces stay inside the level's line, which crosses the edges from
  // circle 2 (8) to circle 3 (4) at alpha 30 + 30 * 2.999 / 4; none touches
  // the point without value.
  const double edge = 315 * std::tan((30 + 30 * 2.999 / 4) / 2 * kPi / 180);
  const Pixel missing = ProjectPoint(650, 30, 270, false);
  for (std::size_t i : high.polygons) {
    for (const Pixel& p : c.ops[i].points) {
      EXPECT_LE(std::hypot(p.x - 325, p.y - 325), edge + 1);
      EXPECT_FALSE(p.x == missing.x && p.y == missing.y);
    }
  }
}

TEST(PlotFillChoice, UnbrokenLevelsKeepTheBorderFill) {
  auto pf = BrokenUpperBand();
  pf->Intensity[2][4] = 8;
  RecordingCanvas c;
  c.pixelSource = [](int, int) { return Color{0xFFFFFF}; };
  PlotPoleFigure(*pf, FillState(), c, 650, 910, "");
  for (Color colour : {kLow, kHigh}) {
    const LevelOps ops = OpsInColour(c, colour);
    EXPECT_FALSE(ops.floods.empty()) << colour;
    EXPECT_TRUE(ops.polygons.empty()) << colour;
  }
  // The same picture, turned so that the lines leave the hemisphere under
  // "triclin", breaks both rings.
  ProgramState turned = FillState();
  turned.Rotation = ListRotation('X', 80, true);
  RecordingCanvas t;
  t.pixelSource = [](int, int) { return Color{0xFFFFFF}; };
  PlotPoleFigure(*pf, turned, t, 650, 910, "");
  const LevelOps low = OpsInColour(t, kLow);
  EXPECT_TRUE(low.floods.empty());
  EXPECT_FALSE(low.polygons.empty());
}

}  // namespace
}  // namespace quorix
