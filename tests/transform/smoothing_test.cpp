// Gaussian smoothing: the weights at the half width and twice it, axes and
// antipodes, missing and negative values, kept levels, and the pruned loop of
// irregular grids against the loop over every pair bit for bit.
#include "transform/smoothing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "oracles/plain_smoothing.h"
#include "record/statistics.h"
#include "test_support.h"
#include "transform/radial_kernel.h"
#include "transform/smoothing_deviation.h"
#include "transform/smoothing_kernel.h"

namespace quorix {
namespace {

using test::RegularGrid;

// Circle index of alpha on a regular grid from 0.
int CircleAt(double alpha, double step) { return static_cast<int>(std::lround(alpha / step)) + 1; }

double SmoothedAt(const PoleFigure& pf, double fwhm, int i, int j) {
  return (*test::PlainSmoothed(pf, fwhm, false))[i][j];
}

TEST(Smoothing, UniformPoleFigureStaysUniform) {
  auto pf = RegularGrid(5, 72, 3.25);
  ASSERT_TRUE(SmoothPoleFigure(*pf, {7, false, true}, false));
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j) ASSERT_NEAR(pf->Intensity[i][j], 3.25, 1e-12) << i << "," << j;
}

// With the spike alone, a neighbour receives 100 w / S; with a one at the
// neighbour alone it receives 1 / S. Their ratio is 100 w, whatever S is.
double SpikeWeight(double spikeAlpha, double neighbourAlpha) {
  auto spike = RegularGrid(5, 72, 0);
  auto own = RegularGrid(5, 72, 0);
  const int p = CircleAt(spikeAlpha, 5);
  const int n = CircleAt(neighbourAlpha, 5);
  spike->Intensity[p][10] = 100;
  own->Intensity[n][10] = 1;
  return SmoothedAt(*spike, 5, n, 10) / SmoothedAt(*own, 5, n, 10) / 100;
}

TEST(Smoothing, WeightIsOneHalfAtTheWidthAndOneSixteenthAtTwiceIt) {
  EXPECT_NEAR(SpikeWeight(45, 50), 0.5, 1e-6);
  EXPECT_NEAR(SpikeWeight(45, 40), 0.5, 1e-6);
  EXPECT_NEAR(SpikeWeight(45, 55), 1.0 / 16, 1e-6);
  auto spike = RegularGrid(5, 72, 0);
  spike->Intensity[CircleAt(45, 5)][10] = 100;
  const auto out = test::PlainSmoothed(*spike, 5, false);
  EXPECT_EQ((*out)[CircleAt(70, 5)][10], 0.0);  // 25 degrees: beyond the cut-off
  EXPECT_EQ((*out)[CircleAt(45, 5)][10 + 36], 0.0);
}

TEST(Smoothing, RimPointsHalfATurnApartWeighEachOtherFully) {
  auto spike = RegularGrid(5, 72, 0);
  auto own = RegularGrid(5, 72, 0);
  const int rim = CircleAt(90, 5);
  spike->Intensity[rim][1] = 100;  // beta 0
  own->Intensity[rim][37] = 1;     // beta 180
  EXPECT_NEAR(SmoothedAt(*spike, 5, rim, 37) / SmoothedAt(*own, 5, rim, 37), 100, 1e-9);
}

TEST(Smoothing, MissingPointsStayMissingAndNeverContribute) {
  auto pf = RegularGrid(5, 72, 2);
  pf->Intensity[5][7] = kMissing;
  pf->Intensity[5][8] = kMissing;
  pf->Intensity[19][30] = kMissing;
  ASSERT_TRUE(SmoothPoleFigure(*pf, {10, false, true}, false));
  EXPECT_EQ(pf->Intensity[5][7], kMissing);
  EXPECT_EQ(pf->Intensity[19][30], kMissing);
  EXPECT_NEAR(pf->Intensity[5][9], 2, 1e-12);
  EXPECT_NEAR(pf->Intensity[19][31], 2, 1e-12);
}

TEST(Smoothing, NegativeValuesAreExcludedOrPullTheMeanDown) {
  auto pf = RegularGrid(5, 72, 2);
  pf->Intensity[10][20] = -6;
  auto excluded = test::PlainSmoothed(*pf, 5, true);
  EXPECT_NEAR((*excluded)[10][20], 2, 1e-12);  // only its non-negative neighbours
  EXPECT_NEAR((*excluded)[10][21], 2, 1e-12);
  auto included = test::PlainSmoothed(*pf, 5, false);
  EXPECT_LT((*included)[10][21], 2 - 1e-3);
  EXPECT_GT((*included)[10][20], -6);
}

TEST(Smoothing, PointWithoutNonNegativeNeighbourhoodKeepsItsValue) {
  auto pf = RegularGrid(5, 72, -3);
  pf->Intensity[2][1] = -7;
  auto out = SmoothedIntensities(*pf, 5, true);
  EXPECT_EQ((*out)[2][1], -7);
  EXPECT_EQ((*out)[8][3], -3);
}

TEST(Smoothing, KeptLevelsAboveTheNewMaximumAreDropped) {
  auto pf = RegularGrid(5, 72, 5.5);
  pf->LevelCount = 8;
  for (int k = 1; k <= 8; ++k) pf->Level[k] = k;
  ASSERT_TRUE(SmoothPoleFigure(*pf, {5, false, true}, false));
  EXPECT_EQ(pf->LevelCount, 5);
  EXPECT_EQ(pf->Level[5], 5);

  auto mrd = NewPoleFigure();
  mrd->MaxValue = 10;
  mrd->NormFactor = 2;
  mrd->LevelCount = 8;
  for (int k = 1; k <= 8; ++k) mrd->Level[k] = k;
  DropLevelsAboveMaximum(*mrd, true);
  EXPECT_EQ(mrd->LevelCount, 5);
  DropLevelsAboveMaximum(*mrd, false);
  EXPECT_EQ(mrd->LevelCount, 5);
}

TEST(Smoothing, RecomputedLevelsFollowTheNewMaximum) {
  auto pf = RegularGrid(5, 72, 1);
  pf->Intensity[8][8] = 40;
  pf->LevelCount = 1;
  pf->Level[1] = 100;
  ASSERT_TRUE(SmoothPoleFigure(*pf, {5, false, false}, false));
  ASSERT_GT(pf->LevelCount, 1);
  EXPECT_LT(pf->Level[pf->LevelCount], pf->MaxValue);
  EXPECT_EQ(pf->LowestLevel, pf->Level[1]);
}

TEST(Smoothing, WidthThatIsNoPositiveNumberChangesNothing) {
  for (double w : {0.0, -3.0, std::nan(""), HUGE_VAL}) {
    auto pf = RegularGrid(5, 72, 1);
    pf->Intensity[3][3] = 9;
    EXPECT_FALSE(SmoothPoleFigure(*pf, {w, false, true}, false)) << w;
    EXPECT_EQ(pf->Intensity[3][3], 9);
  }
}

TEST(Smoothing, ProgressAdvancesOncePerCircle) {
  auto pf = RegularGrid(10, 36, 1);
  int calls = 0;
  SmoothedIntensities(*pf, 5, false, [&] { ++calls; });
  EXPECT_EQ(calls, pf->CircleCount);
}

TEST(Smoothing, MirrorCirclesFollowTheSmoothedCircles) {
  auto pf = RegularGrid(5, 72, 1);
  pf->Intensity[19][4] = 30;
  pf->InnerMirror = 1;
  pf->OuterMirror = 1;
  pf->Alpha[0] = -5;  // unused by the smoothing, present in the grid
  ASSERT_TRUE(SmoothPoleFigure(*pf, {5, false, true}, false));
  for (int j = 1; j <= 72; ++j) {
    EXPECT_EQ(pf->Intensity[0][j], pf->Intensity[1][j]);
    EXPECT_EQ(pf->Intensity[20][j], pf->Intensity[19][j]);
  }
}

TEST(Smoothing, SpinButtonsKeepToTheirLimitsButTypedWidthsStand) {
  EXPECT_EQ(SpinWidth("5", true), 6);
  EXPECT_EQ(SpinWidth("15", true), 15);
  EXPECT_EQ(SpinWidth("14.5", true), 15);
  EXPECT_EQ(SpinWidth("1", false), 1);
  EXPECT_EQ(SpinWidth("1.5", false), 1);
  EXPECT_EQ(SpinWidth("30", false), 29);
  EXPECT_EQ(SpinWidth("30", true), 15);
  EXPECT_FALSE(SpinWidth("5,5", true));
  EXPECT_FALSE(SpinWidth("", false));
}

using test::FillRandom;

// A half circle takes a grid off the regular paths to the pruned loop, which
// must add the terms of the loop over every pair, weighed by the same table,
// in the same order.
void HalveCircle(PoleFigure& pf, int circle) {
  pf.CirclePoints[circle] /= 2;
  SizeTablesToGrid(pf);
}

void ExpectFastEqualsPlain(const PoleFigure& pf, const char* name) {
  ASSERT_FALSE(FullTurnsOfEqualPoints(pf, 1) || FullTurnsOfEqualPoints(pf, 2)) << name;
  for (double w : {1.0, 2.5, 5.0, 12.0, 30.0})
    for (bool excludeNegative : {false, true}) {
      const RadialKernel table(SmoothingCutoff(w), SmoothingExponent(w));
      const auto plain = test::PlainSmoothed(pf, w, excludeNegative, &table);
      for (int threads : {1, 3}) {
        const auto fast = SmoothedIntensities(pf, w, excludeNegative, {}, threads);
        for (int i = 1; i <= pf.CircleCount; ++i)
          for (int j = 1; j <= pf.CirclePoints[i]; ++j)
            ASSERT_EQ(std::memcmp(&(*plain)[i][j], &(*fast)[i][j], sizeof(double)), 0)
                << name << " W " << w << " circle " << i << " point " << j << ": " << (*plain)[i][j] << " vs "
                << (*fast)[i][j];
      }
    }
}

TEST(SmoothingPruned, EqualsTheLoopOverEveryPairBitForBit) {
  {
    auto pf = NewPoleFigure();
    test::FillRegularGrid(*pf, 5, 72);
    HalveCircle(*pf, 4);
    FillRandom(*pf, 1);
    ExpectFastEqualsPlain(*pf, "5-degree grid");
  }
  {
    auto pf = NewPoleFigure();
    test::FillRegularGrid(*pf, 3, 120);
    HalveCircle(*pf, 12);
    FillRandom(*pf, 2);
    ExpectFastEqualsPlain(*pf, "3-degree grid");
  }
  {
    // Offset circles, a single centre point and a half circle.
    auto pf = NewPoleFigure();
    pf->CircleCount = 20;
    pf->Alpha[1] = 0;
    pf->CirclePoints[1] = 1;
    pf->BetaStep[1] = 360;
    for (int i = 2; i <= 20; ++i) {
      pf->Alpha[i] = 2.5 + (i - 2) * 4.7;
      pf->BetaStart[i] = 2.5 + 0.3 * i;
      pf->BetaStep[i] = i % 3 == 0 ? 7.5 : 5;
      pf->CirclePoints[i] = static_cast<int>(360 / pf->BetaStep[i]);
    }
    pf->CirclePoints[7] = 36;  // half circle
    SizeTablesToGrid(*pf);
    FillRandom(*pf, 3);
    ExpectFastEqualsPlain(*pf, "irregular grid");
  }
  {
    // Circles beyond the usual range: negative tilt, past the rim, starts above 360.
    auto pf = NewPoleFigure();
    test::FillRegularGrid(*pf, 10, 36);
    pf->Alpha[2] = -10;
    pf->Alpha[10] = 100;
    pf->BetaStart[4] = 725;
    pf->BetaStart[5] = -30;
    HalveCircle(*pf, 7);
    FillRandom(*pf, 4);
    ExpectFastEqualsPlain(*pf, "odd grid");
  }
}

}  // namespace
}  // namespace quorix
