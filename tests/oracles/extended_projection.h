// The pixel of a direction rounded from extended precision throughout: what
// the projection's double arithmetic is held to.
#pragma once

#include <cmath>

#include "base/nearest.h"
#include "plot/projection.h"

namespace quorix::test {

inline Pixel ProjectPointExtended(int plotSize, double alpha, double beta, bool equalArea) {
  constexpr long double kPiL = 3.14159265358979323846264338327950288L;
  const int m = plotSize / 2;
  const long double r = m - 10;
  const long double phi = static_cast<long double>(beta) * kPiL / 180.0L;
  const long double half = static_cast<long double>(alpha) / 2.0L * kPiL / 180.0L;
  const long double rho = equalArea ? std::sqrt(2.0L) * std::sin(half) * r : std::sin(half) / std::cos(half) * r;
  return Pixel{m + Nearest(rho * std::cos(phi)), m - Nearest(rho * std::sin(phi))};
}

}  // namespace quorix::test
