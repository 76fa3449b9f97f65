// Weight table of the Gaussian kernel over 1 - |cos d|.
#include "transform/radial_kernel.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "math/vector_math.h"

namespace quorix {

namespace {

// 1 - cos(d) without cancellation; 1 beyond a right angle caps the range of
// x at what |cos d| can give.
double OneMinusCos(double d) {
  if (!(d < kPi / 2)) return 1.0;
  const double s = std::sin(d / 2);
  return 2 * s * s;
}

}  // namespace

std::string FwhmProblem(double fwhm) {
  if (fwhm >= kMinFwhm && std::isfinite(fwhm)) return {};
  return fmt::format("The FWHM must be a number of degrees of at least {:g}, not {:g}.", kMinFwhm, fwhm);
}

RadialKernel::RadialKernel(double cutoff, double k, int intervals) : cutoff_(cutoff), k_(k) {
  const double outer = cutoff + kTieBand;
  const double inner = cutoff - kTieBand;
  xOutside_ = OneMinusCos(outer);
  // A kernel reaching a right angle takes every pair: no tie band then.
  xInside_ = inner >= kPi / 2 ? 2.0 : OneMinusCos(std::max(inner, 0.0));
  minCosine_ = outer >= kPi / 2 ? 0.0 : std::cos(outer);
  const double xMax = std::min(1.0, xOutside_);
  intervals = std::max(intervals, 16);
  scale_ = intervals / xMax;
  last_ = intervals - 1;
  const double h = xMax / intervals;
  // The weight and its slope in x at the nodes: f = exp(-k d^2) with
  // d = acos(1 - x), df/dx = -2 k d / sin d f.
  std::vector<double> f(static_cast<std::size_t>(intervals) + 1);
  std::vector<double> slope(f.size());
  for (int i = 0; i <= intervals; ++i) {
    const double x = i == intervals ? xMax : i * h;
    const double d = 2 * std::asin(std::min(1.0, std::sqrt(x / 2)));
    const double w = std::exp(-k * d * d);
    const double sinD = std::sqrt(x * (2 - x));
    const double ratio = d < 1e-8 ? 1.0 : d / sinD;
    f[static_cast<std::size_t>(i)] = w;
    slope[static_cast<std::size_t>(i)] = -2 * k * ratio * w * h;
  }
  cubics_.resize(static_cast<std::size_t>(intervals));
  for (std::size_t i = 0; i < cubics_.size(); ++i) {
    const double f0 = f[i], f1 = f[i + 1], m0 = slope[i], m1 = slope[i + 1];
    cubics_[i] = {f0, m0, 3 * (f1 - f0) - 2 * m0 - m1, 2 * (f0 - f1) + m0 + m1};
  }
}

double RadialKernel::Exact(double c) const {
  const double d = ArcCosClamped(c);
  if (d > cutoff_) return 0.0;
  return std::exp(-k_ * d * d);
}

}  // namespace quorix
