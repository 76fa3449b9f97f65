// Defocusing curves: rows of tilt and factor.
#include <cmath>

#include "correction/correction_files.h"
#include "fuzz_support.h"
#include "grid_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("defocus_curve");
  fuzz::CheckingSink sink("curve.txt");
  const auto curve = ReadDefocusCurveText({reinterpret_cast<const char*>(data), size}, "curve.txt", sink);
  fuzz::Require(curve.has_value() == (sink.count == 0), "a message exactly when refused");
  if (curve) {
    fuzz::Require(!curve->tilts.empty() && curve->tilts.size() == curve->factors.size(), "a row per tilt");
    for (std::size_t k = 0; k < curve->tilts.size(); ++k) {
      fuzz::Require(curve->factors[k] > 0 && std::isfinite(curve->factors[k]), "positive finite factors");
      fuzz::Require(k == 0 || curve->tilts[k] > curve->tilts[k - 1], "increasing tilts");
    }
    // A tilt between the first and the last row has its factor.
    const auto mid = CurveFactorAt(*curve, (curve->tilts.front() + curve->tilts.back()) / 2);
    fuzz::Require(mid.has_value() && std::isfinite(*mid), "a factor inside the curve");
    progress.Accepted();
  } else {
    progress.Refused();
  }
  progress.Ran();
  return 0;
}
