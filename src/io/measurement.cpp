#include "io/measurement.h"

#include <cmath>

namespace quorix {

void DropClosingPoint(MeasuredCircle& circle) {
  const auto n = circle.values.size();
  if (n < 2 || !(circle.betaStep > 0)) return;
  const double span = static_cast<double>(n - 1) * circle.betaStep;
  if (std::fabs(span - 360.0) < 1e-6 * circle.betaStep) circle.values.pop_back();
}

}  // namespace quorix
