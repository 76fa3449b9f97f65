// Smoothing on regular grids: kernel rows per circle pair, convolved along
// beta by FFTW.
#include "transform/smoothing_fft.h"

#include <fftw3.h>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <new>

#include "transform/circle_tasks.h"

namespace quorix {

namespace {

// FFTW's planner is not thread-safe; executing a plan is.
std::mutex& PlannerMutex() {
  static std::mutex mutex;
  return mutex;
}

// Below this share of the full kernel weight the rounding of the FFT sums
// could show in the mean; such points take the plain sum.
constexpr double kDirectShare = 0.01;

// The kernel spectra of a fine grid run to tens of MB. In huge pages their
// first touches, which dominated the set-up, take a fraction of the faults.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::complex<double>* AllocateSpectra(std::size_t count) {
  const std::size_t bytes = std::max<std::size_t>(count, 1) * sizeof(std::complex<double>);
  if (bytes < kHugePage) {
    void* p = std::malloc(bytes);
    if (!p) throw std::bad_alloc();
    return static_cast<std::complex<double>*>(p);
  }
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* p = std::aligned_alloc(kHugePage, rounded);
  if (!p) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
  madvise(p, rounded, MADV_HUGEPAGE);  // advice only: without it, ordinary pages
#endif
  return static_cast<std::complex<double>*>(p);
}

}  // namespace

void RegularGridSmoother::FreeSpectra::operator()(std::complex<double>* p) const { std::free(p); }

bool RegularGridSmoother::Applies(const PoleFigure& grid) { return FullTurnsOfEqualPoints(grid, 1); }

RegularGridSmoother::RegularGridSmoother(const PoleFigure& grid, double cutoff, double k, int threads)
    : circles_(grid, 1, cutoff, k, threads), bins_(circles_.Points() / 2 + 1) {
  const int count = circles_.Count();
  const int n = circles_.Points();
  pairs_.resize(count);
  ties_.resize(count);
  // Room for a spectrum per circle pair within reach, each circle's together.
  firstSpectrum_.assign(count + 1, 0);
  for (int i = 0; i < count; ++i) {
    int reached = 0;
    for (int h = 0; h < count; ++h) reached += circles_.InReach(i, h) ? 1 : 0;
    firstSpectrum_[i + 1] = firstSpectrum_[i] + static_cast<std::size_t>(reached) * bins_;
  }
  spectra_.reset(AllocateSpectra(firstSpectrum_[count]));
  fullWeight_.assign(count, 0.0);
  {
    std::vector<double> real(n);
    std::vector<std::complex<double>> spectrum(bins_);
    auto* r = real.data();
    auto* c = reinterpret_cast<fftw_complex*>(spectrum.data());
    const std::lock_guard lock(PlannerMutex());
    forward_ = fftw_plan_dft_r2c_1d(n, r, c, FFTW_ESTIMATE | FFTW_UNALIGNED);
    backward_ = fftw_plan_dft_c2r_1d(n, c, r, FFTW_ESTIMATE | FFTW_UNALIGNED);
  }
  RunCircleTasks(count, threads, [this](int i) { BuildCircle(i); });
}

RegularGridSmoother::~RegularGridSmoother() {
  const std::lock_guard lock(PlannerMutex());
  fftw_destroy_plan(static_cast<fftw_plan>(forward_));
  fftw_destroy_plan(static_cast<fftw_plan>(backward_));
}

// The kernel rows of target circle i against every circle within reach.
void RegularGridSmoother::BuildCircle(int i) {
  std::vector<double> row(circles_.Points());
  std::vector<int> tieShifts;
  std::vector<TiePair>& ties = ties_[i];
  std::size_t offset = firstSpectrum_[i];
  for (int h = 0; h < circles_.Count(); ++h) {
    if (!circles_.InReach(i, h)) continue;
    const bool any = circles_.Row(i, h, row, tieShifts, ties);
    for (double w : row) fullWeight_[i] += w;
    if (!any) continue;
    std::complex<double>* spectrum = spectra_.get() + offset;
    fftw_execute_dft_r2c(static_cast<fftw_plan>(forward_), row.data(), reinterpret_cast<fftw_complex*>(spectrum));
    // Correlation, not convolution: the conjugate.
    for (int f = 0; f < bins_; ++f) spectrum[f] = std::conj(spectrum[f]);
    pairs_[i].push_back({h, offset});
    offset += bins_;
  }
  std::stable_sort(ties.begin(), ties.end(), [](const TiePair& x, const TiePair& y) { return x.j < y.j; });
}

// The plain loop's sum for one point, over the circles within reach.
double RegularGridSmoother::PlainValue(const PoleFigure& pf, bool excludeNegative, int i, int j) const {
  const double own = pf.Intensity[i + 1][j + 1];
  const Vec3& u = circles_.Unit(i, j);
  double w = 0, wv = 0;
  for (int h = 0; h < circles_.Count(); ++h) {
    if (!circles_.InReach(i, h)) continue;
    for (int m = 0; m < circles_.Points(); ++m) {
      const double v = pf.Intensity[h + 1][m + 1];
      if (!TakesPart(v, excludeNegative)) continue;
      const double d = ArcCosClamped(AbsDot(u, circles_.Unit(h, m)));
      if (d > circles_.Cutoff()) continue;
      const double weight = circles_.Weight(d);
      w += weight;
      wv += weight * v;
    }
  }
  return w == 0 ? own : wv / w;
}

bool RegularGridSmoother::Smooth(const PoleFigure& pf, bool excludeNegative, IntensityTable& out,
                                 const CircleProgress& progress, int threads, const std::atomic<bool>* cancel) const {
  const int count = circles_.Count();
  const int n = circles_.Points();
  // The FFT's rounding grows with the size of the values; taking their mean
  // off first leaves it to their spread.
  double sum = 0;
  long valid = 0;
  for (int h = 0; h < count; ++h)
    for (int m = 0; m < n; ++m) {
      const double v = pf.Intensity[h + 1][m + 1];
      if (TakesPart(v, excludeNegative)) {
        sum += v;
        ++valid;
      }
    }
  const double centre = valid > 0 ? sum / static_cast<double>(valid) : 0.0;

  const auto forward = static_cast<fftw_plan>(forward_);
  const auto backward = static_cast<fftw_plan>(backward_);
  const std::size_t bins = static_cast<std::size_t>(bins_);
  std::vector<std::complex<double>> values(count * bins), weights(count * bins);
  RunCircleTasks(count, threads, [&](int h) {
    std::vector<double> real(n), mask(n);
    for (int m = 0; m < n; ++m) {
      const double v = pf.Intensity[h + 1][m + 1];
      const bool takes = TakesPart(v, excludeNegative);
      real[m] = takes ? v - centre : 0.0;
      mask[m] = takes ? 1.0 : 0.0;
    }
    fftw_execute_dft_r2c(forward, real.data(), reinterpret_cast<fftw_complex*>(values.data() + h * bins));
    fftw_execute_dft_r2c(forward, mask.data(), reinterpret_cast<fftw_complex*>(weights.data() + h * bins));
  });

  const auto smoothCircle = [&](int i) {
    // Plain arithmetic on the parts: std::complex's product checks for
    // infinities on every multiplication.
    std::vector<double> accV(2 * bins), accW(2 * bins);
    std::vector<double> sv(n), sw(n);
    for (const Pair& pair : pairs_[i]) {
      const double* k = reinterpret_cast<const double*>(spectra_.get() + pair.spectrum);
      const double* v = reinterpret_cast<const double*>(values.data() + pair.h * bins);
      const double* w = reinterpret_cast<const double*>(weights.data() + pair.h * bins);
      for (std::size_t f = 0; f < 2 * bins; f += 2) {
        accV[f] += k[f] * v[f] - k[f + 1] * v[f + 1];
        accV[f + 1] += k[f] * v[f + 1] + k[f + 1] * v[f];
        accW[f] += k[f] * w[f] - k[f + 1] * w[f + 1];
        accW[f + 1] += k[f] * w[f + 1] + k[f + 1] * w[f];
      }
    }
    fftw_execute_dft_c2r(backward, reinterpret_cast<fftw_complex*>(accV.data()), sv.data());
    fftw_execute_dft_c2r(backward, reinterpret_cast<fftw_complex*>(accW.data()), sw.data());
    const double scale = 1.0 / n;
    for (int j = 0; j < n; ++j) {
      sv[j] *= scale;
      sw[j] *= scale;
    }
    for (const TiePair& t : ties_[i]) {
      const double v = pf.Intensity[t.h + 1][t.m + 1];
      if (!TakesPart(v, excludeNegative)) continue;
      sw[t.j] += t.w;
      sv[t.j] += t.w * (v - centre);
    }
    const double thin = kDirectShare * fullWeight_[i];
    for (int j = 0; j < n; ++j) {
      const double own = pf.Intensity[i + 1][j + 1];
      if (own == kMissing)
        out[i + 1][j + 1] = kMissing;
      else if (!(sw[j] >= thin))
        out[i + 1][j + 1] = PlainValue(pf, excludeNegative, i, j);
      else
        out[i + 1][j + 1] = centre + sv[j] / sw[j];
    }
  };
  return RunCircleTasks(count, threads, smoothCircle, progress, cancel);
}

}  // namespace quorix
