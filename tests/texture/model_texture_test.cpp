// The model textures agree with the conventions: a pole figure is the mean of
// f over the fibre g h = r (and -r), and an ODF's Haar mean is 1.
#include "texture/model_texture.h"

#include <gtest/gtest.h>

#include <cmath>

#include "texture/odf.h"

namespace quorix {
namespace {

double FibreMean(const test::ModelTexture& m, const Vec3& h, const Vec3& r) {
  constexpr int kSteps = 720;
  double sum = 0;
  for (double sign : {1.0, -1.0}) {
    const Mat3 qr = RotationTakingZTo(r);
    const Mat3 qh = Transposed(RotationTakingZTo({sign * h.x, sign * h.y, sign * h.z}));
    for (int k = 0; k < kSteps; ++k)
      sum += test::ModelOdf(m, MatMul(MatMul(qr, AxisRotationMatrix('Z', (k + 0.5) * 360.0 / kSteps)), qh));
  }
  return sum / (2 * kSteps);
}

TEST(ModelTexture, PoleFigureIsTheFibreMeanOfTheOdf) {
  const Lattice hex{3.21, 3.21, 5.21, 90, 90, 120};
  const struct {
    test::ModelTexture model;
    std::array<int, 3> hkl;
    Lattice lattice;
  } cases[] = {{test::RollingTexture(), {1, 1, 1}, CubicLattice()},
               {test::RecrystallisationTexture(), {2, 0, 0}, CubicLattice()},
               {test::SplitBasalTexture(), {1, 0, 1}, hex}};
  for (const auto& c : cases) {
    const Vec3 h = PlaneNormal(c.hkl, c.lattice);
    for (const auto& [alpha, beta] : {std::pair{0.0, 0.0}, {35.0, 20.0}, {55.0, 45.0}, {80.0, 130.0}}) {
      const Vec3 r = DirectionToVector(alpha, beta);
      EXPECT_NEAR(test::ModelPoleFigure(c.model, h, r), FibreMean(c.model, h, r), 2e-3) << alpha << " " << beta;
    }
  }
}

TEST(ModelTexture, OdfHasHaarMeanOne) {
  std::string error;
  const auto grid = MakeOdfGrid(LaueGroup::Cubic, SampleSymmetry::Orthorhombic, 2.5, error);
  ASSERT_TRUE(grid) << error;
  EXPECT_NEAR(OdfMean(test::ModelCellValues(test::RollingTexture(), *grid)), 1.0, 0.01);
}

}  // namespace
}  // namespace quorix
