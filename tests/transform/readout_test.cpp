// The pointer read-out: circle and point under the pointer, label texts,
// cursor figures, recommended values and the value editor.
#include "transform/readout.h"

#include <gtest/gtest.h>

#include "record/statistics.h"
#include "test_support.h"

namespace quorix {
namespace {

std::unique_ptr<PoleFigure> Grid(double value) { return test::RegularGrid(5, 72, value); }

TEST(Readout, ValueModeNeedsCrossHairUnrotatedDisplayAndSimpleGrid) {
  EXPECT_TRUE(ValueModeHolds(false, true, GridKind::Simple));
  EXPECT_FALSE(ValueModeHolds(true, true, GridKind::Simple));
  EXPECT_FALSE(ValueModeHolds(false, false, GridKind::Simple));
  EXPECT_FALSE(ValueModeHolds(false, true, GridKind::Full));
}

TEST(Readout, NearestCircleWithTiesGoingOutwards) {
  auto pf = Grid(1);
  EXPECT_EQ(ReadoutCircle(*pf, 0), 1);
  EXPECT_EQ(ReadoutCircle(*pf, 2.4), 1);
  EXPECT_EQ(ReadoutCircle(*pf, 2.5), 2);
  EXPECT_EQ(ReadoutCircle(*pf, 7.6), 3);
  EXPECT_EQ(ReadoutCircle(*pf, 89.9), 19);
  EXPECT_EQ(ReadoutCircle(*pf, 90.3), 19);
  pf->CircleCount = 15;  // measured up to 70 degrees
  EXPECT_EQ(ReadoutCircle(*pf, 80), 15);
}

TEST(Readout, NearestPointWithHalvesUpAndTheSeamWrappingToPointOne) {
  auto pf = Grid(1);
  EXPECT_EQ(ReadoutPoint(*pf, 5, 0), 1);
  EXPECT_EQ(ReadoutPoint(*pf, 5, 2.4), 1);
  EXPECT_EQ(ReadoutPoint(*pf, 5, 2.5), 2);
  EXPECT_EQ(ReadoutPoint(*pf, 5, 357.4), 72);
  EXPECT_EQ(ReadoutPoint(*pf, 5, 357.5), 1);
}

TEST(Readout, LabelShowsValueAndGridDirection) {
  auto pf = Grid(1);
  pf->Intensity[8][10] = 1.0 / 3;
  const ReadoutSelection s = SelectReadout(*pf, 35.2, 46, false);
  EXPECT_EQ(s.circle, 8);
  EXPECT_EQ(s.point, 10);
  EXPECT_EQ(ValueLabelText(*pf, s), "0.333333\n( 45.0 / 35.0 )");
  EXPECT_EQ(DirectionLabelText(35.24, 46.06), " ( 46.1 / 35.2 )");
  EXPECT_EQ(PositionText(35.6, 46.4), "( 46 / 36 )");
}

TEST(Readout, LabelsMoveAboveThePointerInTheLowerHalf) {
  EXPECT_EQ(CursorLabelTop(400, 650, true), 362);
  EXPECT_EQ(CursorLabelTop(400, 650, false), 381);
  EXPECT_EQ(CursorLabelTop(325, 650, true), 330);
  EXPECT_EQ(CursorLabelLeft(100), 115);
}

TEST(Readout, CursorFigures) {
  const CursorFigure cross = MakeCursorFigure(100, 200, 650, false);
  ASSERT_EQ(cross.lines.size(), 2u);
  EXPECT_FALSE(cross.hasCircle);
  EXPECT_EQ(cross.lines[0].x1, 0);
  EXPECT_EQ(cross.lines[0].x2, 650);
  EXPECT_EQ(cross.lines[0].y1, 200);
  EXPECT_EQ(cross.lines[1].x1, 100);
  EXPECT_EQ(cross.lines[1].y2, 650);

  const CursorFigure centre = MakeCursorFigure(325, 325, 650, true);
  ASSERT_EQ(centre.lines.size(), 1u);
  EXPECT_FALSE(centre.hasCircle);
  EXPECT_EQ(centre.lines[0].y1, 10);
  EXPECT_EQ(centre.lines[0].y2, 640);

  // 30-40-50 triangle from the centre: radius 50, diameter end at h * (3/5, 4/5).
  const CursorFigure circle = MakeCursorFigure(325 + 30, 325 - 40, 650, true);
  ASSERT_TRUE(circle.hasCircle);
  EXPECT_EQ(circle.left, 275);
  EXPECT_EQ(circle.right, 376);
  EXPECT_EQ(circle.lines[0].x1, 325 + 195);
  EXPECT_EQ(circle.lines[0].y1, 325 - 260);
  EXPECT_EQ(circle.lines[0].x2, 325 - 195);
  EXPECT_EQ(circle.lines[0].y2, 325 + 260);
}

TEST(Readout, OppositePointWrapsIntoTheCircle) {
  EXPECT_EQ(OppositePoint(36, 72), 72);
  EXPECT_EQ(OppositePoint(37, 72), 1);
  EXPECT_EQ(OppositePoint(1, 72), 37);
  EXPECT_EQ(OppositePoint(72, 72), 36);
}

TEST(Readout, RecommendedValuesAlongCircleAndMeridian) {
  auto pf = Grid(1);
  pf->Intensity[6][72] = 4;  // left neighbour of point 1
  pf->Intensity[6][2] = 8;
  pf->Intensity[5][1] = 3;
  pf->Intensity[7][1] = 5;
  const RecommendedValues r = Recommend(*pf, {6, 1, 1.0});
  EXPECT_EQ(r.alongCircle, 6);
  EXPECT_EQ(r.alongMeridian, 4);
  EXPECT_EQ(r.mean, 5);
  const auto lines = r.Lines();
  EXPECT_EQ(lines[0], "Recommended values:");
  EXPECT_EQ(lines[1], "6 (theta=const.)");
  EXPECT_EQ(lines[2], "4 (phi=const.)");
  EXPECT_EQ(lines[3], "5 (mean of both)");
}

TEST(Readout, MeridianAtCentreAndRimUsesTheOppositePointOfTheNeighbourCircle) {
  auto pf = Grid(1);
  pf->Intensity[2][10] = 2;
  pf->Intensity[2][46] = 6;
  EXPECT_EQ(Recommend(*pf, {1, 10, 1.0}).alongMeridian, 4);
  pf->Intensity[18][36] = 10;
  pf->Intensity[18][72] = 20;
  EXPECT_EQ(Recommend(*pf, {19, 36, 1.0}).alongMeridian, 15);
  EXPECT_EQ(Recommend(*pf, {19, 36, 2.0}).alongMeridian, 7.5);
}

TEST(Readout, EditOnTheLastCircleAlsoSetsTheOppositePoint) {
  auto pf = Grid(1);
  ASSERT_TRUE(ApplyEdit(*pf, {19, 36, 1.0}, "7.5", false));
  EXPECT_EQ(pf->Intensity[19][36], 7.5);
  EXPECT_EQ(pf->Intensity[19][72], 7.5);
  ASSERT_TRUE(ApplyEdit(*pf, {19, 37, 1.0}, " 3 ", false));
  EXPECT_EQ(pf->Intensity[19][37], 3);
  EXPECT_EQ(pf->Intensity[19][1], 3);
  EXPECT_EQ(pf->Intensity[19][2], 1);
  EXPECT_EQ(pf->MaxValue, 7.5);
  EXPECT_GT(pf->LevelCount, 0);
}

TEST(Readout, EditOnTheFirstCircleSetsTheWholeCircle) {
  auto pf = Grid(1);
  pf->InnerMirror = 1;
  ASSERT_TRUE(ApplyEdit(*pf, {1, 17, 1.0}, "4", false));
  for (int j = 1; j <= 72; ++j) {
    EXPECT_EQ(pf->Intensity[1][j], 4);
    EXPECT_EQ(pf->Intensity[0][j], 4);
  }
  EXPECT_EQ(pf->Intensity[2][17], 1);
}

TEST(Readout, MrdValuesAreShownAndStoredInMultiplesOfTheMean) {
  auto pf = Grid(1.5);
  UpdateExtremes(*pf);
  UpdateStatistics(*pf);
  const double norm = pf->NormFactor;
  ASSERT_NEAR(norm, 1.5, 1e-9);
  pf->Intensity[8][10] = 2 * norm;
  pf->Intensity[9][10] = kMissing;
  const ReadoutSelection s = SelectReadout(*pf, 35, 45, true);
  EXPECT_EQ(s.divisor, norm);
  EXPECT_EQ(EditorText(*pf, s), "2");
  ASSERT_TRUE(ApplyEdit(*pf, s, "3", true));
  EXPECT_DOUBLE_EQ(pf->Intensity[8][10], 3 * norm);

  const ReadoutSelection missing = SelectReadout(*pf, 40, 45, true);
  EXPECT_EQ(missing.divisor, 1.0);
  EXPECT_EQ(EditorText(*pf, missing), "-1");
  ASSERT_TRUE(ApplyEdit(*pf, missing, "2", true));
  EXPECT_EQ(pf->Intensity[9][10], 2);
}

TEST(Readout, TextThatIsNoNumberIsRefused) {
  auto pf = Grid(1);
  for (const char* text : {"", "abc", "1,5", "2x", "inf"}) {
    EXPECT_FALSE(ApplyEdit(*pf, {5, 5, 1.0}, text, false)) << text;
    EXPECT_EQ(pf->Intensity[5][5], 1);
  }
}

}  // namespace
}  // namespace quorix
