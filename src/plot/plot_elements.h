// The parts of a pole figure plot that every output draws in its own terms:
// the label texts, contour lines as pen moves, and the rim ticks.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "plot/projection.h"
#include "record/program_state.h"

namespace quorix {

// The texts of the plot and the colours of the legend.
struct PlotLabels {
  std::vector<std::string> legend;   // per level
  std::vector<Color> legendColors;   // per level
  std::string norm;                  // the "norm:"/"A:" line
  std::string fileName;              // name part of the record's file name
  std::vector<std::string> addRows;  // rows 1..R of the add list; row R empty
  std::string projection;
  std::string zoom;     // the tilt range of the rim when zoomed, else empty
  std::string maxTail;  // value "  at  " beta " / " alpha
  std::string minTail;
  bool eigen = false;
  std::string shape;                    // "T= ...    P'= ..."
  std::vector<std::string> eigenTails;  // k = 1..3: "e" k ":   " value "  at  " ...
  RotationMode rotationMode = RotationMode::None;
  std::string rotationAxis;                        // mode Matrix: "phi/theta  omega"
  std::vector<std::pair<char, int>> rotationList;  // mode List: axis letter, whole degrees
};

// A line as pen moves in pixels. A line starts anew after a direction the
// display rotation dropped; where it crosses the rim it leaves at one rim
// point (p of RimJump) and comes back at the opposite one (q).
enum class PathStepKind { Start, Line, RimJump };
struct PathStep {
  PathStepKind kind = PathStepKind::Start;
  quorix::Pixel p;
  quorix::Pixel q;
};

// What the ticks at beta 0, 90, 180, 270 on the rim depend on.
struct RimTicks {
  int plotSize = 0;
  bool equalArea = false;
  bool fullTurn = false;           // the measured range is a full turn
  bool lastPointPositive = false;  // the last point of the outermost circle is above zero
};

}  // namespace quorix
