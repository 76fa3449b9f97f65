// Tests of the automatic contour levels and their trimming.
#include "record/levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "test_support.h"

namespace quorix {
namespace {

std::vector<double> Levels(const PoleFigure& pf) {
  return std::vector<double>(pf.Level.begin() + 1, pf.Level.begin() + 1 + pf.LevelCount);
}

using test::ExpectLevels;

using test::WithExtremes;

TEST(AutoLevelsTest, MrdFromOneHalvesTheStep) {
  auto pf = WithExtremes(50, 370, 100);  // 3.7 mrd
  AutoLevels(*pf, true, true);
  ExpectLevels(*pf, {1, 1.5, 2, 2.5, 3, 3.5});
  EXPECT_EQ(pf->Level[1], 1.0);  // snapped to exactly one
  EXPECT_NEAR(LowestLevelOf(*pf, true), 100, 1e-12);
}

TEST(AutoLevelsTest, RawFromNormFactorStepsBackByHalfAStep) {
  auto pf = WithExtremes(3, 1234, 100);
  AutoLevels(*pf, false, true);
  ExpectLevels(*pf, {500, 1000});
  EXPECT_NEAR(LowestLevelOf(*pf, false), 500, 1e-9);
}

TEST(AutoLevelsTest, NearlyFlatFigureStopsAtFiftyLevels) {
  auto pf = WithExtremes(999.9, 1000.05, 1000);
  AutoLevels(*pf, false, true);
  ASSERT_EQ(pf->LevelCount, 50);
  for (int k = 1; k <= 50; ++k) EXPECT_NEAR(pf->Level[k], 100 + 0.01 * k, 1e-9) << k;
}

TEST(AutoLevelsTest, FewerLevelsWhenTheCallerAsks) {
  auto pf = WithExtremes(999.9, 1000.05, 1000);
  AutoLevels(*pf, false, true, 7);
  EXPECT_EQ(pf->LevelCount, 7);
  AutoLevels(*pf, false, true, 500);
  EXPECT_EQ(pf->LevelCount, 50);
  AutoLevels(*pf, false, true, -3);
  EXPECT_EQ(pf->LevelCount, 0);
}

TEST(AutoLevelsTest, NotFromOneSpansMinimumToMaximum) {
  // A difference-like figure: -43 .. 57.
  auto pf = WithExtremes(-43, 57, 1);
  AutoLevels(*pf, false, false);
  // g = 10; counted down from 100000 to the first multiple above -43.
  ExpectLevels(*pf, {-40, -30, -20, -10, 0, 10, 20, 30, 40, 50});
}

TEST(AutoLevelsTest, FlatZeroFigureHasNoLevels) {
  auto pf = WithExtremes(0, 0, 1);
  pf->Level[1] = 42;  // left over from an earlier figure
  AutoLevels(*pf, false, true);
  EXPECT_EQ(pf->LevelCount, 0);
  EXPECT_EQ(LowestLevelOf(*pf, false), 0);
}

TEST(AutoLevelsTest, DamagedInputEndsQuickly) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double minValue, maxValue, normFactor;
    bool mrd, fromOne;
  };
  const Case cases[] = {
      {0, inf, 1, false, true},          {0, nan, 1, false, true},   {nan, 5, 1, false, false},
      {-inf, 5, 1, false, false},        {0, 5, 0, true, true},      {0, 0, 0, true, true},
      {-1e300, 1e300, 1, false, false},  {0, 1e308, 1, false, true}, {-1e17, -1e17 + 64, 1, false, false},
      {-1e15, 5, 1, false, false},       {5, 5, 5, false, true},     {1e-300, 2e-300, 1, false, false},
      {-1e20, 1e20 + 1, 1, false, false}};
  for (const Case& c : cases) {
    auto pf = WithExtremes(c.minValue, c.maxValue, c.normFactor);
    AutoLevels(*pf, c.mrd, c.fromOne);
    EXPECT_GE(pf->LevelCount, 0);
    EXPECT_LE(pf->LevelCount, 50);
  }
}

TEST(TrimLevelsTest, RemovesLevelsAboveTheMaximum) {
  auto pf = WithExtremes(0, 3, 1);
  pf->LevelCount = 5;
  for (int k = 1; k <= 5; ++k) pf->Level[k] = k;
  TrimLevels(*pf, false);
  // 5 > 3 goes, then 4 and then 3 itself (>= 3) go.
  EXPECT_EQ(Levels(*pf), (std::vector<double>{1, 2}));
}

TEST(TrimLevelsTest, KeepsATopLevelEqualToTheMaximum) {
  auto pf = WithExtremes(0, 3, 1);
  pf->LevelCount = 3;
  for (int k = 1; k <= 3; ++k) pf->Level[k] = k;
  TrimLevels(*pf, false);
  EXPECT_EQ(pf->LevelCount, 3);
}

TEST(TrimLevelsTest, UsesMrdWhenShown) {
  auto pf = WithExtremes(0, 250, 100);  // 2.5 mrd
  pf->LevelCount = 4;
  for (int k = 1; k <= 4; ++k) pf->Level[k] = k;
  TrimLevels(*pf, true);
  EXPECT_EQ(Levels(*pf), (std::vector<double>{1, 2}));
}

TEST(TrimLevelsTest, CanRemoveEverythingButNotBelowZero) {
  auto pf = WithExtremes(0, 0.5, 1);
  pf->LevelCount = 3;
  for (int k = 1; k <= 3; ++k) pf->Level[k] = k;
  TrimLevels(*pf, false);
  EXPECT_EQ(pf->LevelCount, 0);
  TrimLevels(*pf, false);
  EXPECT_EQ(pf->LevelCount, 0);
  pf->LevelCount = 80;  // damaged count
  TrimLevels(*pf, false);
  EXPECT_LE(pf->LevelCount, 50);
}

}  // namespace
}  // namespace quorix
