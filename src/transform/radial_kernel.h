// The Gaussian weight of two axes as the plain smoothing and density loops
// compute it, exp(-k d^2) for an axis distance d up to a cut-off, looked up in
// a table instead of an arc cosine and an exponential per pair.
#pragma once

#include <string>
#include <vector>

namespace quorix {

// Below about 1e-154 degrees the width squares to zero and every weight to
// NaN; a millionth of a degree is far below any grid step and safely above.
inline constexpr double kMinFwhm = 1e-6;
// Empty when `fwhm` (degrees) is usable as the width of the Gaussian, else
// "The FWHM must be a number of degrees of at least 1e-06, not X.".
std::string FwhmProblem(double fwhm);

// Tabulated over x = 1 - c (c = |cos d|, the absolute dot product of the unit
// vectors) with cubic Hermite interpolation: the weight is a smooth function
// of x, which the dot product gives without loss. With 16384 intervals the
// interpolated weight is within about 1e-15 relative of exp(-k d^2).
// Two places keep the plain loops' decisions pair by pair: within kTieBand of
// the cut-off the arc cosine decides whether a pair counts, and beyond the
// arc cosine's clamp (c > 0.999999, distance zero) the weight is exactly 1.
class RadialKernel {
 public:
  static constexpr double kTieBand = 1e-9;  // radians
  static constexpr double kClampCosine = 0.999999;

  RadialKernel(double cutoff, double k, int intervals = 16384);

  double Cutoff() const { return cutoff_; }
  // Below this absolute cosine every weight is zero.
  double MinCosine() const { return minCosine_; }

  double Weight(double c) const {
    if (c > kClampCosine) return 1.0;
    const double x = 1.0 - c;
    if (x < xInside_) return Interpolate(x);
    if (x > xOutside_) return 0.0;
    return Exact(c);
  }

  // The plain loops' weight: ArcCosClamped and exp.
  double Exact(double c) const;

 private:
  struct Cubic {
    double c0, c1, c2, c3;
  };

  double Interpolate(double x) const {
    const double t = x * scale_;
    int i = static_cast<int>(t);
    if (i > last_) i = last_;
    const double u = t - i;
    const Cubic& p = cubics_[static_cast<std::size_t>(i)];
    return p.c0 + u * (p.c1 + u * (p.c2 + u * p.c3));
  }

  double cutoff_;
  double k_;
  double minCosine_ = 0;
  double xInside_ = 0;   // below: certainly within the cut-off
  double xOutside_ = 0;  // above: certainly beyond it
  double scale_ = 0;     // intervals per unit of x
  int last_ = 0;
  std::vector<Cubic> cubics_;
};

}  // namespace quorix
