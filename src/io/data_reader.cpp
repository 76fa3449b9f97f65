#include "io/data_reader.h"

#include <cmath>
#include <fmt/format.h>

#include "base/nearest.h"
#include "base/text_file.h"
#include "io/wko_header.h"
#include "record/statistics.h"

namespace quorix {
namespace {

int HashBlockLength(int firstCirclePoints) {
  switch (firstCirclePoints) {
    case 19: return 27;
    case 25: return 46;
    case 37: return 46;
    case 72: return 84;
    default: return 0;
  }
}

std::string LineError(const std::string& fileName, std::size_t lineIndex, const std::string& what) {
  return fmt::format("Data file {}, line {}: {}", fileName, lineIndex + 1, what);
}

// A fixed-width field: blank reads as 0, anything else must be a number.
std::optional<double> FieldValue(std::string_view field) {
  if (Trim(field).empty()) return 0.0;
  return ParseNumber(field);
}

struct Reading {
  int counter = 0;
  bool ok = true;  // false: refused with a message already sent
};

// Fixed layouts: the intensities run from line `start` (0-based). A circle
// begins on a new line in hash lists; WKO lists run on across circles.
Reading ReadFixedFields(TPoleFigure& pf, const std::vector<std::string>& lines, std::size_t start, std::size_t firstColumn,
                        std::size_t width, bool circlePerLine, const std::string& fileName, MessageSink& sink) {
  Reading r;
  int i = 1, j = 0;
  for (std::size_t li = start; i <= pf.CircleCount; ++li) {
    // A file that ends early is reported by the count check, not filled up.
    if (li >= lines.size()) break;
    const std::string& raw = lines[li];
    const std::string line = raw.empty() ? std::string(" ") : raw;
    for (std::string_view field : FixedFields(line, firstColumn, width)) {
      if (i > pf.CircleCount || (circlePerLine && j == pf.CirclePoints[i])) {
        if (Trim(field).empty()) continue;  // trailing blanks are no data
        sink.Message(LineError(fileName, li, circlePerLine
                                                 ? fmt::format("more values than circle {} has points ({}).", i, pf.CirclePoints[i])
                                                 : "more values than the grid has points."));
        r.ok = false;
        return r;
      }
      const auto value = FieldValue(field);
      if (!value) {
        sink.Message(LineError(fileName, li, fmt::format("\"{}\" is not a number.", Trim(field))));
        r.ok = false;
        return r;
      }
      ++r.counter;
      ++j;
      pf.Intensity[i][j] = *value;
      if (!circlePerLine && j == pf.CirclePoints[i]) {
        ++i;
        j = 0;
      }
    }
    if (circlePerLine && j == pf.CirclePoints[i]) {
      ++i;
      j = 0;
    }
  }
  return r;
}

Reading ReadHashList(TPoleFigure& pf, const std::vector<std::string>& lines, long long index, const std::string& fileName,
                     MessageSink& sink) {
  const int block = HashBlockLength(pf.CirclePoints[1]);
  if (block == 0) {
    sink.Message(fmt::format("Data file {}: a hash-list file needs a grid whose first circle has 19, 25, 37 or 72 points, "
                             "not {}.",
                             fileName, pf.CirclePoints[1]));
    return {0, false};
  }
  const std::size_t start = static_cast<std::size_t>(index - 1) * block + 7;
  if (start >= lines.size()) {
    sink.Message(fmt::format("Data file {}: pole figure {} lies beyond the end of the file.", fileName, index));
    return {0, false};
  }
  return ReadFixedFields(pf, lines, start, 1, 4, true, fileName, sink);
}

Reading ReadWkoList(TPoleFigure& pf, const std::vector<std::string>& lines, long long index, const std::string& fileName,
                    MessageSink& sink) {
  const auto header = ReadWkoHeader(lines, fileName, sink);
  if (!header) return {0, false};
  const std::size_t start = static_cast<std::size_t>(index - 1) * header->blockLines + 7;
  if (start >= lines.size()) {
    sink.Message(fmt::format("Data file {}: pole figure {} lies beyond the end of the file.", fileName, index));
    return {0, false};
  }
  return ReadFixedFields(pf, lines, start, 0, 7, false, fileName, sink);
}

Reading ReadPlain(TPoleFigure& pf, const std::vector<std::string>& lines, MessageSink& sink) {
  Reading r;
  std::size_t li = 0;
  // A first item that is not a number marks two header lines.
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const auto tokens = SplitWhitespace(lines[k]);
    if (tokens.empty()) continue;
    if (!ParseNumber(tokens[0])) li = 2;
    break;
  }
  const auto startOf = [&](int circle) { return pf.BetaStep[circle] >= 0 ? 1 : pf.CirclePoints[circle]; };
  int i = 1;
  int j = startOf(1);
  for (; li < lines.size() && i <= pf.CircleCount; ++li) {
    for (std::string_view token : SplitWhitespace(lines[li])) {
      const auto value = ParseNumber(token);
      if (!value) {
        sink.Message("Error in data file or unexpected end.");
        return r;
      }
      ++r.counter;
      pf.Intensity[i][j] = *value;
      bool next = false;
      if (pf.BetaStep[i] >= 0) {
        next = ++j > pf.CirclePoints[i];
      } else if (--j == 0) {
        pf.BetaStep[i] = -pf.BetaStep[i];  // now stored in increasing beta
        next = true;
      }
      if (next) {
        if (++i > pf.CircleCount) return r;  // values after the grid are ignored
        j = startOf(i);
      }
    }
  }
  return r;
}

// Opposite points of a full rim circle describe the same direction.
void ApplyRimRule(TPoleFigure& pf) {
  const int n = pf.CircleCount;
  const double step = pf.BetaStep[n];
  if (pf.Alpha[n] != 90 || Nearest(pf.CirclePoints[n] * step) != 360 || !(std::fabs(step - NearestValue(step)) < 0.01)) return;
  const int w = Nearest(180 / step);
  for (int k = 1; k <= w && k + w <= pf.CirclePoints[n]; ++k) {
    double& a = pf.Intensity[n][k];
    double& b = pf.Intensity[n][k + w];
    if (a == kMissing)
      a = b;
    else if (b == kMissing)
      b = a;
    else
      a = b = a / 2 + b / 2;  // (a + b) / 2 overflows for values near the largest double
  }
}

}  // namespace

bool ReadPoleFigureData(TPoleFigure& pf, const std::string& fileName, const DataReadOptions& options, MessageSink& sink) {
  const int n = pf.CircleCount;
  if (n < 1 || n > kMaxCircles) {
    sink.Message(fmt::format("Data file {}: no grid to read the data onto.", fileName));
    return false;
  }
  const auto lines = ReadLines(fileName, sink, "File " + fileName + " does not exist");
  if (!lines) return false;

  pf.PointCount = 0;
  for (int i = 1; i <= n; ++i) pf.PointCount += pf.CirclePoints[i];

  Reading r;
  // In long long: the size of the most negative int is no int.
  const long long index = std::max(1LL, std::llabs(options.pfIndex));
  if (!options.directional) {
    switch (options.layout) {
      case DataLayout::HashList: r = ReadHashList(pf, *lines, index, fileName, sink); break;
      case DataLayout::WkoList: r = ReadWkoList(pf, *lines, index, fileName, sink); break;
      case DataLayout::Plain: r = ReadPlain(pf, *lines, sink); break;
      case DataLayout::None: break;
    }
    if (!r.ok) return false;
    if (r.counter != pf.PointCount) {
      sink.Message(fmt::format("Expected {} data, found {}.", pf.PointCount, r.counter));
      return false;
    }
    if (options.layout != DataLayout::Plain) {
      // The fixed layouts hold each circle in increasing beta already.
      for (int i = 1; i <= n; ++i) pf.BetaStep[i] = std::fabs(pf.BetaStep[i]);
    }
  }

  if (pf.InnerMirror == 1) pf.BetaStep[0] = pf.BetaStep[1];
  if (pf.OuterMirror == 1) pf.BetaStep[n + 1] = pf.BetaStep[n];

  UpdateExtremes(pf);
  ApplyRimRule(pf);
  if (pf.InnerMirror == 1)
    for (int k = 1; k <= pf.CirclePoints[1]; ++k) pf.Intensity[0][k] = pf.Intensity[1][k];
  if (pf.OuterMirror == 1)
    for (int k = 1; k <= pf.CirclePoints[n]; ++k) pf.Intensity[n + 1][k] = pf.Intensity[n][k];
  return true;
}

}  // namespace quorix
