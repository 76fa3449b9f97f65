// What the exchange readers share: numbers a line at a time, hkl from names.
#include <fmt/format.h>

#include <cctype>
#include <filesystem>

#include "base/text_file.h"
#include "io/exchange_readers.h"

namespace quorix {

std::vector<std::string> HklGroupsInName(const std::string& source) {
  const std::string stem = std::filesystem::path(source).stem().string();
  std::vector<std::string> groups;
  for (std::size_t i = 0; i < stem.size();) {
    if (!std::isdigit(static_cast<unsigned char>(stem[i]))) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < stem.size() && std::isdigit(static_cast<unsigned char>(stem[end]))) ++end;
    if (end - i == 3) groups.push_back(fmt::format("{} {} {}", stem[i], stem[i + 1], stem[i + 2]));
    i = end;
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
