// Contour levels edited by hand.
#include "plot/level_editing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/number_format.h"
#include "base/text_file.h"

namespace quorix {

namespace {

// First + k step sums drift; a level within this share of a step of the
// bound still counts as reaching it, so that 1, 1.1, ... 2 ends at 2.
constexpr double kStepTolerance = 1e-9;

int ClampedCount(const PoleFigure& pf) { return std::clamp(pf.LevelCount, 0, kMaxLevels); }

}  // namespace

int LevelDecimals(const PoleFigure& pf) { return DecimalsFor(pf.Level[ClampedCount(pf)]); }

LevelRows FormatLevelRows(const PoleFigure& pf) {
  LevelRows rows;
  const int count = ClampedCount(pf);
  const int d = LevelDecimals(pf);
  for (int r = 0; r < count; ++r) rows[r] = FormatFixed(d, pf.Level[r + 1]);
  return rows;
}

LevelFields FormatLevelFields(const PoleFigure& pf) {
  LevelFields f;
  const int count = ClampedCount(pf);
  if (count < 1) return f;
  const int d = LevelDecimals(pf);
  f.first = FormatFixed(d, pf.Level[1]);
  f.last = FormatFixed(d, pf.Level[count]);
  if (count > 1) f.step = FormatFixed(d, (pf.Level[count] - pf.Level[1]) / (count - 1));
  return f;
}

LevelEditResult RecalculateLevels(PoleFigure& pf, const std::string& first, const std::string& step,
                                  const std::string& last, MessageSink& sink) {
  const std::optional<double> f = ParseNumber(first);
  const std::optional<double> s = ParseNumber(step);
  const std::optional<double> e = ParseNumber(last);
  if (!f || !s || !e) return LevelEditResult::NotANumber;
  const double bound = *e + std::fabs(*s) * kStepTolerance;
  std::vector<double> levels;
  // One more than the limit is enough to know it is exceeded.
  for (int k = 0; k <= kMaxLevels; ++k) {
    const double v = *f + k * *s;
    if (v > bound) break;
    levels.push_back(v);
  }
  if (static_cast<int>(levels.size()) > kMaxLevels) {
    sink.Message(kTooManyLevelsMessage);
    return LevelEditResult::TooMany;
  }
  pf.LevelCount = static_cast<int>(levels.size());
  for (int k = 0; k < pf.LevelCount; ++k) pf.Level[k + 1] = levels[k];
  return LevelEditResult::Done;
}

std::optional<std::string> LastLevelText(const PoleFigure& pf, bool showMrd, const std::string& first,
                                         const std::string& step) {
  const std::optional<double> f = ParseNumber(first);
  const std::optional<double> s = ParseNumber(step);
  if (!f || !s) return std::nullopt;
  const double top = showMrd ? pf.MaxValue / pf.NormFactor : pf.MaxValue;
  double x = *f;
  // Counted rather than stepped: a step of zero or below would never end.
  if (*s > 0 && std::isfinite(top) && top > *f) {
    double k = std::floor((top - *f) / *s);
    const double bound = top + *s * kStepTolerance;
    if (*f + (k + 1) * *s <= bound)
      k += 1;
    else if (k > 0 && *f + k * *s > bound)
      k -= 1;
    x = *f + k * *s;
  }
  return FormatFixed(DecimalsFor(x), x);
}

void ApplyLevelRows(PoleFigure& pf, const LevelRows& rows) {
  pf.LevelCount = 0;
  for (const std::string& row : rows) {
    const std::optional<double> v = ParseNumber(row);
    if (!v) continue;
    ++pf.LevelCount;
    pf.Level[pf.LevelCount] = *v;
  }
}

void CopyLevels(const PoleFigure& from, PoleFigure& to) {
  to.LevelCount = ClampedCount(from);
  to.Level = from.Level;
}

void SortLevelRows(LevelRows& rows, int decimals) {
  std::vector<double> values;
  for (const std::string& row : rows)
    if (const std::optional<double> v = ParseNumber(row)) values.push_back(*v);
  std::sort(values.begin(), values.end());
  rows.fill("");
  for (std::size_t r = 0; r < values.size(); ++r) rows[r] = FormatFixed(decimals, values[r]);
}

void DeleteLevelRows(LevelRows& rows, int top, int bottom) {
  const int n = static_cast<int>(rows.size());
  top = std::max(top, 0);
  bottom = std::min(bottom, n - 1);
  if (top > bottom) return;
  const int removed = bottom - top + 1;
  for (int r = top; r < n; ++r) rows[r] = r + removed < n ? rows[r + removed] : std::string();
}

int LeadingNumericRows(const LevelRows& rows) {
  int count = 0;
  while (count < static_cast<int>(rows.size()) && ParseNumber(rows[count])) ++count;
  return count;
}

}  // namespace quorix
