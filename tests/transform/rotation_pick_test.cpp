// Tests of the rotation picked by dragging in the plot.
#include "transform/rotation_pick.h"

#include <gtest/gtest.h>

#include "math/vector_math.h"

namespace quorix {
namespace {

TEST(RoundToFiveDegreesTest, RoundsToTheNearerMultipleAndHalfwayDown) {
  EXPECT_EQ(RoundToFiveDegrees(0), 0);
  EXPECT_EQ(RoundToFiveDegrees(2.4), 0);
  EXPECT_EQ(RoundToFiveDegrees(2.5), 0);  // halfway rounds down
  EXPECT_EQ(RoundToFiveDegrees(2.6), 5);
  EXPECT_EQ(RoundToFiveDegrees(5), 5);
  EXPECT_EQ(RoundToFiveDegrees(7), 5);
  EXPECT_EQ(RoundToFiveDegrees(7.5), 5);
  EXPECT_EQ(RoundToFiveDegrees(7.6), 10);
  EXPECT_EQ(RoundToFiveDegrees(89.9), 90);
  EXPECT_EQ(RoundToFiveDegrees(357.6), 360);
  EXPECT_EQ(RoundToFiveDegrees(-3), 0);
  EXPECT_EQ(RoundToFiveDegrees(-40), 0);
}

// The plot draws a grid direction at the inverse (transpose) of the picked
// matrix applied to it; a pick from S to E must draw S at E.
void ExpectDrawnAtEnd(double alpha1, double beta1, double alpha2, double beta2, bool round) {
  const PickedRotation r = PickRotation(alpha1, beta1, alpha2, beta2, round);
  ASSERT_TRUE(r.valid);
  const Mat3 m = AxisAngleMatrix(r.phi, r.theta, r.omega);
  Mat3 inverse{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) inverse[i][j] = m[j][i];
  if (round) {
    alpha1 = RoundToFiveDegrees(alpha1);
    beta1 = RoundToFiveDegrees(beta1);
    alpha2 = RoundToFiveDegrees(alpha2);
    beta2 = RoundToFiveDegrees(beta2);
  }
  const Vec3 drawn = MatVec(inverse, DirectionToVector(alpha1, beta1));
  const Vec3 end = DirectionToVector(alpha2, beta2);
  EXPECT_NEAR(drawn.x, end.x, 1e-9);
  EXPECT_NEAR(drawn.y, end.y, 1e-9);
  EXPECT_NEAR(drawn.z, end.z, 1e-9);
}

TEST(PickRotationTest, AxisIsTheNormalOfStartAndEndAndAngleBetweenThem) {
  // S and E in the X-Z plane: the normal S x E is +Y, the angle 30 degrees.
  const PickedRotation r = PickRotation(30, 0, 60, 0, true);
  ASSERT_TRUE(r.valid);
  EXPECT_NEAR(r.theta, 90, 1e-9);
  EXPECT_NEAR(r.phi, 90, 1e-9);
  EXPECT_NEAR(r.omega, 30, 1e-9);
  ExpectDrawnAtEnd(30, 0, 60, 0, true);
}

TEST(PickRotationTest, NormalInTheUpperHemisphereIsFoldedAndTheAngleNegated) {
  // From Y to X the normal is -Z; folded it is +Z, which turns the other way.
  const PickedRotation r = PickRotation(90, 90, 90, 0, true);
  ASSERT_TRUE(r.valid);
  EXPECT_NEAR(r.theta, 0, 1e-9);
  EXPECT_NEAR(r.omega, -90, 1e-9);
  ExpectDrawnAtEnd(90, 90, 90, 0, true);
}

TEST(PickRotationTest, AnglesAreRoundedToFiveDegreesUnlessAskedNotTo) {
  const PickedRotation rounded = PickRotation(31, 1, 58, 2, true);  // 30/0 to 60/0
  EXPECT_NEAR(rounded.omega, 30, 1e-9);
  const PickedRotation exact = PickRotation(31, 0, 58, 0, false);
  EXPECT_NEAR(exact.omega, 27, 1e-9);
}

TEST(PickRotationTest, CoincidingDirectionsGiveNoRotation) {
  EXPECT_FALSE(PickRotation(40, 120, 40, 120, false).valid);
  EXPECT_FALSE(PickRotation(31, 119, 29, 121, true).valid);  // both 30/120 once rounded
  EXPECT_FALSE(PickRotation(0, 10, 0, 200, false).valid);    // the centre has one direction
}

TEST(PickRotationTest, EveryDragDrawsTheStartAtTheEnd) {
  ExpectDrawnAtEnd(20, 45, 70, 200, true);
  ExpectDrawnAtEnd(85, 10, 40, 300, false);
  ExpectDrawnAtEnd(0, 0, 60, 135, true);
  // Shorter than 5 degrees and longer than 175: the sign test must not be
  // fooled by the size of the turn.
  ExpectDrawnAtEnd(5, 0, 5, 5, true);
  ExpectDrawnAtEnd(30, 10, 31, 12, false);
  ExpectDrawnAtEnd(89, 0, 89, 179, false);
  ExpectDrawnAtEnd(85, 0, 85, 180, true);
}

TEST(FormatPickFieldsTest, OneDecimalWithoutNegativeZero) {
  const PickFields f = FormatPickFields(PickedRotation{true, 359.96, 12.345, -0.04});
  EXPECT_EQ(f.phi, "360.0");
  EXPECT_EQ(f.theta, "12.3");
  EXPECT_EQ(f.alpha, "0.0");
  const PickFields g = FormatPickFields(PickedRotation{true, 90, 45.06, -123.44});
  EXPECT_EQ(g.phi, "90.0");
  EXPECT_EQ(g.theta, "45.1");
  EXPECT_EQ(g.alpha, "-123.4");
}

}  // namespace
}  // namespace quorix
