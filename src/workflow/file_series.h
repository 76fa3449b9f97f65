// Keyboard navigation through a numbered series of data files, or through the
// pole figures of a multi-pole-figure file.
#pragma once

#include <optional>
#include <string>

namespace quorix {

enum class SeriesKey { Digit, Letter, Right, Left };

struct SeriesStep {
  std::string name;  // the data file name to load
  int pfIndex = 1;
};

// key: for Digit the digit 1..9, for Letter the upper-case letter A..Z.
// multi: the file is a hash-list or WKO list file. Nothing when a plain
// name does not end in two digits.
std::optional<SeriesStep> NextInSeries(const std::string& name, int pfIndex, bool multi, SeriesKey kind, char key = 0);

}  // namespace quorix
