#include "io/measurement.h"

#include <cmath>

namespace quorix {

const char* MeasurementFormatName(MeasurementFormat format) {
  switch (format) {
    case MeasurementFormat::Xrdml: return "xrdml";
    case MeasurementFormat::Uxd: return "uxd";
    case MeasurementFormat::Asc: return "asc";
    case MeasurementFormat::Ras: return "ras";
    case MeasurementFormat::RigakuTxt: return "rigaku-txt";
    case MeasurementFormat::Popla: return "popla";
    case MeasurementFormat::Columns: return "columns";
  }
  return "columns";
}

void DropClosingPoint(MeasuredCircle& circle) {
  const auto n = circle.values.size();
  if (n < 2 || !(circle.betaStep > 0)) return;
  const double span = static_cast<double>(n - 1) * circle.betaStep;
  if (std::fabs(span - 360.0) < 1e-6 * circle.betaStep) circle.values.pop_back();
}

}  // namespace quorix
