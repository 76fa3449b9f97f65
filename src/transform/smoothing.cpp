// Gaussian smoothing on the sphere: the entry that picks the path by the
// grid's shape, and the pruned loop with its radial table for grids of no
// regular shape.
#include "transform/smoothing.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "base/text_file.h"
#include "math/vector_math.h"
#include "record/levels.h"
#include "record/prepare.h"
#include "record/statistics.h"
#include "transform/interpolation.h"
#include "transform/radial_kernel.h"
#include "transform/smoothing_centre.h"
#include "transform/smoothing_fft.h"
#include "transform/smoothing_kernel.h"

namespace quorix {

namespace {

// Angular slack of the loop's reach, in radians. The snapping of unit
// vector components moves a computed distance by at most about 3.5e-6 / sin d,
// and ArcCosClamped calls every distance below 1.41e-3 zero; both stay well
// inside this, so no point within the cut-off is ever skipped.
constexpr double kSlack = 5e-3;

struct IndexRange {
  int first = 0;
  int last = 0;
};

// Sums the terms in circle order, as the double loop over every pair would,
// leaving out only points that lie certainly beyond the cut-off from the
// point and from its antipode before their distance is computed.
class Smoother {
 public:
  Smoother(const PoleFigure& pf, double fwhm, bool excludeNegative, const RadialKernel& table)
      : pf_(pf), excludeNegative_(excludeNegative), table_(table) {
    n_ = pf.CircleCount;
    cols_ = static_cast<std::size_t>(pf.Intensity.Cols());
    units_.resize(static_cast<std::size_t>(pf.Intensity.Rows()) * cols_);
    for (int i = 1; i <= n_; ++i) {
      points_[i] = pf.CirclePoints[i];
      for (int j = 1; j <= points_[i]; ++j)
        units_[Index(i, j)] = DirectionToVector(pf.Alpha[i], pf.BetaStart[i] + (j - 1) * pf.BetaStep[i]);
    }
    PrepareReach(SmoothingCutoff(fwhm));
  }

  int Circles() const { return n_; }
  int PointsOn(int i) const { return points_[i]; }

  double Value(int i, int j, std::vector<IndexRange>& ranges) const {
    const double own = pf_.Intensity[i][j];
    if (own == kMissing) return kMissing;
    const Vec3& u = units_[Index(i, j)];
    const double theta = circleTheta_[i];
    const double phi = circleBase_[i] + (j - 1) * pf_.BetaStep[i];
    const double st = circleSin_[i];
    const double ct = circleCos_[i];
    const Pole poles[2] = {{theta, phi, st, ct}, {kPi - theta, phi + 180.0, st, -ct}};
    Sums s;
    if (!limitedReach_) {
      for (int h = 1; h <= n_; ++h) AddRange(u, h, 1, points_[h], s);
      return s.Mean(own);
    }
    for (int h = 1; h <= n_; ++h) {
      ranges.clear();
      bool whole = false;
      for (const Pole& p : poles) {
        if (std::fabs(p.theta - circleTheta_[h]) > reach_) continue;
        if (!AddWindow(p, h, ranges)) {
          whole = true;
          break;
        }
      }
      if (whole) {
        AddRange(u, h, 1, points_[h], s);
        continue;
      }
      if (ranges.empty()) continue;
      std::sort(ranges.begin(), ranges.end(),
                [](const IndexRange& x, const IndexRange& y) { return x.first < y.first; });
      int next = 1;  // first index not yet summed
      for (const IndexRange& r : ranges) {
        const int first = std::max(r.first, next);
        if (first > r.last) continue;
        AddRange(u, h, first, r.last, s);
        next = r.last + 1;
      }
    }
    return s.Mean(own);
  }

 private:
  struct Sums {
    double w = 0;
    double wv = 0;
    // A point whose neighbourhood holds no value that may take part keeps
    // its own value.
    double Mean(double own) const { return w == 0 ? own : wv / w; }
  };
  struct Pole {
    double theta;  // radians
    double phi;    // degrees
    double sinTheta;
    double cosTheta;
  };

  std::size_t Index(int i, int j) const { return static_cast<std::size_t>(i) * cols_ + static_cast<std::size_t>(j); }

  // A point whose axis lies certainly outside the reach (by its cosine) is
  // passed over before its weight is looked up.
  void AddRange(const Vec3& u, int h, int first, int last, Sums& s) const {
    const std::span<const double> row = pf_.Intensity[h];
    const double minCosine = std::max(minCosine_, table_.MinCosine());
    for (int m = first; m <= last; ++m) {
      const double v = row[m];
      if (!TakesPart(v, excludeNegative_)) continue;
      const double c = AbsDot(u, units_[Index(h, m)]);
      if (c < minCosine) continue;
      const double w = table_.Weight(c);
      s.w += w;
      s.wv += w * v;
    }
  }

  // Polar angle and azimuth origin of each circle as its unit vectors have
  // them (a negative alpha puts the points half a turn round).
  void PrepareReach(double cutoff) {
    reach_ = cutoff + kSlack;
    limitedReach_ = std::isfinite(reach_) && reach_ < kPi / 2;
    minCosine_ = limitedReach_ ? std::cos(reach_) : -1.0;
    for (int h = 1; h <= n_; ++h) {
      const double a = DegToRad(pf_.Alpha[h]);
      circleTheta_[h] = std::acos(std::clamp(std::cos(a), -1.0, 1.0));
      circleSin_[h] = std::sin(circleTheta_[h]);
      circleCos_[h] = std::cos(circleTheta_[h]);
      circleBase_[h] = pf_.BetaStart[h] + (std::sin(a) < 0 ? 180.0 : 0.0);
    }
  }

  // Adds the index ranges of circle h that may lie within reach of pole p.
  // Returns false when the whole circle has to be taken.
  bool AddWindow(const Pole& p, int h, std::vector<IndexRange>& ranges) const {
    const double s = p.sinTheta * circleSin_[h];
    if (!(s > 1e-9)) return false;  // the pole or the circle sits on the axis
    const double q = (minCosine_ - p.cosTheta * circleCos_[h]) / s;
    if (!(q > -1)) return false;
    const double halfWidth = RadToDeg(std::acos(std::min(q, 1.0)) + kSlack);
    const double step = pf_.BetaStep[h];
    const int count = points_[h];
    const double base = circleBase_[h];
    if (!(step > 0) || !std::isfinite(step) || !(std::fabs(base) < 1e6) || !(std::fabs(p.phi) < 1e6) ||
        halfWidth >= 180)
      return false;
    const double span = (count - 1) * step;
    const double lo = p.phi - halfWidth;
    const double hi = p.phi + halfWidth;
    const double kFirst = std::floor((base - hi) / 360.0) - 1;
    const double kLast = std::ceil((base + span - lo) / 360.0) + 1;
    if (!(kLast - kFirst <= 8) || !(span < 1e6)) return false;
    // Whole turns, at most nine: counted as integers.
    for (int turn = 0; turn <= static_cast<int>(kLast - kFirst); ++turn) {
      const double t = kFirst + turn;
      const double from = lo + 360.0 * t - base;
      const double to = hi + 360.0 * t - base;
      if (to < -step || from > span + step) continue;
      // One index of padding on each side against rounding of the division.
      const double firstIndex = std::max(1.0, std::ceil(from / step));
      const double lastIndex = std::min(static_cast<double>(count), std::floor(to / step) + 2);
      if (firstIndex > lastIndex) continue;
      const int first = static_cast<int>(firstIndex);
      const int last = static_cast<int>(lastIndex);
      ranges.push_back({first, last});
    }
    return true;
  }

  const PoleFigure& pf_;
  bool excludeNegative_;
  const RadialKernel& table_;
  int n_ = 0;
  std::size_t cols_ = 0;  // of the unit vector table, as of Intensity
  std::array<int, kMaxGridRows> points_{};
  std::vector<Vec3> units_;
  double reach_ = 0;
  bool limitedReach_ = false;
  std::array<double, kMaxGridRows> circleTheta_{};
  std::array<double, kMaxGridRows> circleBase_{};
  std::array<double, kMaxGridRows> circleSin_{};
  std::array<double, kMaxGridRows> circleCos_{};
  double minCosine_ = -1.0;
};

struct PointRef {
  int i;
  int j;
};

bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(std::memory_order_relaxed); }

bool RunPruned(const Smoother& sm, IntensityTable& out, const CircleProgress& progress, int threads,
               const std::atomic<bool>* cancel) {
  std::vector<PointRef> work;
  for (int i = 1; i <= sm.Circles(); ++i)
    for (int j = 1; j <= sm.PointsOn(i); ++j) work.push_back({i, j});
  std::vector<std::atomic<int>> remaining(static_cast<std::size_t>(kMaxGridRows));
  for (int i = 1; i <= sm.Circles(); ++i) remaining[static_cast<std::size_t>(i)].store(sm.PointsOn(i));

  constexpr std::size_t kChunk = 16;
  std::atomic<std::size_t> next{0};
  const auto work_on_chunks = [&](bool reportProgress, int& reported) {
    std::vector<IndexRange> ranges;
    ranges.reserve(16);
    while (!Cancelled(cancel)) {
      const std::size_t begin = next.fetch_add(kChunk);
      if (begin >= work.size()) break;
      const std::size_t end = std::min(work.size(), begin + kChunk);
      for (std::size_t w = begin; w < end; ++w) {
        const PointRef p = work[w];
        out[p.i][p.j] = sm.Value(p.i, p.j, ranges);
        remaining[static_cast<std::size_t>(p.i)].fetch_sub(1, std::memory_order_acq_rel);
      }
      if (reportProgress && progress) {
        while (reported < sm.Circles() && !Cancelled(cancel) &&
               remaining[static_cast<std::size_t>(reported) + 1].load() == 0) {
          ++reported;
          progress();
        }
      }
    }
  };

  int helpers = threads > 0 ? threads - 1 : static_cast<int>(std::thread::hardware_concurrency()) - 1;
  helpers = std::clamp(helpers, 0, 63);
  if (work.size() < 64) helpers = 0;
  int reported = 0;
  {
    std::vector<std::jthread> pool;
    pool.reserve(static_cast<std::size_t>(helpers));
    for (int t = 0; t < helpers; ++t)
      pool.emplace_back([&] {
        int unused = 0;
        work_on_chunks(false, unused);
      });
    work_on_chunks(true, reported);
  }  // joins the helpers
  // The helpers may have finished circles the calling thread never saw; a
  // cancel from those late reports still counts.
  if (progress)
    while (reported < sm.Circles() && !Cancelled(cancel)) {
      ++reported;
      progress();
    }
  return !Cancelled(cancel);
}

}  // namespace

struct SmoothingPlan::Impl {
  double fwhm = 0;
  int circles = 0;
  std::array<double, kMaxGridRows> alpha{}, betaStart{}, betaStep{};
  std::array<int, kMaxGridRows> points{};
  std::unique_ptr<RegularGridSmoother> regular;  // or else
  std::unique_ptr<CentreGridSmoother> centred;   // or else
  std::unique_ptr<RadialKernel> radial;
};

SmoothingPlan::SmoothingPlan(const PoleFigure& grid, double fwhm, int threads) : impl_(std::make_unique<Impl>()) {
  impl_->fwhm = fwhm;
  impl_->circles = grid.CircleCount;
  for (int i = 1; i <= impl_->circles; ++i) {
    impl_->alpha[i] = grid.Alpha[i];
    impl_->betaStart[i] = grid.BetaStart[i];
    impl_->betaStep[i] = grid.BetaStep[i];
    impl_->points[i] = grid.CirclePoints[i];
  }
  if (RegularGridSmoother::Applies(grid))
    impl_->regular =
        std::make_unique<RegularGridSmoother>(grid, SmoothingCutoff(fwhm), SmoothingExponent(fwhm), threads);
  else if (CentreGridSmoother::Applies(grid))
    impl_->centred =
        std::make_unique<CentreGridSmoother>(grid, SmoothingCutoff(fwhm), SmoothingExponent(fwhm), threads);
  else
    impl_->radial = std::make_unique<RadialKernel>(SmoothingCutoff(fwhm), SmoothingExponent(fwhm));
}

SmoothingPlan::~SmoothingPlan() = default;

bool SmoothingPlan::Fits(const PoleFigure& pf, double fwhm) const {
  if (fwhm != impl_->fwhm || pf.CircleCount != impl_->circles) return false;
  for (int i = 1; i <= impl_->circles; ++i)
    if (pf.Alpha[i] != impl_->alpha[i] || pf.BetaStart[i] != impl_->betaStart[i] ||
        pf.BetaStep[i] != impl_->betaStep[i] || pf.CirclePoints[i] != impl_->points[i])
      return false;
  return true;
}

std::unique_ptr<IntensityTable> SmoothingPlan::Smooth(const PoleFigure& pf, bool excludeNegative,
                                                      const CircleProgress& progress, int threads,
                                                      const std::atomic<bool>* cancel) const {
  auto out = std::make_unique<IntensityTable>(pf.Intensity.Rows(), pf.Intensity.Cols());
  if (impl_->regular) {
    if (!impl_->regular->Smooth(pf, excludeNegative, *out, progress, threads, cancel)) return nullptr;
  } else if (impl_->centred) {
    if (!impl_->centred->Smooth(pf, excludeNegative, *out, progress, threads, cancel)) return nullptr;
  } else {
    const Smoother sm(pf, impl_->fwhm, excludeNegative, *impl_->radial);
    if (!RunPruned(sm, *out, progress, threads, cancel)) return nullptr;
  }
  return out;
}

const SmoothingPlan& SmoothingPlans::For(const PoleFigure& pf, double fwhm, int threads) {
  if (!last_ || !last_->Fits(pf, fwhm)) {
    last_.reset();  // its memory first: a fine grid's kernel runs to tens of MB
    last_ = std::make_unique<SmoothingPlan>(pf, fwhm, threads);
  }
  return *last_;
}

std::unique_ptr<IntensityTable> SmoothedIntensities(const PoleFigure& pf, double fwhm, bool excludeNegative,
                                                    const CircleProgress& progress, int threads,
                                                    const std::atomic<bool>* cancel, SmoothingPlans* plans) {
  if (!FwhmProblem(fwhm).empty()) return nullptr;
  if (plans) return plans->For(pf, fwhm, threads).Smooth(pf, excludeNegative, progress, threads, cancel);
  return SmoothingPlan(pf, fwhm, threads).Smooth(pf, excludeNegative, progress, threads, cancel);
}

std::optional<double> SpinWidth(std::string_view text, bool up) {
  const std::optional<double> typed = ParseNumber(Trim(text));
  if (!typed) return std::nullopt;
  return up ? std::min(*typed + 1, kSpinMaxWidth) : std::max(*typed - 1, kSpinMinWidth);
}

void DropLevelsAboveMaximum(PoleFigure& pf, bool showMrd) {
  const double top = showMrd ? pf.MaxValue / pf.NormFactor : pf.MaxValue;
  pf.LevelCount = std::clamp(pf.LevelCount, 0, kMaxLevels);
  for (int i = pf.LevelCount; i >= 1; --i)
    if (pf.Level[i] > top) --pf.LevelCount;
}

bool SmoothPoleFigure(PoleFigure& pf, const SmoothingSettings& settings, bool showMrd, const CircleProgress& progress,
                      int threads, const std::atomic<bool>* cancel, SmoothingPlans* plans) {
  const auto smoothed =
      SmoothedIntensities(pf, settings.fwhm, settings.excludeNegative, progress, threads, cancel, plans);
  if (!smoothed) return false;
  // The smoothed table has the shape of the record's.
  for (int i = 1; i <= pf.CircleCount; ++i) {
    const std::span<double> to = CircleValues(pf, i);
    std::copy_n((*smoothed)[i].begin() + 1, to.size(), to.begin());
  }
  RefreshMirrorCircles(pf);

  UpdateExtremes(pf);
  UpdateStatistics(pf);
  if (settings.keepLevels)
    DropLevelsAboveMaximum(pf, showMrd);
  else
    AutoLevels(pf, showMrd, true, kMaxLevels);
  pf.LowestLevel = LowestLevelOf(pf, showMrd);
  return true;
}

}  // namespace quorix
