// Circle completion and the triangle links between neighbouring circles.
#include "record/circle_links.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"

namespace quorix {
namespace {

void SetCircle(PoleFigure& pf, int i, double alpha, double start, double step, int points) {
  pf.Alpha[i] = alpha;
  pf.BetaStart[i] = start;
  pf.BetaStep[i] = step;
  pf.CirclePoints[i] = points;
}

double Wrap(double b) {
  b = std::fmod(b, 360);
  return b < 0 ? b + 360 : b;
}

// Angular distance along increasing beta from a to b, 0..360.
double Ahead(double from, double to) { return Wrap(to - from); }

TEST(PointAtOrBefore, WrapsAroundTheCircle) {
  auto pf = NewPoleFigure();
  SetCircle(*pf, 1, 10, 0, 5, 72);
  SetCircle(*pf, 2, 20, 355, 5, 72);
  EXPECT_EQ(PointAtOrBefore(*pf, 1, 7), 2);
  EXPECT_EQ(PointAtOrBefore(*pf, 1, 359), 72);
  EXPECT_EQ(PointAtOrBefore(*pf, 1, 360), 1);
  EXPECT_EQ(PointAtOrBefore(*pf, 2, 0), 2);     // point 2 lies at 360
  EXPECT_EQ(PointAtOrBefore(*pf, 2, 354), 72);  // 354 + 360 - 355 = 359
}

TEST(CircleLinks, EqualCirclesLinkPointForPoint) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  ASSERT_TRUE(BuildCircleLinks(*pf));
  for (int i = 1; i <= pf->CircleCount; ++i) {
    for (int k = 1; k <= 72; ++k) {
      const GridLink& l = pf->Link[i][k];
      EXPECT_EQ(l.InnerLink, i == 1 ? -1 : k % 72 + 1) << i << "," << k;
      EXPECT_EQ(l.OuterLink, i == pf->CircleCount ? -1 : k) << i << "," << k;
      EXPECT_EQ(l.Mark1, 1);
      EXPECT_EQ(l.Mark2, 1);
    }
  }
}

TEST(CircleLinks, CompletesPartialCirclesWithMissingPoints) {
  auto pf = NewPoleFigure();
  SetCircle(*pf, 1, 10, 0, 5, 36);
  SetCircle(*pf, 2, 20, 0, 5, 72);
  pf->CircleCount = 2;
  SizeTablesToGrid(*pf);
  for (int k = 1; k <= 36; ++k) pf->Intensity[1][k] = k;
  ASSERT_TRUE(BuildCircleLinks(*pf));
  EXPECT_EQ(pf->CirclePoints[1], 72);
  EXPECT_DOUBLE_EQ(pf->Intensity[1][36], 36);
  for (int k = 37; k <= 72; ++k) EXPECT_DOUBLE_EQ(pf->Intensity[1][k], -1.0);
}

TEST(CircleLinks, CentrePointIsTheApexOfTheFirstRing) {
  auto pf = NewPoleFigure();
  SetCircle(*pf, 1, 0, 0, 360, 1);
  SetCircle(*pf, 2, 5, 0, 5, 72);
  SetCircle(*pf, 3, 10, 0, 5, 72);
  pf->CircleCount = 3;
  SizeTablesToGrid(*pf);
  ASSERT_TRUE(BuildCircleLinks(*pf));
  EXPECT_EQ(pf->CirclePoints[1], 1);
  EXPECT_EQ(pf->Link[1][1].InnerLink, -1);
  EXPECT_EQ(pf->Link[1][1].OuterLink, -1);
  for (int k = 1; k <= 72; ++k) {
    EXPECT_EQ(pf->Link[2][k].InnerLink, 1);
    EXPECT_EQ(pf->Link[2][k].OuterLink, k);
    EXPECT_EQ(pf->Link[3][k].OuterLink, -1);
  }
}

// On circles of different density and offset starts, every triangle's apex
// lies between the ends of its base edge, give or take one step of its circle.
TEST(CircleLinks, TrianglesFollowAzimuthOnUnequalCircles) {
  auto pf = NewPoleFigure();
  SetCircle(*pf, 1, 10, 7.5, 15, 24);
  SetCircle(*pf, 2, 20, 2.5, 5, 72);
  SetCircle(*pf, 3, 30, 350, 10, 36);
  pf->CircleCount = 3;
  SizeTablesToGrid(*pf);
  ASSERT_TRUE(BuildCircleLinks(*pf));
  for (int e = 1; e <= 2; ++e) {
    const int m = e + 1;
    for (int k = 1; k <= pf->CirclePoints[e]; ++k) {
      const int j = pf->Link[e][k].OuterLink;
      ASSERT_GE(j, 1);
      ASSERT_LE(j, pf->CirclePoints[m]);
      const double from = BetaOf(*pf, e, k) - pf->BetaStep[m];
      EXPECT_LE(Ahead(from, BetaOf(*pf, m, j)), pf->BetaStep[e] + pf->BetaStep[m] + 1e-9) << e << "," << k;
    }
    for (int j = 1; j <= pf->CirclePoints[m]; ++j) {
      const int k = pf->Link[m][j].InnerLink;
      ASSERT_GE(k, 1);
      ASSERT_LE(k, pf->CirclePoints[e]);
      const double from = BetaOf(*pf, m, j) - pf->BetaStep[e];
      EXPECT_LE(Ahead(from, BetaOf(*pf, e, k)), pf->BetaStep[e] + pf->BetaStep[m] + 1e-9) << m << "," << j;
    }
  }
}

TEST(CircleLinks, RefusesGridsItCannotLink) {
  auto pf = NewPoleFigure();
  EXPECT_FALSE(BuildCircleLinks(*pf));  // no circles
  SetCircle(*pf, 1, 10, 0, 0, 72);
  pf->CircleCount = 1;
  SizeTablesToGrid(*pf);
  EXPECT_FALSE(BuildCircleLinks(*pf));  // a zero step would never complete
}

}  // namespace
}  // namespace quorix
