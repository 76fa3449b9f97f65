// Completion of circles to a full turn and the triangle links between
// neighbouring circles.
#pragma once

#include "record/pole_figure.h"

namespace quorix {

int PointAtOrBefore(const PoleFigure& pf, int circle, double beta);
// Returns false (links left empty) when the grid cannot be linked safely.
bool BuildCircleLinks(PoleFigure& pf);

}  // namespace quorix
