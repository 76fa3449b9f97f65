// A plain grid of values over two angles: what the texture layer computes
// (inverse pole figures, ODF sections) and the plot layer draws, without
// either knowing the other.
#pragma once

#include <cstddef>
#include <vector>

namespace quorix {

struct AngleGrid {
  std::vector<double> rowAngle, columnAngle;  // degrees
  std::vector<double> values;                 // row after row
  double At(std::size_t row, std::size_t column) const { return values[row * columnAngle.size() + column]; }
};

}  // namespace quorix
