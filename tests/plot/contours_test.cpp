// Contour tracing on grid triangles, joining, paths under rotation, fill seeds
// and the polygon fill of vector surfaces.
#include "plot/contours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <random>
#include <vector>

#include "plot/polygon_fill.h"
#include "plot/recording_canvas.h"
#include "record/circle_links.h"
#include "test_support.h"

namespace quorix {
namespace {

using test::FourPointGrid;
using test::SetCircle;

using test::CentrePeak;
using test::RadialLines;

TEST(LevelThreshold, LevelsFromOneUpAreRaisedSlightly) {
  EXPECT_DOUBLE_EQ(LevelThreshold(5, false, 100), 5.001);
  EXPECT_DOUBLE_EQ(LevelThreshold(2, true, 150), 300.001);
  EXPECT_DOUBLE_EQ(LevelThreshold(0.5, false, 100), 0.5);
  EXPECT_DOUBLE_EQ(LevelThreshold(0.005, true, 100), 0.5);
}

TEST(EdgeCrossing, LinearInAlphaAndBeta) {
  auto pf = RadialLines();
  // (1,2): value 3 at alpha 30, beta 90; (2,1): value 1 at alpha 60, beta 0.
  const ContourPoint c = EdgeCrossing(*pf, {1, 2}, {2, 1}, 2.5);
  EXPECT_DOUBLE_EQ(c.alpha, 37.5);
  EXPECT_DOUBLE_EQ(c.beta, 67.5);
  // Equal values: the crossing sits at the first end.
  const ContourPoint same = EdgeCrossing(*pf, {1, 1}, {1, 4}, 1);
  EXPECT_DOUBLE_EQ(same.beta, 0);
}

TEST(EdgeCrossing, AzimuthTakesTheShortWayRound) {
  auto pf = NewPoleFigure();
  pf->CircleCount = 2;
  test::SizeTables(*pf, 2, 36);
  pf->Alpha[1] = 0, pf->CirclePoints[1] = 1, pf->BetaStep[1] = 360;
  pf->Alpha[2] = 20, pf->CirclePoints[2] = 36, pf->BetaStep[2] = 10;
  pf->Intensity[1][1] = 0;
  pf->Intensity[2][36] = 4;  // beta 350
  pf->Intensity[2][2] = 8;   // beta 10
  const ContourPoint wrap = EdgeCrossing(*pf, {2, 36}, {2, 2}, 6);
  EXPECT_DOUBLE_EQ(wrap.beta, 360);
  EXPECT_DOUBLE_EQ(wrap.alpha, 20);
  // To and from the centre point the azimuth stays that of the other end.
  const ContourPoint in = EdgeCrossing(*pf, {2, 36}, {1, 1}, 3);
  EXPECT_DOUBLE_EQ(in.beta, 350);
  EXPECT_DOUBLE_EQ(in.alpha, 15);
  const ContourPoint out = EdgeCrossing(*pf, {1, 1}, {2, 36}, 1);
  EXPECT_DOUBLE_EQ(out.beta, 350);
  EXPECT_DOUBLE_EQ(out.alpha, 5);
}

TEST(TraceLevel, ClosedLineAroundAMaximum) {
  auto pf = CentrePeak();
  const LevelContours level = TraceLevel(*pf, LevelThreshold(5, false, 1), true);
  ASSERT_EQ(level.lines.size(), 1u);
  const ContourLine& line = level.lines[0];
  ASSERT_EQ(line.size(), 5u);
  // Starts and ends on the second start edge of the first triangle, the
  // edge from point 2 of circle 2 to the centre: alpha 30 - 30 * 1.001 / 6.
  for (const ContourPoint& p : line) EXPECT_NEAR(p.alpha, 24.995, 1e-9);
  const double betas[] = {90, 0, 270, 180, 90};
  for (int k = 0; k < 5; ++k) EXPECT_DOUBLE_EQ(line[k].beta, betas[k]) << k;
  // The area above the level is seeded at the centre point.
  ASSERT_EQ(level.seeds.size(), 1u);
  EXPECT_EQ(level.seeds[0].circle, 1);
  EXPECT_EQ(level.seeds[0].point, 1);
}

TEST(TraceLevel, OpenLinesAreJoinedFromBothDirections) {
  auto pf = RadialLines();
  const LevelContours level = TraceLevel(*pf, LevelThreshold(2, false, 1), false);
  ASSERT_EQ(level.lines.size(), 2u);
  const ContourLine& first = level.lines[0];
  ASSERT_EQ(first.size(), 5u);
  // From the outermost circle (alpha 80) inward to the base of circle 1.
  EXPECT_DOUBLE_EQ(first.front().alpha, 80);
  EXPECT_NEAR(first.front().beta, 90 * 0.501 / 3.5, 1e-12);
  EXPECT_DOUBLE_EQ(first.back().alpha, 30);
  EXPECT_DOUBLE_EQ(first.back().beta, 45.045);
  EXPECT_NEAR(first[1].alpha, 60 + 20 * 1.999 / 2.5, 1e-12);
  const ContourLine& second = level.lines[1];
  ASSERT_EQ(second.size(), 5u);
  EXPECT_DOUBLE_EQ(second.front().alpha, 30);
  EXPECT_DOUBLE_EQ(second.back().alpha, 80);
  EXPECT_TRUE(level.seeds.empty());
}

TEST(TraceLevel, ValuesEqualToAWholeLevelCountAsBelow) {
  auto pf = CentrePeak();
  SetCircle(*pf, 2, {5, 5, 5, 5});
  SetCircle(*pf, 1, {5});
  EXPECT_TRUE(TraceLevel(*pf, LevelThreshold(5, false, 1), false).lines.empty());
  EXPECT_EQ(TraceLevel(*pf, LevelThreshold(4.99, false, 1), false).lines.size(), 1u);
}

TEST(TraceLevel, LinesStopAtPointsWithoutValue) {
  auto pf = RadialLines();
  SetCircle(*pf, 3, {-1, -1, -1, -1});
  const LevelContours level = TraceLevel(*pf, LevelThreshold(2, false, 1), false);
  ASSERT_EQ(level.lines.size(), 2u);
  for (const ContourLine& line : level.lines) {
    EXPECT_EQ(line.size(), 3u);
    for (const ContourPoint& p : line) EXPECT_LE(p.alpha, 60);
  }
}

TEST(TraceLevel, FreshRecordAndRecordWithoutLinksDrawNothing) {
  auto fresh = NewPoleFigure();
  EXPECT_TRUE(TraceLevel(*fresh, 0.5, true).lines.empty());
  auto unlinked = FourPointGrid({30, 60});
  SetCircle(*unlinked, 1, {1, 9, 1, 9});
  SetCircle(*unlinked, 2, {9, 1, 9, 1});
  // Zero-filled links point at point 0, which does not exist.
  EXPECT_TRUE(TraceLevel(*unlinked, 5, true).lines.empty());
}

TEST(TraceLevel, ArbitraryLinksNeitherHangNorReachOutside) {
  std::mt19937 rng(1234);
  auto pf = NewPoleFigure();
  pf->CircleCount = 12;
  test::SizeTables(*pf, 12, 30);
  for (int i = 0; i <= 13; ++i) {
    pf->Alpha[i] = i * 7.5;
    pf->CirclePoints[i] = 30;
    pf->BetaStep[i] = 12;
  }
  std::uniform_int_distribution<int> link(-3, 40);
  std::uniform_real_distribution<double> value(-1.5, 10);
  for (int round = 0; round < 20; ++round) {
    for (int i = 1; i <= 12; ++i) {
      for (int j = 1; j <= 30; ++j) {
        pf->Link[i][j].InnerLink = link(rng);
        pf->Link[i][j].OuterLink = link(rng);
        pf->Intensity[i][j] = value(rng);
      }
    }
    const LevelContours level = TraceLevel(*pf, 4, true);
    for (const ContourLine& line : level.lines) EXPECT_LE(line.size(), 2u * 12 * 30 + 1);
  }
}

TEST(JoinContourHalves, SecondReversedBeforeFirst) {
  const ContourLine joined = JoinContourHalves({{1, 0}, {2, 0}}, {{3, 0}, {4, 0}});
  ASSERT_EQ(joined.size(), 4u);
  EXPECT_EQ(joined[0].alpha, 4);
  EXPECT_EQ(joined[1].alpha, 3);
  EXPECT_EQ(joined[2].alpha, 1);
  EXPECT_EQ(joined[3].alpha, 2);
  const ContourLine closed = JoinContourHalves({{1, 5}, {2, 6}}, {});
  ASSERT_EQ(closed.size(), 3u);
  EXPECT_EQ(closed[2].alpha, 1);
  EXPECT_EQ(closed[2].beta, 5);
}

TEST(AddFillSeed, RepeatOfTheNewestIsIgnored) {
  std::vector<FillSeed> seeds;
  AddFillSeed(seeds, 1, 1);
  AddFillSeed(seeds, 1, 1);
  AddFillSeed(seeds, 2, 1);
  AddFillSeed(seeds, 1, 1);
  EXPECT_EQ(seeds.size(), 3u);
}

PlotGeometry Geometry650(const RotationState& rotation = {}) {
  return PlotGeometry{650, false, DisplayRotation(rotation)};
}

TEST(ContourPath, WithoutRotationEveryPointIsDrawn) {
  auto pf = RadialLines();
  const std::vector<PathStep> path = ContourPath(*pf, Geometry650(), {{90, 0}, {90, 180}, {45, 180}});
  ASSERT_EQ(path.size(), 3u);
  EXPECT_EQ(path[0].kind, PathStepKind::Start);
  EXPECT_EQ(path[0].p.x, 640);
  EXPECT_EQ(path[1].kind, PathStepKind::Line);
  EXPECT_EQ(path[1].p.x, 10);
  EXPECT_EQ(path[2].p.x, 325 - 130);  // stereographic: tan(22.5) * 315 = 130.5 -> 130
}

TEST(ContourPath, RimCrossingNearBetaZeroStaysOnItsSide) {
  auto pf = RadialLines();
  RotationState identity;  // a list whose rotations are all zero still checks the rim
  identity.Mode = RotationMode::List;
  identity.List = {{'X', 0}};
  // (85, 185) is the antipode of (95, 5): the line runs from beta 350 over
  // the rim at beta 357.5 and comes back at 177.5.
  const std::vector<PathStep> path = ContourPath(*pf, Geometry650(identity), {{85, 350}, {85, 185}});
  ASSERT_EQ(path.size(), 3u);
  EXPECT_EQ(path[1].kind, PathStepKind::RimJump);
  const double rim = 357.5 * kPi / 180;
  EXPECT_EQ(path[1].p.x, 325 + static_cast<int>(std::lround(315 * std::cos(rim))));
  EXPECT_EQ(path[1].p.y, 325 - static_cast<int>(std::lround(315 * std::sin(rim))));
  EXPECT_EQ(path[1].q.x, 325 - static_cast<int>(std::lround(315 * std::cos(rim))));
  EXPECT_EQ(path[1].q.y, 325 + static_cast<int>(std::lround(315 * std::sin(rim))));
  EXPECT_EQ(path[2].kind, PathStepKind::Line);
}

TEST(ContourPath, DroppedDirectionsBreakTheLine) {
  auto pf = RadialLines();
  RotationState triclin;
  triclin.Mode = RotationMode::List;
  triclin.List = {{'X', 90}};
  triclin.TriclinicSymmetry = true;
  // Beta 270 turns out of the hemisphere about X, beta 90 stays.
  const std::vector<PathStep> path =
      ContourPath(*pf, Geometry650(triclin), {{45, 90}, {40, 90}, {45, 270}, {40, 90}, {35, 90}});
  ASSERT_EQ(path.size(), 4u);
  EXPECT_EQ(path[0].kind, PathStepKind::Start);
  EXPECT_EQ(path[1].kind, PathStepKind::Line);
  EXPECT_EQ(path[2].kind, PathStepKind::Start);
  EXPECT_EQ(path[3].kind, PathStepKind::Line);
}

TEST(NudgeFillSeed, MovesToANeighbourAboveTheLevel) {
  auto pf = RadialLines();
  RecordingCanvas canvas;
  canvas.pixelSource = [](int, int) { return Color{0xFFFFFF}; };
  FillSeed seed{2, 1};  // value 1; its successor (2, 2) holds 4
  const Pixel at = NudgeFillSeed(*pf, Geometry650(), canvas, seed, 255, 2.001, {0, 0});
  EXPECT_EQ(seed.circle, 2);
  EXPECT_EQ(seed.point, 2);
  EXPECT_EQ(at.x, 325);
  EXPECT_EQ(at.y, 325 - 182);  // tan(30) * 315 = 181.87
}

TEST(NudgeFillSeed, OnTheOutermostCircleLooksOneStepInward) {
  auto pf = RadialLines();
  RecordingCanvas canvas;
  const Pixel seedPixel = ProjectPoint(650, 80, 90, false);  // (3, 2), value 5
  // The pixel straight below the seed (inward at beta 90) is still in the level colour.
  canvas.pixelSource = [&](int x, int y) {
    return Color{x == seedPixel.x - 1 && y == seedPixel.y + 1 ? 0xFFFFFFu : 255u};
  };
  FillSeed seed{3, 2};  // no neighbour exceeds 4.5
  const Pixel at = NudgeFillSeed(*pf, Geometry650(), canvas, seed, 255, 4.5, seedPixel);
  EXPECT_EQ(seed.point, 2);
  EXPECT_EQ(at.x, seedPixel.x - 1);
  EXPECT_EQ(at.y, seedPixel.y + 1);
}

TEST(NudgeFillSeed, AtTheRimNeverStepsOutOfAnAreaThinnerThanAPixel) {
  // Only the rim point at beta 0 is above the level, by a hair.
  auto pf = FourPointGrid({0, 45, 90});
  SetCircle(*pf, 1, {1});
  SetCircle(*pf, 2, {1, 1, 1, 1});
  SetCircle(*pf, 3, {5.01, 1, 1, 1});
  ASSERT_TRUE(BuildCircleLinks(*pf));
  const Pixel seedPixel = ProjectPoint(650, 90, 0, false);
  RecordingCanvas canvas;
  canvas.pixelSource = [&](int x, int y) { return Color{x == seedPixel.x && y == seedPixel.y ? 255u : 0xFFFFFFu}; };
  FillSeed seed{3, 1};
  Pixel at = NudgeFillSeed(*pf, Geometry650(), canvas, seed, 255, 5, seedPixel);
  EXPECT_EQ(at.x, seedPixel.x);
  EXPECT_EQ(at.y, seedPixel.y);
  // A wide area takes the pixel inward.
  pf->Intensity[3][1] = 9;
  at = NudgeFillSeed(*pf, Geometry650(), canvas, seed, 255, 5, seedPixel);
  EXPECT_EQ(at.x, seedPixel.x - 1);
}

TEST(NudgeFillSeed, CentreSeedMovesOntoTheNextCircle) {
  auto pf = CentrePeak();
  SetCircle(*pf, 2, {4, 4, 7, 4});
  RecordingCanvas canvas;
  canvas.pixelSource = [](int, int) { return Color{255}; };
  FillSeed seed{1, 1};
  // The centre's only neighbours are on circle 2; the first above 5 is point 3.
  const Pixel at = NudgeFillSeed(*pf, Geometry650(), canvas, seed, 255, 5, {325, 325});
  EXPECT_EQ(seed.circle, 2);
  EXPECT_EQ(seed.point, 3);
  EXPECT_EQ(at.x, 325 - 84);  // tan(15) * 315 = 84.4
  EXPECT_EQ(at.y, 325);
}

TEST(FloodFillLevel, FillsFromEachSeedUpToTheLevelColour) {
  auto pf = CentrePeak();
  RecordingCanvas canvas;
  canvas.pixelSource = [](int, int) { return Color{0xFFFFFF}; };
  FloodFillLevel(*pf, Geometry650(), canvas, {{3, 1}, {1, 1}}, 0x00FF00, 5.001);
  ASSERT_EQ(canvas.ops.size(), 3u);
  EXPECT_EQ(canvas.ops[0].kind, CanvasOpKind::Ellipse);
  EXPECT_EQ(canvas.ops[0].pen, 0x00FF00u);
  EXPECT_EQ(canvas.ops[0].x2, 641);
  // Newest seed first: the centre.
  EXPECT_EQ(canvas.ops[1].kind, CanvasOpKind::FloodFill);
  EXPECT_EQ(canvas.ops[1].x1, 325);
  EXPECT_EQ(canvas.ops[1].color, 0x00FF00u);
  EXPECT_EQ(canvas.ops[1].brush, 0x00FF00u);
  EXPECT_EQ(canvas.ops[2].x1, 325 + 182);
}

TEST(TriangleAreaAbove, CutsTheTriangleAtTheLevel) {
  auto pf = RadialLines();
  // O(1,1): (1,1)=1, (1,2)=3, apex (2,1)=1: one corner above 2.
  const auto one = TriangleAreaAbove(*pf, {1, 1, TriangleKind::Outer}, 2);
  ASSERT_EQ(one.size(), 3u);
  EXPECT_DOUBLE_EQ(one[0].beta, 45);  // on the base, halfway
  EXPECT_DOUBLE_EQ(one[1].alpha, 30);
  EXPECT_DOUBLE_EQ(one[1].beta, 90);
  EXPECT_DOUBLE_EQ(one[2].alpha, 45);  // halfway to the apex
  // I(2,1): (2,1)=1, (2,2)=4, apex (1,2)=3: two corners above, a quadrilateral.
  EXPECT_EQ(TriangleAreaAbove(*pf, {2, 1, TriangleKind::Inner}, 2).size(), 4u);
  EXPECT_EQ(TriangleAreaAbove(*pf, {2, 1, TriangleKind::Inner}, 0.5).size(), 3u);
  EXPECT_TRUE(TriangleAreaAbove(*pf, {2, 1, TriangleKind::Inner}, 10).empty());
  pf->Intensity[2][2] = -1;
  EXPECT_TRUE(TriangleAreaAbove(*pf, {2, 1, TriangleKind::Inner}, 0.5).empty());
}

TEST(TriangleAreaAbove, NegativeValuesAreLowNotMissing) {
  auto pf = RadialLines();
  // O(1,1): (1,1) alpha 30 beta 0, (1,2) alpha 30 beta 90 = 3, apex (2,1) alpha 60 beta 0 = 1.
  for (double v : {-2.0, -1.5, -0.999}) {
    pf->Intensity[1][1] = v;
    const auto area = TriangleAreaAbove(*pf, {1, 1, TriangleKind::Outer}, 2);
    ASSERT_EQ(area.size(), 3u) << v;
    // Along the base from v up to 3, then halfway from 3 down to 1 at the apex.
    EXPECT_DOUBLE_EQ(area[0].alpha, 30);
    EXPECT_NEAR(area[0].beta, 90 * (2 - v) / (3 - v), 1e-12) << v;
    EXPECT_DOUBLE_EQ(area[1].beta, 90);
    EXPECT_DOUBLE_EQ(area[2].alpha, 45);
    EXPECT_DOUBLE_EQ(area[2].beta, 45);
  }
  // Below every level a negative corner still leaves the rest of the triangle.
  pf->Intensity[1][1] = -3;
  EXPECT_EQ(TriangleAreaAbove(*pf, {1, 1, TriangleKind::Outer}, 0.5).size(), 4u);
  pf->Intensity[1][1] = -1;
  EXPECT_TRUE(TriangleAreaAbove(*pf, {1, 1, TriangleKind::Outer}, 0.5).empty());

  // Every triangle of the grid lies partly above 0.5 and contributes a piece.
  for (int j = 1; j <= 4; ++j) pf->Intensity[1][j] = -5;
  RecordingCanvas canvas;
  FillLevelPolygons(*pf, Geometry650(), {{0.5, 1}}, canvas);
  EXPECT_EQ(canvas.ops.size(), 16u);
}

TEST(FillLevelPolygons, TrianglesCoveredByAHigherLevelAreLeftToIt) {
  auto pf = RadialLines();
  RecordingCanvas canvas;
  FillLevelPolygons(*pf, Geometry650(), {{0.2, 1}, {0.4, 2}}, canvas);
  // Every triangle lies above 0.4, so only the second level draws: 16 triangles.
  ASSERT_EQ(canvas.ops.size(), 16u);
  for (const CanvasOp& op : canvas.ops) {
    EXPECT_EQ(op.kind, CanvasOpKind::Polygon);
    EXPECT_EQ(op.brush, 2u);
    EXPECT_EQ(op.points.size(), 3u);
  }
}

TEST(FillLevelPolygons, PiecesCutByTheRimAreSkipped) {
  auto pf = RadialLines();
  RotationState tilt;
  tilt.Mode = RotationMode::List;
  tilt.List = {{'Y', 20}};
  RecordingCanvas plain, turned;
  FillLevelPolygons(*pf, Geometry650(), {{0.2, 1}}, plain);
  FillLevelPolygons(*pf, Geometry650(tilt), {{0.2, 1}}, turned);
  EXPECT_EQ(plain.ops.size(), 16u);
  EXPECT_LT(turned.ops.size(), plain.ops.size());
  EXPECT_GT(turned.ops.size(), 8u);
}

}  // namespace
}  // namespace quorix
