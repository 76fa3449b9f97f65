// The double loop of Gaussian smoothing over every pair of points, in circle
// order: the values the smoothing paths are held to, and the time the
// benchmarks compare them with.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "math/vector_math.h"
#include "transform/radial_kernel.h"
#include "transform/smoothing.h"
#include "transform/smoothing_kernel.h"

namespace quorix::test {

class PlainSmoother {
 public:
  // With a table, the weights are looked up there, as the loop for grids of
  // no regular shape does; every pair is still visited.
  PlainSmoother(const PoleFigure& pf, double fwhm, bool excludeNegative, const RadialKernel* table = nullptr)
      : pf_(pf),
        excludeNegative_(excludeNegative),
        table_(table),
        cutoff_(SmoothingCutoff(fwhm)),
        k_(SmoothingExponent(fwhm)),
        n_(pf.CircleCount),
        points_(static_cast<std::size_t>(n_) + 1),
        units_(static_cast<std::size_t>(n_) + 1) {
    for (int i = 1; i <= n_; ++i) {
      points_[i] = pf.CirclePoints[i];
      for (int j = 1; j <= points_[i]; ++j)
        units_[i].push_back(DirectionToVector(pf.Alpha[i], pf.BetaStart[i] + (j - 1) * pf.BetaStep[i]));
    }
  }

  double Value(int i, int j) const {
    const double own = pf_.Intensity[i][j];
    if (own == kMissing) return kMissing;
    const Vec3& u = units_[i][static_cast<std::size_t>(j) - 1];
    double w = 0, wv = 0;
    for (int h = 1; h <= n_; ++h)
      for (int m = 1; m <= points_[h]; ++m) {
        const double v = pf_.Intensity[h][m];
        if (!TakesPart(v, excludeNegative_)) continue;
        const double c = AbsDot(u, units_[h][static_cast<std::size_t>(m) - 1]);
        double weight = 0;
        if (table_) {
          if (c < table_->MinCosine()) continue;
          weight = table_->Weight(c);
        } else {
          const double d = ArcCosClamped(c);
          if (d > cutoff_) continue;
          weight = std::exp(-k_ * d * d);
        }
        w += weight;
        wv += weight * v;
      }
    return w == 0 ? own : wv / w;
  }

  // Every point of the grid.
  std::unique_ptr<IntensityTable> All() const {
    auto out = std::make_unique<IntensityTable>(pf_.Intensity.Rows(), pf_.Intensity.Cols());
    for (int i = 1; i <= n_; ++i)
      for (int j = 1; j <= points_[i]; ++j) (*out)[i][j] = Value(i, j);
    return out;
  }

 private:
  const PoleFigure& pf_;
  bool excludeNegative_;
  const RadialKernel* table_;
  double cutoff_;
  double k_;
  int n_;
  std::vector<int> points_;
  std::vector<std::vector<Vec3>> units_;
};

inline std::unique_ptr<IntensityTable> PlainSmoothed(const PoleFigure& pf, double fwhm, bool excludeNegative,
                                                     const RadialKernel* table = nullptr) {
  if (!FwhmProblem(fwhm).empty()) return nullptr;
  return PlainSmoother(pf, fwhm, excludeNegative, table).All();
}

}  // namespace quorix::test
