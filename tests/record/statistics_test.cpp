// Tests of extremes, circle lookup, interpolation, normalisation, the
// orientation tensor and its eigen decomposition.
#include "record/statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "test_support.h"

namespace quorix {
namespace {

// Circles at 0, step, ..., last degrees with 72 points of 5 degrees each.
void FillGrid(PoleFigure& pf, double alphaStep, double lastAlpha,
              const std::function<double(double alpha, double beta)>& f) {
  const int n = static_cast<int>(std::lround(lastAlpha / alphaStep)) + 1;
  pf.CircleCount = n;
  for (int i = 1; i <= n; ++i) {
    pf.Alpha[i] = (i - 1) * alphaStep;
    pf.BetaStart[i] = 0;
    pf.BetaStep[i] = 5;
    pf.CirclePoints[i] = 72;
  }
  SizeTablesToGrid(pf);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= 72; ++j) pf.Intensity[i][j] = f(pf.Alpha[i], (j - 1) * 5.0);
}

// The sampling scheme, rebuilt from its definition: ring k at
// arccos(1 - ((k-1)/20)^2) with 6(k-1) samples, 1 at the centre, 60 at the rim.
struct Sample {
  double alpha, beta;
};
std::vector<Sample> SamplingDirections() {
  std::vector<Sample> s;
  for (int k = 1; k <= 21; ++k) {
    const double r = (k - 1) / 20.0;
    const double alpha = std::acos(1 - r * r) * 180 / M_PI;
    const int m = k == 1 ? 1 : (k == 21 ? 60 : 6 * (k - 1));
    for (int e = 0; e < m; ++e) s.push_back({alpha, e * 360.0 / m});
  }
  return s;
}

// The stored ring angles carry seven decimals, the sums here the exact
// angles: results agree to about 1e-9 relative.
constexpr double kRingTol = 1e-7;

struct Expected {
  double mean = 0;
  double txx = 0, tyy = 0, tzz = 0;
};
// Mean and diagonal of the w^2-weighted tensor for an intensity that depends
// only on alpha (its off-diagonal part cancels by symmetry).
Expected ExpectedFor(const std::function<double(double)>& f, double maxAlpha = 90.0) {
  Expected e;
  int count = 0;
  for (const Sample& s : SamplingDirections()) {
    if (s.alpha > maxAlpha) continue;
    const double w = f(s.alpha);
    const double a = s.alpha * M_PI / 180, b = s.beta * M_PI / 180;
    const double x = std::sin(a) * std::cos(b), y = std::sin(a) * std::sin(b), z = std::cos(a);
    e.mean += w;
    e.txx += w * w * x * x;
    e.tyy += w * w * y * y;
    e.tzz += w * w * z * z;
    ++count;
  }
  e.mean /= count;
  return e;
}

void ExpectRecordFinite(const PoleFigure& pf) {
  EXPECT_TRUE(std::isfinite(pf.NormFactor));
  for (int k = 1; k <= 3; ++k) {
    EXPECT_TRUE(std::isfinite(pf.Eigenvalue[k])) << k;
    EXPECT_TRUE(std::isfinite(pf.EigenAlpha[k])) << k;
    EXPECT_TRUE(std::isfinite(pf.EigenBeta[k])) << k;
    EXPECT_GE(pf.EigenAlpha[k], 0);
    EXPECT_LE(pf.EigenAlpha[k], 90);
    EXPECT_GE(pf.EigenBeta[k], 0);
    EXPECT_LT(pf.EigenBeta[k], 360);
  }
}

// ---------------------------------------------------------------- extremes

TEST(UpdateExtremesTest, FirstValueSmallestWithNonMonotonicValues) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double a, double b) { return 5 + std::sin(a + b); });
  pf->Intensity[1][1] = 1;
  pf->Intensity[7][10] = 9;
  pf->Intensity[9][3] = 9;  // a later tie does not move the maximum
  pf->Intensity[4][4] = kMissing;
  pf->Intensity[0][5] = 100;  // mirror circles are not scanned
  pf->Intensity[20][5] = -50;
  UpdateExtremes(*pf);
  EXPECT_EQ(pf->MinValue, 1);
  EXPECT_EQ(pf->MinCircle, 1);
  EXPECT_EQ(pf->MinPoint, 1);
  EXPECT_EQ(pf->MaxValue, 9);
  EXPECT_EQ(pf->MaxCircle, 7);
  EXPECT_EQ(pf->MaxPoint, 10);
}

TEST(UpdateExtremesTest, AllMissingGivesZeroMaximumAndMinusOneMinimum) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double, double) { return kMissing; });
  pf->MaxCircle = 4;
  pf->MaxPoint = 7;
  UpdateExtremes(*pf);
  EXPECT_EQ(pf->MaxValue, 0);
  EXPECT_EQ(pf->MinValue, -1.0);
  EXPECT_EQ(pf->MinCircle, 1);
  EXPECT_EQ(pf->MinPoint, 1);
  // A position that exists, not one left from earlier data (or 0, 0).
  EXPECT_EQ(pf->MaxCircle, 1);
  EXPECT_EQ(pf->MaxPoint, 1);
}

TEST(UpdateExtremesTest, CountsBeyondTheTablesNeverReachTheRecord) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  GridDescription huge;
  huge.circles.assign(5000, GridCircle{10, 0, 0.0036, 100000});
  NullSink quiet;
  EXPECT_FALSE(SetGrid(*pf, huge, "S", FileRole::Data, quiet));
  pf->Intensity[19][72] = 8;
  UpdateExtremes(*pf);
  EXPECT_EQ(pf->MaxValue, 8);
  EXPECT_EQ(pf->MaxCircle, 19);
}

// --------------------------------------------------------- circle lookup

class LocateOnCircleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pf = NewPoleFigure();
    FillGrid(*pf, 5, 90, [](double, double) { return 1; });
  }
  std::unique_ptr<PoleFigure> pf;
};

TEST_F(LocateOnCircleTest, InsideTheCircle) {
  double beta = 12;
  const CircleLocation loc = LocateOnCircle(*pf, 3, beta);
  EXPECT_EQ(loc.j, 3);
  EXPECT_EQ(loc.jn, 4);
  EXPECT_EQ(loc.beta_j, 10);
  EXPECT_EQ(loc.beta_jn, 15);
  EXPECT_EQ(beta, 12);
}

TEST_F(LocateOnCircleTest, ClosesOverTheSeam) {
  double beta = 357.5;
  CircleLocation loc = LocateOnCircle(*pf, 3, beta);
  EXPECT_EQ(loc.j, 72);
  EXPECT_EQ(loc.jn, 1);
  EXPECT_EQ(loc.beta_j, 355);
  EXPECT_EQ(loc.beta_jn, 360);

  beta = 360;
  loc = LocateOnCircle(*pf, 3, beta);
  EXPECT_EQ(loc.j, 72);
  EXPECT_EQ(loc.jn, 1);
  EXPECT_EQ(loc.beta_j, 355);
  EXPECT_EQ(loc.beta_jn, 360);

  beta = 366;  // past a full turn the index wraps, the azimuths do not
  loc = LocateOnCircle(*pf, 3, beta);
  EXPECT_EQ(loc.j, 2);
  EXPECT_EQ(loc.jn, 3);
  EXPECT_EQ(loc.beta_j, 365);
  EXPECT_EQ(loc.beta_jn, 370);
}

TEST_F(LocateOnCircleTest, BetaBelowStartIsRaisedBy360) {
  pf->BetaStart[3] = 2.5;
  double beta = 1;
  const CircleLocation loc = LocateOnCircle(*pf, 3, beta);
  EXPECT_EQ(beta, 361);
  EXPECT_EQ(loc.j, 72);
  EXPECT_EQ(loc.jn, 1);
  EXPECT_EQ(loc.beta_j, 357.5);
  EXPECT_EQ(loc.beta_jn, 362.5);
}

TEST_F(LocateOnCircleTest, PartialCircleDoesNotCoverBeyondItsEnd) {
  pf->CirclePoints[3] = 37;  // 0..180
  double beta = 200;
  EXPECT_EQ(LocateOnCircle(*pf, 3, beta).j, -1);
  beta = 100;
  EXPECT_EQ(LocateOnCircle(*pf, 3, beta).j, 21);
}

TEST_F(LocateOnCircleTest, DamagedCirclesGiveNoPoint) {
  double beta = 10;
  pf->BetaStep[3] = 0;
  EXPECT_EQ(LocateOnCircle(*pf, 3, beta).j, -1);
  pf->BetaStep[3] = -5;
  EXPECT_EQ(LocateOnCircle(*pf, 3, beta).j, -1);
  pf->BetaStep[3] = NAN;
  EXPECT_EQ(LocateOnCircle(*pf, 3, beta).j, -1);
  pf->BetaStep[3] = 5;
  pf->CirclePoints[3] = 0;
  EXPECT_EQ(LocateOnCircle(*pf, 3, beta).j, -1);
  pf->CirclePoints[3] = 72;
  EXPECT_EQ(LocateOnCircle(*pf, -1, beta).j, -1);
  EXPECT_EQ(LocateOnCircle(*pf, 92, beta).j, -1);
  pf->BetaStart[3] = 400;  // one addition of 360 does not reach the start
  EXPECT_EQ(LocateOnCircle(*pf, 3, beta).j, -1);
  pf->BetaStart[3] = 0;
  beta = 800;  // two turns on: the index would leave the circle
  EXPECT_EQ(LocateOnCircle(*pf, 3, beta).j, -1);
  beta = 1e300;
  EXPECT_EQ(LocateOnCircle(*pf, 3, beta).j, -1);
  beta = NAN;
  EXPECT_EQ(LocateOnCircle(*pf, 3, beta).j, -1);
}

TEST_F(LocateOnCircleTest, OddStepsStayInsideTheCircle) {
  pf->BetaStep[3] = 7;
  pf->CirclePoints[3] = 52;  // 364 degrees
  for (double beta = 0; beta < 720; beta += 0.37) {
    double b = beta;
    const CircleLocation loc = LocateOnCircle(*pf, 3, b);
    if (loc.j == -1) continue;
    EXPECT_GE(loc.j, 1);
    EXPECT_LE(loc.j, 52);
    EXPECT_GE(loc.jn, 1);
    EXPECT_LE(loc.jn, 52);
  }
}

// ----------------------------------------------------------- interpolation

TEST(InterpolateAtTest, LinearBetweenPointsAndCircles) {
  auto pf = NewPoleFigure();
  // Along beta the value is the point number, along alpha it grows by 100
  // per circle.
  FillGrid(*pf, 5, 90, [](double a, double b) { return a * 20 + b / 5 + 1; });
  auto v = InterpolateAt(*pf, 10, 12);
  ASSERT_TRUE(v);
  EXPECT_NEAR(*v, 200 + 3.4, 1e-12);
  v = InterpolateAt(*pf, 12.5, 12);
  ASSERT_TRUE(v);
  EXPECT_NEAR(*v, 250 + 3.4, 1e-12);
  v = InterpolateAt(*pf, 10, 357.5);  // between point 72 and point 1
  ASSERT_TRUE(v);
  EXPECT_NEAR(*v, 200 + 36.5, 1e-12);
}

TEST(InterpolateAtTest, MissingNeighbourGivesNoValue) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double, double) { return 2; });
  pf->Intensity[4][4] = kMissing;  // alpha 15, beta 15
  EXPECT_FALSE(InterpolateAt(*pf, 12, 17));
  EXPECT_FALSE(InterpolateAt(*pf, 17, 12));
  EXPECT_TRUE(InterpolateAt(*pf, 12, 22));
  EXPECT_TRUE(InterpolateAt(*pf, 22, 12));
}

TEST(InterpolateAtTest, OutsideTheMeasuredRange) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 70, [](double, double) { return 2; });
  EXPECT_TRUE(InterpolateAt(*pf, 70, 10));
  EXPECT_TRUE(InterpolateAt(*pf, 70.005, 10));  // within the tolerance
  EXPECT_FALSE(InterpolateAt(*pf, 70.02, 10));
  EXPECT_FALSE(InterpolateAt(*pf, 80, 10));
  EXPECT_FALSE(InterpolateAt(*pf, -1, 10));
}

TEST(InterpolateAtTest, MirrorCirclesExtendTheRange) {
  auto pf = NewPoleFigure();
  pf->CircleCount = 2;
  pf->InnerMirror = 1;
  pf->OuterMirror = 1;
  const double alpha[4] = {-30, 30, 60, 120};
  pf->Intensity.Resize(4, 6);
  for (int i = 0; i <= 3; ++i) {
    pf->Alpha[i] = alpha[i];
    pf->BetaStep[i] = 90;
    pf->CirclePoints[i] = 4;
    for (int j = 1; j <= 4; ++j) pf->Intensity[i][j] = i;
  }
  auto v = InterpolateAt(*pf, 0, 45);
  ASSERT_TRUE(v);
  EXPECT_NEAR(*v, 0.5, 1e-12);
  v = InterpolateAt(*pf, 90, 45);
  ASSERT_TRUE(v);
  EXPECT_NEAR(*v, 2.5, 1e-12);

  pf->InnerMirror = 0;
  pf->OuterMirror = 0;
  EXPECT_FALSE(InterpolateAt(*pf, 0, 45));
  EXPECT_FALSE(InterpolateAt(*pf, 90, 45));
}

TEST(InterpolateAtTest, SingleCircleWithoutMirrorsHasNoPair) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 0, [](double, double) { return 2; });
  EXPECT_FALSE(InterpolateAt(*pf, 0, 0));
  auto empty = NewPoleFigure();
  EXPECT_FALSE(InterpolateAt(*empty, 0, 0));
}

// ------------------------------------------------------------- statistics

TEST(UpdateStatisticsTest, UniformPoleFigureNormalisesToItsValue) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double, double) { return 250; });
  const double mean = UpdateStatistics(*pf);
  EXPECT_NEAR(pf->NormFactor, 250, 1e-9);
  EXPECT_EQ(mean, pf->NormFactor);

  const Expected e = ExpectedFor([](double) { return 250.0; });
  const double s = e.txx + e.tyy + e.tzz;
  EXPECT_NEAR(pf->Eigenvalue[1] + pf->Eigenvalue[2] + pf->Eigenvalue[3], 3, 1e-12);
  EXPECT_NEAR(pf->Eigenvalue[1], 3 * std::max(e.tzz, e.txx) / s, kRingTol);
  EXPECT_NEAR(pf->Eigenvalue[3], 3 * std::min(e.tzz, e.txx) / s, kRingTol);
  EXPECT_NEAR(pf->Eigenvalue[1], 1, 0.02);
  ExpectRecordFinite(*pf);
}

TEST(UpdateStatisticsTest, CentrePeakedPoleFigure) {
  auto pf = NewPoleFigure();
  auto f = [](double a) { return 10 - a / 10; };
  FillGrid(*pf, 5, 90, [&](double a, double) { return f(a); });
  UpdateStatistics(*pf);
  const Expected e = ExpectedFor(f);
  EXPECT_NEAR(pf->NormFactor, e.mean, kRingTol);
  const double s = e.txx + e.tyy + e.tzz;
  EXPECT_NEAR(pf->Eigenvalue[1], 3 * e.tzz / s, kRingTol);
  EXPECT_NEAR(pf->Eigenvalue[2], 3 * e.txx / s, kRingTol);
  EXPECT_NEAR(pf->Eigenvalue[3], 3 * e.tyy / s, kRingTol);
  EXPECT_NEAR(pf->EigenAlpha[1], 0, 1e-6);
  EXPECT_NEAR(pf->EigenAlpha[2], 90, 1e-6);
  EXPECT_NEAR(pf->EigenAlpha[3], 90, 1e-6);
  ExpectRecordFinite(*pf);
}

TEST(UpdateStatisticsTest, PartialPoleFigureAveragesOnlyMeasuredRings) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 70, [](double a, double) { return a; });
  UpdateStatistics(*pf);
  EXPECT_NEAR(pf->NormFactor, ExpectedFor([](double a) { return a; }, 70.01).mean, 1e-6);
}

TEST(UpdateStatisticsTest, MissingPointsAreSkipped) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double, double) { return 7; });
  pf->Intensity[5][5] = kMissing;
  pf->Intensity[19][1] = kMissing;
  UpdateStatistics(*pf);
  EXPECT_NEAR(pf->NormFactor, 7, 1e-12);
}

TEST(UpdateStatisticsTest, CentrePointIsSampledAsTwoPointCircle) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double, double) { return 4; });
  pf->CirclePoints[1] = 1;
  pf->BetaStep[1] = 0;
  pf->Intensity[1][2] = 99;
  UpdateStatistics(*pf);
  EXPECT_NEAR(pf->NormFactor, 4, 1e-12);
  EXPECT_EQ(pf->CirclePoints[1], 1);
  EXPECT_EQ(pf->BetaStep[1], 360);
  EXPECT_EQ(pf->Intensity[1][2], 4);
}

TEST(UpdateStatisticsTest, GenuineTwoPointCentreCircleKeepsItsPoints) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double, double) { return 4; });
  pf->CirclePoints[1] = 2;
  pf->BetaStep[1] = 180;
  UpdateStatistics(*pf);
  EXPECT_EQ(pf->CirclePoints[1], 2);
  EXPECT_EQ(pf->BetaStep[1], 180);
}

TEST(UpdateStatisticsTest, NothingSampledLeavesFiniteSafeValues) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 0, [](double, double) { return 3; });  // one circle, no pair
  EXPECT_EQ(UpdateStatistics(*pf), 1.0);
  EXPECT_EQ(pf->NormFactor, 1.0);
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(pf->Eigenvalue[k], 1.0);
  ExpectRecordFinite(*pf);

  auto empty = NewPoleFigure();
  UpdateStatistics(*empty);
  EXPECT_EQ(empty->NormFactor, 1.0);
  ExpectRecordFinite(*empty);

  auto missing = NewPoleFigure();
  FillGrid(*missing, 5, 90, [](double, double) { return kMissing; });
  UpdateStatistics(*missing);
  EXPECT_EQ(missing->NormFactor, 1.0);
  ExpectRecordFinite(*missing);
}

TEST(UpdateStatisticsTest, SpreadIsDefinedOnlyWithAMeaningfulNormalisation) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double, double) { return 2; });
  UpdateStatistics(*pf);
  EXPECT_EQ(pf->SampledShare, 1.0);
  EXPECT_TRUE(SpreadDefined(*pf));
  pf->NormFactor = 0;  // a difference, or never normalised
  EXPECT_FALSE(SpreadDefined(*pf));
  pf->NormFactor = -3;
  EXPECT_FALSE(SpreadDefined(*pf));
  // Tilts 0..10 reach only the first rings of the sampling directions.
  auto centre = NewPoleFigure();
  FillGrid(*centre, 5, 10, [](double, double) { return 2; });
  UpdateStatistics(*centre);
  EXPECT_GT(centre->SampledShare, 0.0);
  EXPECT_LT(centre->SampledShare, 0.05);
  EXPECT_FALSE(SpreadDefined(*centre));
}

TEST(UpdateStatisticsTest, AllZeroIntensitiesLeaveFiniteSafeValues) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double, double) { return 0; });
  UpdateStatistics(*pf);
  EXPECT_EQ(pf->NormFactor, 1.0);
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(pf->Eigenvalue[k], 1.0);
  ExpectRecordFinite(*pf);
  EXPECT_TRUE(std::isfinite(ShapeParameterT(*pf)));
  EXPECT_TRUE(std::isfinite(AnisotropyP(*pf)));
}

TEST(UpdateStatisticsTest, RimOnlyGirdleHasAVanishingEigenvalue) {
  // Only the rim samples see a value: all weighted vectors lie in z = 0.
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double a, double) { return a == 90 ? 2.0 : 0.0; });
  UpdateStatistics(*pf);
  ExpectRecordFinite(*pf);
  EXPECT_NEAR(pf->Eigenvalue[1], 1.5, 1e-9);
  EXPECT_NEAR(pf->Eigenvalue[2], 1.5, 1e-9);
  EXPECT_EQ(pf->Eigenvalue[3], 0.0);
  EXPECT_EQ(pf->EigenAlpha[3], 0.0);
  EXPECT_EQ(ShapeParameterT(*pf), 1.0);
  EXPECT_EQ(AnisotropyP(*pf), 0.0);
}

TEST(UpdateStatisticsTest, TwoRimPointsGiveARankOneTensor) {
  // Of the rim samples (every 6 degrees) only beta 0 and 180 fall on the
  // two non-zero grid points: the tensor is diag(2 w^2, 0, 0).
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double, double) { return 0.0; });
  pf->Intensity[19][1] = 3;
  pf->Intensity[19][37] = 3;
  UpdateStatistics(*pf);
  ExpectRecordFinite(*pf);
  EXPECT_NEAR(pf->NormFactor, 6.0 / 1201, 1e-15);
  EXPECT_EQ(pf->Eigenvalue[1], 3.0);
  EXPECT_EQ(pf->Eigenvalue[2], 0.0);
  EXPECT_EQ(pf->Eigenvalue[3], 0.0);
  EXPECT_NEAR(pf->EigenAlpha[1], 90, 1e-9);
  EXPECT_EQ(pf->EigenBeta[1], 0.0);
  EXPECT_EQ(ShapeParameterT(*pf), -1.0);
  EXPECT_EQ(AnisotropyP(*pf), 0.0);
}

// ---------------------------------------------------------------- Jacobi

Mat3 Transpose(const Mat3& m) {
  Mat3 t{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) t[i][j] = m[j][i];
  return t;
}

TEST(JacobiEigenTest, RecoversKnownEigenvectors) {
  const Mat3 r = AxisAngleMatrix(35, 50, 70);  // columns: the eigenvectors
  const double l[3] = {4.0, 0.5, 2.0};
  Mat3 d{};
  for (int k = 0; k < 3; ++k) d[k][k] = l[k];
  Mat3 a = MatMul(MatMul(r, d), Transpose(r));
  Mat3 v{};
  JacobiEigen(a, v);
  EXPECT_NEAR(a[0][0], 0.5, 1e-12);
  EXPECT_NEAR(a[1][1], 2.0, 1e-12);
  EXPECT_NEAR(a[2][2], 4.0, 1e-12);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (i != j) {
        EXPECT_NEAR(a[i][j], 0, 1e-12);
      }
  // Ascending order: columns 1, 2, 0 of r, each up to its sign.
  const int source[3] = {1, 2, 0};
  for (int c = 0; c < 3; ++c) {
    double dot = 0;
    for (int k = 0; k < 3; ++k) dot += v[k][c] * r[k][source[c]];
    EXPECT_NEAR(std::fabs(dot), 1, 1e-12) << c;
  }
}

TEST(JacobiEigenTest, DiagonalMatrixIsOnlySorted) {
  Mat3 a{{{3, 0, 0}, {0, 1, 0}, {0, 0, 2}}};
  Mat3 v{};
  JacobiEigen(a, v);
  EXPECT_EQ(a[0][0], 1);
  EXPECT_EQ(a[1][1], 2);
  EXPECT_EQ(a[2][2], 3);
  // The eigenvector of 1 is y, of 2 is z, of 3 is x.
  EXPECT_EQ(v[1][0], 1);
  EXPECT_EQ(v[2][1], 1);
  EXPECT_EQ(v[0][2], 1);
}

TEST(JacobiEigenTest, RepeatedEigenvaluesReconstructTheMatrix) {
  const Mat3 r = AxisAngleMatrix(200, 30, 40);
  Mat3 d{};
  d[0][0] = 2;
  d[1][1] = 2;
  d[2][2] = 5;
  const Mat3 original = MatMul(MatMul(r, d), Transpose(r));
  Mat3 a = original;
  Mat3 v{};
  JacobiEigen(a, v);
  EXPECT_NEAR(a[0][0], 2, 1e-12);
  EXPECT_NEAR(a[1][1], 2, 1e-12);
  EXPECT_NEAR(a[2][2], 5, 1e-12);
  Mat3 diag{};
  for (int k = 0; k < 3; ++k) diag[k][k] = a[k][k];
  const Mat3 back = MatMul(MatMul(v, diag), Transpose(v));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(back[i][j], original[i][j], 1e-12);
}

TEST(JacobiEigenTest, ZeroAndDamagedMatricesEndAtOnce) {
  Mat3 a{};
  Mat3 v{};
  JacobiEigen(a, v);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_EQ(v[i][j], i == j ? 1.0 : 0.0);

  Mat3 bad{{{1, NAN, 0}, {NAN, 2, 0}, {0, 0, 3}}};
  JacobiEigen(bad, v);  // must return
  Mat3 huge{{{1, 1e200, 0}, {1e200, 2, 0}, {0, 0, 3}}};
  JacobiEigen(huge, v);
  SUCCEED();
}

// ------------------------------------------------------- shape parameters

TEST(ShapeParametersTest, GirdleAndPointMaximum) {
  auto pf = NewPoleFigure();
  pf->Eigenvalue = {0, 1.4, 1.4, 0.2};
  EXPECT_EQ(ShapeParameterT(*pf), 1.0);
  pf->Eigenvalue = {0, 2.2, 0.4, 0.4};
  EXPECT_EQ(ShapeParameterT(*pf), -1.0);
}

TEST(ShapeParametersTest, GeneralValues) {
  auto pf = NewPoleFigure();
  pf->Eigenvalue = {0, 1.5, 1.0, 0.5};
  EXPECT_NEAR(ShapeParameterT(*pf), (std::log(2.0) - std::log(1.5)) / (std::log(2.0) + std::log(1.5)), 1e-12);
  const double lp = std::log(1.5), lm = std::log(0.5);
  EXPECT_NEAR(AnisotropyP(*pf), std::exp(std::sqrt(2 * (lp * lp + lm * lm))), 1e-12);
}

TEST(ShapeParametersTest, EqualAndVanishingEigenvaluesStayFinite) {
  auto pf = NewPoleFigure();
  pf->Eigenvalue = {0, 1, 1, 1};
  EXPECT_EQ(ShapeParameterT(*pf), 0.0);
  EXPECT_NEAR(AnisotropyP(*pf), 1.0, 1e-15);

  pf->Eigenvalue = {0, 1.5, 1.5, 0};
  EXPECT_EQ(ShapeParameterT(*pf), 1.0);
  EXPECT_EQ(AnisotropyP(*pf), 0.0);

  pf->Eigenvalue = {0, 3, 0, 0};
  EXPECT_EQ(ShapeParameterT(*pf), -1.0);
  EXPECT_EQ(AnisotropyP(*pf), 0.0);

  pf->Eigenvalue = {0, 0, 0, 0};
  EXPECT_EQ(ShapeParameterT(*pf), 0.0);
  EXPECT_EQ(AnisotropyP(*pf), 0.0);

  pf->Eigenvalue = {0, NAN, 1, 1};
  EXPECT_EQ(ShapeParameterT(*pf), 0.0);
  EXPECT_EQ(AnisotropyP(*pf), 0.0);
}

// ----------------------------------------------------- circle operations

TEST(ApplyCircleOperationTest, OperandPerCircleIncludingMirrors) {
  auto pf = NewPoleFigure();
  pf->CircleCount = 2;
  pf->InnerMirror = 1;
  pf->OuterMirror = 1;
  pf->Intensity.Resize(5, 6);  // a row beyond the outer mirror, to see it untouched
  for (int i = 0; i <= 4; ++i) {
    pf->Alpha[i] = -30 + 40 * i;
    pf->BetaStep[i] = 90;
    pf->CirclePoints[i] = 4;
    for (int j = 1; j <= 4; ++j) pf->Intensity[i][j] = 10;
  }
  pf->Intensity[2][3] = kMissing;
  std::array<double, kMaxGridRows> operand{};
  operand = {1, 2, 3, 4, 5};
  ApplyCircleOperation(*pf, '*', operand);
  EXPECT_EQ(pf->Intensity[0][1], 10);
  EXPECT_EQ(pf->Intensity[1][4], 20);
  EXPECT_EQ(pf->Intensity[2][1], 30);
  EXPECT_EQ(pf->Intensity[2][3], kMissing);
  EXPECT_EQ(pf->Intensity[3][2], 40);
  EXPECT_EQ(pf->Intensity[4][2], 10);  // beyond the outer mirror
  EXPECT_EQ(pf->MaxValue, 30);         // the passes ran again

  ApplyCircleOperation(*pf, '-', operand);
  EXPECT_EQ(pf->Intensity[1][4], 18);
  ApplyCircleOperation(*pf, '+', operand);
  EXPECT_EQ(pf->Intensity[1][4], 20);
  ApplyCircleOperation(*pf, '/', operand);
  EXPECT_EQ(pf->Intensity[1][4], 10);
  ApplyCircleOperation(*pf, '%', operand);
  EXPECT_EQ(pf->Intensity[1][4], 10);
}

TEST(ApplyCircleOperationTest, DivisionByZeroLeavesValues) {
  auto pf = NewPoleFigure();
  FillGrid(*pf, 5, 90, [](double, double) { return 6; });
  std::array<double, kMaxGridRows> operand{};
  ApplyCircleOperation(*pf, '/', operand);
  EXPECT_EQ(pf->Intensity[3][3], 6);
  EXPECT_EQ(pf->MaxValue, 6);
  ExpectRecordFinite(*pf);
}

}  // namespace
}  // namespace quorix
