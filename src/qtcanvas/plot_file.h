// One pole figure drawn into a PNG, SVG or PDF file: what `quorix-cli render`
// and the desktop program's "Export plot..." write.
#pragma once

#include <string>

#include "base/message_sink.h"
#include "record/pole_figure.h"
#include "record/program_state.h"

namespace quorix {

struct PlotFileRequest {
  std::string file;  // its extension (.png, .svg, .pdf; any case) selects the kind
  int width = 910;
  int height = 650;
  std::string title;  // written on the file name line
  // Dots per inch stored with the picture; 0 leaves the kind's default
  // (96 for SVG and PDF, none set for PNG).
  int dpi = 0;
};

// Whether `file` names a kind WritePlotFile writes.
bool IsPlotFileKind(const std::string& file);

// Needs a QGuiApplication. Drawn in memory and put down by the safe writer, so
// the file appears complete or not at all. False with a message naming the
// file in `sink` on failure; the drawing's notes go to `notes`.
bool WritePlotFile(const PoleFigure& pf, const ProgramState& state, const PlotFileRequest& request, MessageSink& sink,
                   MessageSink& notes);

}  // namespace quorix
