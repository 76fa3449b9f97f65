// Smoothing on grids with a centre point: kernel rows per circle pair applied
// by direct multiply-add.
#include "transform/smoothing_centre.h"

#include <algorithm>
#include <cmath>

#include "transform/circle_tasks.h"
#include "transform/smoothing_fft.h"

namespace quorix {

namespace {

bool Valid(double v, bool excludeNegative) { return v != kMissing && !(excludeNegative && v < 0); }

double AbsDot(const Vec3& a, const Vec3& b) { return std::fabs(a.x * b.x + a.y * b.y + a.z * b.z); }

// Kernel entries of consecutive shifts against a whole circle: weights[j] +=
// w[t] mask[j + t], sums[j] += w[t] values[j + t]. Written over the targets,
// so that it vectorises while each target's sums still take the entries one
// after another; four at a time load and store the sums once.
void AddOne(double w, const double* __restrict mask, const double* __restrict values, double* __restrict weights,
            double* __restrict sums, int n) {
  for (int j = 0; j < n; ++j) {
    weights[j] += w * mask[j];
    sums[j] += w * values[j];
  }
}

void AddShifted(const double* w, int count, const double* __restrict mask, const double* __restrict values,
                double* __restrict weights, double* __restrict sums, int n) {
  int t = 0;
  for (; t + 4 <= count; t += 4) {
    const double w0 = w[t], w1 = w[t + 1], w2 = w[t + 2], w3 = w[t + 3];
    // A zero weight is a pair beyond the cut-off: it must not meet an infinite value.
    if (w0 == 0 || w1 == 0 || w2 == 0 || w3 == 0) {
      for (int u = t; u < t + 4; ++u)
        if (w[u] != 0) AddOne(w[u], mask + u, values + u, weights, sums, n);
      continue;
    }
    const double* m = mask + t;
    const double* v = values + t;
    for (int j = 0; j < n; ++j) {
      weights[j] = weights[j] + w0 * m[j] + w1 * m[j + 1] + w2 * m[j + 2] + w3 * m[j + 3];
      sums[j] = sums[j] + w0 * v[j] + w1 * v[j + 1] + w2 * v[j + 2] + w3 * v[j + 3];
    }
  }
  for (; t < count; ++t)
    if (w[t] != 0) AddOne(w[t], mask + t, values + t, weights, sums, n);
}

}  // namespace

bool CentreGridSmoother::Applies(const PoleFigure& grid) {
  if (!TablesHoldGrid(grid) || grid.CircleCount < 2 || grid.Alpha[1] != 0 || grid.CirclePoints[1] != 1) return false;
  return FullTurnsOfEqualPoints(grid, 2);
}

CentreGridSmoother::CentreGridSmoother(const PoleFigure& grid, double cutoff, double k, int threads)
    : rings_(grid.CircleCount - 1), n_(grid.CirclePoints[2]), cutoff_(cutoff), k_(k) {
  units_.resize(static_cast<std::size_t>(rings_) * n_);
  polar_.resize(rings_);
  onAxis_.resize(rings_);
  centreWeight_.resize(rings_);
  // The same expressions as the plain loop, so that the centre weights and
  // the tie pairs are its own.
  const Vec3 centre = DirectionToVector(grid.Alpha[1], grid.BetaStart[1]);
  RunCircleTasks(rings_, threads, [&](int r) {
    for (int j = 0; j < n_; ++j)
      units_[static_cast<std::size_t>(r) * n_ + j] =
          DirectionToVector(grid.Alpha[r + 2], grid.BetaStart[r + 2] + j * grid.BetaStep[r + 2]);
    polar_[r] = std::acos(std::clamp(Unit(r, 0).z, -1.0, 1.0));
    onAxis_[r] = OnAxis(&Unit(r, 0), n_);
    // The centre's x and y are zero: every point of the ring gives it the same dot product.
    const double d = ArcCosClamped(AbsDot(Unit(r, 0), centre));
    centreWeight_[r] = d > cutoff_ ? 0.0 : std::exp(-k_ * d * d);
  });
  rows_.resize(rings_);
  weights_.resize(rings_);
  ties_.resize(rings_);
  RunCircleTasks(rings_, threads, [this](int r) { BuildRing(r); });
}

// The kernel rows of ring r against every ring within reach, each cut to the
// shifts between its longest circular run of zeros.
void CentreGridSmoother::BuildRing(int r) {
  std::vector<double> row(n_);
  std::vector<int> tieShifts;
  for (int h = 0; h < rings_; ++h) {
    if (!InReach(r, h)) continue;
    const bool exact = onAxis_[r] || onAxis_[h];
    const bool any = KernelRow(Unit(r, 0), &Unit(h, 0), n_, cutoff_, k_, exact, row, tieShifts);
    for (int s : tieShifts)
      for (int j = 0; j < n_; ++j) {
        const int m = (j + s) % n_;
        const double d = ArcCosClamped(AbsDot(Unit(r, j), Unit(h, m)));
        if (d <= cutoff_) ties_[r].push_back({j, h, m, std::exp(-k_ * d * d)});
      }
    if (!any) continue;
    int gapEnd = 0, gapLength = 0, run = 0;
    for (int s = 0; s < 2 * n_; ++s) {
      run = row[s % n_] == 0 ? run + 1 : 0;
      if (run > gapLength) {
        gapLength = run;
        gapEnd = s + 1;
      }
    }
    const int first = gapEnd % n_;
    const int length = n_ - gapLength;
    std::vector<double>& weights = weights_[r];
    rows_[r].push_back({h, first, length, weights.size()});
    for (int t = 0; t < length; ++t) weights.push_back(row[(first + t) % n_]);
  }
}

bool CentreGridSmoother::Smooth(const PoleFigure& pf, bool excludeNegative, IntensityTable& out,
                                const CircleProgress& progress, int threads, const std::atomic<bool>* cancel) const {
  // Each ring's masked values three times over, so that every shift of a row
  // (first + t < 2 n) reads one run.
  const std::size_t n = static_cast<std::size_t>(n_);
  std::vector<double> values(rings_ * 3 * n), mask(rings_ * 3 * n);
  for (int h = 0; h < rings_; ++h) {
    double* v = values.data() + h * 3 * n;
    double* w = mask.data() + h * 3 * n;
    for (std::size_t m = 0; m < n; ++m) {
      const double value = pf.Intensity[h + 2][m + 1];
      const bool valid = Valid(value, excludeNegative);
      v[m] = v[m + n] = v[m + 2 * n] = valid ? value : 0.0;
      w[m] = w[m + n] = w[m + 2 * n] = valid ? 1.0 : 0.0;
    }
  }
  const double centre = pf.Intensity[1][1];
  const bool centreValid = Valid(centre, excludeNegative);

  // In the plain loop's order, with its weights: the centre's mean sums
  // every point within reach, too many terms to sum in another order.
  const auto smoothCentre = [&] {
    if (centre == kMissing) {
      out[1][1] = kMissing;
      return;
    }
    double w = centreValid ? 1.0 : 0.0;  // its own weight, at distance zero
    double wv = centreValid ? centre : 0.0;
    for (int h = 0; h < rings_; ++h) {
      const double weight = centreWeight_[h];
      if (weight == 0) continue;
      for (int m = 0; m < n_; ++m) {
        const double v = pf.Intensity[h + 2][m + 1];
        if (!Valid(v, excludeNegative)) continue;
        w += weight;
        wv += weight * v;
      }
    }
    out[1][1] = w == 0 ? centre : wv / w;
  };
  const auto smoothRing = [&](int r) {
    const bool fromCentre = centreValid && centreWeight_[r] != 0;
    std::vector<double> sw(n, fromCentre ? centreWeight_[r] : 0.0), sv(n, fromCentre ? centreWeight_[r] * centre : 0.0);
    for (const Row& row : rows_[r]) {
      const std::size_t first = row.ring * 3 * n + row.first;
      AddShifted(weights_[r].data() + row.offset, row.length, mask.data() + first, values.data() + first, sw.data(),
                 sv.data(), n_);
    }
    for (const Tie& t : ties_[r]) {
      const double v = pf.Intensity[t.ring + 2][t.m + 1];
      if (!Valid(v, excludeNegative)) continue;
      sw[t.j] += t.w;
      sv[t.j] += t.w * v;
    }
    for (int j = 0; j < n_; ++j) {
      const double own = pf.Intensity[r + 2][j + 1];
      out[r + 2][j + 1] = own == kMissing ? kMissing : sw[j] == 0 ? own : sv[j] / sw[j];
    }
  };
  return RunCircleTasks(
      rings_ + 1, threads,
      [&](int t) {
        if (t == 0)
          smoothCentre();
        else
          smoothRing(t - 1);
      },
      progress, cancel);
}

}  // namespace quorix
