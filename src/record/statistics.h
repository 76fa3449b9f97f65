// Extremes, normalisation and orientation tensor of a pole figure.
#pragma once

#include <array>
#include <optional>

#include "math/jacobi.h"
#include "math/vector_math.h"
#include "record/pole_figure.h"

namespace quorix {

// Every change of the intensities ends here, which also marks the record changed.
void UpdateExtremes(PoleFigure& pf);

// Returns the mean intensity, which is also stored in NormFactor.
double UpdateStatistics(PoleFigure& pf);

// Whether A, 100 (max - min) / NormFactor, means anything: a positive,
// finite NormFactor taken on at least 5 % of the sampling directions (a
// pole figure measured near the centre only has a mean of a few directions).
bool SpreadDefined(const PoleFigure& pf);

struct CircleLocation {
  int j = -1;  // -1: the circle does not cover beta
  double beta_j = 0;
  int jn = 0;
  double beta_jn = 0;
};
// beta may be raised by 360.
CircleLocation LocateOnCircle(const PoleFigure& pf, int circle, double& beta);

// No value when the direction lies outside the measured area or next to a
// missing point.
std::optional<double> InterpolateAt(const PoleFigure& pf, double alpha, double beta);

double ShapeParameterT(const PoleFigure& pf);
double AnisotropyP(const PoleFigure& pf);

// op is '*', '+', '-' or '/'; operand indexed by circle 0..91. False, with
// pf as it was, when a result would overflow: changing only the points that
// stay finite would reorder the values.
bool ApplyCircleOperation(PoleFigure& pf, char op, const std::array<double, kMaxGridRows>& operand);

}  // namespace quorix
