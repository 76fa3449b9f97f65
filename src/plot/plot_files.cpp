#include "plot/plot_files.h"

#include "base/ini_file.h"
#include "plot/emf_writer.h"
#include "plot/hpgl.h"
#include "plot/render.h"

namespace quorix {

bool WriteHpglFile(const std::string& path, const PoleFigure& pf, const ProgramState& state, int h, int w,
                   const std::string& title, MessageSink& sink, MessageSink* notes) {
  const std::string text = HpglPlotFile(pf, state, h, w, title, notes);
  return WriteFile(path, text, sink);
}

bool WriteEmfFile(const std::string& path, const PoleFigure& pf, const ProgramState& state, int h, int w,
                  const std::string& title, MessageSink& sink, MessageSink* notes) {
  EmfCanvas canvas(w, h);
  PlotPoleFigure(pf, state, canvas, h, w, title, notes);
  const auto& bytes = canvas.Finish();
  return WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), sink);
}

}  // namespace quorix
