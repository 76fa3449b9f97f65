// Automatic contour levels.
#include "record/levels.h"

#include <algorithm>
#include <cmath>

namespace quorix {

namespace {

// The searches below step by powers of ten and by the level step. Beyond
// these counts the input is not a pole figure any more (infinities, NaN,
// a bound far below 10000 steps), and the loops stop or jump instead.
constexpr int kMaxDecades = 700;
constexpr double kMaxDownSteps = 2e6;

double UpperBound(const PoleFigure& pf, bool showMrd) { return showMrd ? pf.MaxValue / pf.NormFactor : pf.MaxValue; }

}  // namespace

void AutoLevels(PoleFigure& pf, bool showMrd, bool fromOne, int maxLevels) {
  const double u = UpperBound(pf, showMrd);
  double d = 0;
  if (showMrd)
    d = fromOne ? 0.999 : pf.MinValue / pf.NormFactor;
  else
    d = fromOne ? pf.NormFactor : pf.MinValue;
  if (d > u) d = 0;

  double g = 0.000001;
  for (int i = 0; i < kMaxDecades && (u - d) / 10 > g; ++i) g *= 10;

  // The first multiple of g above d, counted down from 10000 g.
  double l = 10000 * g;
  if (l > d) {
    const double steps = (l - d) / g;
    if (steps <= kMaxDownSteps) {
      while (l > d) l -= g;
    } else if (std::isfinite(steps)) {
      l -= std::ceil(steps) * g;
    }
  }
  l += g;
  if (std::fabs(l - 1) < 0.00001) l = 1;

  int below = 0;
  for (double v = l; v < u && below < 4; v += g) ++below;
  if (below < 4) {
    g /= 2;
    if (l != 1 && l - g > d) l -= g;
  }

  const int limit = std::clamp(maxLevels, 0, kMaxLevels);
  pf.LevelCount = 0;
  while (l < u && pf.LevelCount < limit) {
    ++pf.LevelCount;
    pf.Level[pf.LevelCount] = l;
    l += g;
  }
}

void TrimLevels(PoleFigure& pf, bool showMrd) {
  const double v = UpperBound(pf, showMrd);
  pf.LevelCount = std::clamp(pf.LevelCount, 0, kMaxLevels);
  if (pf.LevelCount == 0 || !(pf.Level[pf.LevelCount] > v)) return;
  --pf.LevelCount;
  while (pf.LevelCount > 0 && pf.Level[pf.LevelCount] >= v) --pf.LevelCount;
}

double LowestLevelOf(const PoleFigure& pf, bool showMrd) {
  // Without levels Level[1] is whatever an earlier pole figure left there.
  if (pf.LevelCount < 1) return 0;
  return showMrd ? pf.Level[1] * pf.NormFactor : pf.Level[1];
}

}  // namespace quorix
