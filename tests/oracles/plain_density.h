// Density pole figures by every direction against every grid point, in
// direction order: what the search and the weight table of AddDensity are held
// to, and the time the benchmarks compare them with.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "math/vector_math.h"
#include "transform/density.h"

namespace quorix::test {

inline void AddDensityByPlainLoop(PoleFigure& pf, const std::vector<Vec3>& directions, double fwhm) {
  const DensityKernel kernel = MakeDensityKernel(fwhm);
  const int n = pf.CircleCount;
  std::vector<std::vector<Vec3>> points(static_cast<std::size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) {
    const int count = pf.CirclePoints[i];
    for (int k = 1; k <= count; ++k) points[i].push_back(DirectionToVector(pf.Alpha[i], BetaOf(pf, i, k)));
  }
  for (const Vec3& v : directions)
    for (int i = 1; i <= n; ++i)
      for (std::size_t k = 0; k < points[i].size(); ++k) {
        const Vec3& g = points[i][k];
        const double d = ArcCosClamped(std::fabs(v.x * g.x + v.y * g.y + v.z * g.z));
        if (d <= kernel.cutoff) pf.Intensity[i][k + 1] += std::exp(-kernel.q * d * d);
      }
}

}  // namespace quorix::test
