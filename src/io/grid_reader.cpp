#include "io/grid_reader.h"

#include <fmt/format.h>

#include <array>
#include <cmath>

#include "base/text_file.h"

namespace quorix {
namespace {

// The limits of the record and of the circle completion, for the circles read.
bool CheckCircles(const std::vector<GridCircle>& circles, bool withSteps, bool outerMirror, const std::string& fileName,
                  MessageSink& sink) {
  std::vector<long long> points;
  std::vector<double> steps;
  for (const GridCircle& c : circles) {
    points.push_back(c.points);
    if (withSteps) steps.push_back(c.betaStep);
  }
  return CheckGridLimits(points, steps, outerMirror, fileName, FileRole::Grid, sink);
}

// Equivalent azimuth in 0 <= beta < 360, computed without a loop that a
// huge value could keep going.
double NormaliseStart(double beta) {
  if (beta >= 0 && beta < 360) return beta;
  double r = std::fmod(beta, 360.0);
  if (r < 0) r += 360.0;
  if (r >= 360.0) r = 0;
  return r;
}

// The first `N` tokens of a line; fewer when the line has fewer.
template <std::size_t N>
std::size_t FirstTokens(std::string_view line, std::array<std::string_view, N>& tokens) {
  TokenCursor cursor(line);
  std::size_t count = 0;
  while (count < N && cursor.Next(tokens[count])) ++count;
  return count;
}

}  // namespace

bool ReadSimpleGrid(PoleFigure& pf, const std::string& fileName, MessageSink& sink) {
  const auto text = ReadTextFile(fileName, sink, "File " + fileName + " not found.");
  return text && ReadSimpleGridText(pf, *text, fileName, sink);
}

bool ReadSimpleGridText(PoleFigure& pf, std::string_view text, const std::string& fileName, MessageSink& sink) {
  std::vector<GridCircle> circles;
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  while (lines.Next(line)) {
    std::array<std::string_view, 2> tokens;
    if (FirstTokens(line, tokens) < 2) continue;
    const auto alpha = ParseNumber(tokens[0]);
    const auto points = ParseInteger(tokens[1]);
    if (!alpha || !points || *points <= 0) continue;
    GridCircle c;
    c.alpha = *alpha;
    c.points = *points;
    c.betaStart = 0;
    c.betaStep = 360.0 / static_cast<double>(c.points);
    circles.push_back(c);
    if (static_cast<int>(circles.size()) > kMaxCircles) break;
  }
  if (!CheckCircles(circles, false, false, fileName, sink)) return false;
  SetSimpleGrid(pf, circles);
  return true;
}

void SetSimpleGrid(PoleFigure& pf, const std::vector<GridCircle>& circles) {
  const int n = static_cast<int>(circles.size());
  for (int i = 1; i <= n; ++i) {
    const auto& c = circles[static_cast<std::size_t>(i - 1)];
    pf.Alpha[i] = c.alpha;
    pf.CirclePoints[i] = static_cast<int>(c.points);
    pf.BetaStart[i] = c.betaStart;
    pf.BetaStep[i] = c.betaStep;
  }
  pf.CircleCount = n;
  pf.BetaRange = pf.CirclePoints[1] * pf.BetaStep[1];
  pf.InnerMirror = 0;
  pf.OuterMirror = 0;
  pf.Grid = GridKind::Simple;
  SizeTablesToGrid(pf);
}

bool ReadFullGrid(PoleFigure& pf, const std::string& fileName, MessageSink& sink) {
  const auto text = ReadTextFile(fileName, sink, "Cannot open " + fileName + ".");
  return text && ReadFullGridText(pf, *text, fileName, sink);
}

bool ReadFullGridText(PoleFigure& pf, std::string_view text, const std::string& fileName, MessageSink& sink) {
  int innerSwitch = -1, outerSwitch = -1;
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  while ((innerSwitch < 0 || outerSwitch < 0) && lines.Next(line)) {
    if (line.empty()) continue;
    const char first = line[0];
    const bool inner = first == 'I' || first == 'i';
    const bool outer = first == 'O' || first == 'o';
    if (!inner && !outer) continue;
    const auto blank = line.find(' ');
    const char value = (blank == std::string_view::npos || blank + 1 >= line.size()) ? line[0] : line[blank + 1];
    const int on = (value == 'I' || value == 'i') ? 0 : 1;
    (inner ? innerSwitch : outerSwitch) = on;
  }
  if (innerSwitch < 0 || outerSwitch < 0) {
    sink.Problem({fileName, 0, "the file ends before the inner and outer mirror switches are both given.",
                  Severity::Error, FileRole::Grid});
    return false;
  }

  std::vector<GridCircle> circles;
  while (lines.Next(line)) {
    std::array<std::string_view, 4> tokens;
    if (FirstTokens(line, tokens) < 4) continue;
    const auto alpha = ParseNumber(tokens[0]);
    const auto start = ParseNumber(tokens[1]);
    const auto step = ParseNumber(tokens[2]);
    const auto points = ParseInteger(tokens[3]);
    if (!alpha || !start || !step || !points || *points <= 0) continue;
    circles.push_back(GridCircle{*alpha, *start, *step, *points});
    if (static_cast<int>(circles.size()) > kMaxCircles) break;
  }
  const int n = static_cast<int>(circles.size());
  const bool outerMirror = outerSwitch == 1 && n > 0 && circles[n - 1].alpha < 89.9995;
  if (!CheckCircles(circles, true, outerMirror, fileName, sink)) return false;

  pf.PointCount = 0;
  for (int i = 1; i <= n; ++i) {
    const auto& c = circles[i - 1];
    pf.Alpha[i] = c.alpha;
    pf.BetaStep[i] = c.betaStep;
    pf.CirclePoints[i] = static_cast<int>(c.points);
    double start = c.betaStart;
    // A circle measured towards decreasing beta starts at its lowest beta.
    if (c.betaStep < 0) start += static_cast<double>(c.points - 1) * c.betaStep;
    pf.BetaStart[i] = NormaliseStart(start);
    pf.PointCount += pf.CirclePoints[i];
  }
  pf.CircleCount = n;

  if (innerSwitch == 1 && pf.Alpha[1] > 0) {
    pf.Alpha[0] = -pf.Alpha[1];
    pf.BetaStart[0] = pf.BetaStart[1] + 180;
    pf.BetaStep[0] = pf.BetaStep[1];
    pf.CirclePoints[0] = pf.CirclePoints[1];
    pf.InnerMirror = 1;
  } else {
    pf.InnerMirror = 0;
  }
  if (outerMirror) {
    pf.Alpha[n + 1] = 180 - pf.Alpha[n];
    pf.BetaStart[n + 1] = pf.BetaStart[n] + 180;
    pf.BetaStep[n + 1] = pf.BetaStep[n];
    pf.CirclePoints[n + 1] = pf.CirclePoints[n];
    pf.OuterMirror = 1;
  } else {
    pf.OuterMirror = 0;
  }
  pf.BetaRange = pf.CirclePoints[1] * pf.BetaStep[1];
  pf.Grid = GridKind::Full;
  SizeTablesToGrid(pf);
  return true;
}

}  // namespace quorix
