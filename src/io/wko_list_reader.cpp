// WKO lists read without a grid file: each block's first line gives the
// circles (A + 1 from 0 to 90 degrees), the points per circle (B, a full turn)
// and how many circles were measured. Two variants: the Geesthacht layout
// (lattice on line 4, blocks from line 5, a "SUP =" or comment line before
// the values) and an older beamline one (blocks from line 4, "200  18  72  18"
// and "WKO = 90.0", values right after).
#include <fmt/format.h>

#include <algorithm>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/exchange_readers.h"
#include "io/wko_header.h"

namespace quorix {
namespace {

bool HasWkoMark(std::string_view line) { return ToUpper(std::string(line)).find("WKO =") != std::string::npos; }

bool StartsWithNumber(std::string_view line) {
  std::string_view first;
  return TokenCursor(line).Next(first) && ParseNumber(first);
}

struct BlockHead {
  std::string name;
  std::string hkl;
  int circles = 0;
  int points = 0;
  int measured = 0;
};

// Token-wise where the line ends in three counts ("  1  1  1  18  72  18",
// "200  18  72  18"), else the fixed columns of the Geesthacht layout.
std::optional<BlockHead> ParseHead(std::string_view line) {
  std::vector<std::string_view> tokens = SplitWhitespace(line);
  BlockHead head;
  head.name = std::string(Trim(Columns(line, 1, 9)));
  std::vector<long long> counts;
  for (auto t : tokens) {
    const auto v = ParseInteger(t);
    counts.push_back(v ? *v : -1);
  }
  const std::size_t n = counts.size();
  if (n >= 4 && counts[n - 3] > 0 && counts[n - 3] <= 720 && counts[n - 2] > 0 && counts[n - 2] <= 1440 &&
      counts[n - 1] >= 0) {
    head.circles = static_cast<int>(counts[n - 3]) + 1;
    head.points = static_cast<int>(counts[n - 2]);
    head.measured = counts[n - 1] < counts[n - 3] ? static_cast<int>(counts[n - 1]) + 1 : head.circles;
    if (n == 6 && counts[0] >= 0 && counts[1] >= 0 && counts[2] >= 0 && counts[0] < 100 && counts[1] < 100 &&
        counts[2] < 100)
      head.hkl = fmt::format("{} {} {}", counts[0], counts[1], counts[2]);
    else if (n == 4 && tokens[0].size() == 3 && counts[0] >= 0)
      head.hkl = fmt::format("{} {} {}", tokens[0][0], tokens[0][1], tokens[0][2]);
    head.name = head.hkl.empty() ? std::string(Trim(tokens[0])) : head.hkl;
    return head;
  }
  const auto block = ParseWkoBlockLine(line);
  if (!block || block->circles < 2 || block->points < 1) return std::nullopt;
  head.circles = block->circles;
  head.points = block->points;
  head.measured = block->measured;
  return head;
}

}  // namespace

bool LooksLikeOlderWkoList(std::string_view text) {
  LineCursor lines(text);
  std::string_view line;
  lines.Skip(4);
  return lines.Next(line) && HasWkoMark(line);
}

std::optional<MeasurementFile> ReadWkoListText(std::string_view text, const std::string& source, MessageSink& sink) {
  const std::vector<std::string> lines = SplitLines(WithoutByteOrderMark(text));
  MeasurementFile file;
  file.format = DataLayout::Geesthacht;
  // A block begins on the line before a "WKO =" line.
  for (std::size_t i = 3; i + 1 < lines.size(); ++i) {
    if (!HasWkoMark(lines[i + 1])) continue;
    const auto head = ParseHead(lines[i]);
    if (!head) {
      sink.Problem({source, i + 1,
                    fmt::format("\"{}\" is not a WKO block line (name, circles - 1, points, measured circles - 1).",
                                Trim(lines[i]).substr(0, 60))});
      return std::nullopt;
    }
    std::size_t at = i + 2;
    if (at < lines.size() && !StartsWithNumber(lines[at])) ++at;  // "SUP =" or the block's comment
    const std::size_t wanted = static_cast<std::size_t>(head->measured) * static_cast<std::size_t>(head->points);
    std::vector<double> values;
    for (; at < lines.size() && values.size() < wanted; ++at) {
      // Seven characters a value in the Geesthacht layout, where large values
      // touch; blank-separated in the older one.
      std::vector<std::string_view> fields = SplitWhitespace(lines[at]);
      if (std::any_of(fields.begin(), fields.end(), [](std::string_view f) { return f.size() > 7; }))
        fields = FixedFields(lines[at], 0, 7);
      for (std::string_view field : fields) {
        if (values.size() == wanted || Trim(field).empty()) continue;
        const auto v = ParseNumber(Trim(field));
        if (!v) {
          sink.Problem({source, at + 1, fmt::format("\"{}\" is not a number.", Trim(field))});
          return std::nullopt;
        }
        values.push_back(*v);
      }
    }
    if (values.size() < wanted) {
      sink.Problem({source, at,
                    fmt::format("pole figure {} ends after {} of its {} values.", head->name, values.size(), wanted)});
      return std::nullopt;
    }
    MeasuredPoleFigure pf;
    pf.name = head->name;
    pf.hkl = head->hkl;
    const double alphaStep = 90.0 / (head->circles - 1);
    for (int c = 0; c < head->circles; ++c) {
      MeasuredCircle circle;
      circle.alpha = alphaStep * c;
      circle.betaStep = 360.0 / head->points;
      const auto first = values.begin() + static_cast<std::ptrdiff_t>(c) * head->points;
      if (c < head->measured)
        circle.values.assign(first, first + head->points);
      else
        circle.values.assign(static_cast<std::size_t>(head->points), -1.0);  // not measured
      pf.circles.push_back(std::move(circle));
    }
    file.poleFigures.push_back(std::move(pf));
    i = at - 1;
  }
  if (file.poleFigures.empty()) {
    sink.Problem({source, 0, "no block with a \"WKO =\" line after its first line."});
    return std::nullopt;
  }
  return file;
}

}  // namespace quorix
