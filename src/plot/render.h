// The one drawing routine of a pole figure: background, triangles, legend,
// labels, rotation note, contour lines and fills, low points, eigenvector
// marks, outline and ticks, on a canvas or as plotter text.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/message_sink.h"
#include "plot/canvas.h"
#include "record/pole_figure.h"
#include "record/program_state.h"

namespace quorix {

class HpglSink;
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

// The texts of the plot, shared by the screen and the plotter output.
struct PlotLabels {
  std::vector<std::string> legend;   // per level
  std::string norm;                  // the "norm:"/"A:" line
  std::string fileName;              // name part of the record's file name
  std::vector<std::string> addRows;  // rows 1..R of the add list; row R empty
  std::string projection;
  std::string maxTail;  // value "  at  " beta " / " alpha
  std::string minTail;
  bool eigen = false;
  std::string shape;                    // "T= ...    P'= ..."
  std::vector<std::string> eigenTails;  // k = 1..3: "e" k ":   " value "  at  " ...
  RotationMode rotationMode = RotationMode::None;
  std::string rotationAxis;                        // mode Matrix: "phi/theta  omega"
  std::vector<std::pair<char, int>> rotationList;  // mode List: axis letter, whole degrees
};

// Draws pf on the canvas (hpgl == nullptr) or writes it as plotter text;
// the canvas is needed in both cases for the label font. h and w are the
// size of the target image in pixels; title may be empty. Neither the
// record nor the state is changed. state.AddListFiles holds the further
// files of the add command (rows 1.. of its list), not the main file.
// A window that redraws passes its own cache, brought up to date here;
// the pixels are the same with it as without.
PlotResult PlotPoleFigure(const PoleFigure& pf, const ProgramState& state, Canvas& canvas, int h, int w,
                          const std::string& title, HpglSink* hpgl = nullptr, MessageSink* messages = nullptr,
                          ProjectionCache* cache = nullptr);

// The marks of grid points below LowestLevel alone, over a plot already on
// the canvas, placed as PlotPoleFigure places them on an h x w surface.
void DrawLowPoints(const PoleFigure& pf, const ProgramState& state, Canvas& canvas, int h, int w,
                   ProjectionCache* cache = nullptr);

}  // namespace quorix
