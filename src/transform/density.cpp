// Density pole figures from single directions, with a search that visits only
// the grid points a direction can reach.
#include "transform/density.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <span>
#include <thread>
#include <utility>

#include "transform/radial_kernel.h"

namespace quorix {

namespace {

// The search may include points it need not, never leave out one it needs:
// circles and azimuth windows are widened by this much (radians), far more
// than the rounding of the grid vectors (components snapped by 1e-6).
constexpr double kSearchMargin = 0.01;
// A point is weighed only when |v.g| reaches the cosine of the cut-off
// widened by this much; below it the arc cosine is certainly beyond the cut-off.
constexpr double kDotMargin = 1e-7;

struct CircleDirections {
  std::vector<Vec3> points;  // point k at points[k - 1]
  double polar = 0;          // radians, 0..pi
  double sinPolar = 0, cosPolar = 0;
  // Azimuth of point k is azStart + (k - 1) azStep; linear false: the
  // azimuths do not follow that rule (or are meaningless near the pole)
  // and the whole circle is visited.
  bool linear = false;
  double azStart = 0, azStep = 0;
};

double AbsDot(const Vec3& v, const Vec3& g) { return std::fabs(v.x * g.x + v.y * g.y + v.z * g.z); }

double WrapAngle(double a) {  // to -pi..pi
  a = std::fmod(a, 2 * kPi);
  if (a > kPi) a -= 2 * kPi;
  if (a < -kPi) a += 2 * kPi;
  return a;
}

std::vector<CircleDirections> CircleTable(const PoleFigure& pf) {
  const int n = pf.CircleCount;
  std::vector<CircleDirections> table(n + 1);
  for (int i = 1; i <= n; ++i) {
    CircleDirections& c = table[i];
    const int count = pf.CirclePoints[i];
    c.points.reserve(count);
    for (int k = 1; k <= count; ++k) c.points.push_back(DirectionToVector(pf.Alpha[i], BetaOf(pf, i, k)));
    if (count == 0) continue;
    const Vec3& g = c.points[0];
    c.polar = std::atan2(std::hypot(g.x, g.y), g.z);
    c.sinPolar = std::sin(c.polar);
    c.cosPolar = std::cos(c.polar);
    const double step = DegToRad(pf.BetaStep[i]);
    if (!(step > 0) || !std::isfinite(step) || c.sinPolar < 1e-4) continue;
    c.azStart = std::atan2(g.y, g.x);
    c.azStep = step;
    c.linear = true;
    for (int k = 0; k < count && c.linear; ++k) {
      const Vec3& p = c.points[k];
      const double expected = c.azStart + k * step;
      c.linear = std::fabs(WrapAngle(std::atan2(p.y, p.x) - expected)) < 1e-6;
    }
  }
  return table;
}

struct Interval {
  int lo, hi;  // 0-based, inclusive
};

// Index intervals of a circle holding every point within `half` of azimuth
// `centre`; false when the whole circle should be visited instead.
bool AddWindow(const CircleDirections& c, int count, double centre, double half, std::array<Interval, 16>& out,
               int& used) {
  if (half + c.azStep >= kPi) return false;
  const double a = std::fmod(std::fmod(centre - c.azStart, 2 * kPi) + 2 * kPi, 2 * kPi);
  const double span = (count - 1) * c.azStep;
  for (int turn = -1; a - half + 2 * kPi * turn <= span + c.azStep; ++turn) {
    if (turn > 4) return false;
    // Clamped before the conversion to int: a tiny step gives huge quotients.
    const double from = std::clamp((a - half + 2 * kPi * turn) / c.azStep, -2.0, count + 2.0);
    const double to = std::clamp((a + half + 2 * kPi * turn) / c.azStep, -2.0, count + 2.0);
    const int lo = std::max(0, static_cast<int>(std::floor(from)) - 1);
    const int hi = std::min(count - 1, static_cast<int>(std::ceil(to)) + 1);
    if (lo > hi) continue;
    if (used == static_cast<int>(out.size())) return false;
    out[used++] = {lo, hi};
  }
  return true;
}

struct Axis {
  Vec3 v;
  bool everywhere = false;  // visit every point (no usable polar angle)
  double sinPolar = 0;
  // The axis is v and its antipode -v (polar pi - polar, azimuth + pi).
  std::array<double, 2> polar{}, cosPolar{}, azimuth{};
};

Axis MakeAxis(const Vec3& v, bool everything) {
  Axis a;
  a.v = v;
  const double rho = std::hypot(v.x, v.y);
  a.everywhere = everything || !(rho * rho + v.z * v.z > 0.25);
  if (a.everywhere) return a;
  const double polar = std::atan2(rho, v.z);
  const double azimuth = std::atan2(v.y, v.x);
  a.sinPolar = std::sin(polar);
  a.polar = {polar, kPi - polar};
  a.cosPolar = {std::cos(polar), -std::cos(polar)};
  a.azimuth = {azimuth, azimuth + kPi};
  return a;
}

// The weights of one axis on the points of one circle it can reach.
void AddToCircle(std::span<double> row, const CircleDirections& c, const Axis& axis, double cosReach, double reach,
                 double dotLimit, const RadialKernel& table) {
  const int count = static_cast<int>(c.points.size());
  if (count == 0) return;
  std::array<Interval, 16> windows{};
  int used = 0;
  bool whole = axis.everywhere || !c.linear;
  if (!axis.everywhere) {
    // No point of a circle is nearer to an axis than their polar angles differ.
    const bool near[2] = {std::fabs(c.polar - axis.polar[0]) <= reach, std::fabs(c.polar - axis.polar[1]) <= reach};
    if (!near[0] && !near[1]) return;
    for (int e = 0; e < 2 && !whole; ++e) {
      if (!near[e]) continue;
      const double a = axis.sinPolar * c.sinPolar;
      if (a < 1e-9) {
        whole = true;
        break;
      }
      // Spherical law of cosines solved for the largest azimuth difference.
      const double r = (cosReach - axis.cosPolar[e] * c.cosPolar) / a;
      if (r <= -1) {
        whole = true;
        break;
      }
      whole = !AddWindow(c, count, axis.azimuth[e], std::acos(std::min(r, 1.0)), windows, used);
    }
  }
  if (whole) {
    windows[0] = {0, count - 1};
    used = 1;
  }
  if (used > 1)
    std::sort(windows.begin(), windows.begin() + used,
              [](const Interval& x, const Interval& y) { return x.lo < y.lo; });
  // The points within reach first, then their weights: the arc cosines and
  // exponentials of a circle then follow one another without branches between.
  std::array<int, kMaxPoints> hit;
  std::array<double, kMaxPoints> dots;
  int hits = 0;
  int next = 0;  // first index not visited yet: overlapping windows visit a point once
  for (int w = 0; w < used; ++w) {
    for (int k = std::max(windows[w].lo, next); k <= windows[w].hi; ++k) {
      const double dot = AbsDot(axis.v, c.points[k]);
      hit[hits] = k;
      dots[hits] = dot;
      hits += dot >= dotLimit ? 1 : 0;
    }
    next = std::max(next, windows[w].hi + 1);
  }
  for (int h = 0; h < hits; ++h) row[hit[h] + 1] += table.Weight(dots[h]);
}

}  // namespace

DensityKernel MakeDensityKernel(double fwhm) {
  const double w = DegToRad(fwhm);
  return DensityKernel{4 * w, 0.6931472 / (w * w)};
}

bool AddDensity(PoleFigure& pf, const std::vector<Vec3>& directions, double fwhm, int threads,
                const WorkControl* control) {
  const DensityKernel kernel = MakeDensityKernel(fwhm);
  const std::vector<CircleDirections> table = CircleTable(pf);
  const double reach = kernel.cutoff + kSearchMargin;
  // A kernel reaching 90 degrees touches every axis: nothing to skip.
  const bool everything = !(reach < kPi / 2);
  const double cosReach = everything ? -1.0 : std::cos(reach);
  const double dotLimit = kernel.cutoff + kDotMargin < kPi / 2 ? std::cos(kernel.cutoff + kDotMargin) : -1.0;
  const RadialKernel weights(kernel.cutoff, kernel.q);

  std::vector<Axis> axes;
  axes.reserve(directions.size());
  for (const Vec3& v : directions) axes.push_back(MakeAxis(v, everything));

  // The axes by polar angle: a circle need not visit those that AddToCircle
  // would pass over at once, and its cells stay free of streaming them all.
  std::vector<std::pair<double, int>> byPolar;
  std::vector<int> always;
  for (std::size_t a = 0; a < axes.size(); ++a) {
    if (axes[a].everywhere)
      always.push_back(static_cast<int>(a));
    else
      byPolar.emplace_back(axes[a].polar[0], static_cast<int>(a));
  }
  std::sort(byPolar.begin(), byPolar.end());
  // Marks, in file order, the axes whose polar angle or its supplement may
  // lie within reach of the circle's (a margin over the rounding of pi - p).
  const auto markCandidates = [&](const CircleDirections& c, std::vector<char>& marks) {
    std::fill(marks.begin(), marks.end(), 0);
    for (int a : always) marks[static_cast<std::size_t>(a)] = 1;
    constexpr double kMargin = 1e-9;
    for (const double centre : {c.polar, kPi - c.polar}) {
      auto it = std::lower_bound(byPolar.begin(), byPolar.end(), std::pair{centre - reach - kMargin, -1});
      for (; it != byPolar.end() && it->first <= centre + reach + kMargin; ++it)
        marks[static_cast<std::size_t>(it->second)] = 1;
    }
  };

  // Each circle is one task: its cells receive the directions in file order
  // whichever thread runs it, so the sums do not depend on the threads.
  std::atomic<int> nextCircle{1};
  std::atomic<int> finished{0};
  const int circles = static_cast<int>(table.size()) - 1;
  const bool watched = control != nullptr;
  const auto work = [&](bool reporting) {
    std::vector<char> marks(axes.size());
    for (int i = nextCircle.fetch_add(1); i <= circles; i = nextCircle.fetch_add(1)) {
      const CircleDirections& c = table[i];
      const std::span<double> row = pf.Intensity[i];
      if (everything || c.points.empty())
        std::fill(marks.begin(), marks.end(), 1);
      else
        markCandidates(c, marks);
      if (!watched) {
        for (std::size_t a = 0; a < axes.size(); ++a)
          if (marks[a]) AddToCircle(row, c, axes[a], cosReach, reach, dotLimit, weights);
        continue;
      }
      // Millions of directions keep one circle busy for a while: look up
      // now and then, so that the gauge moves and Cancel is heard.
      constexpr std::size_t kBetweenLooks = 1 << 16;
      for (std::size_t a = 0; a < axes.size(); ++a) {
        if (marks[a]) AddToCircle(row, c, axes[a], cosReach, reach, dotLimit, weights);
        if ((a + 1) % kBetweenLooks != 0) continue;
        if (control->Cancelled()) return;
        if (reporting) control->Report(finished.load(), circles);
      }
      finished.fetch_add(1);
      if (control->Cancelled()) return;
      if (reporting) control->Report(finished.load(), circles);
    }
  };
  int helpers = threads > 0 ? threads - 1 : static_cast<int>(std::thread::hardware_concurrency()) - 1;
  helpers = std::clamp(helpers, 0, std::min(63, circles - 1));
  std::size_t points = 0;
  for (const CircleDirections& c : table) points += c.points.size();
  if (directions.size() * points < 100000) helpers = 0;  // not worth a thread
  {
    std::vector<std::jthread> pool;
    pool.reserve(static_cast<std::size_t>(helpers));
    for (int t = 0; t < helpers; ++t) pool.emplace_back(work, false);
    work(true);
  }  // joins the helpers
  if (!watched) return true;
  if (control->Cancelled()) return false;
  control->Report(circles, circles);
  return true;
}

}  // namespace quorix
