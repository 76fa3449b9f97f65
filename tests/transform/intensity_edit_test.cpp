// Editing intensities: operands per circle with the mirror circles, the
// operand checks of the dialogs, and the raster merge with its holes.
#include "transform/intensity_edit.h"

#include <gtest/gtest.h>

#include "io/load_pole_figure.h"
#include "record/statistics.h"
#include "test_support.h"

namespace quorix {
namespace {

// Three circles at 30, 60, 90 with both mirror circles; every value 10.
std::unique_ptr<PoleFigure> MirroredThreeCircles(int points = 4) {
  auto pf = NewPoleFigure();
  for (int i = 0; i <= 4; ++i) {
    pf->Alpha[i] = 30.0 * i;
    pf->BetaStep[i] = 360.0 / points;
    pf->CirclePoints[i] = points;
  }
  pf->CircleCount = 3;
  pf->InnerMirror = pf->OuterMirror = 1;
  SizeTablesToGrid(*pf);
  for (int i = 0; i <= 4; ++i)
    for (int j = 1; j <= points; ++j) pf->Intensity[i][j] = 10;
  return pf;
}

TEST(EditOperands, MulByTwoDoublesEveryValueButTheMissingOnes) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 10, 36);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= 36; ++j) pf->Intensity[i][j] = (i + j) % 7 == 0 ? kMissing : 0.5 * i + j;
  UpdateExtremes(*pf);
  const auto before = std::make_unique<PoleFigure>(*pf);
  CollectingSink sink;
  EXPECT_TRUE(EditIntensities(*pf, '*', UniformOperands(2), true, sink));
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= 36; ++j) {
      const double v = before->Intensity[i][j];
      EXPECT_EQ(pf->Intensity[i][j], v == kMissing ? kMissing : 2 * v) << i << "," << j;
    }
  EXPECT_DOUBLE_EQ(pf->MaxValue, 2 * before->MaxValue);
  // Levels from one mrd, the lowest level in raw units.
  ASSERT_GT(pf->LevelCount, 0);
  EXPECT_LT(pf->Level[1], pf->MaxValue / pf->NormFactor);
  EXPECT_DOUBLE_EQ(pf->LowestLevel, pf->Level[1] * pf->NormFactor);
}

TEST(EditOperands, MirrorCirclesTakeTheValueOfTheCircleTheyMirrorAndExtraCirclesTheLast) {
  const OperandTable t = CircleOperands({1, 2, 3});
  auto pf = MirroredThreeCircles();
  ApplyCircleOperation(*pf, '+', t);
  const double expected[] = {11, 11, 12, 13, 13};
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(pf->Intensity[i][2], expected[i]) << "circle " << i;
  EXPECT_EQ(t[kMaxGridRows - 1], 3);
}

TEST(EditOperands, RefusedOperandsSayWhyExceptForPlainText) {
  CollectingSink sink;
  EXPECT_FALSE(ParseEditValue("1,5", '+', sink));
  EXPECT_FALSE(ParseEditValue("0.0", '/', sink));
  EXPECT_EQ(ParseEditValue(" 0 ", '*', sink), 0.0);
  EXPECT_FALSE(ParseCircleValues({"1", "0", "x"}, '/', sink));
  EXPECT_FALSE(ParseCircleValues({"1", "x", "0"}, '/', sink));
  EXPECT_EQ(sink.messages, (std::vector<std::string>{"Division by Zero", "Division by Zero on circle 2",
                                                     "Invalid value on circle 2"}));
  EXPECT_EQ(*ParseCircleValues({"1.0", " -2 ", "0"}, '-', sink), (std::vector<double>{1, -2, 0}));
}

TEST(RasterMerge, CombinesPointByPointAndKeepsWhereEitherHasNoValue) {
  auto target = MirroredThreeCircles(8);
  auto second = MirroredThreeCircles(4);
  second->OuterMirror = 0;
  for (int i = 0; i <= 4; ++i)
    for (int j = 1; j <= 4; ++j) second->Intensity[i][j] = i + j;
  target->Intensity[2][1] = kMissing;
  second->Intensity[2][2] = kMissing;
  second->Intensity[2][3] = 0;
  MergeRaster(*target, '/', *second);
  EXPECT_EQ(target->Intensity[2][1], kMissing);
  EXPECT_EQ(target->Intensity[2][2], 10);  // no second value
  EXPECT_EQ(target->Intensity[2][3], 10);  // division by zero
  EXPECT_EQ(target->Intensity[2][4], 10.0 / 6);
  EXPECT_EQ(target->Intensity[0][1], 10.0 / 1);  // inner mirror circle too
  EXPECT_EQ(target->Intensity[1][5], 10);        // beyond the second grid
  EXPECT_EQ(target->Intensity[4][1], 10);
  EXPECT_EQ(target->MaxValue, 10);
}

TEST(RasterMerge, FromFileOrNotAtAll) {
  LoadRequest request;
  request.dataFile = test::ExamplePath("copper111.pol");
  request.gridFile = test::ExamplePath("grid5.rst");
  NullSink quiet;
  auto pf = LoadPoleFigure(request, quiet);
  ASSERT_TRUE(pf);
  const auto before = std::make_unique<PoleFigure>(*pf);
  const std::string shortFile = test::WriteTempFile("three_values.pol", "1 2 3\n");
  for (const std::string& name : {shortFile, (test::TempDir() / "absent.pol").string()}) {
    CollectingSink sink;
    EXPECT_FALSE(MergeRasterPF(*pf, '*', name, request.gridFile, sink));
    EXPECT_EQ(sink.messages.size(), 1u);
    EXPECT_TRUE(pf->Intensity == before->Intensity);
  }
  CollectingSink sink;
  ASSERT_TRUE(MergeRasterPF(*pf, '-', request.dataFile, request.gridFile, sink));
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j)
      ASSERT_EQ(pf->Intensity[i][j], before->Intensity[i][j] == kMissing ? kMissing : 0) << i << "," << j;
}

}  // namespace
}  // namespace quorix
