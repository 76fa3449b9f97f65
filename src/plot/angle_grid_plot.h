// A plain angle grid drawn with contour levels: an inverse pole figure in
// its sector or standard triangle (stereographic projection), or an ODF
// section as a rectangle. Shape and labels come as plain data, so this layer
// needs nothing of the texture layer that computes the grids.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "plot/canvas.h"
#include "record/angle_grid.h"

namespace quorix {

enum class AngleGridShape {
  // Rows: tilt from the centre (0..90), columns: azimuth counter-clockwise from the right.
  Stereographic,
  // Rows downwards, columns to the right.
  Rectangle,
};

// A text at a point of the grid's angles: a corner's indices, an axis value.
struct AngleGridMark {
  double row = 0, column = 0;
  std::string text;
};

struct AngleGridFigure {
  AngleGridShape shape = AngleGridShape::Rectangle;
  // The region drawn, as (row, column) angles in order around it, joined by
  // straight lines on the plot; it must be convex there. Empty: the grid's bounds.
  std::vector<std::pair<double, double>> outline;
  std::vector<AngleGridMark> marks;
  std::string title;
  std::vector<double> levels;  // ascending, in the grid's values
  std::vector<Color> colors;   // per level, repeated when there are fewer
  bool fill = false;           // bands above each level filled in its colour
};

struct PlotBox {
  int left = 0, top = 0, width = 0, height = 0;
};

// At most `count` levels up to the largest value: multiples of 0.25, 0.5 or
// 1 where it is 4 or less, else 1, 2, 4, 8, ... (m.r.d. of a texture).
std::vector<double> AngleGridLevels(const AngleGrid& grid, int count = 8);

// The figure fitted into the box, its title above and its marks beside the outline.
void DrawAngleGrid(Canvas& canvas, const AngleGrid& grid, const AngleGridFigure& figure, PlotBox box);

// One row per level: a short line in its colour and the level's value.
void DrawLevelLegend(Canvas& canvas, const std::vector<double>& levels, const std::vector<Color>& colors,
                     quorix::Pixel topLeft);

}  // namespace quorix
