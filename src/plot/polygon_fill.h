// Filled contour bands for vector surfaces, which have no pixels to flood,
// and for levels of raster surfaces whose lines are open: the part of each
// grid triangle at or above a level becomes a polygon.
#pragma once

#include <vector>

#include "plot/canvas.h"
#include "plot/contours.h"
#include "record/pole_figure.h"

namespace quorix {

struct FillLevel {
  double threshold = 0;  // raw intensity, as for the contour lines
  Color color = 0;
};

// The part of triangle t where the linear interpolation is at or above the
// threshold, in (alpha, beta); empty when nothing of it is. Negative values
// are values like any other; only -1 marks a point without value.
std::vector<ContourPoint> TriangleAreaAbove(const PoleFigure& pf, TriangleRef t, double threshold);

// Whether the plot position (x, y) lies inside the area at or above the
// threshold as the pieces of FillLevelPolygons outline it (unrounded).
bool InAreaAbove(const PoleFigure& pf, const PlotGeometry& g, double threshold, double x, double y);

// Levels in drawing order (ascending). Triangles with a point without value,
// and triangles the display rotation folds or drops in part, stay empty.
void FillLevelPolygons(const PoleFigure& pf, const PlotGeometry& g, const std::vector<FillLevel>& levels,
                       Canvas& canvas);

}  // namespace quorix
