// Checks and ordering shared by the instrument readers.
#include "io/circle_assembly.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "record/pole_figure.h"

namespace quorix {

namespace {
// Positions in the files carry two or three decimals.
constexpr double kPositionTolerance = 2e-3;
// Far beyond any measured circle (0.01 degree steps give 36000), far below
// what would hurt; the count is only compared, never allocated.
constexpr double kMaxRangePoints = 1e7;
}  // namespace

void ReportBadInput(MessageSink& sink, const std::string& source, std::size_t line, std::string_view what) {
  sink.Problem({source, line, std::string(what) + "."});
}

std::string ShortNumber(double v) { return fmt::format("{:g}", v); }

std::string HklText(long long h, long long k, long long l) { return fmt::format("{} {} {}", h, k, l); }

std::string HklTextIfWhole(double h, double k, double l) {
  const auto whole = [](double v) { return std::isfinite(v) && std::fabs(v) <= 999 && v == std::round(v); };
  if (!whole(h) || !whole(k) || !whole(l)) return {};
  return HklText(std::llround(h), std::llround(k), std::llround(l));
}

bool FinishCircle(MeasuredCircle& circle, const std::string& source, std::size_t line, const std::string& where,
                  MessageSink& sink) {
  const auto fail = [&](const std::string& what) {
    ReportBadInput(sink, source, line, where + ": " + what);
    return false;
  };
  if (circle.values.empty()) return fail("no intensities");
  if (!std::isfinite(circle.alpha) || circle.alpha < -1e-9 || circle.alpha > 90 + 1e-9)
    return fail("the tilt " + ShortNumber(circle.alpha) + " lies outside 0 to 90 degrees from the sample normal");
  circle.alpha = std::clamp(circle.alpha, 0.0, 90.0);
  for (const double v : circle.values)
    if (!std::isfinite(v)) return fail("an intensity is not a finite number");
  const std::size_t n = circle.values.size();
  if (n == 1 && circle.betaStep == 0) circle.betaStep = 360;
  if (!std::isfinite(circle.betaStart) || !std::isfinite(circle.betaStep))
    return fail("the azimuths are not finite numbers");
  if (std::fabs(circle.betaStep) < kMinBetaStep)
    return fail("the azimuth step " + ShortNumber(circle.betaStep) + " is too small");
  const double span = static_cast<double>(n - 1) * std::fabs(circle.betaStep);
  if (span > 360 + kPositionTolerance)
    return fail(fmt::format("{} points in steps of {} span more than a full turn", n, ShortNumber(circle.betaStep)));
  if (circle.betaStep < 0) {
    // Measured towards decreasing azimuth: the last point has the smallest.
    circle.betaStart += circle.betaStep * static_cast<double>(n - 1);
    circle.betaStep = -circle.betaStep;
    std::reverse(circle.values.begin(), circle.values.end());
  }
  circle.betaStart = std::fmod(circle.betaStart, 360.0);
  if (circle.betaStart < 0) circle.betaStart += 360;
  if (circle.betaStart >= 360) circle.betaStart = 0;
  if (std::fabs(span - 360) < kPositionTolerance) {
    // Rounded headers (0.5 x 720 written as 359.999) still close the circle.
    circle.betaStep = 360.0 / static_cast<double>(n - 1);
  }
  DropClosingPoint(circle);
  return true;
}

void BinToRecordLimit(MeasuredCircle& circle) {
  const std::size_t n = circle.values.size();
  const auto limit = static_cast<std::size_t>(kMaxPoints);
  if (n <= limit) return;
  const std::size_t run = (n + limit - 1) / limit;
  std::vector<double> binned;
  for (std::size_t k = 0; k < n; k += run) {
    double sum = 0;
    int count = 0;
    for (std::size_t j = k; j < std::min(n, k + run); ++j)
      if (circle.values[j] >= 0) {
        sum += circle.values[j];
        ++count;
      }
    binned.push_back(count > 0 ? sum / count : -1.0);
  }
  circle.betaStart += circle.betaStep * static_cast<double>(run - 1) / 2;
  circle.betaStep *= static_cast<double>(run);
  circle.values = std::move(binned);
}

bool FinishPoleFigure(MeasuredPoleFigure& pf, const std::string& source, MessageSink& sink) {
  const std::string what = pf.name.empty() ? std::string("the pole figure") : "pole figure " + pf.name;
  if (pf.circles.empty()) {
    ReportBadInput(sink, source, 0, what + " has no circles");
    return false;
  }
  std::stable_sort(pf.circles.begin(), pf.circles.end(),
                   [](const MeasuredCircle& a, const MeasuredCircle& b) { return a.alpha < b.alpha; });
  for (std::size_t i = 1; i < pf.circles.size(); ++i) {
    if (std::fabs(pf.circles[i].alpha - pf.circles[i - 1].alpha) < 1e-6) {
      ReportBadInput(sink, source, 0, what + " has two circles at the tilt " + ShortNumber(pf.circles[i].alpha));
      return false;
    }
  }
  return true;
}

std::optional<double> EvenStep(const double* positions, std::size_t count) {
  if (count < 2) return 0.0;
  const double step = (positions[count - 1] - positions[0]) / static_cast<double>(count - 1);
  if (!std::isfinite(step)) return std::nullopt;
  for (std::size_t i = 1; i < count; ++i) {
    const double expected = positions[0] + step * static_cast<double>(i);
    if (std::fabs(positions[i] - expected) > kPositionTolerance + 1e-3 * std::fabs(step)) return std::nullopt;
  }
  return step;
}

std::optional<std::size_t> PointsFromRange(double start, double stop, double step) {
  if (!std::isfinite(start) || !std::isfinite(stop) || !std::isfinite(step) || step == 0) return std::nullopt;
  const double steps = (stop - start) / step;
  if (!std::isfinite(steps) || steps < 0 || steps + 1 > kMaxRangePoints) return std::nullopt;
  const double whole = std::round(steps);
  if (std::fabs(steps - whole) > 1e-3) return std::nullopt;
  return static_cast<std::size_t>(whole) + 1;
}

bool CirclesFromPoints(std::map<double, std::vector<AzimuthValue>>& byAlpha, MeasuredPoleFigure& pf,
                       const std::string& source, std::size_t line, MessageSink& sink) {
  for (auto& [alpha, points] : byAlpha) {
    std::sort(points.begin(), points.end(),
              [](const AzimuthValue& a, const AzimuthValue& b) { return a.beta < b.beta; });
    std::vector<double> betas;
    MeasuredCircle c;
    for (const AzimuthValue& p : points) {
      betas.push_back(p.beta);
      c.values.push_back(p.value);
    }
    const auto step = EvenStep(betas.data(), betas.size());
    if (!step) {
      sink.Problem({source, line, fmt::format("the betas at alpha {} are not evenly spaced.", ShortNumber(alpha))});
      return false;
    }
    c.alpha = alpha;
    c.betaStart = betas.front();
    c.betaStep = *step;
    if (!FinishCircle(c, source, line, "alpha " + ShortNumber(alpha), sink)) return false;
    pf.circles.push_back(std::move(c));
  }
  return FinishPoleFigure(pf, source, sink);
}

}  // namespace quorix
