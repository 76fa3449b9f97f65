// Contour levels edited by hand: the level list of 50 rows, levels from
// First/Step/Last, sorting and deleting rows.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "base/message_sink.h"
#include "record/pole_figure.h"

namespace quorix {

using LevelRows = std::array<std::string, kMaxLevels>;  // row r holds level r + 1

inline constexpr const char* kTooManyLevelsMessage = "# of contour levels exceeds maximum (50)";

// Decimals of the level list: those of the top level.
int LevelDecimals(const PoleFigure& pf);

// The levels in the format of the list, the rows after the last one empty.
LevelRows FormatLevelRows(const PoleFigure& pf);

struct LevelFields {
  std::string first, step, last;
};
// First, Step and Last of the current levels. With fewer than two levels
// there is no step and the field stays empty; without levels all are empty.
LevelFields FormatLevelFields(const PoleFigure& pf);

enum class LevelEditResult { NotANumber, TooMany, Done };

// The levels first, first + step, ... up to the last one not above `last`.
// More than 50 of them (or a step that never reaches `last`) sends the
// message and leaves the levels as they were.
LevelEditResult RecalculateLevels(PoleFigure& pf, const std::string& first, const std::string& step,
                                  const std::string& last, MessageSink& sink);

// The text of the Last field: the largest first + k step (k = 0, 1, ...) not
// above the pole figure's maximum (in mrd with `showMrd`); nothing when First
// or Step is not a number.
std::optional<std::string> LastLevelText(const PoleFigure& pf, bool showMrd, const std::string& first,
                                         const std::string& step);

// Every row that is a number becomes the next level, in row order.
void ApplyLevelRows(PoleFigure& pf, const LevelRows& rows);

// "Apply to all pole figures": the level count and levels of `from`.
void CopyLevels(const PoleFigure& from, PoleFigure& to);

// The numeric rows sorted ascending and written with `decimals`; other rows
// are dropped and the rest of the list is empty.
void SortLevelRows(LevelRows& rows, int decimals);

// Removes rows top..bottom (0-based, inclusive) and moves the rows below up.
void DeleteLevelRows(LevelRows& rows, int top, int bottom);

// Levels of the list counted from the top up to the first row that is not a
// number: the colours a colour set is saved for.
int LeadingNumericRows(const LevelRows& rows);

}  // namespace quorix
