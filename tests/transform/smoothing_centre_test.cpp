// The grid with a centre point (kernel rows applied directly) against the
// plain loop, and every fast path giving the same bits on one and two threads.
#include "transform/smoothing_centre.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "base/message_sink.h"
#include "io/grid_reader.h"
#include "math/vector_math.h"
#include "oracles/plain_smoothing.h"
#include "test_support.h"
#include "transform/density.h"
#include "transform/smoothing.h"
#include "transform/smoothing_deviation.h"
#include "transform/smoothing_kernel.h"

namespace quorix {
namespace {

using test::CentrePointGrid;
using test::Deviation;
using test::FillRandom;

std::unique_ptr<IntensityTable> Direct(const PoleFigure& pf, double fwhm, bool excludeNegative, int threads) {
  const CentreGridSmoother smoother(pf, SmoothingCutoff(fwhm), SmoothingExponent(fwhm), threads);
  auto out = std::make_unique<IntensityTable>(pf.Intensity.Rows(), pf.Intensity.Cols());
  EXPECT_TRUE(smoother.Smooth(pf, excludeNegative, *out, {}, threads));
  return out;
}

void ExpectDirectNearPlain(const PoleFigure& pf, std::initializer_list<double> widths, const char* name) {
  ASSERT_TRUE(CentreGridSmoother::Applies(pf)) << name;
  for (double w : widths)
    for (bool excludeNegative : {false, true}) {
      const auto plain = test::PlainSmoothed(pf, w, excludeNegative);
      const auto direct = Direct(pf, w, excludeNegative, 1);
      EXPECT_LE(Deviation(pf, *plain, *direct), 1e-13) << name << " W " << w << " exclude " << excludeNegative;
      // Its weights and order are the plain loop's.
      EXPECT_EQ((*direct)[1][1], (*plain)[1][1]) << name << " W " << w << " exclude " << excludeNegative;
    }
}

// 2.5 and 5 put the cut-off on a whole number of 5-degree steps, where
// rounding alone decides whether a pair counts; 30 reaches past 90 degrees.
TEST(SmoothingCentreGrid, DirectRowsWithinBoundWithTiesMissingAndExcludedPoints) {
  auto pf = CentrePointGrid(5, 72);
  FillRandom(*pf, 11);
  ExpectDirectNearPlain(*pf, {2.5, 3.0, 5.0, 7.5, 30.0}, "5-degree grid");

  // The centre missing, then negative and excluded; a block of missing points
  // round it and an island in a missing sea.
  pf->Intensity[1][1] = kMissing;
  for (int i = 2; i <= 4; ++i)
    for (int j = 1; j <= 72; ++j) pf->Intensity[i][j] = kMissing;
  pf->Intensity[3][30] = 6;
  ExpectDirectNearPlain(*pf, {2.5, 5.0}, "missing centre");
  pf->Intensity[1][1] = -0.25;
  ExpectDirectNearPlain(*pf, {2.5, 5.0}, "negative centre");
  const auto out = Direct(*pf, 2.5, true, 1);
  EXPECT_EQ((*out)[2][5], kMissing);

  // Starts that differ from circle to circle, and a circle past the rim.
  auto shifted = CentrePointGrid(10, 36);
  for (int i = 2; i <= shifted->CircleCount; ++i) shifted->BetaStart[i] = 3.7 * i - 20;
  shifted->Alpha[shifted->CircleCount] = 95;
  FillRandom(*shifted, 12);
  ExpectDirectNearPlain(*shifted, {5.0, 10.0, 25.0}, "shifted circles");
}

// A point whose neighbourhood holds no valid value keeps its own, the centre
// included; uniform data stay uniform.
TEST(SmoothingCentreGrid, LonelyPointsKeepTheirValues) {
  auto pf = CentrePointGrid(5, 72);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j) pf->Intensity[i][j] = 2;
  const auto flat = Direct(*pf, 5, false, 1);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j) ASSERT_NEAR((*flat)[i][j], 2, 1e-14) << i << "," << j;
  for (int i = 2; i <= 5; ++i)
    for (int j = 1; j <= 72; ++j) pf->Intensity[i][j] = kMissing;
  pf->Intensity[1][1] = 7;
  pf->Intensity[3][9] = -3;
  const auto out = Direct(*pf, 2.5, true, 1);
  EXPECT_EQ((*out)[1][1], 7);
  EXPECT_EQ((*out)[3][9], -3);
}

// Grids that are not of this kind go elsewhere.
TEST(SmoothingCentreGrid, AppliesOnlyToACentreWithFullCirclesOfEqualPoints) {
  EXPECT_TRUE(CentreGridSmoother::Applies(*CentrePointGrid(5, 72)));
  auto regular = NewPoleFigure();
  test::FillRegularGrid(*regular, 5, 72);
  EXPECT_FALSE(CentreGridSmoother::Applies(*regular));
  auto tilted = CentrePointGrid(5, 72);
  tilted->Alpha[1] = 1;
  EXPECT_FALSE(CentreGridSmoother::Applies(*tilted));
  auto part = CentrePointGrid(5, 72);
  part->BetaStep[7] = 4.9;
  EXPECT_FALSE(CentreGridSmoother::Applies(*part));
  auto uneven = CentrePointGrid(5, 72);
  uneven->CirclePoints[4] = 36;
  uneven->BetaStep[4] = 10;
  SizeTablesToGrid(*uneven);
  EXPECT_FALSE(CentreGridSmoother::Applies(*uneven));
}

// A full grid file with a centre point and an outer mirror circle: smoothed
// through the plan, the mirror follows the last circle.
TEST(SmoothingCentreGrid, FullGridWithMirrorCircle) {
  std::string text = "Centre and 5-degree circles to 80\nInner 1\nOuter 1\n  0.0   0.0 360.0   1\n";
  for (int a = 5; a <= 80; a += 5) text += std::to_string(a) + " 2.5 5.0 72\n";
  auto pf = NewPoleFigure();
  CollectingSink sink;
  ASSERT_TRUE(ReadFullGrid(*pf, test::WriteTempFile("centre.grd", text), sink));
  ASSERT_EQ(pf->OuterMirror, 1);
  ASSERT_TRUE(CentreGridSmoother::Applies(*pf));
  FillRandom(*pf, 13);
  for (double w : {2.5, 6.0}) {
    const auto plain = test::PlainSmoothed(*pf, w, false);
    const auto fast = SmoothedIntensities(*pf, w, false);
    EXPECT_LE(Deviation(*pf, *plain, *fast), 1e-13) << w;
  }
  SmoothingSettings settings;
  ASSERT_TRUE(SmoothPoleFigure(*pf, settings, false));
  const int n = pf->CircleCount;
  for (int j = 1; j <= 72; ++j) ASSERT_EQ(pf->Intensity[n + 1][j], pf->Intensity[n][j]) << j;
}

// Progress once per circle, in order, and a cancel that leaves the record.
TEST(SmoothingCentreGrid, ProgressAndCancel) {
  auto pf = CentrePointGrid(5, 72);
  FillRandom(*pf, 14);
  const auto before = std::make_unique<PoleFigure>(*pf);
  SmoothingSettings settings;
  settings.fwhm = 6.5;
  int calls = 0;
  ASSERT_NE(SmoothedIntensities(
                *pf, 6.5, false, [&] { ++calls; }, 2),
            nullptr);
  EXPECT_EQ(calls, pf->CircleCount);
  std::atomic<bool> cancel{false};
  calls = 0;
  EXPECT_FALSE(SmoothPoleFigure(
      *pf, settings, false, [&] { cancel = ++calls == 3; }, 2, &cancel));
  EXPECT_EQ(calls, 3);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j) ASSERT_EQ(pf->Intensity[i][j], before->Intensity[i][j]);
}

bool SameBits(const IntensityTable& a, const IntensityTable& b) {
  for (int i = 0; i < a.Rows(); ++i)
    if (std::memcmp(a[i].data(), b[i].data(), a[i].size_bytes()) != 0) return false;
  return true;
}

// The sums of each point keep their order whichever thread computes them.
TEST(SmoothingThreads, OneAndTwoThreadsGiveTheSameBits) {
  auto regular = NewPoleFigure();
  test::FillRegularGrid(*regular, 3, 120);
  auto centre = CentrePointGrid(3, 120);
  auto odd = CentrePointGrid(5, 72);
  odd->CirclePoints[6] = 36;  // no longer of either kind: the radial table
  odd->BetaStep[6] = 10;
  SizeTablesToGrid(*odd);
  unsigned seed = 20;
  for (PoleFigure* pf : {regular.get(), centre.get(), odd.get()}) {
    FillRandom(*pf, ++seed);
    for (bool excludeNegative : {false, true}) {
      const SmoothingPlan one(*pf, 5, 1);
      const SmoothingPlan two(*pf, 5, 2);
      const auto a = one.Smooth(*pf, excludeNegative, {}, 1);
      const auto b = two.Smooth(*pf, excludeNegative, {}, 2);
      EXPECT_TRUE(SameBits(*a, *b)) << pf->CircleCount << " " << excludeNegative;
    }
  }

  std::mt19937 rng(3);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<Vec3> directions(300);
  for (Vec3& v : directions) {
    const double alpha = RadToDeg(std::acos(unit(rng)));
    v = DirectionToVector(alpha, 360 * unit(rng));
  }
  auto one = CentrePointGrid(3, 120);
  auto two = CentrePointGrid(3, 120);
  ASSERT_TRUE(AddDensity(*one, directions, 5, 1));
  ASSERT_TRUE(AddDensity(*two, directions, 5, 2));
  EXPECT_TRUE(SameBits(one->Intensity, two->Intensity));
}

}  // namespace
}  // namespace quorix
