// The region of an inverse pole figure holds an equivalent of every crystal
// direction under the Laue group and Friedel's law, and its corners lie on it.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "texture/odf_results.h"
#include "texture/orientation.h"

namespace quorix {
namespace {

// Whether (alpha, beta) lies in the region: beta within the outline's range
// and alpha no farther out than the outline at that beta.
bool Inside(const InverseSectorShape& s, double alpha, double beta) {
  double lo = 360, hi = 0;
  for (const auto& [a, b] : s.outline) {
    lo = std::min(lo, b);
    hi = std::max(hi, b);
  }
  if (hi - lo >= 358) return alpha <= 90 + 1e-6;
  if (beta < lo - 1e-6 || beta > hi + 1e-6) return false;
  double rim = 90;
  for (std::size_t k = 1; k + 1 < s.outline.size(); ++k)
    if (s.outline[k].second <= beta + 1e-9 && beta <= s.outline[k + 1].second + 1e-9) {
      const double t = (beta - s.outline[k].second) / std::max(s.outline[k + 1].second - s.outline[k].second, 1e-9);
      rim = s.outline[k].first + t * (s.outline[k + 1].first - s.outline[k].first);
    }
  return alpha <= rim + 0.05;
}

TEST(InverseSector, HoldsEveryDirectionOnceUpToSymmetry) {
  std::mt19937 random(7);
  std::normal_distribution<double> normal;
  for (int gi = 0; gi <= static_cast<int>(LaueGroup::Cubic); ++gi) {
    const auto g = static_cast<LaueGroup>(gi);
    SCOPED_TRACE(LaueGroupName(g));
    const InverseSectorShape s = InverseSectorOutline(g);
    for (const auto& c : s.corners) EXPECT_TRUE(Inside(s, c.alpha, c.beta)) << c.indices;
    for (int n = 0; n < 300; ++n) {
      const Vec3 v = Normalized(Vec3{normal(random), normal(random), normal(random)});
      bool found = false;
      for (const Mat3& r : ProperRotations(g))
        for (double sign : {1.0, -1.0}) {
          const Vec3 u = MatVec(r, v);
          const Vec3 w{u.x * sign, u.y * sign, u.z * sign};
          if (w.z < 0) continue;
          double beta = std::atan2(w.y, w.x) * 180 / kPi;
          if (beta < 0) beta += 360;
          found = found || Inside(s, std::acos(std::min(w.z, 1.0)) * 180 / kPi, beta);
        }
      EXPECT_TRUE(found);
      if (!found) break;
    }
  }
}

}  // namespace
}  // namespace quorix
