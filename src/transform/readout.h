// The pointer read-out of the main plot: which grid point lies under the
// pointer, the texts shown for it, the values recommended for an edit and the
// edit itself.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "record/pole_figure.h"

namespace quorix {

// Grid values are offered only with the cross-hair cursor, an unrotated
// display and a simple grid.
bool ValueModeHolds(bool circleCursor, bool displayUnrotated, GridKind grid);

// The position label beside the tool bar is shown up to this tilt.
inline constexpr double kPositionLabelLimit = 90.4;
// "( beta / alpha )", whole degrees.
std::string PositionText(double alpha, double beta);

struct ReadoutSelection {
  int circle = 1;
  int point = 1;
  double divisor = 1.0;  // NormFactor in mrd for a point with a value, else 1
};

// The nearest circle (a tie goes outwards); beyond the last circle, the last.
int ReadoutCircle(const PoleFigure& pf, double alpha);
// The nearest point, counting azimuths from 0 on every circle; past the last
// point the pointer wraps to point 1.
int ReadoutPoint(const PoleFigure& pf, int circle, double beta);
ReadoutSelection SelectReadout(const PoleFigure& pf, double alpha, double beta, bool mrd);

// Value, line break, "( azimuth / alpha )" of the grid point.
std::string ValueLabelText(const PoleFigure& pf, const ReadoutSelection& s);
// " ( beta / alpha )" with one decimal.
std::string DirectionLabelText(double alpha, double beta);

// Top of the label beside the pointer at height y of a plot of height h:
// above the pointer in the lower half, below it in the upper half.
int CursorLabelTop(int y, int plotHeight, bool valueLabel);
inline int CursorLabelLeft(int x) { return x + 15; }

// The cursor figure drawn with the inverting pen: a cross-hair, or a circle
// about the plot centre through the pointer with its diameter.
struct CursorLine {
  int x1, y1, x2, y2;
};
struct CursorFigure {
  std::vector<CursorLine> lines;
  bool hasCircle = false;
  int left = 0, top = 0, right = 0, bottom = 0;  // bounding box of the circle
};
CursorFigure MakeCursorFigure(int x, int y, int plotHeight, bool circleCursor);

// The point opposite p on a circle of m points, in 1..m.
int OppositePoint(int p, int m);

struct RecommendedValues {
  double alongCircle = 0;    // mean of the two neighbours on the circle
  double alongMeridian = 0;  // mean of the two neighbours across the circles
  double mean = 0;
  // "Recommended values:" and the three values with their captions.
  std::array<std::string, 4> Lines() const;
};
RecommendedValues Recommend(const PoleFigure& pf, const ReadoutSelection& s);

// The editor's initial text: the point's value in the unit shown.
std::string EditorText(const PoleFigure& pf, const ReadoutSelection& s);

// Stores the typed value (times the divisor) at the selected point, also at
// the opposite point on the last circle and on the whole first circle, then
// brings mirror circles, statistics and automatic levels up to date. A text
// that is not a number changes nothing and returns false.
bool ApplyEdit(PoleFigure& pf, const ReadoutSelection& s, std::string_view text, bool showMrd);

}  // namespace quorix
