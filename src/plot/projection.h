// The square plot area and the two lower-hemisphere projections.
#pragma once

namespace quorix {

struct Pixel {
  int x = 0;
  int y = 0;
};

// Side of the square plot area on a surface of width w and height h.
int PlotSize(int w, int h);
inline int PlotCentre(int plotSize) { return plotSize / 2; }
inline int PlotRadius(int plotSize) { return plotSize / 2 - 10; }
int SizePercentage(int plotSize);

// By double arithmetic wherever that cannot change the pixel; a position
// within its error bound of a half pixel, and any direction outside the range
// the bound is made for, is rounded from extended precision, where exact
// halves such as tan(30) cos(30) R = R / 2 stay halves and round to even.
Pixel ProjectPoint(int plotSize, double alpha, double beta, bool equalArea);
// The pixel rounded from extended precision throughout: ProjectPoint's
// fallback, and the reference its double arithmetic is held to.
Pixel ProjectPointExact(int plotSize, double alpha, double beta, bool equalArea);

// Where ProjectPoint puts a direction, before the rounding to a pixel, in
// extended precision.
struct PlotPosition {
  double x = 0;
  double y = 0;
};
PlotPosition ProjectPosition(int plotSize, double alpha, double beta, bool equalArea);

struct PlotDirection {
  double alpha = 0;
  double beta = 0;
};
PlotDirection UnprojectPoint(int plotSize, int x, int y, bool equalArea);

// Zoomed to the measured tilts, the rim stands for rimTilt instead of 90
// degrees. ZoomedAlpha is the tilt an unzoomed plot draws where the zoomed one
// draws alpha; UnzoomedAlpha undoes it. A rim tilt outside (0, 90) is no zoom.
bool ZoomsTo(double rimTilt);
double ZoomedAlpha(double alpha, double rimTilt, bool equalArea);
double UnzoomedAlpha(double shownAlpha, double rimTilt, bool equalArea);

}  // namespace quorix
