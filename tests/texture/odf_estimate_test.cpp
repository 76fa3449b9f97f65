// The estimator against model textures whose ODF and pole figures are exact.
#include <gtest/gtest.h>

#include "texture/model_texture.h"

namespace quorix {
namespace {

void ExpectRecovered(const test::ModelTexture& m, const Lattice& lattice, const std::vector<std::array<int, 3>>& hkls) {
  const auto estimate = test::EstimateFromModel(m, lattice, hkls, 5);
  ASSERT_TRUE(estimate);
  const test::RecoveryScores s = test::ScoreRecovery(m, lattice, hkls, *estimate);
  EXPECT_LE(s.maxRp, 3.0);
  EXPECT_LE(s.maxRecalcError, 5.0);
  EXPECT_LE(s.textureIndexError, 5.0);
  EXPECT_LE(s.maxFractionError, 0.01);
  EXPECT_LE(s.odfError, 25.0);
}

TEST(OdfEstimate, RecoversARollingTexture) {
  ExpectRecovered(test::RollingTexture(), CubicLattice(), {{1, 1, 1}, {2, 0, 0}, {2, 2, 0}});
}

TEST(OdfEstimate, RecoversARecrystallisationTexture) {
  ExpectRecovered(test::RecrystallisationTexture(), CubicLattice(), {{1, 1, 1}, {2, 0, 0}, {2, 2, 0}});
}

TEST(OdfEstimate, RecoversASplitBasalTexture) {
  ExpectRecovered(test::SplitBasalTexture(), Lattice{3.21, 3.21, 5.21, 90, 90, 120}, {{0, 0, 2}, {1, 0, 0}, {1, 0, 1}});
}

}  // namespace
}  // namespace quorix
