// Automatic contour levels.
#pragma once

#include "record/pole_figure.h"

namespace quorix {

void AutoLevels(TPoleFigure& pf, bool showMrd, bool fromOne, int maxLevels = kMaxLevels);
void TrimLevels(TPoleFigure& pf, bool showMrd);
// Level[1] in raw intensity units.
double LowestLevelOf(const TPoleFigure& pf, bool showMrd);

}  // namespace quorix
