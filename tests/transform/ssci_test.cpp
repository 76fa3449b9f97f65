// Single-crystal suppression: thresholds per level, neighbours across the
// centre and the rim, levels recomputed from the backup.
#include "transform/ssci.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quorix {
namespace {

// Circles at alpha 0, 5, .., 90 with 72 points 5 degrees apart: every
// gradient between neighbours is their difference / 5.
std::unique_ptr<PoleFigure> Flat(double value = 100) { return test::RegularGrid(5, 72, value); }

bool SameIntensities(const PoleFigure& a, const PoleFigure& b) { return a.Intensity == b.Intensity; }

TEST(Suppression, EachLevelReplacesOnlyPeaksAboveItsThreshold) {
  auto pf = Flat();
  pf->Intensity[5][10] = 6000;  // mean gradient 5900 / 5 = 1180
  pf->Intensity[9][30] = 4000;  // 780
  const SuppressionBackup backup = BeginSuppression(*pf);

  SetSuppressionLevel(*pf, backup, 1);  // threshold 1000
  EXPECT_EQ(pf->SSCICount, 1);
  EXPECT_EQ(pf->Intensity[5][10], 100);
  EXPECT_EQ(pf->Intensity[9][30], 4000);
  EXPECT_EQ(SuppressionText(*pf), "1:1");
  EXPECT_EQ(pf->MaxValue, 4000);

  SetSuppressionLevel(*pf, backup, 3);  // 800
  EXPECT_EQ(pf->SSCICount, 1);
  SetSuppressionLevel(*pf, backup, 4);  // 700
  EXPECT_EQ(pf->SSCICount, 2);
  EXPECT_EQ(pf->Intensity[9][30], 100);
  EXPECT_EQ(SuppressionText(*pf), "4:2");
}

TEST(Suppression, LevelZeroRestoresAndLevelsDoNotBuildOnEachOther) {
  auto pf = Flat();
  for (int k = 1; k <= 20; ++k) pf->Intensity[1 + k % 19][(k * 7) % 72 + 1] = 500.0 * k;
  pf->Intensity[3][3] = kMissing;
  const SuppressionBackup backup = BeginSuppression(*pf);
  const auto original = std::make_unique<PoleFigure>(*pf);

  SetSuppressionLevel(*pf, backup, 2);
  const auto direct = std::make_unique<PoleFigure>(*pf);
  SetSuppressionLevel(*pf, backup, 0);
  EXPECT_TRUE(SameIntensities(*pf, *original));
  EXPECT_EQ(pf->SSCICount, direct->SSCICount);  // level 0 leaves the count
  EXPECT_EQ(SuppressionText(*pf), "0:" + std::to_string(direct->SSCICount));

  SetSuppressionLevel(*pf, backup, 5);
  EXPECT_GT(pf->SSCICount, direct->SSCICount);
  SetSuppressionLevel(*pf, backup, 2);
  EXPECT_TRUE(SameIntensities(*pf, *direct));
  EXPECT_EQ(pf->SSCICount, direct->SSCICount);
  EXPECT_EQ(pf->Intensity[3][3], kMissing);
}

TEST(Suppression, CentreAndRimCirclesLookAcrossToTheFarSide) {
  auto pf = Flat();
  const int n = pf->CircleCount;
  // Peaks on circle 1 and on the rim; of their neighbours on the next circle
  // the one half a circle away is high, the one at the same index missing.
  // Neighbours 100, 100, 6000 and none: gradient (5900 + 5900) / 3 / 5 = 786.7.
  pf->Intensity[1][1] = pf->Intensity[2][37] = 6000;
  pf->Intensity[2][1] = kMissing;
  pf->Intensity[n][72] = pf->Intensity[n - 1][36] = 6000;
  pf->Intensity[n - 1][72] = kMissing;
  const SuppressionBackup backup = BeginSuppression(*pf);
  SetSuppressionLevel(*pf, backup, 3);
  EXPECT_EQ(pf->Intensity[1][1], 6000);
  EXPECT_EQ(pf->Intensity[n][72], 6000);
  SetSuppressionLevel(*pf, backup, 4);
  EXPECT_DOUBLE_EQ(pf->Intensity[1][1], 6200.0 / 3);
  EXPECT_DOUBLE_EQ(pf->Intensity[n][72], 6200.0 / 3);
}

// The backup belongs to the session: one taken of another grid changes nothing.
TEST(Suppression, ABackupOfAnotherGridLeavesTheRecordAlone) {
  auto pf = Flat();
  pf->Intensity[5][10] = 6000;
  auto other = NewPoleFigure();
  test::FillRegularGrid(*other, 10, 36);
  const SuppressionBackup foreign = BeginSuppression(*other);
  const auto before = std::make_unique<PoleFigure>(*pf);
  SetSuppressionLevel(*pf, foreign, 1);
  EXPECT_TRUE(SameIntensities(*pf, *before));
  SetSuppressionLevel(*pf, SuppressionBackup{}, 0);
  EXPECT_TRUE(SameIntensities(*pf, *before));
}

TEST(Suppression, PointsWithoutNeighbourValuesAndDipsStay) {
  auto pf = Flat(kMissing);
  pf->Intensity[6][6] = 1e6;
  pf->Intensity[12][7] = 100;
  pf->Intensity[12][8] = -5000;
  pf->Intensity[12][9] = 100;
  const SuppressionBackup backup = BeginSuppression(*pf);
  SetSuppressionLevel(*pf, backup, 10);
  EXPECT_EQ(pf->Intensity[6][6], 1e6);
  EXPECT_EQ(pf->Intensity[12][8], -5000);
  // Only the two points beside the dip stand above their surroundings.
  EXPECT_EQ(pf->SSCICount, 2);
}

}  // namespace
}  // namespace quorix
