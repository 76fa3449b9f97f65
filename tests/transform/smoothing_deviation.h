// The measure the fast smoothing paths are held to, and the values they are
// tried on.
#pragma once

#include <algorithm>
#include <cmath>
#include <random>

#include "transform/smoothing.h"

namespace quorix::test {

// Random values with about 5% missing and some negative points.
inline void FillRandom(PoleFigure& pf, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> value(-0.5, 10);
  std::uniform_int_distribution<int> pick(0, 19);
  for (int i = 1; i <= pf.CircleCount; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j) pf.Intensity[i][j] = pick(rng) == 0 ? kMissing : value(rng);
}

// The documented measure: |fast - plain| over the larger of |plain| and the
// mean absolute valid value, so that means near zero (negative values
// included) are not held to a relative bound their cancellation cannot keep.
// A point missing in one and not the other, or not a number, is infinitely off.
inline double Deviation(const PoleFigure& pf, const IntensityTable& plain, const IntensityTable& fast) {
  double sum = 0;
  int count = 0;
  for (int i = 1; i <= pf.CircleCount; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j)
      if (pf.Intensity[i][j] != kMissing) {
        sum += std::fabs(pf.Intensity[i][j]);
        ++count;
      }
  const double scale = count > 0 ? sum / count : 1.0;
  double worst = 0;
  for (int i = 1; i <= pf.CircleCount; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j) {
      if ((plain[i][j] == kMissing) != (fast[i][j] == kMissing) || std::isnan(fast[i][j])) return HUGE_VAL;
      worst = std::max(worst, std::fabs(fast[i][j] - plain[i][j]) / std::max(std::fabs(plain[i][j]), scale));
    }
  return worst;
}

}  // namespace quorix::test
