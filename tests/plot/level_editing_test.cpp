// Tests of contour levels edited by hand: First/Step/Last, the level list,
// sorting and deleting rows.
#include "plot/level_editing.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace quorix {
namespace {

std::unique_ptr<PoleFigure> WithLevels(const std::vector<double>& levels) {
  auto pf = NewPoleFigure();
  pf->LevelCount = static_cast<int>(levels.size());
  for (size_t k = 0; k < levels.size(); ++k) pf->Level[k + 1] = levels[k];
  return pf;
}

void ExpectLevels(const PoleFigure& pf, const std::vector<double>& expected) {
  test::ExpectLevels(pf, expected, 1e-12);
}

LevelRows Rows(const std::vector<std::string>& top) {
  LevelRows rows;
  for (size_t r = 0; r < top.size(); ++r) rows[r] = top[r];
  return rows;
}

TEST(RecalculateLevelsTest, FromFirstByStepUpToAndIncludingLast) {
  auto pf = WithLevels({7});
  CollectingSink sink;
  EXPECT_EQ(RecalculateLevels(*pf, " 1.000", "0.5", "3", sink), LevelEditResult::Done);
  ExpectLevels(*pf, {1, 1.5, 2, 2.5, 3});
  // Tenths do not add up exactly; the last level is still reached.
  EXPECT_EQ(RecalculateLevels(*pf, "1", "0.1", "2", sink), LevelEditResult::Done);
  EXPECT_EQ(pf->LevelCount, 11);
  EXPECT_NEAR(pf->Level[11], 2, 1e-12);
  // A last value between two levels ends below it.
  EXPECT_EQ(RecalculateLevels(*pf, "100", "250", "900", sink), LevelEditResult::Done);
  ExpectLevels(*pf, {100, 350, 600, 850});
  EXPECT_TRUE(sink.messages.empty());
}

TEST(RecalculateLevelsTest, MoreThanFiftyLevelsKeepTheOldOnes) {
  auto pf = WithLevels({1, 2, 3});
  CollectingSink sink;
  EXPECT_EQ(RecalculateLevels(*pf, "1", "1", "50", sink), LevelEditResult::Done);
  EXPECT_EQ(pf->LevelCount, 50);
  pf = WithLevels({1, 2, 3});
  for (const char* step : {"0", "-1", "0.01"}) {
    EXPECT_EQ(RecalculateLevels(*pf, "1", step, "51", sink), LevelEditResult::TooMany) << step;
    ExpectLevels(*pf, {1, 2, 3});
  }
  ASSERT_EQ(sink.messages.size(), 3u);
  EXPECT_EQ(sink.messages[0], "# of contour levels exceeds maximum (50)");
}

TEST(RecalculateLevelsTest, FieldThatIsNotANumberDoesNothing) {
  auto pf = WithLevels({1, 2});
  CollectingSink sink;
  EXPECT_EQ(RecalculateLevels(*pf, "", "1", "3", sink), LevelEditResult::NotANumber);
  EXPECT_EQ(RecalculateLevels(*pf, "1", "a", "3", sink), LevelEditResult::NotANumber);
  EXPECT_EQ(RecalculateLevels(*pf, "1", "1", "3,5", sink), LevelEditResult::NotANumber);
  ExpectLevels(*pf, {1, 2});
  EXPECT_TRUE(sink.messages.empty());
}

TEST(LastLevelTextTest, LargestLevelNotAboveTheMaximum) {
  auto pf = NewPoleFigure();
  pf->MaxValue = 370;
  pf->NormFactor = 100;
  EXPECT_EQ(LastLevelText(*pf, true, "1", "0.5"), " 3.500");
  EXPECT_EQ(LastLevelText(*pf, false, "100", "40"), " 340.0");
  EXPECT_EQ(LastLevelText(*pf, false, "100", "45"), " 370.0");
  pf->MaxValue = 300;
  EXPECT_EQ(LastLevelText(*pf, true, "1", "0.5"), " 3.000");       // the maximum itself counts
  EXPECT_EQ(LastLevelText(*pf, false, "1000", "100"), " 1000.0");  // First above the maximum
  EXPECT_EQ(LastLevelText(*pf, true, "x", "0.5"), std::nullopt);
  EXPECT_EQ(LastLevelText(*pf, true, "1", ""), std::nullopt);
}

TEST(LastLevelTextTest, StepOfZeroOrBelowEndsAtFirst) {
  auto pf = NewPoleFigure();
  pf->MaxValue = 370;
  pf->NormFactor = 100;
  EXPECT_EQ(LastLevelText(*pf, true, "1", "0"), " 1.0000");
  EXPECT_EQ(LastLevelText(*pf, true, "1", "-0.5"), " 1.0000");
}

TEST(LevelListTest, RowsAndFieldsInTheDecimalsOfTheTopLevel) {
  auto pf = WithLevels({1, 1.5, 2});
  const LevelRows rows = FormatLevelRows(*pf);
  EXPECT_EQ(rows[0], " 1.000");
  EXPECT_EQ(rows[2], " 2.000");
  EXPECT_EQ(rows[3], "");
  EXPECT_EQ(rows[49], "");
  const LevelFields f = FormatLevelFields(*pf);
  EXPECT_EQ(f.first, " 1.000");
  EXPECT_EQ(f.step, " 0.500");
  EXPECT_EQ(f.last, " 2.000");

  const LevelFields raw = FormatLevelFields(*WithLevels({500, 1000, 1500}));
  EXPECT_EQ(raw.first, " 500");
  EXPECT_EQ(raw.step, " 500");
}

TEST(LevelListTest, OneLevelHasNoStepAndNoLevelsNoFields) {
  const LevelFields one = FormatLevelFields(*WithLevels({2.5}));
  EXPECT_EQ(one.first, " 2.500");
  EXPECT_EQ(one.last, " 2.500");
  EXPECT_EQ(one.step, "");
  const LevelFields none = FormatLevelFields(*WithLevels({}));
  EXPECT_EQ(none.first + none.step + none.last, "");
}

TEST(ApplyLevelRowsTest, NumericRowsBecomeTheLevelsInOrder) {
  auto pf = WithLevels({5, 6, 7});
  ApplyLevelRows(*pf, Rows({"1", "", "abc", "2"}));
  ExpectLevels(*pf, {1, 2});
  ApplyLevelRows(*pf, Rows({" 3.000", "1.5e0", "  "}));
  ExpectLevels(*pf, {3, 1.5});
  ApplyLevelRows(*pf, LevelRows{});
  EXPECT_EQ(pf->LevelCount, 0);
}

TEST(SortLevelRowsTest, NumbersAscendingOthersDropped) {
  LevelRows rows = Rows({"3", "x", "1", "", "2.5", "-1"});
  SortLevelRows(rows, 1);
  EXPECT_EQ(rows[0], "-1.0");
  EXPECT_EQ(rows[1], " 1.0");
  EXPECT_EQ(rows[2], " 2.5");
  EXPECT_EQ(rows[3], " 3.0");
  EXPECT_EQ(rows[4], "");
  EXPECT_EQ(rows[5], "");
}

TEST(DeleteLevelRowsTest, RowsBelowMoveUpAndTheEndEmpties) {
  LevelRows rows = Rows({"a", "b", "c", "d", "e"});
  rows[49] = "z";
  DeleteLevelRows(rows, 1, 2);
  EXPECT_EQ(rows[0], "a");
  EXPECT_EQ(rows[1], "d");
  EXPECT_EQ(rows[2], "e");
  EXPECT_EQ(rows[3], "");
  EXPECT_EQ(rows[47], "z");
  EXPECT_EQ(rows[48], "");
  EXPECT_EQ(rows[49], "");

  LevelRows tail = Rows({"a", "b"});
  DeleteLevelRows(tail, 1, 60);  // a selection past the end
  EXPECT_EQ(tail[0], "a");
  EXPECT_EQ(tail[1], "");
  DeleteLevelRows(tail, 3, 2);  // nothing selected
  EXPECT_EQ(tail[0], "a");
}

TEST(LeadingNumericRowsTest, CountStopsAtTheFirstRowThatIsNotANumber) {
  EXPECT_EQ(LeadingNumericRows(Rows({" 1.0", "2", "", "4"})), 2);
  EXPECT_EQ(LeadingNumericRows(Rows({})), 0);
  LevelRows full;
  full.fill("1");
  EXPECT_EQ(LeadingNumericRows(full), 50);
}

TEST(CopyLevelsTest, CountAndLevelsGoAcross) {
  auto from = WithLevels({1, 2, 4});
  auto to = WithLevels({9, 9, 9, 9, 9});
  CopyLevels(*from, *to);
  ExpectLevels(*to, {1, 2, 4});
}

}  // namespace
}  // namespace quorix
