// Smoothing on a regular grid (every circle a full turn of the same number of
// equally spaced points) by circular convolution along beta.
#pragma once

#include <atomic>
#include <cmath>
#include <complex>
#include <memory>
#include <vector>

#include "math/vector_math.h"
#include "transform/smoothing.h"

namespace quorix {

// The kernel row of axis a against the n points of a circle: row[s] the
// weight of points[s], zero beyond the cut-off and at the shifts put in
// `ties`, where rounding could decide the membership (within
// RadialKernel::kTieBand of the cut-off, or at the arc cosine's clamp) and
// the caller decides pair by pair. `exact`: every pair of the two circles has
// the dot product of its row entry (one of them lies on the axis), so the row
// decides all. True when some entry is not zero.
bool KernelRow(const Vec3& a, const Vec3* points, int n, double cutoff, double k, bool exact, std::vector<double>& row,
               std::vector<int>& ties);

// All points of the circle are the pole itself, as the plain loop's vectors have it.
bool OnAxis(const Vec3* points, int n);

// Circles first..CircleCount are full turns of the same n (4 to kMaxPoints)
// equally spaced points at finite tilts: the weights depend on the shift alone.
bool FullTurnsOfEqualPoints(const PoleFigure& grid, int first);

// The weight of point (h, m) for point (i, j) depends only on (i, h, (m - j)
// mod n): one kernel row per circle pair, built once, turns each pair's
// contribution into a circular correlation, done by FFT for the weighted
// values and, separately, for the weights of the valid points (missing and
// excluded points are masked out of both). Kernel entries whose membership
// rounding could decide (within RadialKernel::kTieBand of the cut-off, or at
// the arc cosine's clamp) are left out of the rows and added pair by pair from
// the pairs' own vectors, as the plain loop decides them. Points whose valid
// neighbours hold less than 1% of the full weight are recomputed by the plain
// sum, so a point without valid neighbours keeps its value as there.
class RegularGridSmoother {
 public:
  static bool Applies(const PoleFigure& grid);

  // cutoff in radians, weight exp(-k d^2); threads 0: one per core.
  RegularGridSmoother(const PoleFigure& grid, double cutoff, double k, int threads);
  ~RegularGridSmoother();
  RegularGridSmoother(const RegularGridSmoother&) = delete;
  RegularGridSmoother& operator=(const RegularGridSmoother&) = delete;

  // False when `cancel` was set before the last circle. threads 0: one per core.
  bool Smooth(const PoleFigure& pf, bool excludeNegative, IntensityTable& out, const CircleProgress& progress,
              int threads, const std::atomic<bool>* cancel = nullptr) const;

 private:
  struct Pair {
    int h;                 // 0-based circle
    std::size_t spectrum;  // offset of its conjugated kernel spectrum in spectra_
  };
  struct Tie {
    int j, h, m;  // 0-based
    double w;
  };

  const Vec3& Unit(int i, int j) const { return units_[static_cast<std::size_t>(i) * n_ + j]; }
  // No point of circle h lies within the cut-off of circle i otherwise; the
  // margin is far above the snapping of the vectors.
  bool InReach(int i, int h) const {
    const double reach = cutoff_ + 1e-3;
    return std::fabs(polar_[i] - polar_[h]) <= reach || std::fabs(polar_[i] - (kPi - polar_[h])) <= reach;
  }
  void BuildCircle(int i);
  double PlainValue(const PoleFigure& pf, bool excludeNegative, int i, int j) const;

  int circles_ = 0;
  int n_ = 0;
  int bins_ = 0;  // n / 2 + 1
  double cutoff_ = 0;
  double k_ = 0;
  std::vector<Vec3> units_;
  std::vector<double> polar_;
  std::vector<char> onAxis_;
  std::vector<std::vector<Pair>> pairs_;
  struct FreeSpectra {
    void operator()(std::complex<double>* p) const;
  };
  std::unique_ptr<std::complex<double>[], FreeSpectra> spectra_;
  std::vector<std::size_t> firstSpectrum_;  // of each circle's, and the end
  std::vector<std::vector<Tie>> ties_;      // per circle, by point
  std::vector<double> fullWeight_;
  void* forward_ = nullptr;   // fftw_plan
  void* backward_ = nullptr;  // fftw_plan
};

}  // namespace quorix
