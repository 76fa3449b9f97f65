// What the smoothing paths share: the Gaussian of a width, which values take
// part, and the circles of equal points with their kernel rows and the pairs
// whose membership rounding decides.
#pragma once

#include <cmath>
#include <vector>

#include "math/vector_math.h"
#include "record/pole_figure.h"

namespace quorix {

// Not ln 2 to the last digit: the weights have always used this value.
inline constexpr double kSmoothingLn2 = 0.6931472;

// The weight exp(-k d^2) is 1/2 at the width (degrees) and is cut off at four widths (radians).
inline double SmoothingCutoff(double fwhm) { return 4 * DegToRad(fwhm); }
inline double SmoothingExponent(double fwhm) {
  const double a = DegToRad(fwhm);
  return kSmoothingLn2 / (a * a);
}

// A missing value takes part in no mean; with excludeNegative, neither does a negative one.
inline bool TakesPart(double v, bool excludeNegative) { return v != kMissing && !(excludeNegative && v < 0); }

// |cos d| of two axes.
inline double AbsDot(const Vec3& a, const Vec3& b) { return std::fabs(a.x * b.x + a.y * b.y + a.z * b.z); }

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

// A pair whose membership rounding decides, with the weight the plain loop gives it.
struct TiePair {
  int j;  // target point, 0-based
  int h;  // source circle, 0-based among the equal circles
  int m;  // source point, 0-based
  double w;
};

// Circles first..CircleCount of a grid, full turns of the same n points: the
// unit vectors as the plain loop computes them, so that the tie pairs see its
// distances, and the kernel rows of one circle against another.
class EqualCircles {
 public:
  // cutoff in radians, weight exp(-k d^2); threads 0: one per core.
  EqualCircles(const PoleFigure& grid, int first, double cutoff, double k, int threads);

  int Count() const { return count_; }
  int Points() const { return n_; }
  double Cutoff() const { return cutoff_; }
  double Weight(double d) const { return std::exp(-k_ * d * d); }
  const Vec3& Unit(int c, int j) const {
    return units_[static_cast<std::size_t>(c) * static_cast<std::size_t>(n_) + static_cast<std::size_t>(j)];
  }
  // No point of circle h lies within the cut-off of circle c otherwise; the
  // margin is far above the snapping of the vectors.
  bool InReach(int c, int h) const {
    const double reach = cutoff_ + 1e-3;
    const double pc = polar_[static_cast<std::size_t>(c)];
    const double ph = polar_[static_cast<std::size_t>(h)];
    return std::fabs(pc - ph) <= reach || std::fabs(pc - (kPi - ph)) <= reach;
  }
  // The kernel row of circle c against circle h (KernelRow); the pairs of
  // its tie shifts that lie within the cut-off are appended to `ties`.
  bool Row(int c, int h, std::vector<double>& row, std::vector<int>& tieShifts, std::vector<TiePair>& ties) const;

 private:
  int count_ = 0;
  int n_ = 0;
  double cutoff_ = 0;
  double k_ = 0;
  std::vector<Vec3> units_;
  std::vector<double> polar_;
  std::vector<char> onAxis_;
};

}  // namespace quorix
