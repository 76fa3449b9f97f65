#include "qtcanvas/plot_file.h"

#include "plot/render.h"
#include "qtcanvas/picture_file.h"
#include "qtcanvas/qt_canvas.h"

namespace quorix {

bool IsPlotFileKind(const std::string& file) {
  const PictureKind kind = PictureKindOf(file);
  return kind == PictureKind::Png || kind == PictureKind::Svg || kind == PictureKind::Pdf;
}

bool WritePlotFile(const PoleFigure& pf, const ProgramState& state, const PlotFileRequest& request, MessageSink& sink,
                   MessageSink& notes) {
  if (!IsPlotFileKind(request.file)) {
    sink.Message("Unknown output kind of " + request.file + ": use .png, .svg or .pdf");
    return false;
  }
  const int w = request.width, h = request.height;
  const auto draw = [&](Canvas& canvas) { PlotPoleFigure(pf, state, canvas, h, w, request.title, &notes); };
  const PictureKind kind = PictureKindOf(request.file);
  QByteArray bytes;
  if (kind == PictureKind::Png) {
    QtRasterCanvas canvas(w, h);
    draw(canvas);
    bytes = PngPicture(canvas.Image(), request.dpi);
  } else {
    const double dpi = request.dpi > 0 ? request.dpi : 96;
    bytes = VectorPicture(kind, {w * 25.4 / dpi, h * 25.4 / dpi, dpi, pf.FileName}, draw);
  }
  return PutDownPicture(request.file, bytes, "Cannot draw the picture for", sink);
}

}  // namespace quorix
