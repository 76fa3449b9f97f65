// The record's tables sized by its grid, the one check of the grid limits,
// and the accessors of circles and mirror circles.
#include "record/pole_figure.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "record/circle_links.h"
#include "record/program_state.h"
#include "test_support.h"

namespace quorix {
namespace {

TEST(RotationState, AChoiceTakesOverItsKindAndKeepsTheOther) {
  RotationState held;
  held.Mode = RotationMode::Matrix;
  held.Matrix[0][1] = 0.5;
  AppendRotation(held.List, 'X', 30);
  RotationState chosen;
  chosen.Mode = RotationMode::List;
  AppendRotation(chosen.List, 'Z', -45);
  chosen.Matrix[0][1] = 0.25;  // not the kind chosen: ignored
  held.TakeChosenKind(chosen);
  EXPECT_EQ(held.Mode, RotationMode::List);
  ASSERT_EQ(held.List.size(), 1u);
  EXPECT_EQ(held.List[0].axis, 'Z');
  EXPECT_EQ(held.Matrix[0][1], 0.5);
  // Choosing none keeps both for later.
  held.TakeChosenKind(RotationState{});
  EXPECT_FALSE(held.Active());
  EXPECT_EQ(held.List.size(), 1u);
  EXPECT_EQ(held.Matrix[0][1], 0.5);
}

TEST(GridTables, FollowTheGridWithRoomForMirrorsAndCompletion) {
  auto pf = NewPoleFigure();
  // Before any grid: rows and points 0..1, so that code reading circle 1 finds a value.
  EXPECT_EQ(pf->Intensity.Rows(), 2);
  EXPECT_EQ(pf->Intensity.Cols(), 2);
  EXPECT_FALSE(TablesHoldGrid(*pf));

  test::FillRegularGrid(*pf, 5, 72);
  EXPECT_EQ(pf->Intensity.Rows(), 21);  // circles 0..20
  EXPECT_EQ(pf->Intensity.Cols(), 74);  // points 0..73
  EXPECT_EQ(pf->Link.Rows(), 21);
  EXPECT_EQ(pf->Link.Cols(), 74);
  EXPECT_TRUE(TablesHoldGrid(*pf));
  // A 5 degree record is small: the tables hold its grid, no more.
  EXPECT_LT(sizeof(PoleFigure) + pf->Intensity.Cells().size_bytes() + pf->Link.Cells().size_bytes(), 64u * 1024);

  // A half circle of 36 points at 5 degrees is completed to 72 by the links.
  pf->CirclePoints[3] = 36;
  pf->CirclePoints[1] = 1;
  pf->BetaStep[1] = 360;
  SizeTablesToGrid(*pf);
  EXPECT_EQ(pf->Intensity.Cols(), 74);
  pf->BetaStep[5] = 2.5;  // 72 points of 2.5 degrees: 144 once completed
  SizeTablesToGrid(*pf);
  EXPECT_EQ(pf->Intensity.Cols(), 146);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (double& v : CircleValues(*pf, i)) v = i;
  ASSERT_TRUE(BuildCircleLinks(*pf));
  EXPECT_EQ(pf->CirclePoints[5], 144);
  EXPECT_EQ(pf->Intensity[5][72], 5);
  EXPECT_EQ(pf->Intensity[5][144], kMissing);
}

TEST(GridTables, SizingStartsFromZeroAndAGridOutsideTheLimitsGetsNone) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 30, 12);
  pf->Intensity[2][3] = 7;
  pf->Link[2][3].InnerLink = 4;
  SizeTablesToGrid(*pf);
  EXPECT_EQ(pf->Intensity[2][3], 0);
  EXPECT_EQ(pf->Link[2][3].InnerLink, 0);

  pf->CircleCount = kMaxCircles + 1;
  SizeTablesToGrid(*pf);
  EXPECT_EQ(pf->Intensity.Rows(), 2);
  EXPECT_FALSE(TablesHoldGrid(*pf));
  EXPECT_FALSE(BuildCircleLinks(*pf));

  // A grid changed after sizing no longer fits its tables, and nothing reads it as if it did.
  test::FillRegularGrid(*pf, 30, 12);
  pf->CirclePoints[2] = 24;
  EXPECT_FALSE(TablesHoldGrid(*pf));
  EXPECT_FALSE(BuildCircleLinks(*pf));
}

TEST(GridTables, CopyGridSizesTheCopy) {
  auto from = NewPoleFigure();
  test::FillRegularGrid(*from, 10, 36);
  from->Intensity[4][5] = 3;
  auto to = NewPoleFigure();
  CopyGrid(*from, *to);
  EXPECT_EQ(to->CircleCount, 10);
  EXPECT_EQ(to->Intensity.Rows(), from->Intensity.Rows());
  EXPECT_EQ(to->Intensity.Cols(), from->Intensity.Cols());
  EXPECT_EQ(to->Intensity[4][5], 0);  // the grid, not the values
  EXPECT_TRUE(TablesHoldGrid(*to));
}

TEST(CircleAccess, ValuesOfACircleAndTheMirrorCircles) {
  auto pf = test::FourPointGrid({30, 60, 80});
  pf->InnerMirror = pf->OuterMirror = 1;
  for (int i : {0, 4}) {
    pf->CirclePoints[i] = 4;
    pf->BetaStep[i] = 90;
  }
  test::SetCircle(*pf, 1, {1, 2, 3, 4});
  test::SetCircle(*pf, 3, {5, 6, 7, 8});
  const std::span<const double> first = CircleValues(std::as_const(*pf), 1);
  EXPECT_EQ(std::vector<double>(first.begin(), first.end()), (std::vector<double>{1, 2, 3, 4}));
  RefreshMirrorCircles(*pf);
  EXPECT_EQ(pf->Intensity[0][4], 4);
  EXPECT_EQ(pf->Intensity[4][1], 5);
  EXPECT_EQ(pf->Intensity[4][4], 8);

  // Counts beyond the tables never reach the record: SetGrid refuses them and leaves it as it was.
  GridDescription tooMany;
  tooMany.circles = {{30, 0, 90, 4}, {60, 0, 0.001, 100000}};
  CollectingSink sink;
  EXPECT_FALSE(SetGrid(*pf, tooMany, "S", FileRole::Data, sink));
  EXPECT_EQ(sink.messages, std::vector<std::string>{"Data file S: circle 2 has 100000 points, more than 721."});
  EXPECT_EQ(CircleValues(*pf, 2).size(), 4u);
  EXPECT_TRUE(TablesHoldGrid(*pf));
}

TEST(SetGridTest, DerivesMirrorsAndCountsAndClearsTheGridBefore) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  pf->Intensity[3][4] = 9;
  GridDescription grid;
  grid.kind = GridKind::Full;
  grid.innerMirror = grid.outerMirror = true;
  grid.circles = {{2.5, 2.5, 5, 72}, {7.5, 2.5, -10, 36}};
  test::SetTestGrid(*pf, grid);
  EXPECT_EQ(pf->CircleCount, 2);
  EXPECT_EQ(pf->PointCount, 108);
  EXPECT_EQ(pf->BetaRange, 360);
  EXPECT_EQ(pf->Grid, GridKind::Full);
  EXPECT_EQ(pf->Alpha[0], -2.5);
  EXPECT_EQ(pf->BetaStart[0], 182.5);
  EXPECT_EQ(pf->CirclePoints[0], 72);
  EXPECT_EQ(pf->Alpha[3], 172.5);
  EXPECT_EQ(pf->BetaStep[3], -10);
  EXPECT_EQ(pf->CirclePoints[3], 36);
  EXPECT_EQ(pf->CirclePoints[4], 0);  // the 5-degree grid's circles are gone
  EXPECT_EQ(pf->Intensity[3][4], 0);
  EXPECT_TRUE(TablesHoldGrid(*pf));

  // Turning a circle to increasing beta takes its mirror circle along.
  StoreInIncreasingBeta(*pf, 2);
  EXPECT_EQ(pf->BetaStep[2], 10);
  EXPECT_EQ(pf->BetaStep[3], 10);
}

struct LimitCase {
  std::vector<long long> points;
  std::vector<double> steps;
  bool outerMirror;
  std::string message;  // empty: accepted
};

TEST(GridLimits, HalfDegreeGridsFitAndEachLimitHasItsMessage) {
  const std::vector<long long> halfDegree(181, 720);
  const std::vector<double> halfSteps(181, 0.5);
  const std::vector<LimitCase> cases = {
      {halfDegree, halfSteps, false, ""},
      {halfDegree, halfSteps, true, ""},  // 181 measured and the outer mirror circle
      {std::vector<long long>(182, 721), {}, false, ""},
      {std::vector<long long>(183, 72), {}, false, "more than 182 circles."},
      {std::vector<long long>(182, 72), {}, true, "more than 181 circles with the outer mirror circle."},
      {{72, 722}, {}, false, "circle 2 has 722 points, more than 721."},
      {{72, 72, 9000000000LL}, {5, 0, 5}, false, "circle 2 has a beta step of 0."},
      {{72, 72}, {5, -0.45}, false, "circle 2 has a beta step of -0.45; a full turn would need more than 721 points."},
      {{}, {}, false, "no circles found."},
  };
  for (const LimitCase& c : cases) {
    CollectingSink sink;
    const bool ok = CheckGridLimits(c.points, c.steps, c.outerMirror, "S", FileRole::Grid, sink);
    EXPECT_EQ(ok, c.message.empty()) << c.message;
    if (c.message.empty()) {
      EXPECT_TRUE(sink.messages.empty()) << test::Joined(sink.messages);
      continue;
    }
    ASSERT_EQ(sink.problems.size(), 1u) << c.message;
    EXPECT_EQ(sink.problems[0].file, "S");
    EXPECT_EQ(sink.problems[0].role, FileRole::Grid);
    EXPECT_EQ(sink.problems[0].what, c.message);
  }
}

}  // namespace
}  // namespace quorix
