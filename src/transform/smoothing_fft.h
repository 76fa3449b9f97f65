// Smoothing on a regular grid (every circle a full turn of the same number of
// equally spaced points) by circular convolution along beta.
#pragma once

#include <atomic>
#include <complex>
#include <memory>
#include <vector>

#include "transform/smoothing.h"
#include "transform/smoothing_kernel.h"

namespace quorix {

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

  void BuildCircle(int i);
  double PlainValue(const PoleFigure& pf, bool excludeNegative, int i, int j) const;

  EqualCircles circles_;
  int bins_ = 0;  // n / 2 + 1
  std::vector<std::vector<Pair>> pairs_;
  struct FreeSpectra {
    void operator()(std::complex<double>* p) const;
  };
  std::unique_ptr<std::complex<double>[], FreeSpectra> spectra_;
  std::vector<std::size_t> firstSpectrum_;  // of each circle's, and the end
  std::vector<std::vector<TiePair>> ties_;  // per circle, by point
  std::vector<double> fullWeight_;
  void* forward_ = nullptr;   // fftw_plan
  void* backward_ = nullptr;  // fftw_plan
};

}  // namespace quorix
