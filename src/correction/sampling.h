// Reading a correction measurement (a background, a random sample) at the
// points of another grid.
#pragma once

#include <optional>
#include <vector>

#include "record/pole_figure.h"

namespace quorix {

// The value of `m` in direction (alpha, beta): on a circle of `m` at that
// tilt its own point where one lies at beta, else linear and periodic along
// beta between its valid points (a circle of one point is constant); between
// two circles linear in alpha. None outside the tilts of `m` or where a circle
// holds no valid point.
std::optional<double> SampleAt(const PoleFigure& m, double alpha, double beta);

// The mean over beta of a circle's valid points; none when it has none.
std::optional<double> CircleMean(const PoleFigure& pf, int circle);

// The same tilt, to the precision files write tilts with.
bool SameAngle(double a, double b);

}  // namespace quorix
