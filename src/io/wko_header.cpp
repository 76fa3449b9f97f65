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
    sink.Message(fmt::format("Data file {}: the WKO header needs 5 lines, the file has {}.", fileName, found));
    return std::nullopt;
  }
  WkoHeader h;
  const auto count = ParseInteger(Columns(lines[2], 1, 3));
  h.count = count && *count > 0 ? static_cast<int>(*count) : 0;
  const auto a = ParseInteger(Columns(lines[4], 10, 13));
  const auto b = ParseInteger(Columns(lines[4], 14, 17));
  if (!a || !b || *a < 0 || *a > 65535 || *b < 0 || *b > 65535) {
    sink.Message(fmt::format("Data file {}, line 5: characters 10 to 17 must hold two counts, found \"{}\".", fileName,
                             Columns(lines[4], 10, 17)));
    return std::nullopt;
  }
  const long long m = (*a + 1) * *b;
  h.valuesPerFigure = static_cast<int>(m);
  h.dataLines = Nearest(static_cast<double>(m) / 10 + 0.5);
  h.blockLines = h.dataLines + 5;
  return h;
}

}  // namespace quorix
