#include "io/column_reader.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "base/text_file.h"

namespace quorix {
namespace {

constexpr std::size_t kMaxHeaderLines = 5;
constexpr std::size_t kLinesLookedAt = 400;
constexpr double kSameAlpha = 1e-6;

// The three numbers of a line; nothing when it holds anything else.
std::optional<std::array<double, 3>> Triple(std::string_view line) {
  TokenCursor tokens(line);
  std::array<double, 3> v{};
  std::string_view token;
  for (double& x : v) {
    if (!tokens.Next(token)) return std::nullopt;
    const auto value = ParseNumber(token);
    if (!value) return std::nullopt;
    x = *value;
  }
  if (tokens.Next(token)) return std::nullopt;
  return v;
}

bool IsBlank(std::string_view line) { return Trim(line).empty(); }

// Beta difference folded into (-180, 180]: a circle that runs past 360 goes on at 0.
double Folded(double d) {
  d = std::fmod(d, 360.0);
  if (d > 180) d -= 360;
  if (d <= -180) d += 360;
  return d;
}

double NormalisedStart(double beta) {
  double r = std::fmod(beta, 360.0);
  if (r < 0) r += 360;
  return r >= 360 ? 0 : r;
}

struct Row {
  double alpha, beta, value;
  std::size_t line;
};

FileProblem LineError(const std::string& source, std::size_t line, std::string what) {
  return {source, line, std::move(what)};
}

// The rows of one alpha as a circle in increasing beta.
std::optional<MeasuredCircle> MakeCircle(const std::vector<Row>& rows, const std::string& source, MessageSink& sink) {
  MeasuredCircle c;
  c.alpha = rows.front().alpha;
  const std::size_t n = rows.size();
  if (n == 1) {
    c.betaStart = NormalisedStart(rows.front().beta);
    c.betaStep = 360;
    c.values = {rows.front().value};
    return c;
  }
  double step = 0;
  for (std::size_t k = 1; k < n; ++k) step += Folded(rows[k].beta - rows[k - 1].beta);
  step /= static_cast<double>(n - 1);
  for (std::size_t k = 1; k < n; ++k) {
    const double d = Folded(rows[k].beta - rows[k - 1].beta);
    if (step == 0 || std::fabs(d - step) > 0.01 * std::fabs(step)) {
      sink.Problem(LineError(source, rows[k].line,
                             fmt::format("the betas of the circle at alpha {:g} do not go in equal "
                                         "steps ({:g} after {:g}).",
                                         c.alpha, rows[k].beta, rows[k - 1].beta)));
      return std::nullopt;
    }
  }
  if (static_cast<double>(n - 1) * std::fabs(step) > 360 + 0.01 * std::fabs(step)) {
    sink.Problem(LineError(source, rows.back().line,
                           fmt::format("the circle at alpha {:g} goes round more than once.", c.alpha)));
    return std::nullopt;
  }
  c.betaStep = std::fabs(step);
  c.values.reserve(n);
  if (step > 0) {
    c.betaStart = NormalisedStart(rows.front().beta);
    for (const Row& r : rows) c.values.push_back(r.value);
  } else {
    c.betaStart = NormalisedStart(rows.back().beta);
    for (auto r = rows.rbegin(); r != rows.rend(); ++r) c.values.push_back(r->value);
  }
  DropClosingPoint(c);
  return c;
}

}  // namespace

bool LooksLikeColumns(std::string_view text) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  std::size_t header = 0, looked = 0, triples = 0, others = 0, repeats = 0;
  std::optional<std::array<double, 3>> previous;
  int direction = 0;
  while (looked < kLinesLookedAt && lines.Next(line)) {
    if (IsBlank(line)) continue;
    const auto t = Triple(line);
    if (triples == 0 && !t) {
      if (++header > kMaxHeaderLines) return false;
      continue;
    }
    ++looked;
    if (!t) {
      ++others;
      continue;
    }
    ++triples;
    if ((*t)[0] < -1e-9 || (*t)[0] > 90 + 1e-9 || (*t)[1] < -360 || (*t)[1] > 720) return false;
    if (previous) {
      const double d = (*t)[0] - (*previous)[0];
      if (std::fabs(d) <= kSameAlpha) {
        if ((*t)[1] == (*previous)[1]) return false;  // a circle's azimuth moves
        ++repeats;
      } else {
        const int dir = d > 0 ? 1 : -1;
        if (direction != 0 && dir != direction) return false;  // circles in one order
        direction = dir;
      }
    }
    previous = t;
  }
  return triples >= 3 && repeats * 2 >= triples && others * 20 <= looked;
}

std::optional<MeasurementFile> ReadColumnsText(std::string_view text, const std::string& source, MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  std::vector<Row> rows;
  for (std::size_t number = 1; lines.Next(line); ++number) {
    if (IsBlank(line)) continue;
    const auto t = Triple(line);
    if (!t) {
      if (rows.empty()) continue;  // header lines
      sink.Problem(
          LineError(source, number, fmt::format("\"{}\" is not alpha, beta and intensity.", Trim(line.substr(0, 60)))));
      return std::nullopt;
    }
    if ((*t)[0] < -1e-9 || (*t)[0] > 90 + 1e-9) {
      sink.Problem(LineError(source, number, fmt::format("alpha {:g} lies outside 0 to 90.", (*t)[0])));
      return std::nullopt;
    }
    rows.push_back({(*t)[0], (*t)[1], (*t)[2], number});
  }
  if (rows.empty()) {
    sink.Problem({source, 0, "no lines of alpha, beta and intensity."});
    return std::nullopt;
  }
  // Runs of one alpha are circles; an alpha that comes back later would
  // split a circle.
  std::vector<std::vector<Row>> runs;
  for (const Row& r : rows) {
    if (runs.empty() || std::fabs(runs.back().back().alpha - r.alpha) > kSameAlpha) runs.emplace_back();
    runs.back().push_back(r);
  }
  std::sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return a.front().alpha < b.front().alpha; });
  for (std::size_t k = 1; k < runs.size(); ++k) {
    if (std::fabs(runs[k].front().alpha - runs[k - 1].front().alpha) <= kSameAlpha) {
      sink.Problem(LineError(source, std::max(runs[k].front().line, runs[k - 1].front().line),
                             fmt::format("alpha {:g} comes back after other circles.", runs[k].front().alpha)));
      return std::nullopt;
    }
  }
  MeasuredPoleFigure pf;
  for (const auto& run : runs) {
    auto circle = MakeCircle(run, source, sink);
    if (!circle) return std::nullopt;
    pf.circles.push_back(std::move(*circle));
  }
  MeasurementFile file;
  file.format = DataLayout::Columns;
  file.poleFigures.push_back(std::move(pf));
  return file;
}

}  // namespace quorix
