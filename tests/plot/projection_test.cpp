// Tests of the plot square and the stereographic and equal-area projections.
#include "plot/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "math/vector_math.h"

namespace quorix {
namespace {

TEST(PlotGeometryTest, SizeFromSurface) {
  EXPECT_EQ(PlotSize(700, 600), 500);
  EXPECT_EQ(SizePercentage(500), 77);
  EXPECT_EQ(PlotSize(900, 600), 600);
  EXPECT_EQ(PlotSize(840, 600), 600);  // exactly 1.4 wide
  EXPECT_EQ(SizePercentage(650), 100);
  EXPECT_EQ(PlotCentre(650), 325);
  EXPECT_EQ(PlotRadius(650), 315);
  EXPECT_EQ(PlotCentre(651), 325);
}

TEST(PlotGeometryTest, ZoomPutsTheRimTiltOnTheRimAndIsUndone) {
  for (bool equalArea : {false, true}) {
    SCOPED_TRACE(equalArea);
    EXPECT_NEAR(ZoomedAlpha(10, 10, equalArea), 90, 1e-9);
    EXPECT_EQ(ZoomedAlpha(0, 10, equalArea), 0);
    EXPECT_EQ(ZoomedAlpha(37, 90, equalArea), 37);  // the full circle is no zoom
    const Pixel rim = ProjectPoint(650, ZoomedAlpha(10, 10, equalArea), 0, equalArea);
    EXPECT_EQ(rim.x, PlotCentre(650) + PlotRadius(650));
    for (double a : {1.0, 5.0, 9.5}) EXPECT_NEAR(UnzoomedAlpha(ZoomedAlpha(a, 10, equalArea), 10, equalArea), a, 1e-9);
  }
  // Radii scale with the projection's own radius function, not with the tilt.
  EXPECT_NEAR(std::tan(DegToRad(ZoomedAlpha(5, 10, false)) / 2), std::tan(DegToRad(2.5)) / std::tan(DegToRad(5)),
              1e-12);
}

TEST(PlotGeometryTest, EmptySurfaceGivesNoPlot) {
  EXPECT_EQ(PlotSize(0, 0), 0);
  EXPECT_EQ(PlotSize(500, 0), 0);
  EXPECT_EQ(PlotSize(0, 300), 0);
}

struct ProjectCase {
  double alpha, beta;
  bool equalArea;
  int x, y;
};
void PrintTo(const ProjectCase& c, std::ostream* os) {
  *os << "alpha " << c.alpha << " beta " << c.beta << (c.equalArea ? " equal-area" : " stereographic");
}

class ProjectPointTest : public ::testing::TestWithParam<ProjectCase> {};

TEST_P(ProjectPointTest, PixelAt650) {
  const ProjectCase& c = GetParam();
  const Pixel p = ProjectPoint(650, c.alpha, c.beta, c.equalArea);
  EXPECT_EQ(p.x, c.x);
  EXPECT_EQ(p.y, c.y);
  // The unrounded position lies within half a pixel of it.
  const PlotPosition q = ProjectPosition(650, c.alpha, c.beta, c.equalArea);
  EXPECT_LE(std::fabs(q.x - c.x), 0.5);
  EXPECT_LE(std::fabs(q.y - c.y), 0.5);
}

INSTANTIATE_TEST_SUITE_P(WorkedPixels, ProjectPointTest,
                         ::testing::Values(ProjectCase{90, 0, true, 640, 325}, ProjectCase{90, 0, false, 640, 325},
                                           ProjectCase{90, 90, true, 325, 10}, ProjectCase{90, 90, false, 325, 10},
                                           ProjectCase{0, 123, true, 325, 325}, ProjectCase{0, 123, false, 325, 325},
                                           ProjectCase{60, 30, true, 518, 214},
                                           // 157.5 exactly: needs the extended intermediates.
                                           ProjectCase{60, 30, false, 483, 234}, ProjectCase{45, 180, true, 155, 325},
                                           ProjectCase{45, 180, false, 195, 325},
                                           // Tick mark ends beyond the rim.
                                           ProjectCase{92, 0, true, 645, 325}, ProjectCase{92, 0, false, 651, 325},
                                           ProjectCase{91, 0, true, 643, 325}, ProjectCase{91, 0, false, 646, 325},
                                           ProjectCase{90, 270, false, 325, 640},
                                           // Negative alpha mirrors through the centre.
                                           ProjectCase{-90, 0, true, 10, 325}));

TEST(UnprojectPointTest, CentrePixel) {
  PlotDirection d = UnprojectPoint(650, 325, 325, true);
  EXPECT_EQ(d.alpha, 0);
  EXPECT_EQ(d.beta, 90);
  d = UnprojectPoint(650, 325, 325, false);
  EXPECT_EQ(d.alpha, 0);
  EXPECT_EQ(d.beta, 0);
}

TEST(UnprojectPointTest, EqualAreaAxes) {
  const double r = 315 * std::sqrt(2.0);
  PlotDirection d = UnprojectPoint(650, 325, 425, true);  // straight down
  EXPECT_EQ(d.beta, 270);
  EXPECT_NEAR(d.alpha, 2 * std::asin(100 / r) * 180 / M_PI, 1e-12);
  d = UnprojectPoint(650, 225, 325, true);  // left
  EXPECT_EQ(d.beta, 180);
  EXPECT_NEAR(d.alpha, 2 * std::asin(100 / r) * 180 / M_PI, 1e-12);
  d = UnprojectPoint(650, 640, 325, true);  // on the rim
  EXPECT_EQ(d.beta, 0);
  EXPECT_NEAR(d.alpha, 90, 1e-9);
}

TEST(UnprojectPointTest, EqualAreaBeyondTheWholeSphereIsNinetyAndAHalf) {
  // sqrt(2) R = 445.5 pixels maps the antipode; farther out there is no angle.
  EXPECT_EQ(UnprojectPoint(650, 325, 325 - 446, true).alpha, 90.5);
  EXPECT_EQ(UnprojectPoint(650, 325 + 446, 325, true).alpha, 90.5);
  EXPECT_EQ(UnprojectPoint(650, 325 - 320, 325 + 320, true).alpha, 90.5);
  EXPECT_EQ(UnprojectPoint(650, 325 + 400, 325 - 200, true).alpha, 90.5);
}

TEST(UnprojectPointTest, EqualAreaJustOutsideTheRimReadsAsOutside) {
  // Between R and sqrt(2) R the inverse continues past 90 degrees; callers
  // take anything above 90.4 as off the plot.
  const PlotDirection d = UnprojectPoint(650, 325, 5, true);
  EXPECT_NEAR(d.alpha, 2 * std::asin(320 / (315 * std::sqrt(2.0))) * 180 / M_PI, 1e-9);
  EXPECT_GT(d.alpha, 90.4);
  EXPECT_GT(UnprojectPoint(650, 600, 100, true).alpha, 90.4);
}

TEST(UnprojectPointTest, StereographicOutsideGivesTrueAngle) {
  const PlotDirection d = UnprojectPoint(650, 325 + 378, 325, false);  // 1.2 R
  EXPECT_NEAR(d.alpha, 2 * std::atan(1.2) * 180 / M_PI, 1e-9);
  EXPECT_NEAR(d.alpha, 100.4, 0.05);
  EXPECT_EQ(d.beta, 0);
}

TEST(UnprojectPointTest, StereographicVerticalAxis) {
  PlotDirection d = UnprojectPoint(650, 325, 100, false);
  EXPECT_EQ(d.beta, 90);
  d = UnprojectPoint(650, 325, 600, false);
  EXPECT_EQ(d.beta, 270);
  EXPECT_NEAR(d.alpha, 2 * std::atan(275.0 / 315) * 180 / M_PI, 1e-9);
}

TEST(UnprojectPointTest, BackAndForthWithinOnePixel) {
  for (bool equalArea : {true, false})
    for (double alpha = 5; alpha <= 90; alpha += 5)
      for (double beta = 3; beta < 360; beta += 17) {
        const Pixel p = ProjectPoint(650, alpha, beta, equalArea);
        const PlotDirection d = UnprojectPoint(650, p.x, p.y, equalArea);
        // One pixel at radius rho is 1/rho radians of azimuth.
        EXPECT_NEAR(d.alpha, alpha, 0.5) << equalArea << " " << alpha << " " << beta;
        const double rho = std::hypot(p.x - 325.0, p.y - 325.0);
        double db = std::fabs(d.beta - beta);
        db = std::min(db, 360 - db);
        EXPECT_LE(db, 180 / M_PI / rho * 1.5) << equalArea << " " << alpha << " " << beta;
      }
}

TEST(UnprojectPointTest, TinyPlotsStayFinite) {
  for (int s : {0, 1, 19, 20, 21})
    for (bool equalArea : {true, false}) {
      const PlotDirection d = UnprojectPoint(s, 3, 7, equalArea);
      EXPECT_TRUE(std::isfinite(d.alpha)) << s;
      EXPECT_TRUE(std::isfinite(d.beta)) << s;
      const PlotDirection c = UnprojectPoint(s, s / 2, s / 2, equalArea);
      EXPECT_TRUE(std::isfinite(c.alpha)) << s;
    }
}

}  // namespace
}  // namespace quorix
