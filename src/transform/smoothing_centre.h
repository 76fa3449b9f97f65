// Smoothing on the usual grid of measurements: one point at alpha 0 and
// around it circles that are each a full turn of the same number of equally
// spaced points.
#pragma once

#include <atomic>
#include <vector>

#include "transform/smoothing.h"
#include "transform/smoothing_kernel.h"

namespace quorix {

// As on a regular grid, the weight of point (h, m) for point (i, j) of two
// such circles depends only on (i, h, (m - j) mod n): one kernel row per
// circle pair, cut to the shifts it reaches. The rows are applied by direct
// multiply-add of masked values, so missing and excluded points drop out as
// in the plain loop and no transform adds its rounding. The centre point lies
// at the same distance from every point of a circle, as the plain loop
// computes it too: one weight per circle, exact. Kernel entries whose
// membership rounding could decide are added pair by pair, as on regular
// grids.
class CentreGridSmoother {
 public:
  static bool Applies(const PoleFigure& grid);

  // cutoff in radians, weight exp(-k d^2); threads 0: one per core.
  CentreGridSmoother(const PoleFigure& grid, double cutoff, double k, int threads);

  // False when `cancel` was set before the last circle.
  bool Smooth(const PoleFigure& pf, bool excludeNegative, IntensityTable& out, const CircleProgress& progress,
              int threads, const std::atomic<bool>* cancel = nullptr) const;

 private:
  // Rings are circles 2.. of the grid, 0-based here.
  struct Row {
    int ring;
    int first;   // shift of the first weight
    int length;  // shifts first .. first + length - 1, modulo n
    std::size_t offset;
  };

  void BuildRing(int r);

  EqualCircles rings_;
  std::vector<double> centreWeight_;  // the centre and any point of a ring; 0 beyond the cut-off
  std::vector<std::vector<Row>> rows_;
  std::vector<std::vector<double>> weights_;
  std::vector<std::vector<TiePair>> ties_;
};

}  // namespace quorix
