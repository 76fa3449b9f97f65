// The square plot area and the two lower-hemisphere projections.
#include "plot/projection.h"

#include <algorithm>
#include <cmath>

#include "base/nearest.h"
#include "math/vector_math.h"

namespace quorix {

namespace {

constexpr long double kPiL = 3.14159265358979323846264338327950288L;

// Alpha reported for a pixel outside the circle of the equal-area plot.
constexpr double kOutsideAlpha = 90.5;

}  // namespace

int PlotSize(int w, int h) {
  if (h <= 0) return 0;
  const double ratio = static_cast<double>(w) / h;
  if (ratio < 1.4) return Nearest(w / 1.4);
  return h;
}

int SizePercentage(int plotSize) { return Nearest(plotSize / 650.0 * 100.0); }

namespace {

struct Offset {
  long double x = 0;
  long double y = 0;  // upward
};

Offset ProjectedOffset(int plotSize, double alpha, double beta, bool equalArea) {
  const int centre = plotSize / 2;  // whole pixels, as the plot is laid out
  const long double r = centre - 10;
  const long double phi = static_cast<long double>(beta) * kPiL / 180.0L;
  const long double half = static_cast<long double>(alpha) / 2.0L * kPiL / 180.0L;
  long double rho = 0;
  if (equalArea)
    rho = std::sqrt(2.0L) * std::sin(half) * r;
  else
    rho = std::sin(half) / std::cos(half) * r;
  return Offset{rho * std::cos(phi), rho * std::sin(phi)};
}

bool NearHalf(double v, double tolerance) { return std::fabs(v - std::floor(v) - 0.5) <= tolerance; }

}  // namespace

// Kept in extended precision up to the rounding: exact halves such as
// tan(30) cos(30) R = R / 2 must stay halves and round to even.
Pixel ProjectPointExact(int plotSize, double alpha, double beta, bool equalArea) {
  const int m = plotSize / 2;
  const Offset o = ProjectedOffset(plotSize, alpha, beta, equalArea);
  return Pixel{m + Nearest(o.x), m - Nearest(o.y)};
}

// Error of x and y against the extended-precision values, for alpha up to
// 170 and |beta| up to 1e4: the arguments differ by a few ulp (|phi| < 175,
// so < 1e-13 absolute), glibc's sin and cos are within an ulp, the tangent
// of up to 85 degrees magnifies relative errors less than 20 times: below
// 2e-13 |rho| in all; the tolerance allows five times that, and a little for
// rho = 0.
Pixel ProjectPoint(int plotSize, double alpha, double beta, bool equalArea) {
  if (!(alpha >= 0 && alpha <= 170 && std::fabs(beta) <= 1e4))
    return ProjectPointExact(plotSize, alpha, beta, equalArea);
  const int m = plotSize / 2;
  const double r = m - 10;
  const double phi = beta * kPi / 180.0;
  const double half = alpha / 2.0 * kPi / 180.0;
  const double rho = equalArea ? std::sqrt(2.0) * std::sin(half) * r : std::sin(half) / std::cos(half) * r;
  const double x = rho * std::cos(phi);
  const double y = rho * std::sin(phi);
  const double tolerance = 1e-12 * std::fabs(rho) + 1e-9;
  if (NearHalf(x, tolerance) || NearHalf(y, tolerance)) return ProjectPointExact(plotSize, alpha, beta, equalArea);
  return Pixel{m + static_cast<int>(std::nearbyint(x)), m - static_cast<int>(std::nearbyint(y))};
}

PlotPosition ProjectPosition(int plotSize, double alpha, double beta, bool equalArea) {
  const int m = plotSize / 2;
  const Offset o = ProjectedOffset(plotSize, alpha, beta, equalArea);
  return PlotPosition{m + static_cast<double>(o.x), m - static_cast<double>(o.y)};
}

PlotDirection UnprojectPoint(int plotSize, int x, int y, bool equalArea) {
  PlotDirection d;
  const int centre = plotSize / 2;  // whole pixels, as the plot is laid out
  const double m = centre;
  const double r = m - 10.0;
  // A plot too small to have a circle has no inside.
  if (!(r > 0)) {
    d.alpha = kOutsideAlpha;
    return d;
  }
  const double dx = x - m;
  const double dy = m - y;  // upward

  if (equalArea) {
    const double scale = std::sqrt(2.0) * r;
    if (x == plotSize / 2 || y == plotSize / 2) {
      double t = 0;
      if (x == plotSize / 2) {
        d.beta = y > m ? 270.0 : 90.0;
        t = std::fabs(dy) / scale;
      } else {
        d.beta = x > m ? 0.0 : 180.0;
        t = std::fabs(dx) / scale;
      }
      d.alpha = t < 1 ? RadToDeg(2.0 * std::asin(t)) : kOutsideAlpha;
      return d;
    }
    const double b = std::atan(dy / dx);
    const double t = dy / (scale * std::sin(b));
    d.alpha = std::fabs(t) < 1 ? RadToDeg(2.0 * std::atan(t / std::sqrt(1.0 - t * t))) : kOutsideAlpha;
    d.beta = RadToDeg(b);
    if (d.alpha < 0) {
      d.alpha = -d.alpha;
      d.beta += 180.0;
    }
    if (d.beta < 0) d.beta += 360.0;
    return d;
  }

  const double q = std::sqrt((dx * dx + dy * dy) / (r * r));
  if (q == 0) return d;
  const double s = dy / (q * r);
  // Rounding can carry s a hair beyond +-1 on the vertical axis.
  if (s * s >= 1) {
    d.beta = y > m ? 270.0 : 90.0;
  } else {
    d.beta = RadToDeg(std::asin(s));
    if (x < m) d.beta = 180.0 - d.beta;
    if (d.beta < 0) d.beta += 360.0;
  }
  d.alpha = RadToDeg(2.0 * std::atan(q));
  return d;
}

bool ZoomsTo(double rimTilt) { return rimTilt > 0 && rimTilt < 90; }

double ZoomedAlpha(double alpha, double rimTilt, bool equalArea) {
  if (!ZoomsTo(rimTilt)) return alpha;
  const double half = DegToRad(alpha / 2);
  const double rimHalf = DegToRad(rimTilt / 2);
  if (equalArea) {
    // Beyond the rim's reach the direction lands outside the circle.
    const double s = std::sin(half) / (std::sqrt(2.0) * std::sin(rimHalf));
    return s >= 1 ? 180.0 : RadToDeg(2 * std::asin(s));
  }
  return RadToDeg(2 * std::atan(std::tan(half) / std::tan(rimHalf)));
}

double UnzoomedAlpha(double shownAlpha, double rimTilt, bool equalArea) {
  if (!ZoomsTo(rimTilt)) return shownAlpha;
  const double half = DegToRad(shownAlpha / 2);
  const double rimHalf = DegToRad(rimTilt / 2);
  if (equalArea) return RadToDeg(2 * std::asin(std::min(1.0, std::sin(half) * std::sqrt(2.0) * std::sin(rimHalf))));
  return RadToDeg(2 * std::atan(std::tan(half) * std::tan(rimHalf)));
}

}  // namespace quorix
