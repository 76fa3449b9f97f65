#include "correction/correction_files.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/text_file.h"
#include "correction/units.h"
#include "io/data_layout.h"
#include "io/load_pole_figure.h"

namespace quorix {
namespace {

// "1 1 1", "111" and "{1,1,1}" name one reflection.
std::string HklKey(std::string_view hkl) {
  std::string key;
  for (char c : hkl)
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') key += c;
  return key;
}

std::unique_ptr<PoleFigure> LoadChosen(const MeasurementChoice& choice, const CorrectionFiles& files,
                                       MessageSink& sink) {
  LoadRequest r;
  r.dataFile = choice.file;
  r.gridFile = files.grid;
  r.pfIndex = std::max(choice.index, 1);
  r.measurement = files.measurement;
  auto pf = LoadPoleFigure(r, sink);
  if (pf && choice.twoTheta) pf->TwoTheta = *choice.twoTheta;
  return pf;
}

// The defocusing and defocused background of a TEXD5 block for `hkl`.
bool PickBlock(std::vector<std::unique_ptr<PoleFigure>>& all, const std::string& file, const std::string& hkl,
               const std::string& dataName, std::unique_ptr<PoleFigure>& defocus,
               std::unique_ptr<PoleFigure>& background, MessageSink& sink) {
  if (HklKey(hkl).empty()) {
    sink.Problem({file, 0,
                  fmt::format("{} names no reflection to pick a block of this correction file by; give "
                              "--defocus-block hkl.",
                              dataName)});
    return false;
  }
  for (auto& pf : all) {
    if (HklKey(pf->Hkl) != HklKey(hkl)) continue;
    (pf->Background ? background : defocus) = std::move(pf);
  }
  if (!defocus) {
    sink.Problem({file, 0, fmt::format("no block R{} for {}.", HklKey(hkl), dataName)});
    return false;
  }
  return true;
}

}  // namespace

bool ParseMeasurementChoice(std::string_view text, MeasurementChoice& choice, std::string& error) {
  choice = MeasurementChoice{};
  std::string rest(text);
  if (const auto at = rest.rfind('@'); at != std::string::npos) {
    const auto tt = ParseNumber(Trim(std::string_view(rest).substr(at + 1)));
    if (!tt || !(*tt > 0) || *tt >= 180) {
      error = "\"" + rest.substr(at + 1) + "\" after @ in " + std::string(text) + " is no 2theta in degrees";
      return false;
    }
    choice.twoTheta = *tt;
    rest.resize(at);
  }
  const auto colon = rest.rfind(':');
  if (colon != std::string::npos && colon + 1 < rest.size() &&
      rest.find_first_not_of("0123456789", colon + 1) == std::string::npos && rest.size() - colon <= 6) {
    choice.index = std::stoi(rest.substr(colon + 1));
    rest.resize(colon);
  }
  choice.file = rest;
  return true;
}

std::vector<std::unique_ptr<PoleFigure>> LoadEveryPoleFigure(const std::string& file, const std::string& grid,
                                                             const MeasurementOptions& measurement, MessageSink& sink) {
  std::vector<std::unique_ptr<PoleFigure>> all;
  const auto text = ReadTextFile(file, sink, "File " + file + " does not exist");
  if (!text) return all;
  LoadRequest r;
  r.dataFile = file;
  r.gridFile = grid;
  r.measurement = measurement;
  r.dataText = &*text;
  DataFileFacts facts;
  auto first = LoadPoleFigure(r, sink, facts);
  if (!first) return all;
  r.layout = facts.layout;
  all.push_back(std::move(first));
  for (int k = 2; k <= static_cast<int>(facts.names.size()); ++k) {
    r.pfIndex = k;
    auto pf = LoadPoleFigure(r, sink);
    if (!pf) return {};
    all.push_back(std::move(pf));
  }
  return all;
}

std::vector<std::unique_ptr<PoleFigure>> OwnBackgrounds(const PoleFigure& data, const CorrectionFiles& files,
                                                        MessageSink& sink) {
  auto all = LoadEveryPoleFigure(data.FileName, files.grid, files.measurement, sink);
  std::vector<std::unique_ptr<PoleFigure>> own;
  if (all.empty()) return own;
  const double peak = data.TwoTheta;
  if (peak > 0) {
    std::unique_ptr<PoleFigure>*below = nullptr, *above = nullptr;
    for (auto& pf : all) {
      if (!pf->Background || !(pf->TwoTheta > 0)) continue;
      if (pf->TwoTheta < peak && (!below || pf->TwoTheta > (*below)->TwoTheta)) below = &pf;
      if (pf->TwoTheta > peak && (!above || pf->TwoTheta < (*above)->TwoTheta)) above = &pf;
    }
    if (below) own.push_back(std::move(*below));
    if (above) own.push_back(std::move(*above));
  } else {
    // The readers put a pole figure's backgrounds right after it.
    const std::size_t at = static_cast<std::size_t>(std::max(data.IndexInFile, 1));
    for (std::size_t k = at; k < all.size() && all[k]->Background; ++k) own.push_back(std::move(all[k]));
    std::sort(own.begin(), own.end(), [](const auto& a, const auto& b) { return a->TwoTheta < b->TwoTheta; });
  }
  if (own.empty())
    sink.Problem({data.FileName, 0, fmt::format("{} carries no background of its own.", SourceName(data))});
  if (own.size() > 2) own.resize(2);
  return own;
}

std::optional<DefocusCurve> ReadDefocusCurveText(std::string_view text, const std::string& source, MessageSink& sink) {
  DefocusCurve curve;
  LineCursor lines(text);
  std::string_view line;
  for (std::size_t number = 1; lines.Next(line); ++number) {
    const std::string_view t = Trim(line);
    if (t.empty() || t[0] == '#' || t[0] == ';' || t[0] == '*') continue;
    const auto tokens = SplitWhitespace(t);
    const auto tilt = tokens.size() == 2 ? ParseNumber(tokens[0]) : std::nullopt;
    const auto factor = tokens.size() == 2 ? ParseNumber(tokens[1]) : std::nullopt;
    if (!tilt || !factor) {
      sink.Problem({source, number, "expected a row of tilt and defocusing factor."});
      return std::nullopt;
    }
    if (!(*tilt >= 0 && *tilt <= 90)) {
      sink.Problem({source, number, fmt::format("the tilt {} lies outside 0 to 90 degrees.", *tilt)});
      return std::nullopt;
    }
    if (!(*factor > 0)) {
      sink.Problem({source, number, "the defocusing factor must be greater than 0."});
      return std::nullopt;
    }
    if (!curve.tilts.empty() && !(*tilt > curve.tilts.back())) {
      sink.Problem({source, number, "the tilts must increase from row to row."});
      return std::nullopt;
    }
    curve.tilts.push_back(*tilt);
    curve.factors.push_back(*factor);
  }
  if (curve.tilts.empty()) {
    sink.Problem({source, 0, "no rows of tilt and defocusing factor."});
    return std::nullopt;
  }
  return curve;
}

std::optional<CorrectionOutcome> CorrectWithFiles(const PoleFigure& data, const CorrectionFiles& files,
                                                  MessageSink& sink) {
  // The request's own numbers, whichever front end typed them.
  if (files.twoTheta && !(*files.twoTheta > 0 && *files.twoTheta < 180)) {
    sink.Message("The peak's 2theta must be a number of degrees from 0 to 180.");
    return std::nullopt;
  }
  if (files.thinFilmMuT && !(*files.thinFilmMuT > 0 && std::isfinite(*files.thinFilmMuT))) {
    sink.Message("mu t of the film must be a number greater than 0.");
    return std::nullopt;
  }
  PoleFigure peak = data;
  if (files.twoTheta) peak.TwoTheta = *files.twoTheta;
  std::vector<std::unique_ptr<PoleFigure>> backgrounds;
  if (files.ownBackground) {
    backgrounds = OwnBackgrounds(peak, files, sink);
    if (backgrounds.empty()) return std::nullopt;
  }
  for (const MeasurementChoice& choice : files.backgrounds) {
    auto bg = LoadChosen(choice, files, sink);
    if (!bg) return std::nullopt;
    backgrounds.push_back(std::move(bg));
  }
  if (backgrounds.size() > 2) {
    sink.Problem({data.FileName, 0,
                  fmt::format("{} backgrounds were given; one, or two around the peak, can be subtracted.",
                              backgrounds.size())});
    return std::nullopt;
  }
  std::sort(backgrounds.begin(), backgrounds.end(),
            [](const auto& a, const auto& b) { return a->TwoTheta < b->TwoTheta; });
  if (backgrounds.size() == 2 && peak.TwoTheta > 0)
    for (const auto& bg : backgrounds)
      if (!(bg->TwoTheta > 0)) {
        sink.Problem({bg->FileName, 0,
                      "the background's 2theta is unknown; give it as FILE@2THETA to interpolate between two."});
        return std::nullopt;
      }

  CorrectionInputs in;
  for (const auto& bg : backgrounds) in.backgrounds.push_back(bg.get());
  std::unique_ptr<PoleFigure> defocus, defocusBackground;
  if (files.defocus) {
    const MeasurementChoice& c = *files.defocus;
    const auto text = ReadTextFile(c.file, sink, "File " + c.file + " does not exist");
    if (!text) return std::nullopt;
    if (DetectLayoutText(*text, c.file).layout == DataLayout::Texd5) {
      auto all = LoadEveryPoleFigure(c.file, "", files.measurement, sink);
      if (all.empty()) return std::nullopt;
      const std::string hkl = files.defocusBlock.empty() ? peak.Hkl : files.defocusBlock;
      if (!PickBlock(all, c.file, hkl, SourceName(data), defocus, defocusBackground, sink)) return std::nullopt;
    } else {
      defocus = LoadChosen(c, files, sink);
      if (!defocus) return std::nullopt;
    }
  }
  if (files.defocusBackground) {
    if (!defocus) {
      sink.Message("A defocusing background needs the random sample it belongs to (--defocus FILE).");
      return std::nullopt;
    }
    defocusBackground = LoadChosen(*files.defocusBackground, files, sink);
    if (!defocusBackground) return std::nullopt;
  }
  if (!files.defocusCurve.empty()) {
    if (defocus) {
      sink.Message("Give the defocusing either as a random sample or as a curve, not both.");
      return std::nullopt;
    }
    const auto text = ReadTextFile(files.defocusCurve, sink, "File " + files.defocusCurve + " does not exist");
    if (!text) return std::nullopt;
    in.curve = ReadDefocusCurveText(*text, files.defocusCurve, sink);
    if (!in.curve) return std::nullopt;
  }
  in.defocus = defocus.get();
  in.defocusBackground = defocusBackground.get();
  in.pointwise = files.pointwise;
  in.thinFilmMuT = files.thinFilmMuT;
  in.mrd = files.mrd;
  CorrectionOutcome outcome;
  outcome.pf = CorrectPoleFigure(peak, in, sink, outcome.report);
  if (!outcome.pf) return std::nullopt;
  return outcome;
}

}  // namespace quorix
