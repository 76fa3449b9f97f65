// Automatic contour levels.
#pragma once

#include "record/pole_figure.h"

namespace quorix {

void AutoLevels(PoleFigure& pf, bool showMrd, bool fromOne, int maxLevels = kMaxLevels);
void TrimLevels(PoleFigure& pf, bool showMrd);
// Level[1] in raw intensity units.
double LowestLevelOf(const PoleFigure& pf, bool showMrd);

}  // namespace quorix
