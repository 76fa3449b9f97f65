// Extremes, normalisation and orientation tensor of a pole figure.
#include "record/statistics.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quorix {

namespace {

// Polar angles of the sampling rings: arccos(1 - ((k-1)/20)^2), so that the
// equal-area radius grows linearly from ring to ring.
constexpr std::array<double, 22> kSampleRingAlpha = {
    0.0,  // unused
    0.0,        4.0522679,  8.1096145,   12.177176,  16.2602047, 20.3641348,  24.4946485,
    28.6577551, 32.8598804, 37.1079713,  41.409622,  45.7732288, 50.208181,   54.7251026,
    59.3361703, 64.0555202, 68.89980398, 73.8889466, 79.0472158, 84.40477256, 90.0};
constexpr int kSampleRings = 21;

bool IsMissing(double v) { return v == kMissing; }

}  // namespace

void UpdateExtremes(PoleFigure& pf) {
  MarkChanged(pf);
  // Both start from the first value, not from fixed bounds: data beyond
  // them (all above 1e10, or all negative) would report a bound at a
  // position that does not exist.
  bool any = false;
  for (int i = 1; i <= pf.CircleCount; ++i) {
    for (int j = 1; j <= pf.CirclePoints[i]; ++j) {
      const double v = pf.Intensity[i][j];
      if (IsMissing(v)) continue;
      if (!any || v > pf.MaxValue) {
        pf.MaxValue = v;
        pf.MaxCircle = i;
        pf.MaxPoint = j;
      }
      if (!any || v < pf.MinValue) {
        pf.MinValue = v;
        pf.MinCircle = i;
        pf.MinPoint = j;
      }
      any = true;
    }
  }
  if (!any) {
    pf.MaxValue = 0;
    pf.MinValue = pf.Intensity[1][1];
    pf.MaxCircle = pf.MinCircle = 1;
    pf.MaxPoint = pf.MinPoint = 1;
  }
}

CircleLocation LocateOnCircle(const PoleFigure& pf, int circle, double& beta) {
  CircleLocation loc;
  if (circle < 0 || circle > pf.CircleCount + 1) return loc;
  const double b0 = pf.BetaStart[circle];
  const double db = pf.BetaStep[circle];
  const int n = pf.CirclePoints[circle];
  if (!(db > 0) || !std::isfinite(db) || n < 1 || !std::isfinite(beta)) return loc;

  if (beta < b0) beta += 360.0;
  const double steps = std::trunc((beta - b0) / db);
  // Far outside the circle (a start of 360 or more, or a beta below -360):
  // no index to look at.
  if (!(steps >= 0) || steps > 2.0 * n) return loc;
  int j = static_cast<int>(steps) + 1;
  double betaJ = (j - 1) * db + b0;
  int jn = 0;
  double betaJn = 0;
  if (j == n) {
    jn = 1;
    betaJn = b0 + 360.0;
  } else if (j == n + 1 && (n + 1) * db > 360.0) {
    j = n;
    betaJ = (n - 1) * db + b0;
    jn = 1;
    betaJn = b0 + 360.0;
  } else if (j > n) {
    if (n * db < 359.9) return loc;
    j -= n;
    jn = j + 1;
    betaJn = betaJ + db;
  } else {
    jn = j + 1;
    betaJn = betaJ + db;
  }
  if (j < 1 || j > n || jn < 1 || jn > n) return loc;
  loc.j = j;
  loc.beta_j = betaJ;
  loc.jn = jn;
  loc.beta_jn = betaJn;
  return loc;
}

namespace {

std::optional<double> ValueOnCircle(const PoleFigure& pf, int circle, double beta) {
  const CircleLocation loc = LocateOnCircle(pf, circle, beta);
  if (loc.j < 0) return std::nullopt;
  const double a = pf.Intensity[circle][loc.j];
  const double b = pf.Intensity[circle][loc.jn];
  if (IsMissing(a) || IsMissing(b)) return std::nullopt;
  const double span = loc.beta_jn - loc.beta_j;
  if (span == 0) return a;
  return a + (b - a) * (beta - loc.beta_j) / span;
}

}  // namespace

std::optional<double> InterpolateAt(const PoleFigure& pf, double alpha, double beta) {
  int i = pf.InnerMirror == 1 ? 0 : 1;
  const int last = pf.CircleCount + (pf.OuterMirror == 1 ? 1 : 0);
  if (pf.Alpha[i] > alpha) return std::nullopt;
  while (true) {
    if (i >= last) return std::nullopt;
    if (pf.Alpha[i] <= alpha && alpha <= pf.Alpha[i + 1] + 0.01) break;
    ++i;
  }
  const std::optional<double> wi = ValueOnCircle(pf, i, beta);
  if (!wi) return std::nullopt;
  const std::optional<double> wi1 = ValueOnCircle(pf, i + 1, beta);
  if (!wi1) return std::nullopt;
  const double gap = pf.Alpha[i + 1] - pf.Alpha[i];
  if (gap == 0) return *wi;
  return *wi + (*wi1 - *wi) * (alpha - pf.Alpha[i]) / gap;
}

bool SpreadDefined(const PoleFigure& pf) {
  return pf.NormFactor > 0 && std::isfinite(pf.NormFactor) && pf.SampledShare >= 0.05;
}

double UpdateStatistics(PoleFigure& pf) {
  double sum = 0;
  long count = 0;
  Mat3 tensor{};

  // A lone centre point is sampled as a closed two-point circle.
  const bool centreWidened = pf.Alpha[1] == 0 && pf.CirclePoints[1] == 1;
  if (centreWidened) {
    pf.CirclePoints[1] = 2;
    pf.BetaStep[1] = 360.0;
    pf.Intensity[1][2] = pf.Intensity[1][1];
  }

  struct Sample {
    double w;
    double alpha, beta;
  };
  std::vector<Sample> samples;
  double largest = 0;
  int directions = 0;
  for (int k = 1; k <= kSampleRings; ++k) {
    const double alpha = kSampleRingAlpha[k];
    const int m = k == 1 ? 1 : (k == kSampleRings ? 60 : 6 * (k - 1));
    directions += m;
    const double step = 360.0 / m;
    for (int e = 1; e <= m; ++e) {
      const double beta = (e - 1) * step;
      const std::optional<double> w = InterpolateAt(pf, alpha, beta);
      if (!w) continue;
      samples.push_back({*w, alpha, beta});
      largest = std::max(largest, std::fabs(*w));
    }
  }
  // The sums of products (and Jacobi's squares of them) overflow near 1e77
  // and underflow near 1e-77; a power of two brings the largest value near 1
  // without rounding anything, so that ordinary data give the same bits.
  const double scale =
      largest > 0 && std::isfinite(largest) ? std::ldexp(1.0, -std::clamp(std::ilogb(largest), -1000, 1000)) : 1.0;
  for (const Sample& sample : samples) {
    const double w = sample.w * scale;
    sum += w;
    ++count;
    const Vec3 u = DirectionToVector(sample.alpha, sample.beta);
    const double wx = w * u.x;
    const double wy = w * u.y;
    const double wz = w * u.z;
    tensor[0][0] += wx * wx;
    tensor[0][1] += wx * wy;
    tensor[0][2] += wx * wz;
    tensor[1][1] += wy * wy;
    tensor[1][2] += wy * wz;
    tensor[2][2] += wz * wz;
  }

  // Only the widening made here is undone: a genuine two-point centre
  // circle keeps its points even when both hold the same value.
  if (centreWidened && pf.Alpha[1] == 0 && pf.CirclePoints[1] == 2) pf.CirclePoints[1] = 1;

  // NormFactor divides every mrd value. Without any sampled direction, or
  // with a mean of zero or a non-finite one, there is no meaningful
  // normalisation; 1 keeps the mrd values equal to the raw values.
  const double mean = count > 0 ? sum / static_cast<double>(count) / scale : 0.0;
  pf.SampledShare = static_cast<double>(count) / directions;
  pf.NormFactor = (count > 0 && mean != 0 && std::isfinite(mean)) ? mean : 1.0;

  tensor[1][0] = tensor[0][1];
  tensor[2][0] = tensor[0][2];
  tensor[2][1] = tensor[1][2];
  Mat3 vectors{};
  JacobiEigen(tensor, vectors);
  // The tensor is positive semi-definite; rounding may leave a tiny
  // negative eigenvalue, which the logarithms of T and P' cannot take.
  const double l1 = std::max(0.0, tensor[0][0]);
  const double l2 = std::max(0.0, tensor[1][1]);
  const double l3 = std::max(0.0, tensor[2][2]);
  const double s = l1 + l2 + l3;
  if (s > 0 && std::isfinite(s)) {
    pf.Eigenvalue[1] = 3.0 * l3 / s;
    pf.Eigenvalue[2] = 3.0 * l2 / s;
    pf.Eigenvalue[3] = 3.0 * l1 / s;
  } else {
    // No weight at all: an isotropic tensor along the coordinate axes.
    pf.Eigenvalue = {0, 1, 1, 1};
    vectors = IdentityMatrix();
  }
  for (int k = 1; k <= 3; ++k) {
    const int column = 3 - k;
    const Direction d = VectorToDirection(Vec3{vectors[0][column], vectors[1][column], vectors[2][column]});
    pf.EigenAlpha[k] = d.alpha;
    pf.EigenBeta[k] = d.beta;
  }
  return pf.NormFactor;
}

double ShapeParameterT(const PoleFigure& pf) {
  const double e1 = pf.Eigenvalue[1];
  const double e2 = pf.Eigenvalue[2];
  const double e3 = pf.Eigenvalue[3];
  if (!std::isfinite(e1) || !std::isfinite(e2) || !std::isfinite(e3)) return 0.0;
  // Vanishing eigenvalues: take the limits of the formula.
  if (e2 <= 0 || e3 <= 0) {
    if (e2 > 0) return 1.0;   // only E3 vanishes: a girdle
    if (e1 > 0) return -1.0;  // E2 = E3 = 0: a point maximum
    return 0.0;
  }
  if (e1 <= 0) return 0.0;
  const double lower = std::log(e2 / e3);
  const double upper = std::log(e1 / e2);
  const double total = lower + upper;
  if (total == 0) return 0.0;  // all three equal: no shape
  const double t = (lower - upper) / total;
  return std::isfinite(t) ? t : 0.0;
}

double AnisotropyP(const PoleFigure& pf) {
  const double e1 = pf.Eigenvalue[1];
  const double e2 = pf.Eigenvalue[2];
  const double e3 = pf.Eigenvalue[3];
  // P' is at least 1 wherever it is defined; with a vanishing eigenvalue it
  // grows without bound, and 0 marks that it has no value.
  if (!(e1 > 0) || !(e2 > 0) || !(e3 > 0)) return 0.0;
  const double m = std::log((e1 + e2 + e3) / 3.0);
  const double d1 = std::log(e1) - m;
  const double d2 = std::log(e2) - m;
  const double d3 = std::log(e3) - m;
  const double p = std::exp(std::sqrt(2.0 * (d1 * d1 + d2 * d2 + d3 * d3)));
  return std::isfinite(p) ? p : 0.0;
}

bool ApplyCircleOperation(PoleFigure& pf, char op, const std::array<double, kMaxGridRows>& operand) {
  if (op == '*' || op == '+' || op == '-' || op == '/') {
    const int first = pf.InnerMirror == 1 ? 0 : 1;
    const int last = pf.CircleCount + (pf.OuterMirror == 1 ? 1 : 0);
    const auto result = [op](double v, double x) {
      switch (op) {
        case '*': return v * x;
        case '+': return v + x;
        case '-': return v - x;
        default: return v / x;
      }
    };
    // A zero divisor or a non-finite operand would spread infinities through
    // every later statistic; such a value is left as it was. Finite numbers
    // giving an infinite result refuse the whole operation, checked first.
    for (int pass = 0; pass < 2; ++pass) {
      for (int i = first; i <= last; ++i) {
        const double x = operand[i];
        if (!std::isfinite(x) || (op == '/' && x == 0)) continue;
        for (int j = 1; j <= pf.CirclePoints[i]; ++j) {
          double& v = pf.Intensity[i][j];
          if (IsMissing(v) || !std::isfinite(v)) continue;
          const double r = result(v, x);
          if (pass == 0 && !std::isfinite(r)) return false;
          if (pass == 1) v = r;
        }
      }
    }
  }
  UpdateExtremes(pf);
  UpdateStatistics(pf);
  return true;
}

}  // namespace quorix
