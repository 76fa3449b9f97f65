// Brings a record up to date after its intensities changed: statistics,
// automatic levels, lowest level, links.
#pragma once

#include "record/pole_figure.h"

namespace quorix {

void PreparePoleFigure(PoleFigure& pf, bool showMrd);

}  // namespace quorix
