// What the exchange readers share: numbers a line at a time, hkl from names.
#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/text_file.h"
#include "io/exchange_readers.h"

namespace quorix {

namespace {

// "10-10" as hexagonal indices "1 0 -1 0": three or four single digits, each
// maybe with a minus, at least one minus; empty for anything else.
std::string SignedIndices(std::string_view run) {
  std::vector<int> indices;
  bool minus = false;
  for (std::size_t i = 0; i < run.size(); ++i) {
    int sign = 1;
    if (run[i] == '-' && i + 1 < run.size() && i > 0) {
      sign = -1;
      minus = true;
      ++i;
    }
    if (!std::isdigit(static_cast<unsigned char>(run[i]))) return {};
    indices.push_back(sign * (run[i] - '0'));
  }
  if (!minus || (indices.size() != 3 && indices.size() != 4)) return {};
  return fmt::format("{}", fmt::join(indices, " "));
}

}  // namespace

std::vector<std::string> HklGroupsInName(const std::string& source) {
  const std::string stem = std::filesystem::path(source).stem().string();
  std::vector<std::string> groups;
  const auto isDigit = [&](std::size_t i) { return std::isdigit(static_cast<unsigned char>(stem[i])) != 0; };
  for (std::size_t i = 0; i < stem.size();) {
    if (!isDigit(i)) {
      ++i;
      continue;
    }
    std::size_t runEnd = i;
    while (runEnd < stem.size() && (isDigit(runEnd) || stem[runEnd] == '-')) ++runEnd;
    while (runEnd > i && stem[runEnd - 1] == '-') --runEnd;
    if (auto hkl = SignedIndices(std::string_view(stem).substr(i, runEnd - i)); !hkl.empty()) {
      groups.push_back(std::move(hkl));
      i = runEnd;
      continue;
    }
    // Else the runs of exactly three digits in it: "42-104-110".
    while (i < runEnd) {
      std::size_t end = i;
      while (end < runEnd && isDigit(end)) ++end;
      if (end - i == 3) groups.push_back(fmt::format("{} {} {}", stem[i], stem[i + 1], stem[i + 2]));
      i = end + 1;
    }
    i = std::max(i, runEnd);
  }
  return groups;
}

bool NumbersFrom(std::string_view text, std::size_t first, std::vector<NumberAt>& out, const std::string& source,
                 MessageSink& sink) {
  LineCursor lines(text);
  lines.Skip(first);
  std::string_view line;
  for (std::size_t number = first + 1; lines.Next(line); ++number) {
    TokenCursor tokens(line);
    std::string_view token;
    while (tokens.Next(token)) {
      const auto value = ParseNumber(token);
      if (!value) {
        sink.Problem({source, number, fmt::format("\"{}\" is not a number.", token.substr(0, 40))});
        return false;
      }
      out.push_back({*value, number});
    }
  }
  return true;
}

}  // namespace quorix
