#include "record/circle_links.h"

#include <algorithm>
#include <cmath>

namespace quorix {

int PointAtOrBefore(const PoleFigure& pf, int circle, double beta) {
  const int n = pf.CirclePoints[circle];
  if (n < 1 || !(pf.BetaStep[circle] > 0)) return 1;
  const double s = pf.BetaStart[circle];
  const double b = s > beta ? beta + 360 : beta;
  const double steps = std::trunc((b - s) / pf.BetaStep[circle]);
  if (!(steps >= 0) || steps > 4.0 * kMaxPoints) return 1;  // only for grids the readers refuse
  int t = static_cast<int>(steps) + 1;
  if (t > n) t -= n;
  if (t > n) t = (t - 1) % n + 1;
  return t;
}

namespace {

// Joins two neighbouring circles into a strip of triangles, walking both
// circles once around in order of increasing beta.
void ZipCircles(PoleFigure& pf, int e, int m) {
  const int ne = pf.CirclePoints[e];
  const int nm = pf.CirclePoints[m];
  const int t = PointAtOrBefore(pf, m, BetaOf(pf, e, 1));
  int k = 1, j = t;
  double offsetE = 0, offsetM = 0;
  const double d = BetaOf(pf, e, 2) - BetaOf(pf, m, t + 1);
  if (d > 180)
    offsetM = 360;
  else if (d < -180)
    offsetM = -360;
  // One turn of each circle closes the strip; the bound only guards grids
  // whose steps do not add up to a turn.
  const long maxSteps = 4L * (ne + nm) + 8;
  for (long step = 0; step < maxSteps; ++step) {
    if (BetaOf(pf, m, j + 1) + offsetM < BetaOf(pf, e, k + 1) + offsetE) {
      pf.Link[m][j].InnerLink = k;
      if (++j > nm) {
        j = 1;
        offsetM += 360;
      }
    } else {
      pf.Link[e][k].OuterLink = j;
      if (++k > ne) {
        k = 1;
        offsetE = 360;
      }
    }
    if (k == 1 && j == t) break;
  }
}

}  // namespace

bool BuildCircleLinks(PoleFigure& pf) {
  const int n = pf.CircleCount;
  if (!TablesHoldGrid(pf)) return false;
  for (int i = 1; i <= n; ++i) {
    if (!(pf.BetaStep[i] > 0) || pf.CirclePoints[i] < 1 || pf.CirclePoints[i] > kMaxPoints) return false;
  }
  // SetGrid left room for the completion (TablesHoldGrid above says the grid is still its own).
  for (int i = 1; i <= n; ++i) {
    const double full = std::trunc(360.0 / pf.BetaStep[i]);
    const int m = full > kMaxPoints ? kMaxPoints : static_cast<int>(full);
    while (pf.CirclePoints[i] < m) {
      ++pf.CirclePoints[i];
      pf.Intensity[i][pf.CirclePoints[i]] = kMissing;
    }
  }
  pf.Link.Fill(GridLink{});
  for (int k = 1; k <= pf.CirclePoints[1]; ++k) pf.Link[1][k].InnerLink = -1;

  int first = 1;
  if (pf.CirclePoints[1] == 1) {
    pf.Link[1][1].OuterLink = -1;
    if (n >= 2)
      for (int k = 1; k <= pf.CirclePoints[2]; ++k) pf.Link[2][k].InnerLink = 1;
    first = 2;
  }
  for (int e = first; e <= n - 1; ++e) ZipCircles(pf, e, e + 1);
  for (int k = 1; k <= pf.CirclePoints[n]; ++k) pf.Link[n][k].OuterLink = -1;
  for (int i = 1; i <= n; ++i) {
    for (int k = 1; k <= pf.CirclePoints[i]; ++k) {
      pf.Link[i][k].Mark1 = 1;
      pf.Link[i][k].Mark2 = 1;
    }
  }
  return true;
}

}  // namespace quorix
