// LaboTex pole figures (.epf, .ppf, .pow): a title, a "Structure Code" line
// and the lattice, "N number of Pole Figures", a column heading, one line a
// pole figure (2theta, alpha start, end and step, beta start, end and step,
// an index, h k l and a pole figure/background flag), then the values of
// every pole figure in turn, circle by circle. A .pow file holds a powder
// sample measured the same way, for the defocusing correction.
#include <fmt/format.h>

#include <cmath>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/exchange_readers.h"

namespace quorix {
namespace {

struct Description {
  double twoTheta, alphaStart, alphaEnd, alphaStep, betaStart, betaEnd, betaStep;
  std::string hkl;
  bool background;
  std::size_t line;
};

bool Contains(std::string_view line, std::string_view what) {
  return ToUpper(std::string(line)).find(what) != std::string::npos;
}

}  // namespace

bool LooksLikeLaboTex(std::string_view text) {
  LineCursor lines(text);
  std::string_view line;
  for (int k = 0; k < 8 && lines.Next(line); ++k)
    if (Contains(line, "NUMBER OF POLE FIGURES")) return true;
  return false;
}

std::optional<MeasurementFile> ReadLaboTexText(std::string_view text, const std::string& source, MessageSink& sink) {
  text = WithoutByteOrderMark(text);
  LineCursor lines(text);
  std::string_view line;
  std::size_t number = 0;
  std::optional<long long> count;
  while (!count && lines.Next(line)) {
    ++number;
    if (Contains(line, "NUMBER OF POLE FIGURES")) {
      std::string_view first;
      TokenCursor(line).Next(first);
      count = ParseInteger(first);
      if (!count || *count < 1 || *count > 1000) {
        sink.Problem({source, number, "expected the number of pole figures before \"number of Pole Figures\"."});
        return std::nullopt;
      }
    }
  }
  if (!count) {
    sink.Problem({source, 0, "no \"number of Pole Figures\" line."});
    return std::nullopt;
  }
  lines.Next(line);  // the column heading
  ++number;
  std::vector<Description> described;
  for (long long k = 0; k < *count; ++k) {
    ++number;
    if (!lines.Next(line)) {
      sink.Problem({source, number, fmt::format("the file ends before the line of pole figure {}.", k + 1)});
      return std::nullopt;
    }
    const auto tokens = SplitWhitespace(line);
    std::vector<double> v;
    for (auto t : tokens) {
      const auto x = ParseNumber(t);
      if (!x) break;
      v.push_back(*x);
    }
    if (v.size() < 11 || !(v[3] > 0) || !(v[6] > 0)) {
      sink.Problem({source, number,
                    "expected 2theta, alpha start, end and step, beta start, end and step, index, h, k, l and the "
                    "pole figure/background flag."});
      return std::nullopt;
    }
    // The flag: 1 a pole figure, anything else a background.
    const bool background = v.size() > 11 && std::round(v[11]) != 1;
    described.push_back(
        {v[0], v[1], v[2], v[3], v[4], v[5], v[6], HklTextIfWhole(v[8], v[9], v[10]), background, number});
  }
  std::vector<NumberAt> values;
  if (!NumbersFrom(text, number, values, source, sink)) return std::nullopt;
  MeasurementFile file;
  file.format = DataLayout::LaboTex;
  std::size_t at = 0;
  for (const Description& d : described) {
    const auto circles = PointsFromRange(d.alphaStart, d.alphaEnd, d.alphaStep);
    const auto points = PointsFromRange(d.betaStart, d.betaEnd, d.betaStep);
    if (!circles || !points || *circles > 1000 || *points > 100000) {
      sink.Problem({source, d.line, "the alpha or beta range is not a whole number of steps."});
      return std::nullopt;
    }
    MeasuredPoleFigure pf;
    pf.hkl = d.hkl;
    const std::string name = d.hkl.empty() ? std::to_string(file.poleFigures.size() + 1) : d.hkl;
    pf.name = d.background ? name + " background" : d.hkl.empty() ? "pole figure " + name : name;
    pf.twoTheta = d.twoTheta;
    pf.background = d.background;
    for (std::size_t c = 0; c < *circles; ++c) {
      if (values.size() - at < *points) {
        sink.Problem({source, values.empty() ? d.line : values.back().line,
                      fmt::format("pole figure {} ends after {} of its {} values.", name,
                                  c * *points + (values.size() - at), *circles * *points)});
        return std::nullopt;
      }
      MeasuredCircle circle;
      circle.alpha = d.alphaStart + d.alphaStep * static_cast<double>(c);
      circle.betaStart = d.betaStart;
      circle.betaStep = d.betaStep;
      for (std::size_t p = 0; p < *points; ++p) circle.values.push_back(values[at++].value);
      if (!FinishCircle(circle, source, values[at - 1].line, "alpha " + ShortNumber(circle.alpha), sink))
        return std::nullopt;
      pf.circles.push_back(std::move(circle));
    }
    if (!FinishPoleFigure(pf, source, sink)) return std::nullopt;
    file.poleFigures.push_back(std::move(pf));
  }
  return file;
}

}  // namespace quorix
