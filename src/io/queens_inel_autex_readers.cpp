// Three older exchange layouts: Queen's University pole figure files (.plf),
// INEL "Fdt File" column lists (.int) and AUTEX experimental pole figure
// files (.EXP).
#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/exchange_readers.h"

namespace quorix {
namespace {

bool StartsWith(std::string_view line, std::string_view start) { return line.substr(0, start.size()) == start; }

bool IsNumberLine(std::string_view line) {
  TokenCursor tokens(line);
  std::string_view token;
  bool any = false;
  while (tokens.Next(token)) {
    if (!ParseNumber(token)) return false;
    any = true;
  }
  return any;
}

bool IsStarLine(std::string_view line) {
  line = Trim(line);
  return line.size() >= 4 && line.find_first_not_of('*') == std::string_view::npos;
}

// Miller indices written as one group of single digits, each maybe with a
// minus: "111", "200.", "1-10", "0001"; empty for anything else.
std::string HklFromDigits(std::string_view token) {
  if (!token.empty() && token.back() == '.') token.remove_suffix(1);
  std::vector<int> indices;
  for (std::size_t i = 0; i < token.size(); ++i) {
    int sign = 1;
    if (token[i] == '-' && i + 1 < token.size()) {
      sign = -1;
      ++i;
    }
    if (token[i] < '0' || token[i] > '9') return {};
    indices.push_back(sign * (token[i] - '0'));
  }
  if (indices.size() != 3 && indices.size() != 4) return {};
  return fmt::format("{}", fmt::join(indices, " "));
}

MeasurementFile OneFigure(DataLayout format, MeasuredPoleFigure pf) {
  MeasurementFile file;
  file.format = format;
  file.poleFigures.push_back(std::move(pf));
  return file;
}

// Queen's goniometer: circles every 5 degrees of tilt from the centre.
constexpr double kQueensTiltStep = 5;

}  // namespace

// Queen's University: per pole figure a title line that starts with its hkl,
// then the circles from the centre outwards, each a run of values (8 a line)
// ended by a blank line, the azimuths evenly over a full turn from 0; a line
// of stars ends the pole figure.
bool LooksLikeQueens(std::string_view text) {
  LineCursor lines(text.substr(0, 65536));
  std::string_view line;
  if (!lines.Next(line)) return false;
  std::string_view first;
  if (!TokenCursor(line).Next(first) || HklFromDigits(first).empty()) return false;
  bool blank = false;
  std::size_t numbers = 0;
  while (lines.Next(line)) {
    if (IsStarLine(line)) return blank && numbers > 0;
    if (Trim(line).empty()) {
      blank = true;
    } else if (IsNumberLine(line)) {
      ++numbers;
    } else {
      return false;
    }
  }
  return false;
}

std::optional<MeasurementFile> ReadQueensText(std::string_view text, const std::string& source, MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  MeasurementFile file;
  file.format = DataLayout::Queens;
  std::size_t number = 0;
  MeasuredPoleFigure pf;
  bool inFigure = false;
  std::vector<double> circle;
  std::size_t circleLine = 0;  // where the current circle began

  const auto endCircle = [&](std::size_t at) {
    if (circle.empty()) return true;
    if (!pf.circles.empty() && circle.size() != pf.circles.front().values.size()) {
      ReportBadInput(sink, source, at,
                     fmt::format("circle {} of pole figure {} holds {} values, the first {}", pf.circles.size() + 1,
                                 pf.name, circle.size(), pf.circles.front().values.size()));
      return false;
    }
    MeasuredCircle c;
    c.alpha = kQueensTiltStep * static_cast<double>(pf.circles.size());
    c.betaStep = 360.0 / static_cast<double>(circle.size());
    c.values = std::move(circle);
    circle.clear();
    if (!FinishCircle(c, source, circleLine, "tilt " + ShortNumber(c.alpha), sink)) return false;
    pf.circles.push_back(std::move(c));
    return true;
  };
  const auto endFigure = [&](std::size_t at) {
    if (!endCircle(at)) return false;
    if (pf.circles.empty()) {
      ReportBadInput(sink, source, at, "pole figure " + pf.name + " holds no values");
      return false;
    }
    if (!FinishPoleFigure(pf, source, sink)) return false;
    file.poleFigures.push_back(std::move(pf));
    pf = MeasuredPoleFigure{};
    inFigure = false;
    return true;
  };

  while (lines.Next(line)) {
    ++number;
    const std::string_view t = Trim(line);
    if (!inFigure) {
      if (t.empty()) continue;
      std::string_view first;
      TokenCursor(t).Next(first);
      pf.hkl = HklFromDigits(first);
      if (pf.hkl.empty()) {
        ReportBadInput(sink, source, number, "expected a title line that starts with the hkl, such as \"111\"");
        return std::nullopt;
      }
      pf.name = pf.hkl;
      pf.comment = std::string(t);
      inFigure = true;
      continue;
    }
    if (IsStarLine(t)) {
      if (!endFigure(number)) return std::nullopt;
      continue;
    }
    if (t.empty()) {
      if (!endCircle(number)) return std::nullopt;
      continue;
    }
    if (circle.empty()) circleLine = number;
    TokenCursor tokens(t);
    std::string_view token;
    while (tokens.Next(token)) {
      const auto v = ParseNumber(token);
      if (!v) {
        ReportBadInput(sink, source, number, fmt::format("\"{}\" is not a number", token.substr(0, 40)));
        return std::nullopt;
      }
      circle.push_back(*v);
    }
    if (static_cast<double>(pf.circles.size()) * kQueensTiltStep > 90) {
      ReportBadInput(sink, source, number, "more circles than fit 0 to 90 degrees in steps of 5");
      return std::nullopt;
    }
  }
  if (inFigure && !endFigure(number)) return std::nullopt;
  if (file.poleFigures.empty()) {
    ReportBadInput(sink, source, 0, "no pole figure");
    return std::nullopt;
  }
  return file;
}

// INEL "Fdt File": "key : value" header lines, a line naming the columns,
// then a row a point: number, 2theta, theta, khi, three translations, phi and
// the intensity. The tilt is the size of khi; the file names no reflection.
bool LooksLikeInel(std::string_view text) { return StartsWith(Trim(text.substr(0, 200)), "Fdt File"); }

std::optional<MeasurementFile> ReadInelText(std::string_view text, const std::string& source, MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  MeasuredPoleFigure pf;
  std::size_t number = 0;
  bool columns = false;
  while (!columns && lines.Next(line)) {
    ++number;
    const std::string_view t = Trim(line);
    if (ToLower(std::string(t.substr(0, 16))).find("2theta interval") == 0) {
      const auto colon = t.find(':');
      const auto range =
          colon == std::string_view::npos ? std::vector<std::string_view>{} : SplitWhitespace(t.substr(colon + 1));
      const auto from = range.size() == 2 ? ParseNumber(range[0]) : std::nullopt;
      const auto to = range.size() == 2 ? ParseNumber(range[1]) : std::nullopt;
      if (from && to) pf.twoTheta = (*from + *to) / 2;
    }
    columns = t.find("Khi") != std::string_view::npos && t.find("Phi") != std::string_view::npos;
  }
  if (!columns) {
    ReportBadInput(sink, source, 0, "no line naming the columns (\"NB 2Theta Theta Khi ... Phi Value\")");
    return std::nullopt;
  }
  constexpr std::size_t kColumns = 9;
  std::map<double, std::vector<AzimuthValue>> byAlpha;
  while (lines.Next(line)) {
    ++number;
    const auto tokens = SplitWhitespace(line);
    if (tokens.empty()) continue;
    double row[kColumns] = {};
    bool ok = tokens.size() == kColumns;
    for (std::size_t k = 0; ok && k < kColumns; ++k) {
      const auto v = ParseNumber(tokens[k]);
      ok = v.has_value();
      if (ok) row[k] = *v;
    }
    if (!ok || std::fabs(row[3]) > 90) {
      ReportBadInput(sink, source, number,
                     "expected a row of number, 2theta, theta, khi (-90 to 90), three translations, phi and intensity");
      return std::nullopt;
    }
    // Net counts: a value below zero is noise about zero, and -1 would read as a missing point.
    byAlpha[std::fabs(row[3])].push_back({row[7], std::max(row[8], 0.0)});
  }
  if (byAlpha.empty()) {
    ReportBadInput(sink, source, number, "no rows of values after the line naming the columns");
    return std::nullopt;
  }
  pf.hkl = [&] {
    const auto groups = HklGroupsInName(source);
    return groups.empty() ? std::string() : groups.front();
  }();
  if (!CirclesFromPoints(byAlpha, pf, source, number, sink)) return std::nullopt;
  return OneFigure(DataLayout::Inel, std::move(pf));
}

// AUTEX: a title line "AUTEX-EXPERIMENTAL POLE FIGURE DATA", two lines about
// the sample, the grid as "ALPHASTART a END b DELTA d BETASTART s DELTA t",
// then per pole figure "HKL  111.  THETA 22.59" (the Bragg angle) and its
// circles, each a full turn of values, the last line of a circle ended by its
// tilt as "-05.00".
bool LooksLikeAutex(std::string_view text) { return StartsWith(Trim(text.substr(0, 200)), "AUTEX"); }

namespace {

struct AutexGrid {
  double alphaStart = 0, alphaStep = 0, betaStart = 0, betaStep = 0;
  std::size_t circles = 0, points = 0;
};

std::optional<AutexGrid> ParseAutexGrid(std::string_view line) {
  const auto t = SplitWhitespace(line);
  if (t.size() != 10 || t[0] != "ALPHASTART" || t[2] != "END" || t[4] != "DELTA" || t[6] != "BETASTART" ||
      t[8] != "DELTA")
    return std::nullopt;
  double v[5];
  for (std::size_t k = 0; k < 5; ++k) {
    const auto n = ParseNumber(t[2 * k + 1]);
    if (!n) return std::nullopt;
    v[k] = *n;
  }
  AutexGrid g{v[0], v[2], v[3], v[4], 0, 0};
  if (!(g.alphaStep > 0) || !(g.betaStep >= kMinBetaStep)) return std::nullopt;
  const auto circles = PointsFromRange(v[0], v[1], v[2]);
  const auto points = PointsFromRange(0, 360, v[4]);
  if (!circles || !points || *points < 2 || *circles > 1000) return std::nullopt;
  g.circles = *circles;
  g.points = *points - 1;  // 360 is 0 again
  return g;
}

}  // namespace

std::optional<MeasurementFile> ReadAutexText(std::string_view text, const std::string& source, MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  std::size_t number = 0;
  std::optional<AutexGrid> grid;
  while (!grid && number < 4 && lines.Next(line)) {
    ++number;
    grid = ParseAutexGrid(line);
  }
  if (!grid) {
    ReportBadInput(sink, source, number,
                   "expected \"ALPHASTART a END b DELTA d BETASTART s DELTA t\" (a whole number of steps) by line 4");
    return std::nullopt;
  }
  MeasurementFile file;
  file.format = DataLayout::Autex;
  MeasuredPoleFigure pf;
  MeasuredCircle circle;
  bool inFigure = false;
  const auto tiltOf = [&](std::size_t c) { return grid->alphaStart + grid->alphaStep * static_cast<double>(c); };
  const auto endFigure = [&](std::size_t at) {
    if (pf.circles.size() != grid->circles || !circle.values.empty()) {
      ReportBadInput(
          sink, source, at,
          fmt::format("pole figure {} ends after {} of its {} circles", pf.name, pf.circles.size(), grid->circles));
      return false;
    }
    if (!FinishPoleFigure(pf, source, sink)) return false;
    file.poleFigures.push_back(std::move(pf));
    pf = MeasuredPoleFigure{};
    return true;
  };
  while (lines.Next(line)) {
    ++number;
    const auto tokens = SplitWhitespace(line);
    if (tokens.empty()) continue;
    if (tokens[0] == "HKL") {
      if (inFigure && !endFigure(number)) return std::nullopt;
      inFigure = true;
      if (tokens.size() >= 2) pf.hkl = HklFromDigits(tokens[1]);
      pf.name = pf.hkl.empty() ? std::string(Trim(line)) : pf.hkl;
      if (tokens.size() >= 4 && tokens[2] == "THETA")
        if (const auto theta = ParseNumber(tokens[3])) pf.twoTheta = 2 * *theta;
      continue;
    }
    if (!inFigure) {
      ReportBadInput(sink, source, number, "values before the first \"HKL\" line");
      return std::nullopt;
    }
    for (std::size_t k = 0; k < tokens.size(); ++k) {
      const auto v = ParseNumber(tokens[k]);
      if (!v) {
        ReportBadInput(sink, source, number, fmt::format("\"{}\" is not a number", tokens[k].substr(0, 40)));
        return std::nullopt;
      }
      const bool mark = circle.values.size() == grid->points;
      if (!mark) {
        circle.values.push_back(*v);
        continue;
      }
      const double tilt = tiltOf(pf.circles.size());
      if (k + 1 != tokens.size() || tokens[k].front() != '-' || std::fabs(-*v - tilt) > 1e-3) {
        ReportBadInput(
            sink, source, number,
            fmt::format("expected the circle's {} values ended by its tilt \"-{:05.2f}\"", grid->points, tilt));
        return std::nullopt;
      }
      if (pf.circles.size() == grid->circles) {
        ReportBadInput(sink, source, number,
                       fmt::format("pole figure {} holds more than its {} circles", pf.name, grid->circles));
        return std::nullopt;
      }
      circle.alpha = tilt;
      circle.betaStart = grid->betaStart;
      circle.betaStep = grid->betaStep;
      if (!FinishCircle(circle, source, number, "tilt " + ShortNumber(tilt), sink)) return std::nullopt;
      pf.circles.push_back(std::move(circle));
      circle = MeasuredCircle{};
    }
  }
  if (inFigure && !endFigure(number)) return std::nullopt;
  if (file.poleFigures.empty()) {
    ReportBadInput(sink, source, number, "no \"HKL\" line");
    return std::nullopt;
  }
  return file;
}

}  // namespace quorix
