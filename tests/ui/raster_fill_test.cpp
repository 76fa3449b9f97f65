// The border fill of raster surfaces against the polygon pieces of vector
// surfaces: both must paint the same areas above each level.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <utility>

#include "math/vector_math.h"
#include "plot/contours.h"
#include "plot/display_rotation.h"
#include "plot/polygon_fill.h"
#include "plot/projection_cache.h"
#include "plot/render.h"
#include "qtcanvas/qt_canvas.h"
#include "record/circle_links.h"
#include "record/pole_figure.h"
#include "record/prepare.h"
#include "record/statistics.h"

namespace quorix {
namespace {

constexpr Color kWhite = 0xFFFFFF, kLow = 0x00FF00, kHigh = 0x0000FF;

double AngleBetween(double a1, double b1, double a2, double b2) {
  auto unit = [](double a, double b) {
    const double s = std::sin(a * kPi / 180);
    return std::array<double, 3>{s * std::cos(b * kPi / 180), s * std::sin(b * kPi / 180), std::cos(a * kPi / 180)};
  };
  const auto u = unit(a1, b1), v = unit(a2, b2);
  return std::acos(std::clamp(u[0] * v[0] + u[1] * v[1] + u[2] * v[2], -1.0, 1.0)) * 180 / kPi;
}

// A 5 degree grid, low but for a peak at alpha 45, beta 90 and two rim
// points (beta 0 and 180) a hair above the lower level: their areas are
// slivers far thinner than a pixel, cut off by lines from rim to rim.
std::unique_ptr<PoleFigure> PeakWithRimSlivers() {
  auto pf = NewPoleFigure();
  int n = 0;
  for (int a = 0; a <= 90; a += 5) {
    ++n;
    pf->Alpha[n] = a;
    pf->BetaStep[n] = a == 0 ? 360 : 5;
    pf->CirclePoints[n] = a == 0 ? 1 : 72;
  }
  pf->CircleCount = n;
  pf->BetaRange = 360;
  SizeTablesToGrid(*pf);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j)
      pf->Intensity[i][j] = 10 + std::max(0.0, 300 - 12 * AngleBetween(pf->Alpha[i], BetaOf(*pf, i, j), 45, 90));
  pf->Intensity[n][1] = pf->Intensity[n][37] = 100.2;
  EXPECT_TRUE(BuildCircleLinks(*pf));
  pf->Level[1] = 100, pf->Level[2] = 200;
  pf->LevelCount = 2;
  pf->NormFactor = 1;
  pf->MaxValue = 310, pf->MaxCircle = 10, pf->MaxPoint = 19;
  pf->MinValue = 10, pf->MinCircle = 1, pf->MinPoint = 1;
  return pf;
}

int CountFilled(const QtRasterCanvas& c) {
  int count = 0;
  for (int y = 0; y < 650; ++y)
    for (int x = 0; x < 650; ++x) count += c.Pixel(x, y) == kLow || c.Pixel(x, y) == kHigh;
  return count;
}

TEST(RasterFill, CoversTheSameAreasAsThePolygonPieces) {
  auto pf = PeakWithRimSlivers();
  ProgramState state;
  state.ContourColor[1] = kLow;
  state.ContourColor[2] = kHigh;
  state.Options.FillAreas = true;
  state.Options.DrawGrid = false;
  for (bool equalArea : {false, true}) {
    SCOPED_TRACE(equalArea);
    state.Options.EqualArea = equalArea;
    QtRasterCanvas flood(910, 650);
    PlotPoleFigure(*pf, state, flood, 650, 910, "");

    const PlotGeometry g{650, equalArea, DisplayRotation(state.Rotation)};
    QtRasterCanvas pieces(910, 650);
    FillLevelPolygons(*pf, g, {{100.001, kLow}, {200.001, kHigh}}, pieces);

    // Well below the lower level the plot stays white.
    for (const auto& [alpha, beta] :
         {std::pair{45.0, 270.0}, {70.0, 200.0}, {20.0, 0.0}, {80.0, 330.0}, {85.0, 10.0}}) {
      const Pixel p = g.Project(alpha, beta);
      EXPECT_EQ(flood.Pixel(p.x, p.y), kWhite) << alpha << "/" << beta;
    }
    const Pixel peak = g.Project(45, 90);
    EXPECT_EQ(flood.Pixel(peak.x, peak.y), kHigh);
    // The drawn lines add a rim of a pixel or so around each area.
    const int expected = CountFilled(pieces);
    const int filled = CountFilled(flood);
    EXPECT_GT(expected, 2000);
    EXPECT_NEAR(filled, expected, 0.1 * expected);
  }
}

// A 1-degree grid of two peaks on a noisy background, many levels.
std::unique_ptr<PoleFigure> OneDegreeTexture() {
  auto pf = NewPoleFigure();
  for (int i = 1; i <= 91; ++i) {
    pf->Alpha[i] = i - 1;
    pf->BetaStep[i] = 1;
    pf->CirclePoints[i] = 360;
  }
  pf->CircleCount = 91;
  pf->BetaRange = 360;
  SizeTablesToGrid(*pf);
  for (int i = 1; i <= 91; ++i)
    for (int j = 1; j <= 360; ++j) {
      const double a = pf->Alpha[i], b = BetaOf(*pf, i, j);
      pf->Intensity[i][j] = 1 + 8 * std::exp(-AngleBetween(a, b, 30, 45) / 12) +
                            4 * std::exp(-AngleBetween(a, b, 75, 200) / 20) + 0.1 * std::sin(7 * i + 13 * j);
    }
  UpdateExtremes(*pf);
  PreparePoleFigure(*pf, false);
  return pf;
}

// The raster redraws of a window, flood fill included, through one cache:
// each image must be the one drawn without it, whatever changed between.
TEST(RasterFill, CachedRedrawsEqualThePlainImages) {
  const auto texture = OneDegreeTexture();
  const auto slivers = PeakWithRimSlivers();
  ProjectionCache cache;
  struct Step {
    const PoleFigure* pf;
    int h, w;
    bool equalArea;
    RotationMode mode;
  } steps[] = {
      {texture.get(), 280, 447, false, RotationMode::None},  {texture.get(), 280, 447, false, RotationMode::None},
      {texture.get(), 500, 800, false, RotationMode::None},  {texture.get(), 500, 800, true, RotationMode::None},
      {texture.get(), 500, 800, true, RotationMode::List},   {slivers.get(), 650, 910, false, RotationMode::None},
      {slivers.get(), 650, 910, true, RotationMode::Matrix}, {texture.get(), 280, 447, false, RotationMode::Matrix}};
  int n = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(++n);
    ProgramState state;
    for (int k = 1; k <= kMaxLevels; ++k) state.ContourColor[k] = 0x0A0B0C * k;
    state.Options.FillAreas = true;
    state.Options.MarkMissing = true;
    state.Options.EqualArea = s.equalArea;
    state.Rotation.Mode = s.mode;
    state.Rotation.List = {{'X', 40}, {'Z', 15}};
    state.Rotation.Matrix = AxisRotationMatrix('Y', 30);
    QtRasterCanvas plain(s.w, s.h), cached(s.w, s.h);
    PlotPoleFigure(*s.pf, state, plain, s.h, s.w, "");
    PlotPoleFigure(*s.pf, state, cached, s.h, s.w, "", nullptr, &cache);
    EXPECT_TRUE(plain.Image() == cached.Image());
  }
}

}  // namespace
}  // namespace quorix
