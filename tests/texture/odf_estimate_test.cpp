// The estimator against model textures whose ODF and pole figures are exact.
#include <gtest/gtest.h>

#include <cmath>

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

// 2.5-degree cells from 5-degree pole figures: some axis cells no path crosses
// take the value of the cells they are one orientation with.
TEST(OdfEstimate, CellsFinerThanTheMeasuredGridStillEstimate) {
  const auto m = test::RollingTexture();
  const auto estimate = test::EstimateFromModel(m, CubicLattice(), {{1, 1, 1}, {2, 0, 0}, {2, 2, 0}}, 2.5);
  ASSERT_TRUE(estimate);
  for (const double v : estimate->odf.values) ASSERT_TRUE(std::isfinite(v) && v > 0);
  for (const PoleFigureFit& fit : estimate->fits) EXPECT_LE(fit.rp, 3.0);
}

// Near Phi = 0 (and 180) only phi1 + phi2 (phi1 - phi2) is seen; the cells
// grouped there must be one orientation on the axis, and no axis cell left out.
TEST(OdfEstimate, AxisCellsAreGroupedByTheOrientationTheyTendTo) {
  const struct {
    LaueGroup crystal;
    SampleSymmetry sample;
    std::size_t axisCells, groups;
  } cases[] = {{LaueGroup::Triclinic, SampleSymmetry::Triclinic, 2 * 36 * 36, 72},
               {LaueGroup::Cubic, SampleSymmetry::Orthorhombic, 9 * 9, 5},
               {LaueGroup::Hexagonal, SampleSymmetry::Monoclinic, 18 * 6, 6}};
  for (const auto& c : cases) {
    std::string error;
    const auto grid = MakeOdfGrid(c.crystal, c.sample, 10, error);
    ASSERT_TRUE(grid) << error;
    const SymmetryOps ops = MakeSymmetryOps(c.crystal, c.sample);
    const auto onAxis = [&](std::size_t cell) {
      Euler e = CellCentre(*grid, cell);
      e.Phi = e.Phi < 90 ? 0 : 180;
      return EulerToMatrix(e);
    };
    const auto groups = AxisCellGroups(*grid, ops);
    std::size_t cells = 0;
    for (const auto& g : groups) {
      cells += g.size();
      for (const std::size_t other : g) {
        double least = 180;
        for (const Mat3& s : ops.sample)
          for (const Mat3& k : ops.crystal)
            least = std::min(least, MisorientationAngle(onAxis(g[0]), MatMul(MatMul(s, onAxis(other)), k)));
        EXPECT_LT(least, 1e-6) << LaueGroupName(c.crystal);
      }
    }
    EXPECT_EQ(groups.size(), c.groups) << LaueGroupName(c.crystal);
    EXPECT_EQ(cells, c.axisCells) << LaueGroupName(c.crystal);
  }
}

}  // namespace
}  // namespace quorix
