// The pointer read-out of the main plot and the in-plot value editor.
#include "transform/readout.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/nearest.h"
#include "base/number_format.h"
#include "base/text_file.h"
#include "record/levels.h"
#include "record/prepare.h"
#include "record/statistics.h"
#include "transform/interpolation.h"

namespace quorix {

namespace {

// A selection made on another record may not lie on this one's grid.
bool Valid(const PoleFigure& pf, const ReadoutSelection& s) {
  return s.circle >= 1 && s.circle <= pf.CircleCount + 1 && s.point >= 1 && s.point <= pf.CirclePoints[s.circle] &&
         s.divisor != 0;
}

int CircleCountOf(const PoleFigure& pf) { return std::max(pf.CircleCount, 1); }
int PointsOn(const PoleFigure& pf, int circle) { return pf.CirclePoints[circle]; }

}  // namespace

bool ValueModeHolds(bool circleCursor, bool displayUnrotated, GridKind grid) {
  return !circleCursor && displayUnrotated && grid != GridKind::Full;
}

std::string PositionText(double alpha, double beta) {
  return "( " + FormatDecimals(beta, 0) + " / " + FormatDecimals(alpha, 0) + " )";
}

int ReadoutCircle(const PoleFigure& pf, double alpha) {
  const int n = CircleCountOf(pf);
  if (alpha >= 90) return n;
  for (int i = 1; i <= n; ++i) {
    if (pf.Alpha[i] > alpha) {
      if (i > 1 && alpha < (pf.Alpha[i - 1] + pf.Alpha[i]) / 2) return i - 1;
      return i;
    }
  }
  return n;
}

int ReadoutPoint(const PoleFigure& pf, int circle, double beta) {
  const double step = pf.BetaStep[circle];
  if (!(step > 0) || !std::isfinite(beta)) return 1;
  const double r = std::floor(beta / step + 0.5);
  if (!(r >= 0) || r >= kMaxPoints) return 1;
  const int p = static_cast<int>(r) + 1;
  // A point past the circle's last one sits at the seam: point 1.
  if (p > Nearest(360.0 / step) || p > PointsOn(pf, circle)) return 1;
  return p;
}

ReadoutSelection SelectReadout(const PoleFigure& pf, double alpha, double beta, bool mrd) {
  ReadoutSelection s;
  s.circle = ReadoutCircle(pf, alpha);
  s.point = ReadoutPoint(pf, s.circle, beta);
  s.divisor = (mrd && pf.Intensity[s.circle][s.point] != kMissing) ? pf.NormFactor : 1.0;
  return s;
}

std::string ValueLabelText(const PoleFigure& pf, const ReadoutSelection& s) {
  if (!Valid(pf, s)) return "";
  const double value = pf.Intensity[s.circle][s.point] / s.divisor;
  return FormatGeneral(value, 6) + "\n" + "( " + FormatDecimals((s.point - 1) * pf.BetaStep[s.circle], 1) + " / " +
         FormatDecimals(pf.Alpha[s.circle], 1) + " )";
}

std::string DirectionLabelText(double alpha, double beta) {
  return " ( " + FormatDecimals(beta, 1) + " / " + FormatDecimals(alpha, 1) + " )";
}

int CursorLabelTop(int y, int plotHeight, bool valueLabel) {
  if (y > plotHeight / 2) return y - (valueLabel ? 38 : 19);
  return y + 5;
}

CursorFigure MakeCursorFigure(int x, int y, int plotHeight, bool circleCursor) {
  CursorFigure f;
  const int height = plotHeight;
  if (!circleCursor) {
    f.lines.push_back({0, y, height, y});
    f.lines.push_back({x, 0, x, height});
    return f;
  }
  const int h = height / 2;
  const long long dx = x - h;
  const long long dy = y - h;
  if (dx * dx + dy * dy == 0) {
    f.lines.push_back({h, 10, h, height - 10});
    return f;
  }
  const double r = std::sqrt(static_cast<double>(dx * dx + dy * dy));
  const int radius = Nearest(r);
  f.hasCircle = true;
  f.left = h - radius;
  f.top = h - radius;
  f.right = h + radius + 1;
  f.bottom = h + radius + 1;
  const int ex = Nearest(static_cast<double>(dx) * h / r);
  const int ey = Nearest(static_cast<double>(dy) * h / r);
  f.lines.push_back({h + ex, h + ey, h - ex, h - ey});
  return f;
}

int OppositePoint(int p, int m) {
  if (m < 1) return p;
  int o = Nearest(p - m / 2.0);
  if (o <= 0) o += m;
  return std::clamp(o, 1, m);
}

std::array<std::string, 4> RecommendedValues::Lines() const {
  return {"Recommended values:", FormatGeneral(alongCircle, 6) + " (theta=const.)",
          FormatGeneral(alongMeridian, 6) + " (phi=const.)", FormatGeneral(mean, 6) + " (mean of both)"};
}

RecommendedValues Recommend(const PoleFigure& pf, const ReadoutSelection& s) {
  const int k = s.circle;
  const int p = s.point;
  const double q = s.divisor;
  const int n = std::max(PointsOn(pf, k), 1);
  const int left = p == 1 ? n : p - 1;
  const int right = p == n ? 1 : p + 1;
  RecommendedValues r;
  if (!Valid(pf, s) || pf.CircleCount < 1) return r;
  r.alongCircle = (pf.Intensity[k][left] + pf.Intensity[k][right]) / 2 / q;

  double a = 0;
  double b = 0;
  const int last = CircleCountOf(pf);
  if (k == 1 || k == last) {
    // At the centre and at the rim the meridian continues on the far side:
    // both neighbours come from the one adjacent circle.
    const int c = k == 1 ? 2 : k - 1;
    const int o = OppositePoint(p, PointsOn(pf, c));
    a = pf.Intensity[c][p];
    b = pf.Intensity[c][o];
  } else {
    a = pf.Intensity[k - 1][p];
    b = pf.Intensity[k + 1][p];
  }
  r.alongMeridian = (a + b) / 2 / q;
  r.mean = (r.alongCircle + r.alongMeridian) / 2;
  return r;
}

std::string EditorText(const PoleFigure& pf, const ReadoutSelection& s) {
  if (!Valid(pf, s)) return "";
  return FormatGeneral(pf.Intensity[s.circle][s.point] / s.divisor, 6);
}

bool ApplyEdit(PoleFigure& pf, const ReadoutSelection& s, std::string_view text, bool showMrd) {
  if (!Valid(pf, s)) return false;
  const std::optional<double> typed = ParseNumber(Trim(text));
  if (!typed) return false;
  const double value = *typed * s.divisor;
  const int k = s.circle;
  const int p = s.point;
  pf.Intensity[k][p] = value;
  // The two ends of a rim diameter are one direction.
  if (k == pf.CircleCount) pf.Intensity[k][OppositePoint(p, PointsOn(pf, k))] = value;
  // Circle 1 is taken as the centre, where all its points coincide.
  if (k == 1)
    for (int j = 1; j <= PointsOn(pf, 1); ++j) pf.Intensity[1][j] = value;
  RefreshMirrorCircles(pf);
  UpdateExtremes(pf);
  UpdateStatistics(pf);
  AutoLevels(pf, showMrd, true, kMaxLevels);
  pf.LowestLevel = LowestLevelOf(pf, showMrd);
  return true;
}

}  // namespace quorix
