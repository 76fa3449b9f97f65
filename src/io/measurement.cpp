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
    case MeasurementFormat::WkoList: return "wko";
    case MeasurementFormat::Dubna: return "dubna";
    case MeasurementFormat::Seifert: return "seifert";
    case MeasurementFormat::SiemensDump: return "siemens";
    case MeasurementFormat::Texd5: return "texd5";
    case MeasurementFormat::TexEinzel: return "tex-einzel";
    case MeasurementFormat::LaboTex: return "labotex";
    case MeasurementFormat::Emse: return "emse";
    case MeasurementFormat::GaddsSlice: return "gadds-slice";
    case MeasurementFormat::Explore3d: return "3dexplore";
    case MeasurementFormat::XpertText: return "xpert-text";
    case MeasurementFormat::Aachen: return "aachen";
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
