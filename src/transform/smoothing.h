// Gaussian smoothing of a pole figure on the sphere: every valid intensity
// becomes the Gaussian-weighted mean of the valid intensities around its axis.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "record/pole_figure.h"

namespace quorix {

struct SmoothingSettings {
  double fwhm = 5;               // degrees; the weight falls to 1/2 at this distance
  bool excludeNegative = false;  // negative intensities take part in no mean
  bool keepLevels = true;        // drop levels above the new maximum instead of recomputing
};

// The weighted mean of a point sums, over every valid point in circle order,
// exp(-k d^2) for its axis distance d up to the cut-off of four widths. The
// weights are looked up instead of computing an arc cosine and an
// exponential per pair, by the grid's shape: on a regular grid (every circle
// a full turn of the same number of points) as kernel rows per circle pair
// convolved along beta by FFT; on such a grid with a single point at alpha 0
// instead of its first circle by the same rows applied directly; on other
// grids in a radial table, inside a loop that passes over the points
// certainly beyond the cut-off and spreads the points over threads. Measured
// against the double loop over every pair, by the larger of its value and the
// mean absolute value, the result stays within 1e-12 on regular grids and
// 1e-13 on others for widths of a few grid steps (7e-14 on a regular 1-degree
// grid and 5e-15 on one with a centre point, at FWHM 5); the rounding of the
// weights grows as 1 / FWHM^2 for narrower kernels.
// The values do not depend on the number of threads.

// Called on the calling thread once per finished circle, in circle order.
using CircleProgress = std::function<void()>;

// Smoothed values of circles 1..CircleCount, indexed and sized like Intensity.
using IntensityTable = GridTable<double>;

// The kernel of one grid and width, built once and used for every pole
// figure on that grid. Holds on a regular 1-degree grid a few MB per degree
// of width.
class SmoothingPlan {
 public:
  // `threads` 0 means one per core for the set-up.
  SmoothingPlan(const PoleFigure& grid, double fwhm, int threads = 0);
  ~SmoothingPlan();
  SmoothingPlan(const SmoothingPlan&) = delete;
  SmoothingPlan& operator=(const SmoothingPlan&) = delete;

  // Same circles, angles, point counts and width.
  bool Fits(const PoleFigure& pf, double fwhm) const;
  // The smoothed values of pf, which must fit; nullptr when `cancel` turned
  // true before the end.
  std::unique_ptr<IntensityTable> Smooth(const PoleFigure& pf, bool excludeNegative,
                                         const CircleProgress& progress = {}, int threads = 0,
                                         const std::atomic<bool>* cancel = nullptr) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The plan of the last grid and width, kept by whoever smooths several pole
// figures ("Smooth all", the desktop program between commands), so that the
// kernel is built once for them.
class SmoothingPlans {
 public:
  const SmoothingPlan& For(const PoleFigure& pf, double fwhm, int threads = 0);

 private:
  std::unique_ptr<SmoothingPlan> last_;
};

// The weighted means alone, without touching pf. `threads` 0 means one per
// core. Without `plans`, the kernel is built for this call alone. Returns
// nullptr when the width is below kMinFwhm or not finite, or when `cancel`
// (set by the caller, typically from `progress`) turned true before the end.
std::unique_ptr<IntensityTable> SmoothedIntensities(const PoleFigure& pf, double fwhm, bool excludeNegative,
                                                    const CircleProgress& progress = {}, int threads = 0,
                                                    const std::atomic<bool>* cancel = nullptr,
                                                    SmoothingPlans* plans = nullptr);

// Smooths pf in place and brings it up to date: mirror circles, extremes,
// statistics and the contour levels (kept and trimmed, or recomputed as after
// loading, in the unit `showMrd` selects). Returns false, with pf unchanged,
// when the width is refused (FwhmProblem) or the work was cancelled.
bool SmoothPoleFigure(PoleFigure& pf, const SmoothingSettings& settings, bool showMrd,
                      const CircleProgress& progress = {}, int threads = 0, const std::atomic<bool>* cancel = nullptr,
                      SmoothingPlans* plans = nullptr);

// Levels above the largest value (in the unit shown) are dropped, the rest kept.
void DropLevelsAboveMaximum(PoleFigure& pf, bool showMrd);

// The width spin buttons: one degree up (at most 15) or down (at least 1) from
// the typed width; nothing when the text is not a number. Typed widths
// outside 1..15 are used as typed; only the buttons keep to the limits.
inline constexpr double kSpinMinWidth = 1;
inline constexpr double kSpinMaxWidth = 15;
std::optional<double> SpinWidth(std::string_view text, bool up);

}  // namespace quorix
