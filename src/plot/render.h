// The one drawing routine of a pole figure: background, triangles, legend,
// labels, rotation note, contour lines and fills, low points, eigenvector
// marks, outline and ticks, for every output.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/message_sink.h"
#include "plot/canvas.h"
#include "record/pole_figure.h"
#include "record/program_state.h"

namespace quorix {

class ProjectionCache;

// Font of the plot labels; the backends map it to what the system has.
inline constexpr const char* kPlotFontName = "DejaVu Sans";

struct PlotResult {
  int sizePercentage = 0;
  // The main window shows the size only for plots of at least half size.
  bool showSizeLabel = false;
  std::string SizeLabel() const { return std::to_string(sizePercentage) + " %"; }
};

// Font size and line height of the labels for a size percentage.
struct LabelFont {
  int size = 0;
  int extra = 0;  // line height = size read back from the canvas + extra
};
LabelFont LabelFontFor(int pct);

// The tilt the plot's rim stands for: 90, or with the zoom to the measured
// tilts the outermost circle holding a value. A display rotation moves the
// measured range off the centre, so it keeps the full circle.
double PlotRimTilt(const PoleFigure& pf, const ProgramState& state);

// Draws pf on the canvas, whatever the output: pixels, vector images or
// plotter commands (HpglCanvas). h and w are the size of the target image in
// pixels; title may be empty. Neither the record nor the state is changed.
// state.AddListFiles holds the further files of the add command (rows 1.. of
// its list), not the main file. A window that redraws passes its own cache,
// brought up to date here; the pixels are the same with it as without.
PlotResult PlotPoleFigure(const PoleFigure& pf, const ProgramState& state, Canvas& canvas, int h, int w,
                          const std::string& title, MessageSink* messages = nullptr, ProjectionCache* cache = nullptr);

// The marks of grid points below LowestLevel alone, over a plot already on
// the canvas, placed as PlotPoleFigure places them on an h x w surface.
void DrawLowPoints(const PoleFigure& pf, const ProgramState& state, Canvas& canvas, int h, int w,
                   ProjectionCache* cache = nullptr);

}  // namespace quorix
