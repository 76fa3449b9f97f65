// Smoothing on grids with a centre point: kernel rows per circle pair applied
// by direct multiply-add.
#include "transform/smoothing_centre.h"

#include <algorithm>
#include <cmath>

#include "transform/circle_tasks.h"

namespace quorix {

namespace {

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
    : rings_(grid, 2, cutoff, k, threads) {
  // The centre's x and y are zero: every point of a ring gives it the same
  // dot product, computed as the plain loop does.
  const Vec3 centre = DirectionToVector(grid.Alpha[1], grid.BetaStart[1]);
  const int count = rings_.Count();
  centreWeight_.resize(count);
  for (int r = 0; r < count; ++r) {
    const double d = ArcCosClamped(AbsDot(rings_.Unit(r, 0), centre));
    centreWeight_[r] = d > rings_.Cutoff() ? 0.0 : rings_.Weight(d);
  }
  rows_.resize(count);
  weights_.resize(count);
  ties_.resize(count);
  RunCircleTasks(count, threads, [this](int r) { BuildRing(r); });
}

// The kernel rows of ring r against every ring within reach, each cut to the
// shifts between its longest circular run of zeros.
void CentreGridSmoother::BuildRing(int r) {
  const int n = rings_.Points();
  std::vector<double> row(n);
  std::vector<int> tieShifts;
  for (int h = 0; h < rings_.Count(); ++h) {
    if (!rings_.InReach(r, h)) continue;
    const bool any = rings_.Row(r, h, row, tieShifts, ties_[r]);
    if (!any) continue;
    int gapEnd = 0, gapLength = 0, run = 0;
    for (int s = 0; s < 2 * n; ++s) {
      run = row[s % n] == 0 ? run + 1 : 0;
      if (run > gapLength) {
        gapLength = run;
        gapEnd = s + 1;
      }
    }
    const int first = gapEnd % n;
    const int length = n - gapLength;
    std::vector<double>& weights = weights_[r];
    rows_[r].push_back({h, first, length, weights.size()});
    for (int t = 0; t < length; ++t) weights.push_back(row[(first + t) % n]);
  }
}

bool CentreGridSmoother::Smooth(const PoleFigure& pf, bool excludeNegative, IntensityTable& out,
                                const CircleProgress& progress, int threads, const std::atomic<bool>* cancel) const {
  // Each ring's masked values three times over, so that every shift of a row
  // (first + t < 2 n) reads one run.
  const int count = rings_.Count();
  const int points = rings_.Points();
  const std::size_t n = static_cast<std::size_t>(points);
  std::vector<double> values(count * 3 * n), mask(count * 3 * n);
  for (int h = 0; h < count; ++h) {
    double* v = values.data() + h * 3 * n;
    double* w = mask.data() + h * 3 * n;
    for (std::size_t m = 0; m < n; ++m) {
      const double value = pf.Intensity[h + 2][m + 1];
      const bool takes = TakesPart(value, excludeNegative);
      v[m] = v[m + n] = v[m + 2 * n] = takes ? value : 0.0;
      w[m] = w[m + n] = w[m + 2 * n] = takes ? 1.0 : 0.0;
    }
  }
  const double centre = pf.Intensity[1][1];
  const bool centreValid = TakesPart(centre, excludeNegative);

  // In the plain loop's order, with its weights: the centre's mean sums
  // every point within reach, too many terms to sum in another order.
  const auto smoothCentre = [&] {
    if (centre == kMissing) {
      out[1][1] = kMissing;
      return;
    }
    double w = centreValid ? 1.0 : 0.0;  // its own weight, at distance zero
    double wv = centreValid ? centre : 0.0;
    for (int h = 0; h < count; ++h) {
      const double weight = centreWeight_[h];
      if (weight == 0) continue;
      for (int m = 0; m < points; ++m) {
        const double v = pf.Intensity[h + 2][m + 1];
        if (!TakesPart(v, excludeNegative)) continue;
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
                 sv.data(), points);
    }
    for (const TiePair& t : ties_[r]) {
      const double v = pf.Intensity[t.h + 2][t.m + 1];
      if (!TakesPart(v, excludeNegative)) continue;
      sw[t.j] += t.w;
      sv[t.j] += t.w * v;
    }
    for (int j = 0; j < points; ++j) {
      const double own = pf.Intensity[r + 2][j + 1];
      out[r + 2][j + 1] = own == kMissing ? kMissing : sw[j] == 0 ? own : sv[j] / sw[j];
    }
  };
  return RunCircleTasks(
      count + 1, threads,
      [&](int t) {
        if (t == 0)
          smoothCentre();
        else
          smoothRing(t - 1);
      },
      progress, cancel);
}

}  // namespace quorix
