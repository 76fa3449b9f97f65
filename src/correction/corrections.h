// Intensity corrections of a raw pole figure: background subtraction (one
// measurement, or two interpolated in 2theta), defocusing (from a random
// sample or a curve), thin-film absorption and normalisation to m.r.d.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "record/pole_figure.h"

namespace quorix {

// A factor per tilt, tilts increasing.
struct DefocusCurve {
  std::vector<double> tilts;
  std::vector<double> factors;
};

// Linear between rows; none outside the curve's tilts.
std::optional<double> CurveFactorAt(const DefocusCurve& curve, double alpha);

// D(alpha) of a random sample: per circle the mean over beta of (defocus -
// background), divided by the same mean on the lowest circle. The background
// (may be null) is read at the sample's points and put in its unit. None,
// after a problem naming the file, when the lowest circle gives no positive mean.
std::optional<DefocusCurve> DefocusFromRandom(const PoleFigure& defocus, const PoleFigure* background,
                                              MessageSink& sink, std::vector<std::string>& notes);

struct CorrectionInputs {
  // None, one (subtracted) or two (interpolated in 2theta at the peak's);
  // each carries its 2theta in TwoTheta.
  std::vector<const PoleFigure*> backgrounds;
  // A random sample and its own background, or else a curve.
  const PoleFigure* defocus = nullptr;
  const PoleFigure* defocusBackground = nullptr;
  std::optional<DefocusCurve> curve;
  // Divide by the random sample point by point instead of by D(alpha).
  bool pointwise = false;
  std::optional<double> thinFilmMuT;  // mu t of the film
  bool mrd = false;
};

struct CorrectionReport {
  DefocusCurve defocus;                  // D(alpha) as applied; empty without defocusing
  std::vector<double> circleAlpha;       // the data's circles
  std::vector<double> circleBackground;  // mean background subtracted on each (0 without)
  int lackingCorrection = 0;             // points that became missing for want of correction data
  int beyondCurve = 0;                   // of them, beyond the defocusing curve's last tilt
  int negative = 0;                      // values below zero after the corrections
  int valid = 0;                         // values after the corrections
  std::vector<std::string> notes;        // what the user should know; the counts above among them
};

// The corrected copy of `data`, or nullptr after a problem naming the file.
// Missing points stay missing, negative values are kept.
std::unique_ptr<PoleFigure> CorrectPoleFigure(const PoleFigure& data, const CorrectionInputs& inputs, MessageSink& sink,
                                              CorrectionReport& report);

// Thin-film absorption factor at tilt alpha for Bragg angle theta (degrees).
double ThinFilmFactor(double muT, double theta, double alpha);

}  // namespace quorix
