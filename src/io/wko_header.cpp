#include "io/wko_header.h"

#include <fmt/format.h>

#include <array>

#include "base/nearest.h"
#include "base/text_file.h"

namespace quorix {

std::optional<WkoHeader> ReadWkoHeader(std::string_view text, const std::string& fileName, MessageSink& sink) {
  std::array<std::string_view, 5> lines;
  LineCursor cursor(text);
  std::size_t found = 0;
  while (found < lines.size() && cursor.Next(lines[found])) ++found;
  if (found < lines.size()) {
    sink.Problem({fileName, 0, fmt::format("the WKO header needs 5 lines, the file has {}.", found)});
    return std::nullopt;
  }
  WkoHeader h;
  const auto count = ParseInteger(Columns(lines[2], 1, 3));
  h.count = count && *count > 0 ? static_cast<int>(*count) : 0;
  const auto a = ParseInteger(Columns(lines[4], 10, 13));
  const auto b = ParseInteger(Columns(lines[4], 14, 17));
  if (!a || !b || *a < 0 || *a > 65535 || *b < 0 || *b > 65535) {
    sink.Problem({fileName, 5,
                  fmt::format("characters 10 to 17 must hold two counts, found \"{}\".", Columns(lines[4], 10, 17))});
    return std::nullopt;
  }
  const long long m = (*a + 1) * *b;
  h.valuesPerFigure = static_cast<int>(m);
  h.blockLines = WkoBlockLines(m);
  h.dataLines = h.blockLines - 5;
  return h;
}

int WkoBlockLines(long long values) { return Nearest(static_cast<double>(values) / 10 + 0.5) + 5; }

std::optional<WkoBlock> ParseWkoBlockLine(std::string_view line) {
  const auto a = ParseInteger(Columns(line, 10, 13));
  const auto b = ParseInteger(Columns(line, 14, 17));
  if (!a || !b || *a < 0 || *a > 65535 || *b < 0 || *b > 65535) return std::nullopt;
  WkoBlock block;
  block.circles = static_cast<int>(*a) + 1;
  block.points = static_cast<int>(*b);
  block.measured = block.circles;
  // Older files hold other numbers there (a step like " 5.0"): only a count below A counts.
  const auto c = ParseInteger(Columns(line, 18, 21));
  if (c && *c >= 0 && *c < *a) block.measured = static_cast<int>(*c) + 1;
  return block;
}

std::size_t WkoBlockLength(std::string_view line, const WkoHeader& header) {
  const auto block = ParseWkoBlockLine(line);
  if (!block || block->measured == block->circles) return static_cast<std::size_t>(header.blockLines);
  return static_cast<std::size_t>(WkoBlockLines(static_cast<long long>(block->measured) * block->points));
}

}  // namespace quorix
