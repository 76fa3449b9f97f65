#include "record/pole_figure.h"

#include <fmt/format.h>

#include <atomic>
#include <cmath>

namespace quorix {

void CopyFileFacts(const PoleFigure& from, PoleFigure& to) {
  to.IndexInFile = from.IndexInFile;
  to.NameInFile = from.NameInFile;
  to.Hkl = from.Hkl;
  to.CommentInFile = from.CommentInFile;
  to.TwoTheta = from.TwoTheta;
  to.CountingTime = from.CountingTime;
  to.Monitor = from.Monitor;
  to.Background = from.Background;
  to.Unit = from.Unit;
  to.Corrected = from.Corrected;
  to.InMrd = from.InMrd;
  to.CentreSpread = from.CentreSpread;
}

void ForgetFileFacts(PoleFigure& pf) {
  pf.IndexInFile = 0;
  pf.NameInFile.clear();
  pf.Hkl.clear();
  pf.CommentInFile.clear();
  pf.TwoTheta = 0;
  pf.CountingTime = 0;
  pf.Monitor = 0;
  pf.Background = false;
  pf.Unit = IntensityUnit::Unknown;
  pf.Corrected = false;
  pf.InMrd = false;
  pf.CentreSpread.reset();
}

void MarkChanged(PoleFigure& pf) {
  static std::atomic<std::uint64_t> last{0};
  pf.Revision = ++last;
}

void CopyGrid(const PoleFigure& from, PoleFigure& to) {
  to.CircleCount = from.CircleCount;
  to.Alpha = from.Alpha;
  to.BetaStart = from.BetaStart;
  to.BetaStep = from.BetaStep;
  to.CirclePoints = from.CirclePoints;
  to.PointCount = from.PointCount;
  to.BetaRange = from.BetaRange;
  to.InnerMirror = from.InnerMirror;
  to.OuterMirror = from.OuterMirror;
  to.Grid = from.Grid;
  SizeTablesToGrid(to);
}

bool CheckGridLimits(std::span<const long long> points, std::span<const double> betaSteps, bool outerMirror,
                     const std::string& file, FileRole role, MessageSink& sink) {
  const auto fail = [&](const std::string& what) {
    sink.Problem({file, 0, what, Severity::Error, role});
    return false;
  };
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::size_t number = i + 1;
    if (points[i] > kMaxPoints)
      return fail(fmt::format("circle {} has {} points, more than {}.", number, points[i], kMaxPoints));
    if (i >= betaSteps.size()) continue;
    // BuildCircleLinks completes a circle to a full turn; the turn must fit too.
    if (betaSteps[i] == 0) return fail(fmt::format("circle {} has a beta step of 0.", number));
    if (360.0 / std::fabs(betaSteps[i]) >= kMaxPoints + 1)
      return fail(fmt::format("circle {} has a beta step of {}; a full turn would need more than {} points.", number,
                              betaSteps[i], kMaxPoints));
  }
  if (points.empty()) return fail("no circles found.");
  const int limit = outerMirror ? kMaxCircles - 1 : kMaxCircles;
  if (points.size() > static_cast<std::size_t>(limit))
    return fail(outerMirror ? fmt::format("more than {} circles with the outer mirror circle.", limit)
                            : fmt::format("more than {} circles.", limit));
  return true;
}

namespace {

// The points circle i has once completed to a full turn, as BuildCircleLinks does.
int CompletedPoints(const PoleFigure& pf, int i) {
  const int own = std::clamp(pf.CirclePoints[i], 0, kMaxPoints);
  const double step = std::fabs(pf.BetaStep[i]);
  if (!(step > 0)) return own;
  const double full = std::trunc(360.0 / step);
  return full >= kMaxPoints ? kMaxPoints : std::max(own, static_cast<int>(full));
}

}  // namespace

void SizeTablesToGrid(PoleFigure& pf) {
  const bool within = pf.CircleCount >= 1 && pf.CircleCount <= kMaxCircles;
  const int n = within ? pf.CircleCount : 0;
  int most = 0;
  // Rows 0 and n + 1 are sized too: a mirror circle has the points of the circle it mirrors.
  for (int i = 0; i <= n + 1 && i < kMaxGridRows; ++i) most = std::max(most, CompletedPoints(pf, i));
  pf.Intensity.Resize(n + 2, most + 2);
  pf.Link.Resize(n + 2, most + 2);
}

bool TablesHoldGrid(const PoleFigure& pf) {
  const int n = pf.CircleCount;
  if (n < 1 || n > kMaxCircles || pf.Intensity.Rows() < n + 2 || pf.Link.Rows() != pf.Intensity.Rows()) return false;
  if (pf.Link.Cols() != pf.Intensity.Cols()) return false;
  for (int i = 0; i <= n + 1; ++i)
    if (pf.CirclePoints[i] < 0 || pf.CirclePoints[i] > pf.Intensity.Cols() - 2) return false;
  return true;
}

GridDescription FiveDegreeGrid() {
  GridDescription grid;
  for (int i = 0; i <= 18; ++i) grid.circles.push_back({5.0 * i, 0.0, 5.0, 72});
  return grid;
}

bool SetGrid(PoleFigure& pf, const GridDescription& grid, const std::string& file, FileRole role, MessageSink& sink) {
  std::vector<long long> points;
  std::vector<double> steps;
  for (const GridCircle& c : grid.circles) {
    points.push_back(c.points);
    steps.push_back(c.betaStep);
  }
  if (!CheckGridLimits(points, steps, grid.outerMirror, file, role, sink)) return false;
  // Rows a previous grid used and this one does not are cleared, as on a fresh record.
  pf.Alpha.fill(0);
  pf.BetaStart.fill(0);
  pf.BetaStep.fill(0);
  pf.CirclePoints.fill(0);
  const int n = static_cast<int>(grid.circles.size());
  pf.PointCount = 0;
  for (int i = 1; i <= n; ++i) {
    const GridCircle& c = grid.circles[static_cast<std::size_t>(i - 1)];
    pf.Alpha[i] = c.alpha;
    pf.BetaStart[i] = c.betaStart;
    pf.BetaStep[i] = c.betaStep;
    pf.CirclePoints[i] = static_cast<int>(c.points);
    pf.PointCount += pf.CirclePoints[i];
  }
  pf.CircleCount = n;
  const auto mirror = [&](int row, int of, double alpha) {
    pf.Alpha[row] = alpha;
    pf.BetaStart[row] = pf.BetaStart[of] + 180;
    pf.BetaStep[row] = pf.BetaStep[of];
    pf.CirclePoints[row] = pf.CirclePoints[of];
  };
  pf.InnerMirror = grid.innerMirror ? 1 : 0;
  if (grid.innerMirror) mirror(0, 1, -pf.Alpha[1]);
  pf.OuterMirror = grid.outerMirror ? 1 : 0;
  if (grid.outerMirror) mirror(n + 1, n, 180 - pf.Alpha[n]);
  pf.BetaRange = pf.CirclePoints[1] * pf.BetaStep[1];
  pf.Grid = grid.kind;
  SizeTablesToGrid(pf);
  return true;
}

void StoreInIncreasingBeta(PoleFigure& pf, int i) {
  pf.BetaStep[i] = std::fabs(pf.BetaStep[i]);
  if (i == 1 && pf.InnerMirror == 1) pf.BetaStep[0] = pf.BetaStep[1];
  if (i == pf.CircleCount && pf.OuterMirror == 1) pf.BetaStep[i + 1] = pf.BetaStep[i];
}

void RefreshMirrorCircles(PoleFigure& pf) {
  const int n = pf.CircleCount;
  if (pf.InnerMirror == 1)
    for (int j = 1; j <= pf.CirclePoints[1]; ++j) pf.Intensity[0][j] = pf.Intensity[1][j];
  if (pf.OuterMirror == 1 && n >= 1)
    for (int j = 1; j <= pf.CirclePoints[n]; ++j) pf.Intensity[n + 1][j] = pf.Intensity[n][j];
}

}  // namespace quorix
