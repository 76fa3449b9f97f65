// Tests of the display options dialog's effects and the mrd toggle.
#include "plot/display_options.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace quorix {
namespace {

std::unique_ptr<PoleFigure> Figure(double maxValue, double normFactor) {
  return test::WithExtremes(0, maxValue, normFactor);
}

using test::ExpectLevels;

TEST(LowestLevelFieldTest, ShownInTheUnitOfTheMrdBox) {
  auto pf = Figure(1000, 200);
  pf->LowestLevel = 100;
  EXPECT_EQ(LowestLevelText(*pf, true), "0.5");
  EXPECT_EQ(LowestLevelText(*pf, false), "100");
  pf->NormFactor = 0;  // nothing loaded yet
  EXPECT_EQ(LowestLevelText(*pf, true), "100");
}

TEST(LowestLevelStepTest, SpacingOfTheFirstLevelsUnlessTheUnitChanged) {
  auto pf = Figure(1000, 200);
  pf->LevelCount = 3;
  pf->Level[1] = 1;
  pf->Level[2] = 1.5;
  pf->Level[3] = 2;
  EXPECT_DOUBLE_EQ(LowestLevelStep(*pf, false), 0.5);
  EXPECT_DOUBLE_EQ(LowestLevelStep(*pf, true), 1);
  pf->LevelCount = 1;
  EXPECT_DOUBLE_EQ(LowestLevelStep(*pf, false), 1);
}

TEST(ApplyOptionsChoiceTest, FlagsLowestLevelAndNewLevels) {
  auto pf = Figure(370, 100);
  DisplayOptions options;
  OptionsChoice c = CurrentOptions(options, *pf);
  c.ShowMrd = true;
  c.DrawGrid = false;
  c.DrawTriangles = true;
  c.ShowEigenvalues = true;
  c.FillAreas = true;
  c.EqualArea = true;
  c.LowestLevel = 0.5;
  ApplyOptionsChoice(c, options, *pf);
  EXPECT_TRUE(options.ShowMrd);
  EXPECT_FALSE(options.DrawGrid);
  EXPECT_TRUE(options.DrawTriangles);
  EXPECT_TRUE(options.ShowEigenvalues);
  EXPECT_TRUE(options.FillAreas);
  EXPECT_TRUE(options.EqualArea);
  EXPECT_DOUBLE_EQ(pf->LowestLevel, 50);  // 0.5 mrd of 100 counts
  // 3.7 mrd: steps of one, halved for having fewer than four levels.
  ExpectLevels(*pf, {1, 1.5, 2, 2.5, 3, 3.5});
}

TEST(ApplyOptionsChoiceTest, LowestLevelInCountsWithMrdOnAndRawWithout) {
  auto pf = Figure(1000, 200);
  DisplayOptions options;
  OptionsChoice c = CurrentOptions(options, *pf);
  c.ShowMrd = true;
  c.LowestLevel = 0.5;
  ApplyOptionsChoice(c, options, *pf);
  EXPECT_DOUBLE_EQ(pf->LowestLevel, 100);
  c.ShowMrd = false;
  c.LowestLevel = 0.5;
  ApplyOptionsChoice(c, options, *pf);
  EXPECT_DOUBLE_EQ(pf->LowestLevel, 0.5);
}

TEST(ApplyMrdToggleTest, LevelsInTheNewUnitAndLowestLevelAtTheFirst) {
  auto pf = Figure(370, 100);
  DisplayOptions options;
  ApplyMrdToggle(*pf, options, true);
  EXPECT_TRUE(options.ShowMrd);
  ExpectLevels(*pf, {1, 1.5, 2, 2.5, 3, 3.5});
  EXPECT_DOUBLE_EQ(pf->LowestLevel, 100);
  // Counts from the normalisation up: step 100 gives only 200 and 300, so
  // it is halved and the first level steps back to 150.
  ApplyMrdToggle(*pf, options, false);
  EXPECT_FALSE(options.ShowMrd);
  ExpectLevels(*pf, {150, 200, 250, 300, 350});
  EXPECT_DOUBLE_EQ(pf->LowestLevel, 150);
}

}  // namespace
}  // namespace quorix
