#include "io/data_reader.h"

#include <fmt/format.h>

#include <cmath>

#include "base/nearest.h"
#include "base/text_file.h"
#include "io/grid_reader.h"
#include "io/wko_header.h"
#include "record/statistics.h"

namespace quorix {
namespace {

int HashBlockLength(int firstCirclePoints) {
  switch (firstCirclePoints) {
    case 19: return 27;
    case 25:
    case 37: return 46;
    case 72: return 84;
    default: return 0;
  }
}

FileProblem LineError(const std::string& fileName, std::size_t lineIndex, std::string what) {
  return {fileName, lineIndex + 1, std::move(what)};
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

// The fixed-width fields of a line as FixedFields gives them, one at a time.
class FieldCursor {
 public:
  FieldCursor(std::string_view line, std::size_t first, std::size_t width) : line_(line), pos_(first), width_(width) {}
  bool Next(std::string_view& field) {
    if (!first_ && pos_ >= line_.size()) return false;
    first_ = false;
    field = pos_ < line_.size() ? line_.substr(pos_, width_) : std::string_view();
    pos_ += width_;
    return true;
  }

 private:
  std::string_view line_;
  std::size_t pos_;
  std::size_t width_;
  bool first_ = true;
};

// Fixed layouts: the intensities run from the cursor's line, number `start`
// (0-based). A circle begins on a new line in hash lists; WKO lists run on
// across circles. The line, then the field's column and width, as a layout's
// description reads.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
Reading ReadFixedFields(PoleFigure& pf, LineCursor& lines, std::size_t start, std::size_t firstColumn,
                        std::size_t width, bool circlePerLine, const std::string& fileName, MessageSink& sink,
                        int circleLimit = kMaxCircles) {
  Reading r;
  const int circles = std::min(pf.CircleCount, circleLimit);
  int i = 1, j = 0;
  std::string_view raw;
  // A file that ends early is reported by the count check, not filled up.
  for (std::size_t li = start; i <= circles && lines.Next(raw); ++li) {
    const std::string_view line = raw.empty() ? std::string_view(" ") : raw;
    FieldCursor fields(line, firstColumn, width);
    std::string_view field;
    while (fields.Next(field)) {
      if (i > circles || (circlePerLine && j == pf.CirclePoints[i])) {
        if (Trim(field).empty()) continue;  // trailing blanks are no data
        sink.Problem(LineError(fileName, li,
                               circlePerLine
                                   ? fmt::format("more values than circle {} has points ({}).", i, pf.CirclePoints[i])
                                   : "more values than the grid has points."));
        r.ok = false;
        return r;
      }
      const auto value = FieldValue(field);
      if (!value) {
        sink.Problem(LineError(fileName, li, fmt::format("\"{}\" is not a number.", Trim(field))));
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

// A Beartex block header gives the tilt range after the hkl ("   1  1  1  0.0
// 40.0  5.0  0.0360.0 ..."); blocks still hold the whole grid, with zeros
// beyond the range that were never measured.
void MarkBeyondMeasuredRange(PoleFigure& pf, std::string_view text, std::size_t headerLine) {
  LineCursor lines(text);
  lines.Skip(headerLine);
  std::string_view line;
  if (!lines.Next(line) || line.size() <= 10) return;
  TokenCursor tokens(line.substr(10));
  std::string_view first, second;
  if (!tokens.Next(first) || !tokens.Next(second)) return;
  const auto start = ParseNumber(first);
  const auto end = ParseNumber(second);
  if (!start || !end || *start < 0 || *end < *start || *end > 90) return;
  for (int i = 1; i <= pf.CircleCount; ++i) {
    if (pf.Alpha[i] <= *end + 1e-6) continue;
    for (int k = 1; k <= pf.CirclePoints[i]; ++k) pf.Intensity[i][k] = kMissing;
  }
}

Reading ReadHashList(PoleFigure& pf, std::string_view text, long long index, const std::string& fileName,
                     MessageSink& sink) {
  const int block = HashBlockLength(pf.CirclePoints[1]);
  if (block == 0) {
    sink.Problem({fileName, 0,
                  fmt::format("a hash-list file needs a grid whose first circle has 19, 25, 37 or 72 points, not {}.",
                              pf.CirclePoints[1])});
    return {0, false};
  }
  const std::size_t start = static_cast<std::size_t>(index - 1) * block + 7;
  LineCursor lines(text);
  lines.Skip(start);
  if (lines.AtEnd()) {
    sink.Problem({fileName, 0, fmt::format("pole figure {} lies beyond the end of the file.", index)});
    return {0, false};
  }
  const Reading r = ReadFixedFields(pf, lines, start, 1, 4, true, fileName, sink);
  if (r.ok) MarkBeyondMeasuredRange(pf, text, start - 1);
  return r;
}

Reading ReadWkoList(PoleFigure& pf, std::string_view text, long long index, const std::string& fileName,
                    MessageSink& sink) {
  const auto header = ReadWkoHeader(text, fileName, sink);
  if (!header) return {0, false};
  // Blocks that hold fewer circles than announced are shorter: step through them one by one.
  LineCursor lines(text);
  lines.Skip(4);
  std::size_t start = 4;
  std::string_view blockLine;
  bool found = lines.Next(blockLine);
  for (long long k = 1; found && k < index; ++k) {
    const std::size_t length = WkoBlockLength(blockLine, *header);
    lines.Skip(length - 1);
    start += length;
    found = lines.Next(blockLine);
  }
  if (found) {
    lines.Skip(2);
    found = !lines.AtEnd();
  }
  if (!found) {
    sink.Problem({fileName, 0, fmt::format("pole figure {} lies beyond the end of the file.", index)});
    return {0, false};
  }
  const auto block = ParseWkoBlockLine(blockLine);
  const int measured = block ? block->measured : pf.CircleCount;
  Reading r = ReadFixedFields(pf, lines, start + 3, 0, 7, false, fileName, sink, measured);
  // The circles the block left out were not measured.
  for (int i = measured + 1; r.ok && i <= pf.CircleCount; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j, ++r.counter) pf.Intensity[i][j] = kMissing;
  return r;
}

// Numbers left once the grid is full: only counted, for the warning.
long long CountRemainingNumbers(TokenCursor& tokens, LineCursor& lines) {
  long long count = 0;
  std::string_view token;
  while (true) {
    while (tokens.Next(token))
      if (ParseNumber(token)) ++count;
    std::string_view line;
    if (!lines.Next(line)) return count;
    tokens = TokenCursor(line);
  }
}

Reading ReadPlain(PoleFigure& pf, std::string_view text, const std::string& fileName, MessageSink& sink) {
  Reading r;
  LineCursor lines(text);
  std::string_view line;
  // A first item that is not a number marks two header lines.
  std::size_t headerLines = 0;
  while (lines.Next(line)) {
    std::string_view first;
    if (!TokenCursor(line).Next(first)) continue;
    if (!ParseNumber(first)) headerLines = 2;
    break;
  }
  lines.Seek(0);
  lines.Skip(headerLines);
  const auto startOf = [&](int circle) { return pf.BetaStep[circle] >= 0 ? 1 : pf.CirclePoints[circle]; };
  int i = 1;
  int j = startOf(1);
  while (i <= pf.CircleCount && lines.Next(line)) {
    TokenCursor tokens(line);
    std::string_view token;
    while (tokens.Next(token)) {
      const auto value = ParseNumber(token);
      if (!value) {
        sink.Problem({fileName, 0, "Error in data file or unexpected end.", Severity::Error, FileRole::Data, false});
        return r;
      }
      ++r.counter;
      pf.Intensity[i][j] = *value;
      bool next = false;
      if (pf.BetaStep[i] >= 0) {
        next = ++j > pf.CirclePoints[i];
      } else if (--j == 0) {
        StoreInIncreasingBeta(pf, i);
        next = true;
      }
      if (next) {
        if (++i > pf.CircleCount) {
          // Values after the grid are ignored, but not silently: the grid may not be the file's.
          const long long rest = CountRemainingNumbers(tokens, lines);
          if (rest > 0)
            sink.Problem({fileName, 0,
                          fmt::format("{} values, but the grid has {} points; the rest was ignored.", r.counter + rest,
                                      pf.PointCount),
                          Severity::Warning});
          return r;
        }
        j = startOf(i);
      }
    }
  }
  return r;
}

// Opposite points of a full rim circle describe the same direction.
void ApplyRimRule(PoleFigure& pf) {
  const int n = pf.CircleCount;
  const double step = pf.BetaStep[n];
  if (pf.Alpha[n] != 90 || Nearest(pf.CirclePoints[n] * step) != 360 || !(std::fabs(step - NearestValue(step)) < 0.01))
    return;
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

bool HasGrid(const PoleFigure& pf, const std::string& fileName, MessageSink& sink) {
  if (TablesHoldGrid(pf)) return true;
  sink.Problem({fileName, 0, "no grid to read the data onto."});
  return false;
}

}  // namespace

bool SetBeartexGrid(PoleFigure& pf, std::string_view text, long long index, const std::string& fileName,
                    MessageSink& sink) {
  const auto headerLine = static_cast<std::size_t>(index - 1) * HashBlockLength(72) + 6;
  LineCursor lines(text);
  lines.Skip(headerLine);
  std::string_view line;
  if (index < 1 || !lines.Next(line)) {
    sink.Problem({fileName, 0, fmt::format("pole figure {} lies beyond the end of the file.", index)});
    return false;
  }
  // After the hkl, fixed fields of 5: tilt from, to, step; azimuth from, to, step.
  const auto field = [&](std::size_t k) -> std::optional<double> {
    const std::size_t at = 10 + 5 * k;
    return at + 5 <= line.size() ? ParseNumber(Trim(line.substr(at, 5))) : std::nullopt;
  };
  const auto tiltStep = field(2), betaFrom = field(3), betaTo = field(4), betaStep = field(5);
  if (!(tiltStep == 5.0 && betaFrom == 0.0 && betaTo == 360.0 && betaStep == 5.0)) {
    sink.Problem({fileName, headerLine + 1,
                  fmt::format("the header of pole figure {} does not describe the 5-degree grid of a Beartex block "
                              "(\"{}\"); give a grid file.",
                              index, Trim(line))});
    return false;
  }
  GridDescription grid;
  for (int i = 0; i <= 18; ++i) grid.circles.push_back({5.0 * i, 0.0, 5.0, 72});
  return SetGrid(pf, grid, fileName, FileRole::Data, sink);
}

bool ReadPoleFigureData(PoleFigure& pf, const std::string& fileName, const DataReadOptions& options,
                        MessageSink& sink) {
  if (!HasGrid(pf, fileName, sink)) return false;
  const auto text = ReadTextFile(fileName, sink, "File " + fileName + " does not exist");
  return text && ReadPoleFigureDataText(pf, *text, fileName, options, sink);
}

bool ReadPoleFigureDataText(PoleFigure& pf, std::string_view text, const std::string& fileName,
                            const DataReadOptions& options, MessageSink& sink) {
  if (!HasGrid(pf, fileName, sink)) return false;
  const int n = pf.CircleCount;
  text = WithoutByteOrderMark(text);

  Reading r;
  // In long long: the size of the most negative int is no int.
  const long long index = std::max(1LL, std::llabs(options.pfIndex));
  if (!options.directional) {
    switch (options.layout) {
      case DataLayout::Beartex: r = ReadHashList(pf, text, index, fileName, sink); break;
      case DataLayout::Geesthacht: r = ReadWkoList(pf, text, index, fileName, sink); break;
      case DataLayout::Plain: r = ReadPlain(pf, text, fileName, sink); break;
      default:
        sink.Problem(
            {fileName, 0, fmt::format("the {} layout is read with its own grid.", LayoutName(options.layout))});
        return false;
    }
    if (!r.ok) return false;
    if (r.counter != pf.PointCount) {
      sink.Problem({fileName, 0, fmt::format("Expected {} data, found {}.", pf.PointCount, r.counter), Severity::Error,
                    FileRole::Data, false});
      return false;
    }
    if (options.layout != DataLayout::Plain) {
      // The fixed layouts hold each circle in increasing beta already.
      for (int i = 1; i <= n; ++i) StoreInIncreasingBeta(pf, i);
    }
  }

  FinishGridData(pf);
  return true;
}

void FinishGridData(PoleFigure& pf) {
  UpdateExtremes(pf);
  ApplyRimRule(pf);
  RefreshMirrorCircles(pf);
}

}  // namespace quorix
