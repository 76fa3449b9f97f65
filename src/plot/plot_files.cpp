#include "plot/plot_files.h"

#include "base/ini_file.h"
#include "plot/emf_writer.h"
#include "plot/hpgl.h"
#include "plot/recording_canvas.h"
#include "plot/render.h"

namespace quorix {

bool WriteHpglFile(const std::string& path, const TPoleFigure& pf, const TProgramState& state, int h, int w,
                   const std::string& title, MessageSink& sink, std::string& error) {
  RecordingCanvas fontCarrier;  // the plotter text needs the label font only
  const std::string text = HpglPlotFile(pf, state, fontCarrier, h, w, title, &sink);
  return ReplaceFileContents(path, text, error);
}

bool WriteEmfFile(const std::string& path, const TPoleFigure& pf, const TProgramState& state, int h, int w,
                  const std::string& title, MessageSink& sink, std::string& error) {
  EmfCanvas canvas(w, h);
  PlotPoleFigure(pf, state, canvas, h, w, title, nullptr, &sink);
  const auto& bytes = canvas.Finish();
  return ReplaceFileContents(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

}  // namespace quorix
