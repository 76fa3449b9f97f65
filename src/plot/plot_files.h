// Plot files written without a window: HPGL plotter files and enhanced
// metafiles. A file is replaced only when it has been written completely.
#pragma once

#include <string>

#include "base/message_sink.h"
#include "record/pole_figure.h"
#include "record/program_state.h"

namespace quorix {

// h and w: the size of the plot image the layout follows. A failure goes to
// `sink`, the drawing's notes (levels dropped and the like) to `notes` (none: not told).
bool WriteHpglFile(const std::string& path, const PoleFigure& pf, const ProgramState& state, int h, int w,
                   const std::string& title, MessageSink& sink, MessageSink* notes);
bool WriteEmfFile(const std::string& path, const PoleFigure& pf, const ProgramState& state, int h, int w,
                  const std::string& title, MessageSink& sink, MessageSink* notes);

}  // namespace quorix
