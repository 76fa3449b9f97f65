// The body shared by the three data layout targets: byte 0 picks the grid,
// byte 1 the pole figure index, the rest is the file.
#pragma once

#include <cmath>
#include <cstdlib>

#include "fuzz_support.h"
#include "grid_check.h"
#include "io/data_reader.h"

namespace quorix::fuzz {

// With `headerGrid`, grid selectors from 0xF0 up take the grid the file's
// block header implies, as a load without a grid file does.
inline int FuzzDataLayout(const std::uint8_t* data, std::size_t size, DataLayout layout, const char* name,
                          Progress& progress, bool headerGrid = false) {
  if (size < 2) return -1;  // not added to the corpus
  static const auto pf = NewPoleFigure();
  ResetGrid(*pf);
  if (headerGrid && data[0] >= 0xF0) {
    CheckingSink gridSink(name);
    if (!SetBeartexGrid(*pf, {reinterpret_cast<const char*>(data + 2), size - 2},
                        std::abs(int{static_cast<std::int8_t>(data[1])}), name, gridSink)) {
      progress.Refused();
      Require(gridSink.count > 0, "a refused header grid says why");
      progress.Ran();
      return 0;
    }
    Require(pf->CircleCount == 19 && pf->CirclePoints[1] == 72, "the header grid is the Beartex grid");
  } else {
    PickGrid(data[0], *pf);
  }
  pf->Intensity.Fill(0);
  const int circles = pf->CircleCount;
  DataReadOptions options;
  options.layout = layout;
  options.pfIndex = static_cast<std::int8_t>(data[1]);  // negative too: only the size counts
  CheckingSink sink(name);
  if (ReadPoleFigureDataText(*pf, {reinterpret_cast<const char*>(data + 2), size - 2}, name, options, sink)) {
    progress.Accepted();
    Require(pf->CircleCount == circles, "the data reader keeps the grid");
    int points = 0;
    for (int i = 1; i <= circles; ++i) {
      Require(pf->BetaStep[i] > 0, "circles stored in increasing beta");
      points += pf->CirclePoints[i];
      for (int k = 1; k <= pf->CirclePoints[i]; ++k) Require(std::isfinite(pf->Intensity[i][k]), "finite intensities");
    }
    Require(pf->PointCount == points, "point count matches the grid");
  } else {
    progress.Refused();
    Require(sink.count > 0, "a refusal says why");
  }
  progress.Ran();
  return 0;
}

}  // namespace quorix::fuzz
