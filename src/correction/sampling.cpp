#include "correction/sampling.h"

#include <cmath>

namespace quorix {
namespace {

double Turn(double beta) {
  double b = std::fmod(beta, 360.0);
  return b < 0 ? b + 360.0 : b;
}

std::optional<double> OnCircle(const PoleFigure& m, int i, double beta) {
  struct Point {
    double beta, value;
  };
  std::vector<Point> points;
  for (int k = 1; k <= m.CirclePoints[i]; ++k) {
    const double v = m.Intensity[i][k];
    if (v == kMissing) continue;
    const double b = Turn(BetaOf(m, i, k));
    if (SameAngle(b, Turn(beta)) || SameAngle(b + 360.0, Turn(beta)) || SameAngle(b, Turn(beta) + 360.0)) return v;
    points.push_back({b, v});
  }
  if (points.empty()) return std::nullopt;
  if (points.size() == 1) return points.front().value;
  // The valid neighbours below and above beta going round the circle.
  const double b = Turn(beta);
  std::size_t below = 0, above = 0;
  double gapBelow = 720, gapAbove = 720;
  for (std::size_t k = 0; k < points.size(); ++k) {
    const double down = Turn(b - points[k].beta);
    const double up = Turn(points[k].beta - b);
    if (down < gapBelow) gapBelow = down, below = k;
    if (up < gapAbove) gapAbove = up, above = k;
  }
  const double span = gapBelow + gapAbove;
  if (span <= 0) return points[below].value;
  return points[below].value + (points[above].value - points[below].value) * gapBelow / span;
}

}  // namespace

bool SameAngle(double a, double b) { return std::fabs(a - b) < 1e-4; }

std::optional<double> SampleAt(const PoleFigure& m, double alpha, double beta) {
  int lower = 0, upper = 0;
  for (int i = 1; i <= m.CircleCount; ++i) {
    if (SameAngle(m.Alpha[i], alpha)) return OnCircle(m, i, beta);
    if (m.Alpha[i] < alpha && (lower == 0 || m.Alpha[i] > m.Alpha[lower])) lower = i;
    if (m.Alpha[i] > alpha && (upper == 0 || m.Alpha[i] < m.Alpha[upper])) upper = i;
  }
  if (lower == 0 || upper == 0) return std::nullopt;
  const auto a = OnCircle(m, lower, beta);
  const auto b = OnCircle(m, upper, beta);
  if (!a || !b) return std::nullopt;
  const double t = (alpha - m.Alpha[lower]) / (m.Alpha[upper] - m.Alpha[lower]);
  return *a + (*b - *a) * t;
}

std::optional<double> CircleMean(const PoleFigure& pf, int circle) {
  double sum = 0;
  int count = 0;
  for (double v : CircleValues(pf, circle))
    if (v != kMissing) sum += v, ++count;
  if (count == 0) return std::nullopt;
  return sum / count;
}

}  // namespace quorix
