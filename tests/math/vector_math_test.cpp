// Tests of directions, vectors, rotation matrices and rotation lists.
#include "math/vector_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorix {
namespace {

constexpr double kTol = 1e-9;

void ExpectVec(const Vec3& v, double x, double y, double z, double tol = kTol) {
  EXPECT_NEAR(v.x, x, tol);
  EXPECT_NEAR(v.y, y, tol);
  EXPECT_NEAR(v.z, z, tol);
}

void ExpectMat(const Mat3& a, const Mat3& b, double tol = 1e-12) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(a[i][j], b[i][j], tol) << i << "," << j;
}

TEST(ArcCosClampedTest, ClampsNearOneAndMatchesAcosInside) {
  EXPECT_EQ(ArcCosClamped(0.9999995), 0.0);
  EXPECT_EQ(ArcCosClamped(1.5), 0.0);
  EXPECT_EQ(ArcCosClamped(-0.9999995), 3.141592653589793);
  for (double x : {-0.99, -0.5, 0.0, 0.3, 0.99}) EXPECT_NEAR(ArcCosClamped(x), std::acos(x), 1e-12);
}

TEST(DirectionToVectorTest, AxisDirectionsAreExact) {
  for (double beta : {0.0, 33.0, 180.0, 359.0}) {
    const Vec3 v = DirectionToVector(0, beta);
    EXPECT_EQ(v.x, 0.0);
    EXPECT_EQ(v.y, 0.0);
    EXPECT_EQ(v.z, 1.0);
  }
  const Vec3 x = DirectionToVector(90, 0);
  EXPECT_EQ(x.x, 1.0);
  EXPECT_EQ(x.y, 0.0);
  EXPECT_EQ(x.z, 0.0);
  const Vec3 y = DirectionToVector(90, 90);
  EXPECT_EQ(y.x, 0.0);
  EXPECT_EQ(y.y, 1.0);
  EXPECT_EQ(y.z, 0.0);
}

TEST(VectorToDirectionTest, SpecialVectors) {
  Direction d = VectorToDirection({0, 0, 1});
  EXPECT_EQ(d.alpha, 0.0);
  EXPECT_EQ(d.beta, 90.0);
  EXPECT_TRUE(d.inLower);

  d = VectorToDirection({0, -1, 0});
  EXPECT_NEAR(d.alpha, 90.0, kTol);
  EXPECT_EQ(d.beta, 270.0);

  d = VectorToDirection({0, 0, -1});
  EXPECT_EQ(d.alpha, 0.0);
  EXPECT_EQ(d.beta, 270.0);
  EXPECT_FALSE(d.inLower);

  d = VectorToDirection({-1, 0, 0});
  EXPECT_NEAR(d.beta, 180.0, kTol);
  EXPECT_NEAR(d.alpha, 90.0, kTol);
}

TEST(VectorToDirectionTest, TinyNegativeAzimuthWrapsInsteadOfSnapping) {
  // atan(y/x) of about -1e-7 degrees: the range correction comes first.
  const double y = -DegToRad(1e-7);
  const Direction d = VectorToDirection({std::sqrt(1 - y * y), y, 0});
  EXPECT_NEAR(d.beta, 359.9999999, 1e-9);
}

TEST(VectorToDirectionTest, FoldsUpperHemisphereOntoAntipode) {
  const Direction d = VectorToDirection(DirectionToVector(120, 10));
  EXPECT_NEAR(d.alpha, 60.0, kTol);
  EXPECT_NEAR(d.beta, 190.0, kTol);
  EXPECT_FALSE(d.inLower);
}

TEST(VectorToDirectionTest, RoundTripThroughVector) {
  for (double alpha : {5.0, 30.0, 45.0, 89.0})
    for (double beta : {1.0, 45.0, 135.0, 200.0, 300.0, 359.0}) {
      const Direction d = VectorToDirection(DirectionToVector(alpha, beta));
      EXPECT_NEAR(d.alpha, alpha, 1e-6);
      EXPECT_NEAR(d.beta, beta, 1e-6);
      EXPECT_TRUE(d.inLower);
    }
}

TEST(AxisRotationMatrixTest, TurnsAxesCounterClockwise) {
  ExpectVec(RotateAboutAxis({0, 1, 0}, 'X', 90), 0, 0, 1);
  ExpectVec(RotateAboutAxis({0, 0, 1}, 'y', 90), 1, 0, 0);
  ExpectVec(RotateAboutAxis({1, 0, 0}, 'Z', 90), 0, 1, 0);
  ExpectMat(AxisRotationMatrix('z', 0), IdentityMatrix());
}

TEST(MatMulTest, ComposesRotations) {
  const Mat3 a = AxisRotationMatrix('Z', 30);
  const Mat3 b = AxisRotationMatrix('Z', 60);
  ExpectMat(MatMul(a, b), AxisRotationMatrix('Z', 90));
  const Mat3 c = MatMul(AxisRotationMatrix('X', 90), AxisRotationMatrix('Z', 90));
  // Z first, then X: x -> y -> z.
  ExpectVec(MatVec(c, {1, 0, 0}), 0, 0, 1);
}

TEST(AngleAndNormalTest, AngleBetween) {
  EXPECT_NEAR(AngleBetween({1, 0, 0}, {0, 2, 0}), kPi / 2, 1e-12);
  EXPECT_NEAR(AngleBetween({1, 1, 0}, {1, 0, 0}), kPi / 4, 1e-12);
  EXPECT_NEAR(AngleBetween({1, 0, 0}, {-3, 0, 0}), kPi, 1e-12);
  EXPECT_EQ(AngleBetween({0, 0, 0}, {1, 0, 0}), 0.0);
}

TEST(AngleAndNormalTest, UnitNormal) {
  Vec3 n{7, 7, 7};
  EXPECT_FALSE(UnitNormal({1, 0, 0}, {2, 0, 0}, n));
  EXPECT_TRUE(UnitNormal({1, 0, 0}, {0, 1, 0}, n));
  ExpectVec(n, 0, 0, 1, 0);
  EXPECT_TRUE(UnitNormal({2, 0, 0}, {1, 0, 3}, n));
  ExpectVec(n, 0, -1, 0);
}

TEST(AngleAndNormalTest, AntiparallelAndNullVectorsHaveNoNormal) {
  Vec3 n{7, 7, 7};
  EXPECT_FALSE(UnitNormal({1, 0, 0}, {-1, 0, 0}, n));
  EXPECT_FALSE(UnitNormal({0, 0, 0}, {0, 1, 0}, n));
  ExpectVec(n, 7, 7, 7, 0);
}

TEST(AxisAngleTest, ZeroAngleIsIdentity) {
  ExpectMat(AxisAngleMatrix(37, 51, 0), IdentityMatrix());
  const AxisAngle r = MatrixToAxisAngle(IdentityMatrix());
  EXPECT_EQ(r.phi, 0.0);
  EXPECT_EQ(r.theta, 0.0);
  EXPECT_EQ(r.omega, 0.0);
}

TEST(AxisAngleTest, TurnsByMinusOmegaAboutTheAxis) {
  // About z by 90: with the transposed sign, x goes to -y.
  const Mat3 m = AxisAngleMatrix(0, 0, 90);
  ExpectVec(MatVec(m, {1, 0, 0}), 0, -1, 0);
  ExpectMat(m, AxisRotationMatrix('Z', -90));
}

TEST(AxisAngleTest, MatrixToAxisAngleInvertsAxisAngleMatrix) {
  for (double phi : {0.0, 40.0, 135.0, 300.0})
    for (double theta : {10.0, 45.0, 80.0})
      for (double omega : {5.0, 90.0, 170.0}) {
        const AxisAngle r = MatrixToAxisAngle(AxisAngleMatrix(phi, theta, omega));
        EXPECT_NEAR(r.phi, phi, 1e-6);
        EXPECT_NEAR(r.theta, theta, 1e-6);
        EXPECT_NEAR(r.omega, omega, 1e-6);
      }
}

TEST(AxisAngleTest, AxisInUpperHemisphereComesBackFoldedWithNegativeAngle) {
  const AxisAngle r = MatrixToAxisAngle(AxisAngleMatrix(30, 120, 50));
  EXPECT_NEAR(r.theta, 60, 1e-6);
  EXPECT_NEAR(r.phi, 210, 1e-6);
  EXPECT_NEAR(r.omega, -50, 1e-6);
  ExpectMat(AxisAngleMatrix(r.phi, r.theta, r.omega), AxisAngleMatrix(30, 120, 50), 1e-9);
}

TEST(AxisAngleTest, HalfTurnWithRoundingBelowMinusOneStaysFinite) {
  Mat3 m{{{-1 - 1e-15, 0, 0}, {0, -1 - 1e-15, 0}, {0, 0, 1}}};
  AxisAngle r = MatrixToAxisAngle(m);  // half turn about z
  EXPECT_EQ(r.omega, 180.0);
  EXPECT_NEAR(r.theta, 0, 1e-6);
  m = Mat3{{{1, 0, 0}, {0, -1, 0}, {0, 0, -1 - 1e-15}}};
  r = MatrixToAxisAngle(m);  // half turn about x
  EXPECT_TRUE(std::isfinite(r.phi));
  EXPECT_NEAR(r.theta, 90, 1e-6);
  EXPECT_EQ(r.omega, 180.0);
}

TEST(RotateDirectionTest, QuarterTurnAboutXDropsOrFolds) {
  const Mat3 m = AxisRotationMatrix('X', 90);
  double alpha = 45, beta = 270;
  RotateDirectionByMatrix(m, true, alpha, beta);
  EXPECT_EQ(alpha, -1.0);

  alpha = 45;
  beta = 270;
  RotateDirectionByMatrix(m, false, alpha, beta);
  EXPECT_NEAR(alpha, 45, 1e-9);
  EXPECT_NEAR(beta, 90, 1e-9);
}

TEST(RotateDirectionTest, ListAppliesEntriesInOrderAndSkipsZeroAngles) {
  RotationList list;
  AppendRotation(list, 'Z', 90);
  AppendRotation(list, 'X', 0);
  AppendRotation(list, 'X', 90);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].axis, 'Z');
  EXPECT_EQ(list[2].angle, 90.0);

  // (90, 0) = x; Z 90 -> y; X 90 -> z, the centre.
  double alpha = 90, beta = 0;
  RotateDirectionByList(list, true, alpha, beta);
  EXPECT_NEAR(alpha, 0, 1e-9);

  // Same as the product matrix, last entry leftmost.
  const Mat3 m = MatMul(AxisRotationMatrix('X', 90), AxisRotationMatrix('Z', 90));
  double a1 = 50, b1 = 20, a2 = 50, b2 = 20;
  RotateDirectionByList(list, false, a1, b1);
  RotateDirectionByMatrix(m, false, a2, b2);
  EXPECT_NEAR(a1, a2, 1e-9);
  EXPECT_NEAR(b1, b2, 1e-9);

  FreeRotations(list);
  EXPECT_TRUE(list.empty());
  alpha = 33;
  beta = 44;
  RotateDirectionByList(list, true, alpha, beta);
  EXPECT_NEAR(alpha, 33, 1e-9);
  EXPECT_NEAR(beta, 44, 1e-9);
}

}  // namespace
}  // namespace quorix
