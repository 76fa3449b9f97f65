// The default contour colours.
#include "plot/contour_colors.h"

#include <algorithm>

#include "record/pole_figure.h"

namespace quorix {

ContourColorTable DefaultContourColors() {
  ContourColorTable colors{};
  const ColorValue firstTen[10] = {
      32896,     // olive
      16711935,  // fuchsia
      16711680,  // blue
      128,       // maroon
      32768,     // green
      65280,     // lime
      255,       // red
      8388608,   // navy
      16776960,  // aqua
      65535,     // yellow
  };
  std::copy(std::begin(firstTen), std::end(firstTen), colors.begin() + 1);
  return colors;
}

}  // namespace quorix
