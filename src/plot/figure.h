// Figures for publication: pole figures, inverse pole figures and ODF
// sections side by side on one colour scale in m.r.d., with a colour bar,
// titles and sample axes, sized in millimetres, on any canvas.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "plot/canvas.h"
#include "record/angle_grid.h"
#include "record/pole_figure.h"

namespace quorix {

enum class FigureStyle { Filled, Smooth, Lines };

// Colours from low (0) to high (1), evenly spaced stops linearly mixed.
struct ColorMap {
  std::string name;
  std::vector<Color> stops;
};
// "viridis" (the default), "white-red", "grey"; nothing for another name.
std::optional<ColorMap> NamedColorMap(const std::string& name);
std::vector<std::string> ColorMapNames();
// A colour set of the program (levels 1..count) as a map.
ColorMap ColorMapFromSet(const std::vector<Color>& colors);
Color MapColor(const ColorMap& map, double t);

struct FigureOptions {
  int rows = 0, columns = 0;   // 0: chosen from the number of panels
  std::vector<double> levels;  // m.r.d.; empty: nice numbers over the range
  bool logLevels = false;      // automatic levels doubling from step to step
  bool sharedScale = true;     // one scale for all panels, else one each
  FigureStyle style = FigureStyle::Filled;
  ColorMap colorMap;  // empty: viridis
  bool equalArea = false;
  double widthMm = 170;
  double fontPt = 8;
  std::string title;
  bool lineLabels = false;
  bool markExtremes = true;
};

// What an angle-grid panel is: a sector of crystal directions (an inverse
// pole figure, alpha = row angle from the centre, beta = column angle), or a
// rectangular section (columns across, rows down).
enum class GridShape { Sector, Section };

struct CornerLabel {
  double alpha = 0, beta = 0;  // where it sits on a sector
  std::string text;
};

struct AngleGridPanel {
  AngleGrid grid;  // values in m.r.d.; not finite: no value
  GridShape shape = GridShape::Sector;
  // Sector: the region drawn, (alpha, beta) points in order around it (the
  // crystal's sector or standard triangle); empty: the grid's azimuths out to alpha 90.
  std::vector<std::pair<double, double>> outline;
  std::vector<CornerLabel> corners;
  std::string columnName = "\u03c61", rowName = "\u03a6";  // Section axes
};

struct FigurePanel {
  std::string title;
  const PoleFigure* pole = nullptr;  // drawn in m.r.d. through its NormFactor
  AngleGridPanel grid;               // when pole is null
};

// The levels of a value range in m.r.d., as the options ask.
std::vector<double> FigureLevels(const FigureOptions& o, double lo, double hi);

// The panel title of a record: its hkl in braces, "{111}" where every index
// is one digit, else as the file spells it; the file name without hkl.
std::string HklTitle(const PoleFigure& pf);

// Levels in m.r.d. over the range of all the records, for one colour scale
// across windows; empty where no record has a spread.
std::vector<double> OneScaleLevels(const std::vector<const PoleFigure*>& records);

// The parts' places in millimetres from the top left of the page.
struct FigureBox {
  double x = 0, y = 0, w = 0, h = 0;
};
struct FigureLayout {
  double width = 0, height = 0;
  int rows = 0, columns = 0;
  std::vector<FigureBox> panels;  // the drawing area of each panel, titles and axis labels outside
  std::vector<FigureBox> bars;    // one, or one per panel
};
FigureLayout LayOutFigure(const std::vector<FigurePanel>& panels, const FigureOptions& o);

// Draws the figure; unitsPerMm converts millimetres into the canvas's units,
// imageDpi sets the pixels of smooth colour.
void DrawFigure(Canvas& canvas, const std::vector<FigurePanel>& panels, const FigureOptions& o, double unitsPerMm,
                double imageDpi);

}  // namespace quorix
