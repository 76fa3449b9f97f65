// The colours of the contour levels: the built-in set (colour-set files are
// read and written by settings/settings.h).
#pragma once

#include <array>

#include "record/program_state.h"

namespace quorix {

using ContourColorTable = std::array<ColorValue, 51>;  // 1..50

// Read back from a colour-set file for a missing or unreadable key; such an
// entry is drawn as black.
inline constexpr ColorValue kMissingColor = -11;

// Levels 1..10 in ten distinct colours, the rest black.
ContourColorTable DefaultContourColors();

}  // namespace quorix
