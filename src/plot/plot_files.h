// Plot files written without a window: HPGL plotter files and enhanced
// metafiles. A file is replaced only when it has been written completely.
#pragma once

#include <string>

#include "base/message_sink.h"
#include "record/pole_figure.h"
#include "record/program_state.h"

namespace quorix {

// h and w: the size of the plot image the layout follows.
bool WriteHpglFile(const std::string& path, const TPoleFigure& pf, const TProgramState& state, int h, int w,
                   const std::string& title, MessageSink& sink, std::string& error);
bool WriteEmfFile(const std::string& path, const TPoleFigure& pf, const TProgramState& state, int h, int w,
                  const std::string& title, MessageSink& sink, std::string& error);

}  // namespace quorix
