// Interpolation onto a grid: identity, the rotations against the display
// rotation, the centre point's azimuth shift, dropped directions, mirror
// circles and the command on the whole pole figure set.
#include "transform/interpolation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot/display_rotation.h"
#include "record/pole_figure_set.h"
#include "record/statistics.h"
#include "test_support.h"

namespace quorix {
namespace {

// A smooth, odd function of the direction, so that a direction and its
// antipode have different values.
double Field(const Vec3& v) { return 10 + 3 * v.x + 2 * v.y + 4 * v.z * v.z; }

void FillField(PoleFigure& pf) {
  for (int i = 1; i <= pf.CircleCount; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j)
      pf.Intensity[i][j] = Field(DirectionToVector(pf.Alpha[i], BetaOf(pf, i, j)));
}

std::unique_ptr<PoleFigure> FieldOnGrid(double step, int points) {
  auto pf = test::RegularGrid(step, points);
  FillField(*pf);
  return pf;
}

TEST(Interpolation, OntoTheSameGridKeepsEveryValue) {
  auto source = FieldOnGrid(5, 72);
  source->Intensity[4][10] = -2.5;
  source->FileName = "a.pol";
  auto target = test::RegularGrid(5, 72);
  InterpolationOptions o;
  o.zeroNegative = false;
  InterpolatePoleFigure(*source, *target, o);
  for (int i = 1; i <= source->CircleCount; ++i)
    for (int j = 1; j <= 72; ++j) ASSERT_NEAR(target->Intensity[i][j], source->Intensity[i][j], 1e-9) << i << "," << j;
  EXPECT_EQ(target->FileName, "a.pol");
  EXPECT_GT(target->LevelCount, 0);
  EXPECT_EQ(target->Link[2][1].InnerLink >= 0, true);

  auto zeroed = test::RegularGrid(5, 72);
  InterpolatePoleFigure(*source, *zeroed, InterpolationOptions{});
  EXPECT_EQ(zeroed->Intensity[4][10], 0.0);
}

TEST(Interpolation, MissingValueSpoilsOnlyThePointsThatNeedIt) {
  auto source = FieldOnGrid(5, 72);
  source->Intensity[3][5] = kMissing;
  auto target = test::RegularGrid(5, 72);
  InterpolatePoleFigure(*source, *target, InterpolationOptions{});
  EXPECT_EQ(target->Intensity[3][5], kMissing);
  EXPECT_EQ(target->Intensity[3][4], kMissing);  // its bracket on the circle
  EXPECT_EQ(target->Intensity[4][5], kMissing);  // the circle below is needed
  EXPECT_NEAR(target->Intensity[10][20], source->Intensity[10][20], 1e-9);
  EXPECT_NEAR(target->Intensity[2][5], source->Intensity[2][5], 1e-9);
}

TEST(Interpolation, ZRotationInAListShiftsTheCentrePoint) {
  auto source = test::RegularGrid(5, 72);
  for (int j = 1; j <= 72; ++j) source->Intensity[1][j] = 10 + (j - 1) * 5;  // 10 + beta at the centre
  for (int i = 2; i <= source->CircleCount; ++i)
    for (int j = 1; j <= 72; ++j) source->Intensity[i][j] = 1;
  auto target = test::RegularGrid(5, 72);
  InterpolationOptions o;
  o.rotation.Mode = RotationMode::List;
  o.rotation.List = {{'Z', 30}};
  InterpolatePoleFigure(*source, *target, o);
  EXPECT_NEAR(target->Intensity[1][13], 10 + 30, 1e-9);  // beta 60 looks up 30
  EXPECT_NEAR(target->Intensity[1][1], 10 + 330, 1e-9);  // beta 0 looks up -30 = 330
}

// The interpolated values sit where the display rotation draws the source
// values: an independent map of source directions to plot directions.
void ExpectMatchesDisplayRotation(const RotationState& display, RotationMode mode, const Mat3& heldMatrix,
                                  const RotationList& list) {
  auto source = FieldOnGrid(5, 72);
  auto target = test::RegularGrid(5, 72);
  InterpolationOptions o;
  o.rotation.Mode = mode;
  o.rotation.Matrix = heldMatrix;
  o.rotation.List = list;
  InterpolatePoleFigure(*source, *target, o);
  const DisplayRotation rotation(display);
  int compared = 0;
  for (int i = 3; i <= source->CircleCount; i += 3)
    for (int j = 1; j <= 72; j += 5) {
      const MappedDirection shown = rotation.Map(source->Alpha[i], BetaOf(*source, i, j));
      // Near the rim the odd field jumps to its antipode: no smooth comparison.
      if (shown.folded || shown.alpha > 80 || source->Alpha[i] > 80) continue;
      const auto value = InterpolateAt(*target, shown.alpha, shown.beta);
      ASSERT_TRUE(value.has_value());
      EXPECT_NEAR(*value, source->Intensity[i][j], 0.05) << i << "," << j;
      ++compared;
    }
  EXPECT_GT(compared, 30);
}

TEST(Interpolation, RotatedDataSitWhereTheDisplayRotationDrawsThem) {
  const Mat3 dialogMatrix = AxisAngleMatrix(40, 30, 25);
  RotationState byMatrix;
  byMatrix.Mode = RotationMode::Matrix;
  byMatrix.Matrix = dialogMatrix;
  ExpectMatchesDisplayRotation(byMatrix, RotationMode::Matrix, InvertByAxisAngle(dialogMatrix), {});

  const RotationList list = {{'X', 20}, {'Z', -45}};
  RotationState byList;
  byList.Mode = RotationMode::List;
  byList.List = list;
  ExpectMatchesDisplayRotation(byList, RotationMode::List, IdentityMatrix(), list);
}

TEST(Interpolation, TriclinDropsDirectionsLeavingTheHemisphereMonoclinFoldsThem) {
  auto source = test::CentrePointGrid(5, 72);
  FillField(*source);
  InterpolationOptions o;
  o.rotation.Mode = RotationMode::List;
  o.rotation.List = {{'X', 90}};

  o.rotation.TriclinicSymmetry = true;
  auto triclin = test::CentrePointGrid(5, 72);
  InterpolatePoleFigure(*source, *triclin, o);
  o.rotation.TriclinicSymmetry = false;
  auto monoclin = test::CentrePointGrid(5, 72);
  InterpolatePoleFigure(*source, *monoclin, o);

  int points = 0, missing = 0;
  for (int i = 1; i <= triclin->CircleCount; ++i)
    for (int j = 1; j <= triclin->CirclePoints[i]; ++j) {
      ++points;
      // Where the target direction's value comes from: the inverse rotation.
      const Vec3 from = RotateAboutAxis(DirectionToVector(triclin->Alpha[i], BetaOf(*triclin, i, j)), 'X', -90);
      if (triclin->Intensity[i][j] == kMissing) {
        ++missing;
        EXPECT_LT(from.z, 1e-9) << i << "," << j;
      }
      if (std::fabs(from.z) < 0.05) continue;  // too close to the rim to compare
      const Vec3 lower = from.z < 0 ? Vec3{-from.x, -from.y, -from.z} : from;
      ASSERT_NE(monoclin->Intensity[i][j], kMissing) << i << "," << j;
      EXPECT_NEAR(monoclin->Intensity[i][j], Field(lower), 0.05) << i << "," << j;
      if (from.z > 0) {
        EXPECT_NEAR(triclin->Intensity[i][j], Field(from), 0.05) << i << "," << j;
      }
    }
  EXPECT_GT(missing, points * 4 / 10);
  EXPECT_LT(missing, points * 6 / 10);
}

TEST(Interpolation, DroppedDirectionIsMissingEvenWithAnInnerMirrorCircle) {
  auto source = FieldOnGrid(5, 72);
  // Circles from 2.5 with an inner mirror at -2.5, as ".grd" grids have them.
  for (int i = 1; i <= source->CircleCount; ++i) source->Alpha[i] = 2.5 + (i - 1) * 5;
  source->CircleCount = 18;
  source->InnerMirror = 1;
  source->Alpha[0] = -2.5;
  source->BetaStart[0] = 180;
  source->BetaStep[0] = 5;
  source->CirclePoints[0] = 72;
  for (int j = 1; j <= 72; ++j) source->Intensity[0][j] = 5;
  auto target = test::RegularGrid(5, 72);
  InterpolationOptions o;
  o.rotation.Mode = RotationMode::List;
  o.rotation.List = {{'X', 90}};
  o.rotation.TriclinicSymmetry = true;
  InterpolatePoleFigure(*source, *target, o);
  // (45, 90) is carried out of the hemisphere by the inverse rotation.
  EXPECT_EQ(target->Intensity[10][19], kMissing);
  EXPECT_NE(target->Intensity[10][55], kMissing);
}

TEST(Interpolation, MirrorCirclesOfTheTargetAreFilled) {
  auto source = FieldOnGrid(5, 72);
  auto target = NewPoleFigure();
  target->CircleCount = 18;
  for (int i = 1; i <= 18; ++i) {
    target->Alpha[i] = 2.5 + (i - 1) * 5;
    target->BetaStart[i] = 2.5;
    target->BetaStep[i] = 5;
    target->CirclePoints[i] = 72;
  }
  target->InnerMirror = 1;
  target->Alpha[0] = -2.5;
  target->BetaStart[0] = 182.5;
  target->BetaStep[0] = 5;
  target->CirclePoints[0] = 72;
  target->OuterMirror = 1;
  target->Alpha[19] = 92.5;
  target->BetaStart[19] = 182.5;
  target->BetaStep[19] = 5;
  target->CirclePoints[19] = 72;
  SizeTablesToGrid(*target);
  InterpolatePoleFigure(*source, *target, InterpolationOptions{});
  for (int j = 1; j <= 72; ++j) {
    EXPECT_EQ(target->Intensity[0][j], target->Intensity[1][j]);
    EXPECT_EQ(target->Intensity[19][j], target->Intensity[18][j]);
    EXPECT_NE(target->Intensity[18][j], kMissing);
  }
}

// The command on the set: every pole figure lands on the output grid.
struct SetFixture {
  PoleFigureSet set;
  ProgramState state;
  CollectingSink sink;
  std::string grid10 =
      test::WriteTempFile("grid10.rst", "0 36\n10 36\n20 36\n30 36\n40 36\n50 36\n60 36\n70 36\n80 36\n90 36\n");

  SetFixture() {
    set.PF[1] = FieldOnGrid(5, 72);
    set.PF[2] = FieldOnGrid(3, 120);
    set.PF[3] = FieldOnGrid(5, 72);
    set.PF[2]->FileName = "second.pol";
    state.Rotation.Mode = RotationMode::List;
    state.Rotation.List = {{'Z', 10}};
  }
};

TEST(InterpolationCommand, EveryVisibleWindowLandsOnTheOutputGrid) {
  SetFixture f;
  const PoleFigure* third = f.set.PF[3].get();
  InterpolationRequest request;
  request.gridFile = f.grid10;
  std::vector<int> done;
  const auto status = InterpolateSet(f.set, {2}, request, f.state, f.sink, [&](int n) { done.push_back(n); });
  ASSERT_EQ(status, InterpolationStatus::Done);
  EXPECT_EQ(done, (std::vector<int>{1, 2}));
  for (int n : {1, 2}) {
    const PoleFigure& pf = *f.set.PF[n];
    ASSERT_EQ(pf.CircleCount, 10) << n;
    EXPECT_EQ(pf.Alpha[4], 30) << n;
    EXPECT_EQ(pf.CirclePoints[4], 36) << n;
    EXPECT_NEAR(pf.Intensity[4][3], Field(DirectionToVector(30, 20)), 0.05) << n;
  }
  EXPECT_EQ(f.set.PF[2]->FileName, "second.pol");
  EXPECT_EQ(f.set.PF[3].get(), third);  // not a visible window: untouched
  EXPECT_EQ(f.state.Rotation.Mode, RotationMode::None);
  EXPECT_TRUE(f.sink.messages.empty());
}

TEST(InterpolationCommand, MissingOrEmptyGridNameChangesNothing) {
  SetFixture f;
  const PoleFigure* first = f.set.PF[1].get();
  InterpolationRequest request;
  EXPECT_EQ(InterpolateSet(f.set, {2}, request, f.state, f.sink), InterpolationStatus::EmptyGridName);
  EXPECT_TRUE(f.sink.messages.empty());
  request.gridFile = (test::TempDir() / "none.rst").string();
  EXPECT_EQ(InterpolateSet(f.set, {2}, request, f.state, f.sink), InterpolationStatus::GridMissing);
  ASSERT_EQ(f.sink.messages.size(), 1u);
  EXPECT_EQ(f.sink.messages[0], "File " + request.gridFile + " does not exist");
  EXPECT_EQ(f.set.PF[1].get(), first);
  EXPECT_EQ(f.state.Rotation.Mode, RotationMode::List);
}

TEST(InterpolationCommand, AxisRotationTakesTheDialogMatrix) {
  SetFixture f;
  InterpolationRequest request;
  request.gridFile = f.grid10;
  request.rotation.Mode = RotationMode::Matrix;
  request.rotation.Matrix = AxisAngleMatrix(0, 0, 20);  // about the projection axis
  ASSERT_EQ(InterpolateSet(f.set, {}, request, f.state, f.sink), InterpolationStatus::Done);
  // Shown where the display rotation with this matrix draws it: source beta
  // b appears at b + 20, so beta 40 on the target holds the source's beta 20.
  RotationState display;
  display.Mode = RotationMode::Matrix;
  display.Matrix = request.rotation.Matrix;
  const MappedDirection shown = DisplayRotation(display).Map(30, 20);
  EXPECT_NEAR(shown.beta, 40, 1e-6);
  EXPECT_NEAR(f.set.PF[1]->Intensity[4][5], Field(DirectionToVector(30, 20)), 0.05);
}

}  // namespace
}  // namespace quorix
