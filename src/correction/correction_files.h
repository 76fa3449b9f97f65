// Corrections whose data come from files: the backgrounds, the random sample
// or a defocusing curve, a TEXD5 correction file's block, the backgrounds a
// data file carries itself. What `quorix-cli correct` and the desktop dialog share.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "correction/corrections.h"
#include "io/measurement.h"
#include "record/pole_figure.h"

namespace quorix {

// A pole figure of a file: "FILE[:K][@2THETA]".
struct MeasurementChoice {
  std::string file;
  int index = 0;                   // from 1; 0: the first
  std::optional<double> twoTheta;  // in place of the file's
};

// A colon followed by digits only picks the pole figure; anything else
// belongs to the name. False with `error` set when the 2theta is no number.
bool ParseMeasurementChoice(std::string_view text, MeasurementChoice& choice, std::string& error);

struct CorrectionFiles {
  std::vector<MeasurementChoice> backgrounds;  // at most two
  bool ownBackground = false;
  std::optional<MeasurementChoice> defocus;
  std::optional<MeasurementChoice> defocusBackground;
  std::string defocusCurve;  // a file of tilt, factor rows
  std::string defocusBlock;  // hkl of the TEXD5 block; empty: the pole figure's
  bool pointwise = false;
  std::optional<double> thinFilmMuT;
  std::optional<double> twoTheta;  // the pole figure's, in place of the file's
  bool mrd = false;
  // How the files are read: a grid for layouts that need one, tilts for those without.
  std::string grid;
  MeasurementOptions measurement;
};

struct CorrectionOutcome {
  std::unique_ptr<PoleFigure> pf;
  CorrectionReport report;
};

// Reads what `files` names and corrects `data`; none after a problem naming
// the file and what is wrong.
std::optional<CorrectionOutcome> CorrectWithFiles(const PoleFigure& data, const CorrectionFiles& files,
                                                  MessageSink& sink);

// A defocusing curve: rows of tilt and factor ('#', ';' and '*' lines are
// comments), tilts increasing, factors positive.
std::optional<DefocusCurve> ReadDefocusCurveText(std::string_view text, const std::string& source, MessageSink& sink);

// The backgrounds a file carries beside pole figure `data` (read from its
// file): where the peak's 2theta is known, the nearest below and above it;
// else those following it in the file. Empty after a problem.
std::vector<std::unique_ptr<PoleFigure>> OwnBackgrounds(const PoleFigure& data, const CorrectionFiles& files,
                                                        MessageSink& sink);

// Every pole figure of a file, in order; empty after a problem.
std::vector<std::unique_ptr<PoleFigure>> LoadEveryPoleFigure(const std::string& file, const std::string& grid,
                                                             const MeasurementOptions& measurement, MessageSink& sink);

}  // namespace quorix
