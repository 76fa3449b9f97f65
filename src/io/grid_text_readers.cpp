// Exchange layouts that state their grid in a few header numbers and then
// list the values: EMSE (.ana, .cor), Rigaku 3DExplore text, X'Pert text
// exports (a Phi\Psi matrix), Aachen files (a Fortran format line and a
// fixed-width matrix) and GADDS slices (.slc).
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/exchange_readers.h"

namespace quorix {
namespace {

bool StartsWith(std::string_view line, std::string_view start) { return line.substr(0, start.size()) == start; }

std::string_view LineAt(std::string_view text, std::size_t index) {
  LineCursor lines(text);
  lines.Skip(index);
  std::string_view line;
  return lines.Next(line) ? line : std::string_view();
}

MeasurementFile OneFigure(DataLayout format, MeasuredPoleFigure pf) {
  MeasurementFile file;
  file.format = format;
  file.poleFigures.push_back(std::move(pf));
  return file;
}

std::string FirstHklInName(const std::string& source) {
  const auto groups = HklGroupsInName(source);
  return groups.empty() ? std::string() : groups.front();
}

}  // namespace

// EMSE: a comment line, then one number a line: the count, a code, the
// Bragg angle range (start, stop, step), a further angle, the tilt range and
// the azimuth range (start, stop, step each) and the rest of the set-up,
// twenty numbers in all; then the values, azimuth fastest.
bool LooksLikeEmse(std::string_view text) {
  // A comment line, a whole count on line 2 and lines 3 to 12 one number each.
  LineCursor lines(text);
  std::string_view line, first;
  if (!lines.Next(line) || !TokenCursor(line).Next(first) || ParseNumber(first)) return false;
  if (!lines.Next(line) || !ParseInteger(Trim(line))) return false;
  for (int k = 0; k < 10; ++k)
    if (!lines.Next(line) || SplitWhitespace(line).size() != 1 || !ParseNumber(Trim(line))) return false;
  return true;
}

std::optional<MeasurementFile> ReadEmseText(std::string_view text, const std::string& source, MessageSink& sink) {
  text = WithoutByteOrderMark(text);
  std::vector<NumberAt> numbers;
  if (!NumbersFrom(text, 1, numbers, source, sink)) return std::nullopt;
  constexpr std::size_t kHeader = 20;
  if (numbers.size() < kHeader) {
    sink.Problem({source, 0, "expected twenty header numbers, one a line, after the comment line."});
    return std::nullopt;
  }
  const auto n = [&](std::size_t k) { return numbers[k].value; };
  const std::size_t circles = PointsFromRange(n(6), n(7), n(8)).value_or(0);
  std::size_t points = PointsFromRange(n(9), n(10), n(11)).value_or(0);
  // The count leaves out the repeat of a circle's first azimuth at 360
  // degrees; the values may hold it or not.
  const bool fullTurn = std::fabs(n(10) - n(9) - 360) < 1e-6;
  const std::size_t counted = fullTurn && points > 0 ? points - 1 : points;
  if (circles == 0 || points == 0 || circles > 1000 || points > 100000 ||
      static_cast<double>(circles * counted) != n(0)) {
    sink.Problem({source, numbers[6].line,
                  "the tilt and azimuth ranges (start, stop, step on lines 8 to 13) do not give the count on line 2."});
    return std::nullopt;
  }
  const std::size_t found = numbers.size() - kHeader;
  if (found == circles * counted) points = counted;
  if (found != circles * points) {
    sink.Problem({source, 0, fmt::format("expected {} values after the header, found {}.", circles * points, found)});
    return std::nullopt;
  }
  MeasuredPoleFigure pf;
  pf.hkl = FirstHklInName(source);
  std::size_t at = kHeader;
  for (std::size_t c = 0; c < circles; ++c) {
    MeasuredCircle circle;
    circle.alpha = n(6) + n(8) * static_cast<double>(c);
    circle.betaStart = n(9);
    circle.betaStep = n(11);
    for (std::size_t p = 0; p < points; ++p) circle.values.push_back(numbers[at++].value);
    if (!FinishCircle(circle, source, numbers[at - 1].line, "tilt " + ShortNumber(circle.alpha), sink))
      return std::nullopt;
    // Steps as fine as 0.45 degrees: pairs of points become one.
    BinToRecordLimit(circle);
    pf.circles.push_back(std::move(circle));
  }
  if (!FinishPoleFigure(pf, source, sink)) return std::nullopt;
  return OneFigure(DataLayout::Emse, std::move(pf));
}

// Rigaku 3DExplore: "# key : value" lines, then alpha, beta, intensity a
// row; alpha as the goniometer counts it (90 = the sample normal).
bool LooksLike3dExplore(std::string_view text) { return StartsWith(Trim(text.substr(0, 100)), "# 3DExplore ascii"); }

std::optional<MeasurementFile> Read3dExploreText(std::string_view text, const std::string& source, MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  std::map<double, std::vector<AzimuthValue>> byAlpha;
  std::size_t last = 0;
  for (std::size_t number = 1; lines.Next(line); ++number) {
    const std::string_view t = Trim(line);
    if (t.empty() || t[0] == '#') continue;
    const auto tokens = SplitWhitespace(t);
    std::array<std::optional<double>, 3> v{};
    for (std::size_t k = 0; k < 3 && k < tokens.size(); ++k) v[k] = ParseNumber(tokens[k]);
    if (tokens.size() != 3 || !v[0] || !v[1] || !v[2] || *v[0] < 0 || *v[0] > 90) {
      sink.Problem({source, number, "expected alpha (0 to 90), beta and intensity."});
      return std::nullopt;
    }
    byAlpha[90 - *v[0]].push_back({*v[1], *v[2]});
    last = number;
  }
  MeasuredPoleFigure pf;
  pf.hkl = FirstHklInName(source);
  if (byAlpha.empty()) {
    sink.Problem({source, 0, "no rows of alpha, beta and intensity."});
    return std::nullopt;
  }
  if (!CirclesFromPoints(byAlpha, pf, source, last, sink)) return std::nullopt;
  return OneFigure(DataLayout::Explore3d, std::move(pf));
}

// X'Pert text export of a pole figure: "Key:<TAB>value" lines (hkl, 2Theta,
// Time per step), then "Phi\Psi" and the tilts, then a row an azimuth.
bool LooksLikeXpertText(std::string_view text) {
  return text.substr(0, 4000).find("Phi\\Psi") != std::string_view::npos &&
         text.substr(0, 1000).find("X'Pert") != std::string_view::npos;
}

std::optional<MeasurementFile> ReadXpertText(std::string_view text, const std::string& source, MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  MeasuredPoleFigure pf;
  std::vector<double> psis;
  std::vector<double> phis;
  std::vector<std::vector<double>> rows;
  std::size_t number = 0;
  const auto value = [](std::string_view l) {
    const auto colon = l.find(':');
    return colon == std::string_view::npos ? std::string_view() : Trim(l.substr(colon + 1));
  };
  while (lines.Next(line)) {
    ++number;
    const std::string_view t = Trim(line);
    if (StartsWith(t, "hkl:")) {
      const auto parts = SplitWhitespace(value(t));
      if (parts.size() == 3 && !(parts[0] == "0" && parts[1] == "0" && parts[2] == "0"))
        pf.hkl = fmt::format("{} {} {}", parts[0], parts[1], parts[2]);
    } else if (StartsWith(t, "2Theta")) {
      pf.twoTheta = ParseNumber(value(t)).value_or(0);
    } else if (StartsWith(t, "Time per step")) {
      pf.countingTime = ParseNumber(value(t)).value_or(0);
    } else if (StartsWith(t, "Phi\\Psi")) {
      for (auto token : SplitWhitespace(t.substr(7))) {
        const auto psi = ParseNumber(token);
        if (!psi) {
          sink.Problem({source, number, fmt::format("\"{}\" is not a tilt.", token.substr(0, 40))});
          return std::nullopt;
        }
        psis.push_back(*psi);
      }
      break;
    }
  }
  if (psis.empty()) {
    sink.Problem({source, 0, "no \"Phi\\Psi\" line with the tilts."});
    return std::nullopt;
  }
  while (lines.Next(line)) {
    ++number;
    const auto tokens = SplitWhitespace(line);
    if (tokens.empty()) continue;
    std::vector<double> row;
    for (auto token : tokens) {
      const auto v = ParseNumber(token);
      if (!v) break;
      row.push_back(*v);
    }
    if (row.size() != psis.size() + 1) {
      sink.Problem({source, number, fmt::format("expected the azimuth and {} values.", psis.size())});
      return std::nullopt;
    }
    phis.push_back(row[0]);
    rows.push_back(std::move(row));
  }
  const auto step = EvenStep(phis.data(), phis.size());
  if (!step || phis.empty()) {
    sink.Problem({source, number, "the azimuths of the rows are not evenly spaced."});
    return std::nullopt;
  }
  if (pf.hkl.empty()) pf.hkl = FirstHklInName(source);
  for (std::size_t c = 0; c < psis.size(); ++c) {
    MeasuredCircle circle;
    circle.alpha = psis[c];
    circle.betaStart = phis.front();
    circle.betaStep = *step;
    for (const auto& row : rows) circle.values.push_back(row[c + 1]);
    if (!FinishCircle(circle, source, number, "psi " + ShortNumber(psis[c]), sink)) return std::nullopt;
    pf.circles.push_back(std::move(circle));
  }
  if (!FinishPoleFigure(pf, source, sink)) return std::nullopt;
  return OneFigure(DataLayout::XpertText, std::move(pf));
}

namespace {

// The one-line form of an Aachen file (.cpf) keeps the records of the
// Fortran program as 80-character card images with no line ends between them.
constexpr std::size_t kCardWidth = 80;

bool OneLineForm(std::string_view text) {
  return text.size() > 2 * kCardWidth && text.substr(0, 2 * kCardWidth).find_first_of("\r\n") == std::string_view::npos;
}

std::vector<std::string> AachenRecords(std::string_view text) {
  if (!OneLineForm(text)) return SplitLines(text);
  // A line end may still close the last card.
  text = text.substr(0, text.find_first_of("\r\n"));
  std::vector<std::string> records;
  for (std::size_t at = 0; at < text.size(); at += kCardWidth) records.emplace_back(text.substr(at, kCardWidth));
  return records;
}

}  // namespace

// Aachen: per pole figure a title, a line with hkl, the tilt step, the
// azimuth step and the largest tilt in fields of five (columns 11-25), where
// the points lie (columns 26-30: 1 on the grid's corners from tilt 0, 0 in the
// middle of its cells from half a step) and how much of a turn was measured
// (columns 31-35: 0 all of it, 2 half, 4 a quarter), and a Fortran format
// "(12f6.0)", a scale line, then the values of each circle in that format
// (blank lines hold none).
bool LooksLikeAachen(std::string_view text) {
  // "(12f6.0)": a count, f, a width, a point, decimals.
  const std::string_view second = OneLineForm(text) ? text.substr(kCardWidth, kCardWidth) : LineAt(text, 1);
  const auto open = second.find('(');
  if (open == std::string_view::npos || second.size() <= 25) return false;
  std::size_t at = open + 1;
  const auto digits = [&] {
    const std::size_t from = at;
    while (at < second.size() && std::isdigit(static_cast<unsigned char>(second[at]))) ++at;
    return at > from;
  };
  const auto is = [&](char c) {
    return at < second.size() && std::tolower(static_cast<unsigned char>(second[at])) == c;
  };
  if (!digits() || !is('f')) return false;
  ++at;
  if (!digits() || !is('.')) return false;
  ++at;
  return digits() && is(')');
}

std::optional<MeasurementFile> ReadAachenText(std::string_view text, const std::string& source, MessageSink& sink) {
  const std::vector<std::string> lines = AachenRecords(WithoutByteOrderMark(text));
  MeasurementFile file;
  file.format = DataLayout::Aachen;
  std::size_t i = 0;
  while (i < lines.size()) {
    if (Trim(lines[i]).empty()) {
      ++i;
      continue;
    }
    if (i + 2 >= lines.size()) {
      sink.Problem({source, i + 1, "expected a title, a line with hkl, steps and format, and a scale line."});
      return std::nullopt;
    }
    const std::string_view head = lines[i + 1];
    const auto field = [&](std::size_t from) { return ParseNumber(Trim(Columns(head, from, from + 4))); };
    const double alphaStep = field(11).value_or(0), betaStep = field(16).value_or(0), alphaMax = field(21).value_or(-1);
    const auto open = head.find('(');
    const auto f = open == std::string_view::npos ? open : head.find_first_of("fF", open);
    const auto dot = f == std::string_view::npos ? f : head.find('.', f);
    const long long width =
        dot == std::string_view::npos ? 0 : ParseInteger(head.substr(f + 1, dot - f - 1)).value_or(0);
    // Blank or absent (the format may start early): on the corners, a full turn.
    const auto corners = ParseInteger(Trim(Columns(head, 26, 30)));
    const auto symmetry = ParseInteger(Trim(Columns(head, 31, 35)));
    const bool placed = corners && symmetry;
    const double alphaFirst = placed && *corners == 0 ? alphaStep / 2 : 0;
    const double turn = !placed || *symmetry == 0 ? 360 : *symmetry == 2 ? 180 : *symmetry == 4 ? 90 : 0;
    const std::size_t circles =
        alphaStep > 0 && alphaMax >= alphaFirst && alphaMax <= 90
            ? static_cast<std::size_t>(std::floor((alphaMax - alphaFirst) / alphaStep + 1e-6)) + 1
            : 0;
    const std::size_t points = betaStep > 0 && turn > 0 ? PointsFromRange(0, turn, betaStep).value_or(0) : 0;
    if (width < 1 || width > 40 || circles == 0 || points < 2 || circles > 1000 || points > 100000 ||
        (placed && *corners != 0 && *corners != 1)) {
      sink.Problem({source, i + 2,
                    "expected hkl, the tilt step, the azimuth step and the largest tilt (columns 11 to 25), 0 or 1 "
                    "and 0, 2 or 4 (columns 26 to 35) and a format such as \"(12f6.0)\"."});
      return std::nullopt;
    }
    MeasuredPoleFigure pf;
    const std::string_view hkl = SplitWhitespace(head).front();
    if (hkl.size() == 3) pf.hkl = fmt::format("{} {} {}", hkl[0], hkl[1], hkl[2]);
    pf.name = pf.hkl.empty() ? std::string(Trim(lines[i])) : pf.hkl;
    // The last azimuth of the range is the first of the next part of the turn;
    // the parts not measured stay missing.
    const std::size_t perCircle = points - 1;
    const std::size_t wanted = circles * perCircle;
    std::vector<double> values;
    std::size_t at = i + 3;
    for (; at < lines.size() && values.size() < wanted; ++at) {
      for (std::string_view v : FixedFields(lines[at], 0, static_cast<std::size_t>(width))) {
        if (Trim(v).empty()) continue;
        const auto x = ParseNumber(Trim(v));
        if (!x) {
          sink.Problem({source, at + 1, fmt::format("\"{}\" is not a number.", Trim(v))});
          return std::nullopt;
        }
        values.push_back(*x);
      }
    }
    if (values.size() != wanted) {
      sink.Problem(
          {source, at,
           fmt::format("pole figure {} holds {} values where its header gives {}.", pf.name, values.size(), wanted)});
      return std::nullopt;
    }
    for (std::size_t c = 0; c < circles; ++c) {
      MeasuredCircle circle;
      circle.alpha = alphaFirst + alphaStep * static_cast<double>(c);
      circle.betaStep = betaStep;
      circle.values.assign(values.begin() + static_cast<std::ptrdiff_t>(c * perCircle),
                           values.begin() + static_cast<std::ptrdiff_t>((c + 1) * perCircle));
      if (!FinishCircle(circle, source, at, "tilt " + ShortNumber(circle.alpha), sink)) return std::nullopt;
      pf.circles.push_back(std::move(circle));
    }
    if (!FinishPoleFigure(pf, source, sink)) return std::nullopt;
    file.poleFigures.push_back(std::move(pf));
    i = at;
  }
  if (file.poleFigures.empty()) {
    sink.Problem({source, 0, "no pole figure."});
    return std::nullopt;
  }
  return file;
}

// GADDS slices: "2Theta integration range = A to B ...", then a row a slice:
// "FRAME0.0NN" (the azimuth NN x 10 degrees) and 360 values at polar angles
// running evenly from +90 to -90 through the centre; a negative polar angle
// lies at the opposite azimuth. Every direction is met by two slices: the
// values of both are averaged. Zeros at the ends of a slice lie beyond the
// detector's reach and are missing.
bool LooksLikeGaddsSlice(std::string_view text) {
  return StartsWith(Trim(text.substr(0, 200)), "2Theta integration range");
}

std::optional<MeasurementFile> ReadGaddsSliceText(std::string_view text, const std::string& source, MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  lines.Next(line);
  MeasuredPoleFigure pf;
  {
    const auto tokens = SplitWhitespace(line);
    std::vector<double> range;
    for (auto t : tokens) {
      if (t.front() == '=') t.remove_prefix(1);
      if (const auto v = ParseNumber(t); v && range.size() < 2) range.push_back(*v);
    }
    if (range.size() == 2) pf.twoTheta = (range[0] + range[1]) / 2;
  }
  constexpr std::size_t kValues = 360;
  constexpr std::size_t kHalf = kValues / 2;
  std::map<long long, std::vector<double>> rows;  // azimuth in degrees, values
  std::size_t number = 1;
  while (lines.Next(line)) {
    ++number;
    const auto tokens = SplitWhitespace(line);
    if (tokens.empty()) continue;
    double frame = -1;
    if (tokens[0].size() > 5 && StartsWith(tokens[0], "FRAME")) frame = ParseNumber(tokens[0].substr(5)).value_or(-1);
    std::vector<double> values;
    for (std::size_t k = 1; k < tokens.size(); ++k) {
      const auto v = ParseNumber(tokens[k]);
      if (!v) break;
      values.push_back(*v);
    }
    if (values.size() != kValues || frame < 0 || frame >= 0.036) {
      sink.Problem({source, number, "expected \"FRAME0.0NN\" (NN from 00 to 35) and 360 values."});
      return std::nullopt;
    }
    rows[std::llround(frame * 10000)] = std::move(values);
  }
  if (rows.empty()) {
    sink.Problem({source, 0, "no \"FRAME\" rows."});
    return std::nullopt;
  }
  // Tilt of value k (and of 359 - k, on the other side of the centre).
  const auto tilt = [](std::size_t k) { return 90.0 - 180.0 * static_cast<double>(k) / (kValues - 1); };
  std::map<double, std::vector<AzimuthValue>> byAlpha;
  std::map<std::pair<std::size_t, long long>, std::pair<double, int>> sums;  // (k, azimuth) -> sum, count
  for (auto& [azimuth, values] : rows) {
    // The detector reaches only so far from the centre: the zeros at both
    // ends of a slice were never measured.
    for (std::size_t k = 0; k < kValues && values[k] == 0; ++k) values[k] = -1;
    for (std::size_t k = kValues; k > 0 && values[k - 1] == 0; --k) values[k - 1] = -1;
    for (std::size_t k = 0; k < kValues; ++k) {
      if (values[k] < 0) continue;
      const bool near = k < kHalf;
      const std::size_t ring = near ? k : kValues - 1 - k;
      const long long beta = near ? azimuth : (azimuth + 180) % 360;
      auto& s = sums[{ring, beta}];
      s.first += values[k];
      ++s.second;
    }
  }
  // A direction no slice measured stays missing.
  for (std::size_t ring = 0; ring < kHalf; ++ring)
    for (long long beta = 0; beta < 360; beta += 10) {
      const auto it = sums.find({ring, beta});
      byAlpha[tilt(ring)].push_back(
          {static_cast<double>(beta), it == sums.end() ? -1.0 : it->second.first / it->second.second});
    }
  pf.hkl = FirstHklInName(source);
  if (!CirclesFromPoints(byAlpha, pf, source, number, sink)) return std::nullopt;
  return OneFigure(DataLayout::GaddsSlice, std::move(pf));
}

}  // namespace quorix
