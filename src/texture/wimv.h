// The ODF from measured pole figures: WIMV's multiplicative iteration on the
// reduced cell grid, each pole figure's normalisation estimated with it.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "base/message_sink.h"
#include "base/work_control.h"
#include "texture/odf.h"
#include "texture/paths.h"

namespace quorix {

// One measured pole figure: its reflection(s) and its measured points.
struct PoleFigureInput {
  std::string name;  // for messages
  std::vector<Reflection> reflections;
  std::vector<Vec3> directions;  // sample frame, upper hemisphere
  std::vector<double> values;    // any unit; the normalisation is estimated
  std::vector<double> area;      // each point's share of the sphere, for the normalisation
};

struct EstimateOptions {
  int maxIterations = 40;
  // Stop once the mean rp improves by less than this (percent) from one iteration to the next.
  double minRpChange = 0.005;
  double pathStep = 0;  // degrees; 0: half a cell
  // The exponent of each multiplicative step; above 1 it converges in fewer iterations.
  double relaxation = 1.5;
  int threads = 2;
  WorkControl control;
  // After each iteration: its number (from 1) and the mean rp of the pole figures.
  std::function<void(int, double)> onIteration;
};

struct PoleFigureFit {
  double normalization = 1;  // measured value / m.r.d.
  double rp = 0, rp0 = 0, rp1 = 0;
  std::vector<double> recalculated;  // at the measured points, m.r.d.
};

struct OdfEstimate {
  Odf odf;
  std::vector<PoleFigureFit> fits;
  int iterations = 0;
};

// rp = 100 mean |recalc - measured| / measured over the points measured above eps (m.r.d.).
double RelativeDeviation(const std::vector<double>& measured, const std::vector<double>& recalculated, double eps);

// Checks the input before any work (a message and nothing on a fault: a pole
// figure without points, cells no pole figure reaches), then iterates.
std::optional<OdfEstimate> EstimateOdf(const std::vector<PoleFigureInput>& input, const OdfGrid& grid,
                                       const EstimateOptions& options, MessageSink& sink);

}  // namespace quorix
