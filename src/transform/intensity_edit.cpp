// Editing intensities in place: one value on every point, one value per
// circle, or point by point with a second pole figure on the same grid.
#include "transform/intensity_edit.h"

#include <algorithm>
#include <cmath>

#include "base/text_file.h"
#include "io/data_reader.h"
#include "io/grid_reader.h"
#include "record/levels.h"
#include "record/statistics.h"

namespace quorix {

namespace {

constexpr int kLastOperand = kMaxGridRows - 1;

double Combine(double a, char op, double b) {
  switch (op) {
    case '+': return a + b;
    case '-': return a - b;
    case '*': return a * b;
    default: return a / b;
  }
}

}  // namespace

bool IsEditOperator(char op) {
  return std::find(kEditOperators.begin(), kEditOperators.end(), op) != kEditOperators.end();
}

OperandTable UniformOperands(double value) {
  OperandTable t;
  t.fill(value);
  return t;
}

OperandTable CircleOperands(const std::vector<double>& values) {
  OperandTable t{};
  if (values.empty()) return t;
  const int n = std::min(static_cast<int>(values.size()), kLastOperand);
  for (int i = 1; i <= n; ++i) t[i] = values[i - 1];
  t[0] = t[1];
  for (int i = n + 1; i <= kLastOperand; ++i) t[i] = t[n];
  return t;
}

std::optional<double> ParseEditValue(std::string_view text, char op, MessageSink& sink) {
  const std::optional<double> value = ParseNumber(text);
  if (!value) return std::nullopt;
  if (*value == 0 && op == '/') {
    sink.Message("Division by Zero");
    return std::nullopt;
  }
  return value;
}

std::optional<std::vector<double>> ParseCircleValues(const std::vector<std::string>& cells, char op,
                                                     MessageSink& sink) {
  std::vector<double> values;
  values.reserve(cells.size());
  for (std::size_t k = 0; k < cells.size(); ++k) {
    const std::optional<double> value = ParseNumber(cells[k]);
    if (!value) {
      sink.Message("Invalid value on circle " + std::to_string(k + 1));
      return std::nullopt;
    }
    if (*value == 0 && op == '/') {
      sink.Message("Division by Zero on circle " + std::to_string(k + 1));
      return std::nullopt;
    }
    values.push_back(*value);
  }
  return values;
}

void RefreshLevelsAfterEdit(PoleFigure& pf, bool showMrd) {
  AutoLevels(pf, showMrd, true, kMaxLevels);
  pf.LowestLevel = LowestLevelOf(pf, showMrd);
}

bool EditIntensities(PoleFigure& pf, char op, const OperandTable& operands, bool showMrd, MessageSink& sink) {
  if (!ApplyCircleOperation(pf, op, operands)) {
    sink.Message(kEditOverflowMessage);
    return false;
  }
  RefreshLevelsAfterEdit(pf, showMrd);
  return true;
}

// Data file, then grid file, as on every command line and in the Load Files dialog.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
std::unique_ptr<PoleFigure> ReadRasterPF(const std::string& fileName, const std::string& gridFileName,
                                         MessageSink& sink) {
  auto second = NewPoleFigure();
  if (!ReadGridFile(*second, gridFileName, GridRule::MainWindow, sink)) return nullptr;
  DataReadOptions options;
  options.layout = DataLayout::Plain;
  options.pfIndex = 1;
  options.directional = false;
  if (!ReadPoleFigureData(*second, fileName, options, sink)) return nullptr;
  second->FileName = fileName;
  return second;
}

bool MergeRaster(PoleFigure& target, char op, const PoleFigure& second) {
  // Checked on every point before any changes, as ApplyCircleOperation does.
  for (int pass = 0; pass < 2 && IsEditOperator(op); ++pass) {
    const int first = target.InnerMirror == 1 ? 0 : 1;
    const int last = target.CircleCount + (target.OuterMirror == 1 ? 1 : 0);
    const int secondFirst = second.InnerMirror == 1 ? 0 : 1;
    const int secondLast = second.CircleCount + (second.OuterMirror == 1 ? 1 : 0);
    for (int i = first; i <= last; ++i) {
      const int points = target.CirclePoints[i];
      const bool secondHasCircle = i >= secondFirst && i <= secondLast;
      const int secondPoints = secondHasCircle ? second.CirclePoints[i] : 0;
      for (int j = 1; j <= points; ++j) {
        double& v = target.Intensity[i][j];
        if (v == kMissing || j > secondPoints) continue;
        const double w = second.Intensity[i][j];
        if (w == kMissing || (op == '/' && w == 0)) continue;
        if (!std::isfinite(v) || !std::isfinite(w)) continue;
        const double r = Combine(v, op, w);
        if (pass == 0 && !std::isfinite(r)) return false;
        if (pass == 1) v = r;
      }
    }
  }
  UpdateExtremes(target);
  UpdateStatistics(target);
  return true;
}

bool MergeRasterPF(PoleFigure& target, char op, const std::string& fileName, const std::string& gridFileName,
                   MessageSink& sink) {
  const auto second = ReadRasterPF(fileName, gridFileName, sink);
  if (!second) return false;
  if (MergeRaster(target, op, *second)) return true;
  sink.Message(kEditOverflowMessage);
  return false;
}

}  // namespace quorix
