// Editing intensities in place: one value on every point, one value per
// circle, or point by point with a second pole figure on the same grid.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "record/pole_figure.h"

namespace quorix {

// The operators in the order the dialogs offer them: "Add +", "Sub -",
// "Mul *", "Div /".
inline constexpr std::array<char, 4> kEditOperators = {'+', '-', '*', '/'};
bool IsEditOperator(char op);

// One operand per circle index 0..kMaxGridRows - 1, as ApplyCircleOperation takes it.
using OperandTable = std::array<double, kMaxGridRows>;

OperandTable UniformOperands(double value);

// values[k - 1] belongs to circle k. The inner mirror circle gets the value of
// circle 1, every circle past the last value (outer mirror, and the extra
// circles of a larger grid under "apply to all") that of the last circle.
OperandTable CircleOperands(const std::vector<double>& values);

// The value field of "Edit all Intensities": nothing, silently, when it is
// not a number; nothing after "Division by Zero" for 0 with '/'.
std::optional<double> ParseEditValue(std::string_view text, char op, MessageSink& sink);

// The value cells of the circle correction, in circle order: nothing after
// "Invalid value on circle k" or "Division by Zero on circle k".
std::optional<std::vector<double>> ParseCircleValues(const std::vector<std::string>& cells, char op, MessageSink& sink);

// What follows every edit: levels from one (at most 50) and the lowest level
// in the unit shown.
void RefreshLevelsAfterEdit(PoleFigure& pf, bool showMrd);

// What an edit whose result would overflow says; the pole figure stays as it was.
inline constexpr const char* kEditOverflowMessage =
    "The result would exceed the largest number a value can hold (about 1.8e308); the intensities were left as "
    "they were.";

// ApplyCircleOperation followed by the new levels; false after
// kEditOverflowMessage with pf as it was.
bool EditIntensities(PoleFigure& pf, char op, const OperandTable& operands, bool showMrd, MessageSink& sink);

// The second pole figure of a raster merge: the grid file (simple when its
// lower-cased name holds ".rst", full otherwise) and a single plain data
// file. Nothing after the reader's message.
std::unique_ptr<PoleFigure> ReadRasterPF(const std::string& fileName, const std::string& gridFileName,
                                         MessageSink& sink);

// target := target op second on every point of the target that has a value.
// Points where the second pole figure has no value (-1 or outside its grid),
// and divisions by 0, leave the target's value as it is. Extremes and
// statistics follow; the levels are left to the caller. False, with the
// target as it was, when a result would overflow.
bool MergeRaster(PoleFigure& target, char op, const PoleFigure& second);

// Both steps; false, with the target untouched, when the file cannot be read
// or the result would overflow (kEditOverflowMessage).
bool MergeRasterPF(PoleFigure& target, char op, const std::string& fileName, const std::string& gridFileName,
                   MessageSink& sink);

}  // namespace quorix
