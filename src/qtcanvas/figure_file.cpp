// Figures into files and preview images.
#include "qtcanvas/figure_file.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "base/safe_write.h"
#include "plot/emf_writer.h"
#include "qtcanvas/picture_file.h"
#include "qtcanvas/qt_canvas.h"

namespace quorix {

namespace {

// The vector kinds draw in pixels of a 96 dpi screen, as the plots do.
constexpr double kVectorDpi = 96;
constexpr double kMmPerInch = 25.4;
// Beyond this a PNG would take gigabytes.
constexpr double kMaxPngSide = 20000;

int Pixels(double mm, double dpi) { return std::max(1, static_cast<int>(std::ceil(mm * dpi / kMmPerInch))); }

}  // namespace

bool IsFigureFileKind(const std::string& file) { return PictureKindOf(file) != PictureKind::Unknown; }

QImage FigureImage(const std::vector<FigurePanel>& panels, const FigureOptions& options, double dpi) {
  const FigureLayout l = LayOutFigure(panels, options);
  QtRasterCanvas canvas(Pixels(l.width, dpi), Pixels(l.height, dpi));
  DrawFigure(canvas, panels, options, dpi / kMmPerInch, dpi);
  return canvas.Image();
}

bool WriteFigureFile(const std::vector<FigurePanel>& panels, const FigureOptions& options,
                     const FigureFileRequest& request, MessageSink& sink) {
  const PictureKind kind = PictureKindOf(request.file);
  if (kind == PictureKind::Unknown) {
    sink.Message("Unknown output kind of " + request.file + ": use .png, .svg, .pdf or .emf");
    return false;
  }
  const int dpi = std::clamp(request.dpi, 10, 2400);
  const FigureLayout l = LayOutFigure(panels, options);
  const double unit = kVectorDpi / kMmPerInch;
  const auto draw = [&](Canvas& canvas) { DrawFigure(canvas, panels, options, unit, dpi); };
  if (kind == PictureKind::Png) {
    if (std::max(l.width, l.height) * dpi / kMmPerInch > kMaxPngSide) {
      sink.Message("The figure for " + request.file + " would be too large at " + std::to_string(request.dpi) + " dpi");
      return false;
    }
    return PutDownPicture(request.file, PngPicture(FigureImage(panels, options, dpi), dpi),
                          "Cannot draw the figure for", sink);
  }
  if (kind == PictureKind::Emf) {
    EmfCanvas canvas(Pixels(l.width, kVectorDpi), Pixels(l.height, kVectorDpi));
    draw(canvas);
    const auto& bytes = canvas.Finish();
    return WriteFile(request.file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), sink);
  }
  return PutDownPicture(request.file, VectorPicture(kind, {l.width, l.height, kVectorDpi, options.title}, draw),
                        "Cannot draw the figure for", sink);
}

}  // namespace quorix
