// Suppression of single-crystal intensities.
#include "transform/ssci.h"

#include <algorithm>
#include <cmath>

#include "base/nearest.h"
#include "record/statistics.h"

namespace quorix {

namespace {

int Circles(const PoleFigure& pf) { return pf.CircleCount; }
int PointsOn(const PoleFigure& pf, int i) { return pf.CirclePoints[i]; }

// Point 1 follows point n on every circle.
int Cyclic(int j, int n) { return ((j - 1) % n + n) % n + 1; }

struct Neighbour {
  int circle = 0;
  int point = 0;  // 0: none
};

// The point of `circle` at index j, or half a circle away from it; none
// when the circle is not one of 1..n.
Neighbour On(const PoleFigure& pf, int circle, int j, bool opposite) {
  if (circle < 1 || circle > Circles(pf)) return {};
  const int m = PointsOn(pf, circle);
  if (m < 1) return {};
  const int index = opposite ? Nearest(j - m / 2.0) : j;
  return {circle, Cyclic(index, m)};
}

// The mean of the neighbours of (i, j) when their mean gradient exceeds the
// threshold; v itself otherwise.
double Judged(const PoleFigure& pf, const GridTable<double>& backup, int i, int j, double threshold, bool& replaced) {
  replaced = false;
  const double v = backup[i][j];
  const int n = Circles(pf);
  const int m = PointsOn(pf, i);
  // Across the centre and across the rim the neighbour lies on the next
  // circle inwards or outwards, on the far side of the plot.
  const Neighbour ring[4] = {
      {i, Cyclic(j - 1, m)},
      {i, Cyclic(j + 1, m)},
      i == 1 ? On(pf, 2, j, true) : On(pf, i - 1, j, false),
      i == n ? On(pf, n - 1, j, true) : On(pf, i + 1, j, false),
  };
  int count = 0;
  double sum = 0;
  double gradient = 0;
  for (const Neighbour& nb : ring) {
    if (nb.point == 0) continue;
    const double w = backup[nb.circle][nb.point];
    if (w == kMissing) continue;
    ++count;
    sum += w;
    // A negative beta step only gives the order of the points; the distance
    // is its size. Circles at one alpha have no gradient between them.
    const double distance = nb.circle == i ? std::fabs(pf.BetaStep[i]) : std::fabs(pf.Alpha[i] - pf.Alpha[nb.circle]);
    const double g = (v - w) / distance;
    if (std::isfinite(g)) gradient += g;
  }
  if (count == 0) return v;
  if (gradient / count > threshold) {
    replaced = true;
    return sum / count;
  }
  return v;
}

}  // namespace

SuppressionBackup BeginSuppression(PoleFigure& pf) {
  pf.SSCILevel = 0;
  return SuppressionBackup{pf.Intensity};
}

void SuppressSingleCrystal(PoleFigure& pf, const SuppressionBackup& backup, int level) {
  const GridTable<double>& kept = backup.values;
  if (kept.Rows() != pf.Intensity.Rows() || kept.Cols() != pf.Intensity.Cols()) return;
  level = std::clamp(level, 0, kMaxSuppressionLevel);
  const int n = Circles(pf);
  if (level == 0) {
    for (int i = 1; i <= n; ++i) {
      const int m = PointsOn(pf, i);
      for (int j = 1; j <= m; ++j) pf.Intensity[i][j] = kept[i][j];
    }
    return;
  }
  const double threshold = (11 - level) * 100.0;
  pf.SSCICount = 0;
  for (int i = 1; i <= n; ++i) {
    const int m = PointsOn(pf, i);
    for (int j = 1; j <= m; ++j) {
      const double v = kept[i][j];
      if (v == kMissing) {
        pf.Intensity[i][j] = v;
        continue;
      }
      bool replaced = false;
      pf.Intensity[i][j] = Judged(pf, kept, i, j, threshold, replaced);
      if (replaced) ++pf.SSCICount;
    }
  }
}

void SetSuppressionLevel(PoleFigure& pf, const SuppressionBackup& backup, int level) {
  pf.SSCILevel = static_cast<std::int16_t>(std::clamp(level, 0, kMaxSuppressionLevel));
  SuppressSingleCrystal(pf, backup, pf.SSCILevel);
  RefreshMirrorCircles(pf);
  UpdateExtremes(pf);
  UpdateStatistics(pf);
}

std::string SuppressionText(const PoleFigure& pf) {
  return std::to_string(pf.SSCILevel) + ":" + std::to_string(pf.SSCICount);
}

}  // namespace quorix
