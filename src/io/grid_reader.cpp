#include "io/grid_reader.h"

#include <fmt/format.h>

#include <array>
#include <cmath>
#include <filesystem>

#include "base/text_file.h"

namespace quorix {
namespace {

// Equivalent azimuth in 0 <= beta < 360, computed without a loop that a
// huge value could keep going.
double NormaliseStart(double beta) {
  if (beta >= 0 && beta < 360) return beta;
  double r = std::fmod(beta, 360.0);
  if (r < 0) r += 360.0;
  if (r >= 360.0) r = 0;
  return r;
}

// The first `N` tokens of a line; fewer when the line has fewer.
template <std::size_t N>
std::size_t FirstTokens(std::string_view line, std::array<std::string_view, N>& tokens) {
  TokenCursor cursor(line);
  std::size_t count = 0;
  while (count < N && cursor.Next(tokens[count])) ++count;
  return count;
}

}  // namespace

bool ReadSimpleGrid(PoleFigure& pf, const std::string& fileName, MessageSink& sink) {
  const auto text = ReadTextFile(fileName, sink, "File " + fileName + " not found.");
  return text && ReadSimpleGridText(pf, *text, fileName, sink);
}

bool ReadSimpleGridText(PoleFigure& pf, std::string_view text, const std::string& fileName, MessageSink& sink) {
  GridDescription grid;
  std::vector<GridCircle>& circles = grid.circles;
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  while (lines.Next(line)) {
    std::array<std::string_view, 2> tokens;
    if (FirstTokens(line, tokens) < 2) continue;
    const auto alpha = ParseNumber(tokens[0]);
    const auto points = ParseInteger(tokens[1]);
    if (!alpha || !points || *points <= 0) continue;
    GridCircle c;
    c.alpha = *alpha;
    c.points = *points;
    c.betaStart = 0;
    c.betaStep = 360.0 / static_cast<double>(c.points);
    circles.push_back(c);
    if (static_cast<int>(circles.size()) > kMaxCircles) break;
  }
  return SetGrid(pf, grid, fileName, FileRole::Grid, sink);
}

bool ReadFullGrid(PoleFigure& pf, const std::string& fileName, MessageSink& sink) {
  const auto text = ReadTextFile(fileName, sink, "Cannot open " + fileName + ".");
  return text && ReadFullGridText(pf, *text, fileName, sink);
}

bool ReadFullGridText(PoleFigure& pf, std::string_view text, const std::string& fileName, MessageSink& sink) {
  int innerSwitch = -1, outerSwitch = -1;
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  while ((innerSwitch < 0 || outerSwitch < 0) && lines.Next(line)) {
    if (line.empty()) continue;
    const char first = line[0];
    const bool inner = first == 'I' || first == 'i';
    const bool outer = first == 'O' || first == 'o';
    if (!inner && !outer) continue;
    const auto blank = line.find(' ');
    const char value = (blank == std::string_view::npos || blank + 1 >= line.size()) ? line[0] : line[blank + 1];
    const int on = (value == 'I' || value == 'i') ? 0 : 1;
    (inner ? innerSwitch : outerSwitch) = on;
  }
  if (innerSwitch < 0 || outerSwitch < 0) {
    sink.Problem({fileName, 0, "the file ends before the inner and outer mirror switches are both given.",
                  Severity::Error, FileRole::Grid});
    return false;
  }

  std::vector<GridCircle> circles;
  while (lines.Next(line)) {
    std::array<std::string_view, 4> tokens;
    if (FirstTokens(line, tokens) < 4) continue;
    const auto alpha = ParseNumber(tokens[0]);
    const auto start = ParseNumber(tokens[1]);
    const auto step = ParseNumber(tokens[2]);
    const auto points = ParseInteger(tokens[3]);
    if (!alpha || !start || !step || !points || *points <= 0) continue;
    circles.push_back(GridCircle{*alpha, *start, *step, *points});
    if (static_cast<int>(circles.size()) > kMaxCircles) break;
  }
  const int n = static_cast<int>(circles.size());
  GridDescription grid;
  grid.kind = GridKind::Full;
  grid.outerMirror = outerSwitch == 1 && n > 0 && circles[n - 1].alpha < 89.9995;
  grid.innerMirror = innerSwitch == 1 && n > 0 && circles[0].alpha > 0;
  for (GridCircle c : circles) {
    // A circle measured towards decreasing beta starts at its lowest beta.
    if (c.betaStep < 0) c.betaStart += static_cast<double>(c.points - 1) * c.betaStep;
    c.betaStart = NormaliseStart(c.betaStart);
    grid.circles.push_back(c);
  }
  return SetGrid(pf, grid, fileName, FileRole::Grid, sink);
}

GridKind GridKindOfName(const std::string& fileName, GridRule rule) {
  const std::string lower = ToLower(fileName);
  const bool full =
      rule == GridRule::MainWindow ? lower.find(".rst") == std::string::npos : lower.find(".grd") != std::string::npos;
  return full ? GridKind::Full : GridKind::Simple;
}

bool ReadGridFile(PoleFigure& pf, const std::string& fileName, GridRule rule, MessageSink& sink) {
  return GridKindOfName(fileName, rule) == GridKind::Full ? ReadFullGrid(pf, fileName, sink)
                                                          : ReadSimpleGrid(pf, fileName, sink);
}

bool HasGridFileExtension(const std::string& fileName) {
  const std::string ext = ToLower(std::filesystem::path(fileName).extension().string());
  return ext == ".rst" || ext == ".grd";
}

}  // namespace quorix
