#include "workflow/file_series.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace quorix {
namespace {

std::string TwoDigits(int v) { return v < 10 ? "0" + std::to_string(v) : std::to_string(v); }

std::optional<std::string> ReplaceLastTwo(const std::string& name, const std::string& with) {
  if (name.size() < 2) return std::nullopt;
  return name.substr(0, name.size() - 2) + with;
}

}  // namespace

std::optional<SeriesStep> NextInSeries(const std::string& name, int pfIndex, bool multi, SeriesKey kind, char key) {
  SeriesStep step;
  step.name = name;
  int number = 0;
  switch (kind) {
    case SeriesKey::Digit:
      if (key < '1' || key > '9') return std::nullopt;
      number = key - '0';
      break;
    case SeriesKey::Letter:
      if (key < 'A' || key > 'Z') return std::nullopt;
      number = 10 + (key - 'A');
      break;
    case SeriesKey::Right:
    case SeriesKey::Left: {
      const int delta = kind == SeriesKey::Right ? 1 : -1;
      if (multi) {
        step.pfIndex = std::abs(pfIndex) + delta;
        return step;
      }
      if (name.size() < 2 || !std::isdigit(static_cast<unsigned char>(name[name.size() - 2])) ||
          !std::isdigit(static_cast<unsigned char>(name.back())))
        return std::nullopt;
      // One byte: 00 - 1 wraps to 255.
      const int value = (std::stoi(name.substr(name.size() - 2)) + delta + 256) % 256;
      step.name = *ReplaceLastTwo(name, TwoDigits(value));
      step.pfIndex = 1;
      return step;
    }
  }
  if (multi) {
    step.pfIndex = number;
    return step;
  }
  const auto replaced = ReplaceLastTwo(name, TwoDigits(number));
  if (!replaced) return std::nullopt;
  step.name = *replaced;
  step.pfIndex = 1;
  return step;
}

}  // namespace quorix
