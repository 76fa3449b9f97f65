// Shared check of the diffractometer readers' targets: a refusal says why and
// names the file; what is accepted follows the conventions every later step
// relies on.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz_support.h"
#include "grid_check.h"
#include "io/circle_assembly.h"
#include "io/measurement.h"

namespace quorix::fuzz {

inline void CheckMeasurement(const std::optional<MeasurementFile>& file, const CheckingSink& sink, Progress& progress) {
  if (!file) {
    Require(sink.count == 1, "a refused file gives one message");
    progress.Refused();
    progress.Ran();
    return;
  }
  Require(sink.count == 0, "an accepted file gives no message");
  Require(!file->poleFigures.empty(), "an accepted file holds a pole figure");
  for (const auto& pf : file->poleFigures) {
    Require(!pf.circles.empty(), "a pole figure has circles");
    double last = -1;
    for (const auto& c : pf.circles) {
      Require(c.alpha >= 0 && c.alpha <= 90 && c.alpha > last, "tilts lie in 0..90 and increase");
      last = c.alpha;
      Require(!c.values.empty(), "a circle has values");
      Require(c.betaStep >= kMinBetaStep && std::isfinite(c.betaStep), "the azimuth step is positive");
      Require(c.betaStart >= 0 && c.betaStart < 360, "the first azimuth lies in 0..360");
      Require(static_cast<double>(c.values.size() - 1) * c.betaStep <= 360 + 1e-2, "a circle spans a turn at most");
      for (const double v : c.values) Require(std::isfinite(v), "intensities are finite");
    }
  }
  progress.Accepted();
  progress.Ran();
}

}  // namespace quorix::fuzz
