// Where the grid points of a record fall on a plot, kept by whoever draws the
// plot so that a redraw of the same grid at the same size, projection and
// display rotation looks them up instead of projecting them again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "plot/display_rotation.h"
#include "plot/projection.h"
#include "record/pole_figure.h"

namespace quorix {

class ProjectionCache {
 public:
  struct Entry {
    Pixel at;              // through the display rotation
    bool dropped = false;  // the rotation dropped it: not drawn
  };

  // Makes the table that of pf's grid (circles 1..n, points 1..PointsOn)
  // drawn on a plot of plotSize; recomputes it only when one of these facts
  // differs in any bit from the ones it holds. True when it recomputed.
  bool Update(const PoleFigure& pf, int plotSize, bool equalArea, const DisplayRotation& rotation, double rimTilt = 90);

  // Points outside the grid of the last Update read as dropped.
  const Entry& At(int circle, int point) const {
    if (circle < 1 || circle >= static_cast<int>(rowStart_.size()) - 1) return kNone;
    const std::size_t k = rowStart_[static_cast<std::size_t>(circle)] + static_cast<std::size_t>(point) - 1;
    if (point < 1 || k >= rowStart_[static_cast<std::size_t>(circle) + 1]) return kNone;
    return entries_[k];
  }

 private:
  static constexpr Entry kNone{{}, true};

  struct Key {
    int plotSize = -1;
    bool equalArea = false;
    DisplayRotation rotation;
    double rimTilt = 90;
    // Per circle 1..n: the bits of alpha, beta start and beta step, and the points drawn.
    std::vector<std::uint64_t> grid;
  };
  static void GridKey(const PoleFigure& pf, std::vector<std::uint64_t>& out);

  Key key_;
  std::vector<std::uint64_t> scratch_;
  // Row c holds entries rowStart_[c] .. rowStart_[c + 1] - 1; rows 0..n + 1.
  std::vector<std::size_t> rowStart_;
  std::vector<Entry> entries_;
};

}  // namespace quorix
