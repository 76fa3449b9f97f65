// Siemens/Bruker dumps of pole figures (.dat raw, .ptx/.rpf corrected):
// "*... Phi range A - B Step S", then per pole figure "*Pole figure: hkl" and
// per tilt "*Khi = X", optional "Rescaled, averaged background at 2 theta T : Y"
// lines, and the values eight a line, eight characters each. Each background 2theta becomes a
// pole figure of its own (the value of its tilt on every point of the circle).
// TEXD5 correction files (.pwd): per reflection "R<hkl>", then rows tilt,
// defocusing factor, defocused background, read as two pole figures constant
// on each circle.
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/exchange_readers.h"

namespace quorix {
namespace {

bool StartsWith(std::string_view line, std::string_view start) { return line.substr(0, start.size()) == start; }

std::string HklOf(std::string_view text) {
  text = Trim(text);
  const std::vector<std::string_view> parts = SplitWhitespace(text);
  if (parts.size() == 3) return fmt::format("{} {} {}", parts[0], parts[1], parts[2]);
  if (parts.size() == 1 && parts[0].size() == 3) return fmt::format("{} {} {}", text[0], text[1], text[2]);
  return std::string(text);
}

// A circle of `points` equal values: a tilt-only quantity spread over a full turn.
MeasuredCircle ConstantCircle(double alpha, std::size_t points, double value) {
  MeasuredCircle c;
  c.alpha = alpha;
  c.betaStep = 360.0 / static_cast<double>(points);
  c.values.assign(points, value);
  return c;
}

}  // namespace

bool LooksLikeSiemensDump(std::string_view text) {
  const std::string_view start = text.substr(0, 2000);
  return start.find("*Pole figure:") != std::string_view::npos && start.find("*Khi =") != std::string_view::npos;
}

bool LooksLikeTexd5(std::string_view text) { return StartsWith(Trim(text.substr(0, 200)), "*** TEXD5"); }

std::optional<MeasurementFile> ReadSiemensDumpText(std::string_view text, const std::string& source,
                                                   MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  double phiStart = 0, phiStep = 5;
  MeasurementFile file;
  file.format = DataLayout::SiemensDump;
  MeasuredPoleFigure* pf = nullptr;
  // The backgrounds of the current pole figure, by their 2theta.
  std::map<double, MeasuredPoleFigure> backgrounds;
  std::vector<std::pair<double, double>> circleBackgrounds;  // of the circle being read
  MeasuredCircle* circle = nullptr;
  std::size_t circleLine = 0;
  const auto finishCircle = [&]() {
    if (!circle) return true;
    circle->betaStart = phiStart;
    circle->betaStep = phiStep;
    if (!FinishCircle(*circle, source, circleLine, "Khi " + ShortNumber(circle->alpha), sink)) return false;
    for (auto& [twoTheta, value] : circleBackgrounds)
      backgrounds[twoTheta].circles.push_back(ConstantCircle(circle->alpha, circle->values.size(), value));
    circleBackgrounds.clear();
    circle = nullptr;
    return true;
  };
  const auto finishFigure = [&]() {
    if (!finishCircle()) return false;
    if (!pf) return true;
    if (!FinishPoleFigure(*pf, source, sink)) return false;
    const MeasuredPoleFigure peak = *pf;
    for (auto& [twoTheta, bg] : backgrounds) {
      bg.hkl = peak.hkl;
      bg.name = fmt::format("{} background {}", peak.hkl, ShortNumber(twoTheta));
      bg.twoTheta = twoTheta;
      bg.background = true;
      if (!FinishPoleFigure(bg, source, sink)) return false;
      file.poleFigures.push_back(std::move(bg));
    }
    backgrounds.clear();
    pf = nullptr;
    return true;
  };
  for (std::size_t number = 1; lines.Next(line); ++number) {
    const std::string_view t = Trim(line);
    if (t.empty()) continue;
    if (const auto at = t.find("Phi range"); StartsWith(t, "*") && at != std::string_view::npos) {
      // "Phi range    0.00 -  360.00 Step    5.00"
      const auto tokens = SplitWhitespace(t.substr(at + 9));
      const double start = tokens.size() >= 5 ? ParseNumber(tokens[0]).value_or(-1) : -1;
      const double step = tokens.size() >= 5 ? ParseNumber(tokens[4]).value_or(0) : 0;
      if (start < 0 || step <= 0) {
        sink.Problem({source, number, "expected \"Phi range START - END Step STEP\"."});
        return std::nullopt;
      }
      phiStart = start;
      phiStep = step;
    } else if (StartsWith(t, "*Pole figure:")) {
      if (!finishFigure()) return std::nullopt;
      file.poleFigures.emplace_back();
      // The backgrounds follow their pole figure: their place is kept by index.
      pf = &file.poleFigures.back();
      pf->hkl = HklOf(t.substr(13));
      pf->name = pf->hkl;
    } else if (StartsWith(t, "*Khi =")) {
      if (!pf) {
        sink.Problem({source, number, "a \"*Khi =\" line before the first \"*Pole figure:\" line."});
        return std::nullopt;
      }
      if (!finishCircle()) return std::nullopt;
      const auto khi = ParseNumber(Trim(t.substr(6)));
      if (!khi) {
        sink.Problem({source, number, "expected the tilt after \"*Khi =\"."});
        return std::nullopt;
      }
      pf->circles.emplace_back();
      circle = &pf->circles.back();
      circle->alpha = *khi;
      circleLine = number;
    } else if (StartsWith(t, "*")) {
      continue;
    } else if (StartsWith(t, "Rescaled, averaged background at 2 theta")) {
      const std::string_view rest = t.substr(40);
      const auto colon = std::min(rest.find(':'), rest.size());
      const double twoTheta = ParseNumber(Trim(rest.substr(0, colon))).value_or(-1);
      const double value = colon < rest.size() ? ParseNumber(Trim(rest.substr(colon + 1))).value_or(-1) : -1;
      if (!circle || twoTheta < 0 || value < 0) {
        sink.Problem({source, number,
                      "expected \"Rescaled, averaged background at 2 theta T : VALUE\" after a "
                      "\"*Khi =\" line."});
        return std::nullopt;
      }
      circleBackgrounds.emplace_back(twoTheta, value);
    } else {
      if (!circle) {
        sink.Problem({source, number, "values before the first \"*Khi =\" line."});
        return std::nullopt;
      }
      // Eight characters a value: large ones touch.
      for (std::string_view field : FixedFields(line, 0, 8)) {
        if (Trim(field).empty()) continue;
        const auto v = ParseNumber(Trim(field));
        if (!v) {
          sink.Problem({source, number, fmt::format("\"{}\" is not a number.", Trim(field))});
          return std::nullopt;
        }
        circle->values.push_back(*v);
      }
    }
  }
  if (!finishFigure()) return std::nullopt;
  if (file.poleFigures.empty()) {
    sink.Problem({source, 0, "no \"*Pole figure:\" line."});
    return std::nullopt;
  }
  return file;
}

std::optional<MeasurementFile> ReadTexd5Text(std::string_view text, const std::string& source, MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  MeasurementFile file;
  file.format = DataLayout::Texd5;
  MeasuredPoleFigure defocus, background;
  const auto flush = [&]() {
    if (defocus.circles.empty()) return;
    file.poleFigures.push_back(std::move(defocus));
    file.poleFigures.push_back(std::move(background));
    defocus = background = MeasuredPoleFigure{};
  };
  for (std::size_t number = 1; lines.Next(line); ++number) {
    const std::string_view t = Trim(line);
    if (t.empty() || StartsWith(t, "*") || StartsWith(t, "#")) continue;
    if (t[0] == 'R' || t[0] == 'r') {
      flush();
      defocus.hkl = background.hkl = HklOf(t.substr(1));
      defocus.name = defocus.hkl + " defocusing";
      background.name = background.hkl + " defocused background";
      background.background = true;
      continue;
    }
    const auto tokens = SplitWhitespace(t);
    std::array<std::optional<double>, 3> v{};
    for (std::size_t k = 0; k < 3 && k < tokens.size(); ++k) v[k] = ParseNumber(tokens[k]);
    if (defocus.hkl.empty() || tokens.size() != 3 || !v[0] || !v[1] || !v[2]) {
      sink.Problem({source, number, "expected \"R<hkl>\" or a row of tilt, defocusing and background."});
      return std::nullopt;
    }
    if (*v[0] < 0 || *v[0] > 90) {
      sink.Problem({source, number, fmt::format("the tilt {} lies outside 0 to 90 degrees.", ShortNumber(*v[0]))});
      return std::nullopt;
    }
    defocus.circles.push_back(ConstantCircle(*v[0], 72, *v[1]));
    background.circles.push_back(ConstantCircle(*v[0], 72, *v[2]));
  }
  flush();
  for (auto& pf : file.poleFigures)
    if (!FinishPoleFigure(pf, source, sink)) return std::nullopt;
  if (file.poleFigures.empty()) {
    sink.Problem({source, 0, "no \"R<hkl>\" block."});
    return std::nullopt;
  }
  return file;
}

}  // namespace quorix
