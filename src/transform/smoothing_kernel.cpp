// Kernel rows and tie pairs of circles of equal points.
#include "transform/smoothing_kernel.h"

#include <algorithm>

#include "transform/circle_tasks.h"
#include "transform/radial_kernel.h"

namespace quorix {

bool OnAxis(const Vec3* points, int n) {
  return std::all_of(points, points + n, [](const Vec3& p) { return p.x == 0 && p.y == 0; });
}

bool KernelRow(const Vec3& a, const Vec3* points, int n, double cutoff, double k, bool exact, std::vector<double>& row,
               std::vector<int>& ties) {
  const double minCosine =
      cutoff + RadialKernel::kTieBand < kPi / 2 ? std::cos(cutoff + RadialKernel::kTieBand) - 1e-12 : -1.0;
  ties.clear();
  bool any = false;
  for (int s = 0; s < n; ++s) {
    row[s] = 0;
    const double c = AbsDot(a, points[s]);
    if (c < minCosine) continue;
    const double d = ArcCosClamped(c);
    if (!exact &&
        (std::fabs(c - RadialKernel::kClampCosine) <= 1e-10 || std::fabs(d - cutoff) <= RadialKernel::kTieBand)) {
      ties.push_back(s);
      continue;
    }
    if (d > cutoff) continue;
    row[s] = std::exp(-k * d * d);
    any = true;
  }
  return any;
}

bool FullTurnsOfEqualPoints(const PoleFigure& grid, int first) {
  const int circles = grid.CircleCount;
  if (!TablesHoldGrid(grid) || first > circles) return false;
  const int n = grid.CirclePoints[first];
  if (n < 4 || n > kMaxPoints) return false;
  for (int i = first; i <= circles; ++i) {
    const double step = grid.BetaStep[i];
    if (grid.CirclePoints[i] != n || !std::isfinite(grid.Alpha[i]) || !(std::fabs(grid.BetaStart[i]) < 1e6) ||
        !(step > 0) || std::fabs(step * n - 360) > 1e-9)
      return false;
  }
  return true;
}

EqualCircles::EqualCircles(const PoleFigure& grid, int first, double cutoff, double k, int threads)
    : count_(grid.CircleCount - first + 1), n_(grid.CirclePoints[first]), cutoff_(cutoff), k_(k) {
  units_.resize(static_cast<std::size_t>(count_) * n_);
  polar_.resize(count_);
  onAxis_.resize(count_);
  RunCircleTasks(count_, threads, [&](int c) {
    const int i = c + first;
    // The same expression as the plain loop, so the tie pairs see its vectors.
    for (int j = 0; j < n_; ++j)
      units_[static_cast<std::size_t>(c) * n_ + j] =
          DirectionToVector(grid.Alpha[i], grid.BetaStart[i] + j * grid.BetaStep[i]);
    polar_[c] = std::acos(std::clamp(Unit(c, 0).z, -1.0, 1.0));
    onAxis_[c] = OnAxis(&Unit(c, 0), n_);
  });
}

bool EqualCircles::Row(int c, int h, std::vector<double>& row, std::vector<int>& tieShifts,
                       std::vector<TiePair>& ties) const {
  const bool exact = onAxis_[c] || onAxis_[h];
  const bool any = KernelRow(Unit(c, 0), &Unit(h, 0), n_, cutoff_, k_, exact, row, tieShifts);
  for (int s : tieShifts)
    for (int j = 0; j < n_; ++j) {
      const int m = (j + s) % n_;
      const double d = ArcCosClamped(AbsDot(Unit(c, j), Unit(h, m)));
      if (d <= cutoff_) ties.push_back({j, h, m, Weight(d)});
    }
  return any;
}

}  // namespace quorix
