// Circle correction files (".edt"): one value per circle, in circle order,
// each line "value    ;circle".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"

namespace quorix {

// The value in single precision, general format, then "    ;" and the circle
// number from 1: 1.1 gives "1.10000002384186    ;1".
std::string EdtLine(double value, int circle);

// Writes one line per cell. False after "Invalid value on circle k" for a
// cell that is not a number (nothing is written then, so an older file of
// that name stays whole), "Cannot open file NAME" or "Troubles on writing file.".
bool WriteEdtFile(const std::string& fileName, const std::vector<std::string>& cells, MessageSink& sink);

struct EdtValues {
  bool opened = false;
  bool complete = false;       // all `rows` values read
  std::vector<double> values;  // those read before a failure
};

// The first number of each of the first `rows` lines; the rest of a line is
// ignored. "Cannot open file NAME", or "To less or incorrect values on line k"
// at the first line without a number, where reading stops.
EdtValues ReadEdtText(std::string_view text, int rows, MessageSink& sink);
EdtValues ReadEdtFile(const std::string& fileName, int rows, MessageSink& sink);

}  // namespace quorix
