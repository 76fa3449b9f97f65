// The fast smoothing paths against the plain loop: the FFT on regular grids
// (ties at the cut-off, missing points, points without valid neighbours,
// plan re-use), the example grids (centre point, offset circles with mirror
// circles) and odd circles, which take the radial table, and the table itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <random>

#include "base/message_sink.h"
#include "io/grid_reader.h"
#include "math/vector_math.h"
#include "oracles/plain_smoothing.h"
#include "test_support.h"
#include "transform/radial_kernel.h"
#include "transform/smoothing.h"
#include "transform/smoothing_deviation.h"

namespace quorix {
namespace {

using test::Deviation;
using test::FillRandom;

void ExpectFastNearPlain(const PoleFigure& pf, std::initializer_list<double> widths, double bound, const char* name) {
  for (double w : widths)
    for (bool excludeNegative : {false, true}) {
      const auto plain = test::PlainSmoothed(pf, w, excludeNegative);
      const auto fast = SmoothedIntensities(pf, w, excludeNegative);
      EXPECT_LE(Deviation(pf, *plain, *fast), bound) << name << " W " << w << " exclude " << excludeNegative;
    }
}

// Widths whose cut-off (4 W) is a whole number of grid steps put many pairs
// exactly on it, where rounding alone decides; the others do not.
TEST(SmoothingFft, RegularGridsWithinBoundIncludingTiesAtTheCutoff) {
  auto five = NewPoleFigure();
  test::FillRegularGrid(*five, 5, 72);
  FillRandom(*five, 1);
  ExpectFastNearPlain(*five, {2.5, 3.0, 5.0, 7.5, 12.0, 30.0}, 1e-12, "5-degree grid");

  auto three = NewPoleFigure();
  test::FillRegularGrid(*three, 3, 120);
  FillRandom(*three, 2);
  ExpectFastNearPlain(*three, {3.0, 4.0, 7.5}, 1e-12, "3-degree grid");

  // Starts that differ from circle to circle, a negative tilt, a circle past
  // the rim: still a full turn of equal steps everywhere.
  auto shifted = NewPoleFigure();
  test::FillRegularGrid(*shifted, 10, 36);
  for (int i = 1; i <= shifted->CircleCount; ++i) shifted->BetaStart[i] = 3.7 * i - 20;
  shifted->Alpha[2] = -10;
  shifted->Alpha[10] = 100;
  FillRandom(*shifted, 3);
  ExpectFastNearPlain(*shifted, {5.0, 10.0, 25.0}, 1e-12, "shifted circles");
}

// A sharp peak on a flat background: the mean taken off before the FFT keeps
// the background's deviation small, and uniform data stays uniform.
TEST(SmoothingFft, PeakOnFlatBackgroundAndUniformData) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j) pf->Intensity[i][j] = 1;
  const auto flat = SmoothedIntensities(*pf, 5, false);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j) ASSERT_NEAR((*flat)[i][j], 1, 1e-14) << i << "," << j;
  pf->Intensity[8][20] = 5000;
  ExpectFastNearPlain(*pf, {5.0}, 1e-12, "peak");
}

// Whole circles missing, and islands of valid points in a missing sea: the
// weights of valid neighbours are then a sliver of the full kernel, which the
// FFT's rounding would spoil; a point with no valid neighbour keeps its value.
TEST(SmoothingFft, ThinlyPopulatedNeighbourhoods) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  FillRandom(*pf, 4);
  for (int i = 3; i <= 8; ++i)
    for (int j = 1; j <= 72; ++j) pf->Intensity[i][j] = kMissing;
  pf->Intensity[5][30] = 7;
  pf->Intensity[6][1] = -2;  // excluded, and no valid point within reach
  for (int j = 10; j <= 40; ++j) pf->Intensity[15][j] = j % 9 == 0 ? 4.5 : kMissing;
  ExpectFastNearPlain(*pf, {2.5, 5.0}, 1e-12, "missing block");
  const auto out = SmoothedIntensities(*pf, 2.5, true);
  EXPECT_EQ((*out)[6][1], -2);
  EXPECT_EQ((*out)[4][1], kMissing);
}

// One plan serves every pole figure on its grid and width and refuses others.
TEST(SmoothingPlan, ReusedForFurtherPoleFiguresOnTheSameGrid) {
  auto first = NewPoleFigure();
  test::FillRegularGrid(*first, 5, 72);
  FillRandom(*first, 5);
  auto second = NewPoleFigure();
  *second = *first;
  FillRandom(*second, 6);
  const SmoothingPlan plan(*first, 5, 2);
  ASSERT_TRUE(plan.Fits(*second, 5));
  EXPECT_FALSE(plan.Fits(*second, 5.5));
  auto other = NewPoleFigure();
  test::FillRegularGrid(*other, 5, 36);
  EXPECT_FALSE(plan.Fits(*other, 5));
  for (const PoleFigure* pf : {first.get(), second.get()}) {
    const auto plain = test::PlainSmoothed(*pf, 5, false);
    int calls = 0;
    const auto fast = plan.Smooth(*pf, false, [&] { ++calls; });
    EXPECT_LE(Deviation(*pf, *plain, *fast), 1e-12);
    EXPECT_EQ(calls, pf->CircleCount);
  }
  // Kept by whoever smooths several: built again only for another grid or width.
  SmoothingPlans plans;
  const SmoothingPlan* kept = &plans.For(*first, 5, 2);
  EXPECT_EQ(&plans.For(*second, 5, 2), kept);
  EXPECT_TRUE(plans.For(*other, 5, 2).Fits(*other, 5));
  EXPECT_TRUE(plans.For(*first, 6, 2).Fits(*first, 6));
}

std::unique_ptr<PoleFigure> ExampleGrid(const char* name) { return test::ReadGridFile(test::ExamplePath(name)); }

TEST(SmoothingRadialTable, OtherGridsWithinBound) {
  auto centre = ExampleGrid("grid5_centre.rst");
  FillRandom(*centre, 7);
  ExpectFastNearPlain(*centre, {2.5, 5.0, 8.0, 30.0}, 1e-13, "centre point");

  auto offset = ExampleGrid("offset5.grd");
  FillRandom(*offset, 8);
  ExpectFastNearPlain(*offset, {2.5, 5.0, 8.0}, 1e-13, "offset grid with mirror circles");

  // Different point counts, offset starts, a half circle.
  auto odd = NewPoleFigure();
  odd->CircleCount = 20;
  odd->Alpha[1] = 0;
  odd->CirclePoints[1] = 1;
  odd->BetaStep[1] = 360;
  for (int i = 2; i <= 20; ++i) {
    odd->Alpha[i] = 2.5 + (i - 2) * 4.7;
    odd->BetaStart[i] = 2.5 + 0.3 * i;
    odd->BetaStep[i] = i % 3 == 0 ? 7.5 : 5;
    odd->CirclePoints[i] = static_cast<int>(360 / odd->BetaStep[i]);
  }
  odd->CirclePoints[7] = 36;
  SizeTablesToGrid(*odd);
  FillRandom(*odd, 9);
  ExpectFastNearPlain(*odd, {1.0, 5.0, 12.0, 30.0}, 1e-13, "odd grid");
}

// The table against the arc cosine and exponential it replaces, over the
// whole range of |cos d|, and the two places it must decide exactly as they do.
TEST(RadialKernel, WeightsAsThePlainFormula) {
  for (double fwhm : {1.0, 5.0, 15.0, 30.0}) {
    const double a = DegToRad(fwhm);
    const double cutoff = 4 * a;
    const RadialKernel table(cutoff, 0.6931472 / (a * a));
    double worst = 0;
    for (int s = 0; s <= 200000; ++s) {
      const double d = std::min(kPi / 2, cutoff * 1.2) * s / 200000;
      const double c = std::fabs(std::cos(d));
      const double exact = table.Exact(c);
      const double w = table.Weight(c);
      if (exact == 0 || w == 0) {
        ASSERT_EQ(w, exact) << fwhm << " at " << d;
        continue;
      }
      worst = std::max(worst, std::fabs(w - exact) / exact);
    }
    // Within the rounding of the arc cosine formula itself, amplified by k d^2.
    EXPECT_LT(worst, 2e-13) << fwhm;
    EXPECT_EQ(table.Weight(std::nextafter(RadialKernel::kClampCosine, 1.0)), 1.0);
    EXPECT_NEAR(table.Weight(RadialKernel::kClampCosine), table.Exact(RadialKernel::kClampCosine), 1e-13);
    if (cutoff < kPi / 2) {
      for (double e : {-2e-10, -1e-12, 0.0, 1e-12, 2e-10}) {
        const double c = std::cos(cutoff + e);
        EXPECT_EQ(table.Weight(c), table.Exact(c)) << fwhm << " " << e;
      }
      EXPECT_EQ(table.Weight(std::cos(cutoff + 1e-6)), 0.0);
      EXPECT_GT(table.MinCosine(), std::cos(cutoff + 1e-8));
    }
  }
}

}  // namespace
}  // namespace quorix

namespace quorix {
namespace {

// Cancel from the progress callback: the smoothing stops, the record stays;
// on a regular grid and, with one circle a half turn, in the pruned loop.
TEST(SmoothingCancel, ACancelFromTheProgressLeavesThePoleFigureAsItWas) {
  for (bool halfCircle : {false, true}) {
    auto pf = NewPoleFigure();
    test::FillRegularGrid(*pf, 5, 72);
    if (halfCircle) {
      pf->CirclePoints[9] = 36;
      SizeTablesToGrid(*pf);
    }
    for (int i = 1; i <= pf->CircleCount; ++i)
      for (int j = 1; j <= pf->CirclePoints[i]; ++j) pf->Intensity[i][j] = (i * 7 + j * 3) % 11;
    const auto before = std::make_unique<PoleFigure>(*pf);
    std::atomic<bool> cancel{false};
    int circles = 0;
    const auto progress = [&] {
      if (++circles == 3) cancel = true;
    };
    SmoothingSettings settings;
    settings.fwhm = 7;
    EXPECT_FALSE(SmoothPoleFigure(*pf, settings, false, progress, 2, &cancel));
    EXPECT_LT(circles, pf->CircleCount);
    for (int i = 1; i <= pf->CircleCount; ++i)
      for (int j = 1; j <= pf->CirclePoints[i]; ++j) ASSERT_EQ(pf->Intensity[i][j], before->Intensity[i][j]);
    // Not cancelled, the same call smooths.
    std::atomic<bool> never{false};
    auto copy = std::make_unique<PoleFigure>(*pf);
    EXPECT_TRUE(SmoothPoleFigure(*copy, settings, false, {}, 2, &never));
    EXPECT_NE(copy->Intensity[5][5], before->Intensity[5][5]);
  }
}

}  // namespace
}  // namespace quorix
