#include "ui/plot_drawing.h"

#include "qtcanvas/qt_canvas.h"

namespace quorix {

QImage DrawPlotImage(const PoleFigure& pf, const ProgramState& state, int width, int height, PlotResult* result,
                     MessageSink* messages, ProjectionCache* cache) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  QtRasterCanvas canvas(width, height);
  const PlotResult r = PlotPoleFigure(pf, state, canvas, height, width, "", messages, cache);
  if (result) *result = r;
  return canvas.Image();
}

QString ToQString(const std::string& s) { return QString::fromStdString(s); }
std::string ToStdString(const QString& s) { return s.toStdString(); }

}  // namespace quorix
