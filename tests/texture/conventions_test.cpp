// Euler angles, symmetry groups, the reduced region and Miller indices.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "texture/odf.h"
#include "texture/symmetry.h"

namespace quorix {
namespace {

Vec3 Apply(const Euler& e, const Vec3& h) { return MatVec(EulerToMatrix(e), h); }

void ExpectNear(const Vec3& a, const Vec3& b) {
  EXPECT_NEAR(a.x, b.x, 1e-3);
  EXPECT_NEAR(a.y, b.y, 1e-3);
  EXPECT_NEAR(a.z, b.z, 1e-3);
}

TEST(TextureConventions, IdealOrientationsPutTheirAxesWhereTheirNamesSay) {
  const double s = std::sqrt(0.5);
  // Goss {110}<100>, Brass {110}<112>, Copper {112}<111>.
  ExpectNear(Apply({0, 45, 0}, {1, 0, 0}), {1, 0, 0});
  ExpectNear(Apply({0, 45, 0}, {0, s, s}), {0, 0, 1});
  ExpectNear(Apply({35.26, 45, 0}, {0, s, s}), {0, 0, 1});
  ExpectNear(Apply({35.26, 45, 0}, Normalized({2, -1, 1})), {1, 0, 0});
  ExpectNear(Apply({90, 35.26, 45}, Normalized({1, 1, 2})), {0, 0, 1});
  ExpectNear(Apply({90, 35.26, 45}, Normalized({1, 1, -1})), {-1, 0, 0});
}

TEST(TextureConventions, EulerAnglesSurviveTheMatrixAndBack) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  for (int k = 0; k < 200; ++k) {
    const Euler e{360 * u(rng), 1 + 178 * u(rng), 360 * u(rng)};
    const Euler back = MatrixToEuler(EulerToMatrix(e));
    EXPECT_LT(MisorientationAngle(EulerToMatrix(e), EulerToMatrix(back)), 1e-6);
    EXPECT_NEAR(back.Phi, e.Phi, 1e-6);
  }
}

TEST(TextureConventions, GroupsHaveTheirOrdersAndNames) {
  const std::pair<const char*, std::size_t> orders[] = {{"-1", 1},     {"2/m", 2},  {"mmm", 4},   {"4/m", 4},
                                                        {"4/mmm", 8},  {"-3", 3},   {"-3m", 6},   {"6/m", 6},
                                                        {"6/mmm", 12}, {"m-3", 12}, {"cubic", 24}};
  for (const auto& [name, order] : orders) {
    const auto g = LaueGroupNamed(name);
    ASSERT_TRUE(g) << name;
    EXPECT_EQ(ProperRotations(*g).size(), order) << name;
    EXPECT_EQ(LaueGroupNamed(LaueGroupName(*g)), g);
  }
  EXPECT_EQ(LaueGroupOfBeartexCode(7), LaueGroup::Cubic);
  EXPECT_EQ(LaueGroupOfBeartexCode(9), LaueGroup::Trigonal);
  EXPECT_FALSE(LaueGroupOfBeartexCode(12));
  EXPECT_FALSE(LaueGroupNamed("cubical"));
  EXPECT_EQ(ProperRotations(SampleSymmetry::Orthorhombic).size(), 4u);
}

// Every orientation has an equivalent in the region, for all 33 pairs of symmetries.
TEST(TextureConventions, ReducedRegionHoldsEveryOrientation) {
  std::mt19937 rng(11);
  std::normal_distribution<double> n;
  for (int c = 0; c <= static_cast<int>(LaueGroup::Cubic); ++c)
    for (SampleSymmetry s : {SampleSymmetry::Triclinic, SampleSymmetry::Monoclinic, SampleSymmetry::Orthorhombic}) {
      const auto group = static_cast<LaueGroup>(c);
      const EulerRegion region = RegionFor(group, s);
      const SymmetryOps ops = MakeSymmetryOps(group, s);
      for (int k = 0; k < 300; ++k) {
        // A uniformly random rotation from a random unit quaternion.
        double q[4] = {n(rng), n(rng), n(rng), n(rng)};
        const double len = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
        for (double& v : q) v /= len;
        const auto [w, x, y, z] = std::tuple(q[0], q[1], q[2], q[3]);
        const Mat3 g{{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
                      {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
                      {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}}};
        bool found = false;
        for (const Mat3& sm : ops.sample)
          for (const Mat3& cm : ops.crystal) {
            const Euler e = MatrixToEuler(MatMul(MatMul(sm, g), cm));
            found = found || (e.phi1 < region.phi1Max && e.Phi <= region.PhiMax && e.phi2 < region.phi2Max);
          }
        ASSERT_TRUE(found) << LaueGroupName(group) << " / " << SampleSymmetryName(s);
      }
    }
}

TEST(TextureConventions, MillerIndicesAreReadOrRefused) {
  std::string error;
  EXPECT_EQ(ParseMiller("1 1 1", LaueGroup::Cubic, error), (std::array<int, 3>{1, 1, 1}));
  EXPECT_EQ(ParseMiller("2,0,0", LaueGroup::Cubic, error), (std::array<int, 3>{2, 0, 0}));
  EXPECT_EQ(ParseMiller("10-11", LaueGroup::Hexagonal, error), (std::array<int, 3>{1, 0, 1}));
  EXPECT_EQ(ParseMiller("1 0 -1 0", LaueGroup::Trigonal, error), (std::array<int, 3>{1, 0, 0}));
  EXPECT_FALSE(ParseMiller("0 0 0", LaueGroup::Cubic, error));
  EXPECT_EQ(error, "The Miller indices \"0 0 0\" are all zero.");
  EXPECT_FALSE(ParseMiller("1 0 1 0", LaueGroup::Hexagonal, error));
  EXPECT_EQ(error, "In \"1 0 1 0\" the third index must be -h-k = -1.");
  EXPECT_FALSE(ParseMiller("1 0 -1 0", LaueGroup::Cubic, error));
  EXPECT_EQ(error, "Four indices \"1 0 -1 0\" need a trigonal or hexagonal crystal, not cubic.");
  EXPECT_FALSE(ParseMiller("a b c", LaueGroup::Cubic, error));
}

TEST(TextureConventions, PlaneNormalsComeFromTheReciprocalLattice) {
  const Lattice hex{3.21, 3.21, 5.21, 90, 90, 120};
  ExpectNear(PlaneNormal({0, 0, 1}, hex), {0, 0, 1});
  // a* is normal to a2: 30 degrees from a1 towards y.
  ExpectNear(PlaneNormal({1, 0, 0}, hex), {std::sqrt(0.75), 0.5, 0});
  // (10-11): |a*| / |c*| = 2c / (sqrt(3) a) is the tangent of its angle to c.
  const Vec3 n = PlaneNormal({1, 0, 1}, hex);
  EXPECT_NEAR(RadToDeg(std::acos(n.z)), RadToDeg(std::atan(2 * 5.21 / (std::sqrt(3.0) * 3.21))), 1e-6);
  std::string error;
  EXPECT_FALSE(ParseLattice("1,1,1,90,90", error));
  EXPECT_FALSE(ParseLattice("1,1,0,90,90,90", error));
  EXPECT_TRUE(ParseLattice("4.9,5.4,5.4,90,90,120", error));
}

}  // namespace
}  // namespace quorix
