// The fast paths of a redraw against plain ones: the double projection
// against extended precision, the cached grid pixels (and when the cache must
// be filled anew), the block scan of the contour levels against the scan of
// every triangle, and whole plots drawn with and without a cache.
#include "plot/projection_cache.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "io/load_pole_figure.h"
#include "oracles/plain_contour_scan.h"
#include "plot/contours.h"
#include "plot/recording_canvas.h"
#include "plot/render.h"
#include "record/prepare.h"
#include "record/statistics.h"
#include "test_support.h"

namespace quorix {
namespace {

std::pair<int, int> XY(Pixel p) { return {p.x, p.y}; }

TEST(ProjectPoint, SamePixelAsExtendedPrecision) {
  for (int size : {20, 280, 651, 4096}) {
    for (bool equalArea : {false, true}) {
      for (double alpha = 0; alpha <= 92; alpha += 0.71)
        for (double beta = -3; beta <= 725; beta += 1.93)
          ASSERT_EQ(XY(ProjectPoint(size, alpha, beta, equalArea)), XY(ProjectPointExact(size, alpha, beta, equalArea)))
              << size << " " << alpha << " " << beta << " " << equalArea;
      // Grid directions, where many positions fall on whole and half pixels.
      if (size != 280 && size != 651) continue;
      for (double alpha = 0; alpha <= 90; alpha += 0.5)
        for (double beta = 0; beta <= 360; beta += 0.5)
          ASSERT_EQ(XY(ProjectPoint(size, alpha, beta, equalArea)), XY(ProjectPointExact(size, alpha, beta, equalArea)))
              << size << " " << alpha << " " << beta << " " << equalArea;
    }
  }
}

TEST(ProjectPoint, HalvesAndDirectionsOutsideTheBoundGoTheExactWay) {
  // R = 315: tan 30 cos 30 R = 157.5 exactly, which rounds to even.
  EXPECT_EQ(XY(ProjectPoint(650, 60, 30, false)), XY(ProjectPointExact(650, 60, 30, false)));
  EXPECT_EQ(ProjectPoint(650, 60, 30, false).x, 325 + 158);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double alpha : {-1.0, 170.5, 179.9, 1e6, nan})
    EXPECT_EQ(XY(ProjectPoint(650, alpha, 40, false)), XY(ProjectPointExact(650, alpha, 40, false))) << alpha;
  for (double beta : {-2e4, 1e4 + 1, 1e300, nan})
    EXPECT_EQ(XY(ProjectPoint(650, 40, beta, true)), XY(ProjectPointExact(650, 40, beta, true))) << beta;
}

// A texture-like pattern on every grid point.
void FillPattern(PoleFigure& pf, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> noise(-0.3, 0.3);
  for (int i = 1; i <= pf.CircleCount; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j) {
      const double a = pf.Alpha[i] * 3.14159 / 180, b = BetaOf(pf, i, j) * 3.14159 / 180;
      pf.Intensity[i][j] = 3 + 2 * std::cos(3 * a) * std::sin(2 * b) + std::sin(5 * a + b) + noise(rng);
    }
  UpdateExtremes(pf);
  PreparePoleFigure(pf, false);
}

std::unique_ptr<PoleFigure> Regular(double step, int points, unsigned seed = 1) {
  auto pf = test::RegularGrid(step, points);
  FillPattern(*pf, seed);
  return pf;
}

std::unique_ptr<PoleFigure> WithCentrePoint() {
  auto pf = test::CentrePointGrid(2, 180);
  FillPattern(*pf, 2);
  return pf;
}

// The offset example: a full grid with both mirror circles.
std::unique_ptr<PoleFigure> FullWithMirrors() {
  auto pf = test::LoadExample("copper200_offset.pol", "offset5.grd");
  EXPECT_TRUE(pf && pf->Grid == GridKind::Full && pf->InnerMirror != 0 && pf->OuterMirror != 0);
  return pf;
}

DisplayRotation ListRotation(double x, double z, bool triclinic = false) {
  RotationState r;
  r.Mode = RotationMode::List;
  r.List = {{'X', x}, {'Z', z}};
  r.TriclinicSymmetry = triclinic;
  return DisplayRotation(r);
}

DisplayRotation MatrixRotation(double angle) {
  RotationState r;
  r.Mode = RotationMode::Matrix;
  r.Matrix = AxisRotationMatrix('Y', angle);
  return DisplayRotation(r);
}

void ExpectSameAsUncached(const PoleFigure& pf, const ProjectionCache& cache, int size, bool equalArea,
                          const DisplayRotation& rotation, const std::string& what) {
  const PlotGeometry plain{size, equalArea, rotation};
  int dropped = 0;
  for (int i = 1; i <= CircleCountOf(pf); ++i)
    for (int j = 1; j <= PointsOn(pf, i); ++j) {
      const ProjectionCache::Entry want = plain.GridPixel(pf, i, j);
      const ProjectionCache::Entry got = cache.At(i, j);
      ASSERT_EQ(got.dropped, want.dropped) << what << " " << i << "/" << j;
      if (!want.dropped) {
        ASSERT_EQ(XY(got.at), XY(want.at)) << what << " " << i << "/" << j;
      }
      dropped += want.dropped ? 1 : 0;
    }
  if (what.find("triclinic") != std::string::npos) {
    EXPECT_GT(dropped, 0) << what;
  }
}

TEST(ProjectionCache, EntriesEqualTheUncachedPixelsOnEveryKindOfGrid) {
  const auto regular = Regular(1, 360);
  const auto centre = WithCentrePoint();
  const auto full = FullWithMirrors();
  ASSERT_TRUE(full);
  struct Case {
    std::string name;
    const PoleFigure* pf;
  } cases[] = {{"regular", regular.get()}, {"centre", centre.get()}, {"full", full.get()}};
  struct View {
    std::string name;
    int size;
    bool equalArea;
    DisplayRotation rotation;
  } views[] = {{"plain", 280, false, {}},
               {"equal area", 650, true, {}},
               {"list", 651, false, ListRotation(30, -45)},
               {"matrix", 280, true, MatrixRotation(25)},
               {"triclinic", 1001, false, ListRotation(60, 10, true)}};
  for (const Case& c : cases) {
    ProjectionCache cache;
    // One cache through every view, as a window sees them one after another.
    for (const View& v : views) {
      EXPECT_TRUE(cache.Update(*c.pf, v.size, v.equalArea, v.rotation)) << c.name << " " << v.name;
      ExpectSameAsUncached(*c.pf, cache, v.size, v.equalArea, v.rotation, c.name + " " + v.name);
    }
  }
}

TEST(ProjectionCache, FilledAnewWhenAnyKeyChangesAndOnlyThen) {
  auto pf = Regular(5, 72);
  ProjectionCache cache;
  const DisplayRotation none;
  EXPECT_TRUE(cache.Update(*pf, 280, false, none));
  EXPECT_FALSE(cache.Update(*pf, 280, false, none));
  // New values on the same grid keep the positions.
  pf->Intensity[3][4] += 10;
  MarkChanged(*pf);
  EXPECT_FALSE(cache.Update(*pf, 280, false, none));

  EXPECT_TRUE(cache.Update(*pf, 281, false, none));
  EXPECT_TRUE(cache.Update(*pf, 281, true, none));
  EXPECT_TRUE(cache.Update(*pf, 281, true, ListRotation(30, 0)));
  EXPECT_FALSE(cache.Update(*pf, 281, true, ListRotation(30, 0)));
  EXPECT_TRUE(cache.Update(*pf, 281, true, ListRotation(30, 1)));
  // Zero and minus zero turn directions on the axis to opposite azimuths.
  EXPECT_TRUE(cache.Update(*pf, 281, true, ListRotation(30, -0.0)));
  EXPECT_TRUE(cache.Update(*pf, 281, true, ListRotation(30, 0.0)));
  EXPECT_TRUE(cache.Update(*pf, 281, true, ListRotation(30, 0.0, true)));

  const DisplayRotation r = ListRotation(30, 0.0, true);
  const auto changed = [&](auto edit, const char* what) {
    edit(*pf);
    EXPECT_TRUE(cache.Update(*pf, 281, true, r)) << what;
    ExpectSameAsUncached(*pf, cache, 281, true, r, what);
  };
  changed([](PoleFigure& p) { p.Alpha[5] += 1; }, "alpha");
  changed([](PoleFigure& p) { p.BetaStart[6] = 2.5; }, "beta start");
  changed([](PoleFigure& p) { p.BetaStep[7] = 4; }, "beta step");
  changed([](PoleFigure& p) { p.CirclePoints[8] = 60; }, "points");
  changed([](PoleFigure& p) { p.CircleCount = 10; }, "circles");
  // A record of the same grid is the same key: no pointer is kept.
  const auto twin = NewPoleFigure();
  *twin = *pf;
  EXPECT_FALSE(cache.Update(*twin, 281, true, r));
}

TEST(ProjectionCache, PointsOffTheGridReadAsDropped) {
  const auto pf = Regular(5, 72);
  ProjectionCache cache;
  EXPECT_TRUE(cache.At(1, 1).dropped);  // never filled
  cache.Update(*pf, 280, false, {});
  EXPECT_FALSE(cache.At(1, 1).dropped);
  for (auto [i, j] : {std::pair{0, 1}, {1, 0}, {1, 73}, {20, 1}, {-5, -5}, {1 << 30, 1 << 30}})
    EXPECT_TRUE(cache.At(i, j).dropped) << i << "/" << j;
}

void ExpectSameLevel(const LevelContours& want, const LevelContours& got, const std::string& what) {
  ASSERT_EQ(got.lines.size(), want.lines.size()) << what;
  for (std::size_t k = 0; k < want.lines.size(); ++k) {
    ASSERT_EQ(got.lines[k].size(), want.lines[k].size()) << what << " line " << k;
    for (std::size_t p = 0; p < want.lines[k].size(); ++p) {
      // Bits, not closeness: the lines are drawn as pixels.
      ASSERT_EQ(std::bit_cast<std::uint64_t>(got.lines[k][p].alpha),
                std::bit_cast<std::uint64_t>(want.lines[k][p].alpha))
          << what << " line " << k;
      ASSERT_EQ(std::bit_cast<std::uint64_t>(got.lines[k][p].beta), std::bit_cast<std::uint64_t>(want.lines[k][p].beta))
          << what << " line " << k;
    }
  }
  ASSERT_EQ(got.seeds.size(), want.seeds.size()) << what;
  for (std::size_t k = 0; k < want.seeds.size(); ++k) {
    EXPECT_EQ(got.seeds[k].circle, want.seeds[k].circle) << what;
    EXPECT_EQ(got.seeds[k].point, want.seeds[k].point) << what;
  }
}

TEST(ContourTracer, SameLinesAndSeedsAsThePlainScan) {
  auto regular = Regular(1, 360, 3);
  auto gaps = Regular(5, 72, 4);
  // Points without value, a NaN, negative values and values on the levels.
  for (int j = 10; j <= 30; ++j) gaps->Intensity[6][j] = kMissing;
  gaps->Intensity[9][40] = std::numeric_limits<double>::quiet_NaN();
  gaps->Intensity[12][3] = -2.5;
  gaps->Intensity[14][50] = 3.001;
  auto full = FullWithMirrors();
  auto centre = WithCentrePoint();
  // Links turned arbitrary: lines may end anywhere.
  auto scrambled = Regular(5, 72, 5);
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> link(-2, 80);
  for (int i = 1; i <= scrambled->CircleCount; ++i)
    for (int j = 1; j <= scrambled->CirclePoints[i]; j += 3) {
      scrambled->Link[i][j].InnerLink = link(rng);
      scrambled->Link[i][j].OuterLink = link(rng);
    }
  for (const auto& [name, pf] : {std::pair{"regular", regular.get()},
                                 {"gaps", gaps.get()},
                                 {"full", full.get()},
                                 {"centre", centre.get()},
                                 {"scrambled", scrambled.get()}}) {
    ContourTracer tracer(*pf);
    std::vector<double> thresholds{pf->MinValue, pf->MaxValue, pf->MaxValue + 1,
                                   -1,           3.001,        std::numeric_limits<double>::quiet_NaN()};
    for (int k = 0; k <= 40; ++k) thresholds.push_back(pf->MinValue + (pf->MaxValue - pf->MinValue) * k / 40);
    for (double t : thresholds)
      for (bool seeds : {false, true})
        ExpectSameLevel(test::TraceLevelByPlainScan(*pf, t, seeds), tracer.Trace(t, seeds),
                        std::string(name) + " at " + std::to_string(t));
  }
}

ProgramState DrawState(bool fill, bool equalArea, RotationMode mode, bool triangles) {
  ProgramState state;
  state.Options.FillAreas = fill;
  state.Options.EqualArea = equalArea;
  state.Options.DrawTriangles = triangles;
  state.Options.MarkMissing = true;
  state.Options.ShowEigenvalues = true;
  state.Rotation.Mode = mode;
  state.Rotation.List = {{'X', 35}, {'Z', 20}};
  state.Rotation.Matrix = AxisRotationMatrix('Y', 40);
  for (int k = 1; k <= kMaxLevels; ++k) state.ContourColor[k] = 0x010203 * k;
  return state;
}

void ExpectSameOps(const RecordingCanvas& want, const RecordingCanvas& got, const std::string& what) {
  ASSERT_EQ(got.ops.size(), want.ops.size()) << what;
  for (std::size_t k = 0; k < want.ops.size(); ++k) {
    const CanvasOp& a = want.ops[k];
    const CanvasOp& b = got.ops[k];
    ASSERT_TRUE(a.kind == b.kind && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.x3 == b.x3 &&
                a.y3 == b.y3 && a.x4 == b.x4 && a.y4 == b.y4 && a.text == b.text && a.color == b.color &&
                a.pen == b.pen && a.brush == b.brush && a.points.size() == b.points.size())
        << what << ": operation " << k;
    for (std::size_t p = 0; p < a.points.size(); ++p)
      ASSERT_EQ(XY(a.points[p]), XY(b.points[p])) << what << ": op " << k;
  }
}

// One cache through sizes, projections, rotations and records in turn, as a
// window redraws: every plot must be the one drawn without a cache.
TEST(CachedPlot, EveryRedrawEqualsThePlainDrawing) {
  auto one = Regular(1, 360, 6);
  one->Intensity[20][100] = kMissing;
  auto two = Regular(5, 72, 7);
  const auto full = FullWithMirrors();
  struct Step {
    const PoleFigure* pf;
    int h, w;
    bool fill, equalArea;
    RotationMode mode;
  } steps[] = {{one.get(), 280, 447, false, false, RotationMode::None},
               {one.get(), 280, 447, false, false, RotationMode::None},  // a plain redraw
               {one.get(), 400, 700, false, false, RotationMode::None},  // resized
               {one.get(), 400, 700, false, true, RotationMode::None},   // projection
               {one.get(), 400, 700, false, true, RotationMode::List},   // rotation
               {one.get(), 400, 700, false, true, RotationMode::Matrix},
               {two.get(), 400, 700, true, true, RotationMode::Matrix},  // another grid, polygon fill
               {full.get(), 400, 700, true, false, RotationMode::None},
               {full.get(), 280, 447, false, false, RotationMode::List}};
  ProjectionCache cache;
  int n = 0;
  for (const Step& s : steps) {
    // The triangles of the coarse grids only: a 1-degree grid has 65,000.
    const ProgramState state = DrawState(s.fill, s.equalArea, s.mode, s.pf != one.get());
    RecordingCanvas plain, cached;
    PlotPoleFigure(*s.pf, state, plain, s.h, s.w, "");
    PlotPoleFigure(*s.pf, state, cached, s.h, s.w, "", nullptr, &cache);
    ExpectSameOps(plain, cached, "step " + std::to_string(++n));
    RecordingCanvas plainLow, cachedLow;
    DrawLowPoints(*s.pf, state, plainLow, s.h, s.w);
    DrawLowPoints(*s.pf, state, cachedLow, s.h, s.w, &cache);
    ExpectSameOps(plainLow, cachedLow, "low points, step " + std::to_string(n));
  }
}

}  // namespace
}  // namespace quorix
