// The body shared by the targets of the layouts that carry their own grid:
// the reader on the file, then every pole figure it accepted into a record.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "grid_check.h"
#include "io/measurement_record.h"

namespace quorix::fuzz {

using MeasuredReader = std::optional<MeasurementFile> (*)(std::string_view, const std::string&, MessageSink&);

inline int FuzzMeasured(const std::uint8_t* data, std::size_t size, MeasuredReader read,
                        bool (*looksLike)(std::string_view), const char* name, Progress& progress) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)looksLike(text);
  CheckingSink sink(name);
  const auto file = read(text, name, sink);
  if (!file) {
    progress.Refused();
    Require(sink.count > 0, "a refusal says why");
    progress.Ran();
    return 0;
  }
  progress.Accepted();
  Require(sink.count == 0, "an accepted file sends no message");
  Require(!file->poleFigures.empty(), "an accepted file holds a pole figure");
  for (const auto& pf : file->poleFigures) {
    Require(!pf.circles.empty(), "an accepted pole figure has circles");
    for (const auto& c : pf.circles) {
      Require(!c.values.empty() && c.betaStep > 0, "circles have points and a positive step");
      Require(std::isfinite(c.alpha) && std::isfinite(c.betaStart), "finite angles");
      for (double v : c.values) Require(std::isfinite(v), "finite values");
    }
  }
  // The record of the first and the last pole figure: within the limits or refused with a message.
  for (int index : {1, static_cast<int>(file->poleFigures.size())}) {
    CheckingSink recordSink(name);
    const auto pf = MeasurementToRecord(*file, index, name, index % 2 == 0, recordSink);
    if (!pf) {
      Require(recordSink.count > 0, "a refused record says why");
      continue;
    }
    const auto& measured = file->poleFigures[static_cast<std::size_t>(index - 1)];
    Require(pf->CircleCount == static_cast<int>(measured.circles.size()), "one row per circle");
    // Preparing a record completes a partial circle to a full turn of missing points.
    std::size_t points = 0;
    for (int i = 1; i <= pf->CircleCount; ++i) {
      const std::size_t measuredPoints = measured.circles[static_cast<std::size_t>(i - 1)].values.size();
      Require(pf->CirclePoints[i] >= static_cast<int>(measuredPoints) && pf->CirclePoints[i] <= kMaxPoints,
              "every measured point on its circle, within the limit");
      points += measuredPoints;
      for (int k = 1; k <= pf->CirclePoints[i]; ++k) Require(std::isfinite(pf->Intensity[i][k]), "finite intensities");
    }
    Require(pf->PointCount == static_cast<int>(points), "point count matches the measurement");
  }
  progress.Ran();
  return 0;
}

}  // namespace quorix::fuzz
