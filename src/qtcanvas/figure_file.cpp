// Figures into files and preview images.
#include "qtcanvas/figure_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "base/safe_write.h"
#include "plot/emf_writer.h"
#include "qtcanvas/qt_canvas.h"

namespace quorix {

namespace {

// The vector kinds draw in pixels of a 96 dpi screen, as the plots do.
constexpr double kVectorDpi = 96;
constexpr double kMmPerInch = 25.4;
// Beyond this a PNG would take gigabytes.
constexpr double kMaxPngSide = 20000;

std::string Kind(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

int Pixels(double mm, double dpi) { return std::max(1, static_cast<int>(std::ceil(mm * dpi / kMmPerInch))); }

}  // namespace

bool IsFigureFileKind(const std::string& file) {
  const std::string k = Kind(file);
  return k == ".png" || k == ".svg" || k == ".pdf" || k == ".emf";
}

QImage FigureImage(const std::vector<FigurePanel>& panels, const FigureOptions& options, double dpi) {
  const FigureLayout l = LayOutFigure(panels, options);
  QtRasterCanvas canvas(Pixels(l.width, dpi), Pixels(l.height, dpi));
  DrawFigure(canvas, panels, options, dpi / kMmPerInch, dpi);
  return canvas.Image();
}

bool WriteFigureFile(const std::vector<FigurePanel>& panels, const FigureOptions& options,
                     const FigureFileRequest& request, MessageSink& sink) {
  const std::string kind = Kind(request.file);
  if (!IsFigureFileKind(request.file)) {
    sink.Message("Unknown output kind of " + request.file + ": use .png, .svg, .pdf or .emf");
    return false;
  }
  const double dpi = std::clamp(request.dpi, 10, 2400);
  const FigureLayout l = LayOutFigure(panels, options);
  const double unit = kVectorDpi / kMmPerInch;
  if (kind == ".png" && std::max(l.width, l.height) * dpi / kMmPerInch > kMaxPngSide) {
    sink.Message("The figure for " + request.file + " would be too large at " + std::to_string(request.dpi) + " dpi");
    return false;
  }
  if (kind == ".emf") {
    EmfCanvas canvas(Pixels(l.width, kVectorDpi), Pixels(l.height, kVectorDpi));
    DrawFigure(canvas, panels, options, unit, dpi);
    const auto& bytes = canvas.Finish();
    return WriteFile(request.file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), sink);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool ok = false;
  const auto drawVector = [&](QPaintDevice& device) {
    QtVectorCanvas canvas(device);
    if (!canvas.IsActive()) return false;
    DrawFigure(canvas, panels, options, unit, dpi);
    canvas.Finish();
    return true;
  };
  if (kind == ".png") {
    QImage image = FigureImage(panels, options, dpi);
    const int perMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
    ok = image.save(&buffer, "PNG");
  } else if (kind == ".svg") {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    // A hundred dots per millimetre give the page its size in mm to the hundredth.
    generator.setSize(
        QSize(static_cast<int>(std::lround(l.width * 100)), static_cast<int>(std::lround(l.height * 100))));
    generator.setViewBox(QRectF(0, 0, l.width * unit, l.height * unit));
    generator.setResolution(2540);
    generator.setTitle(QString::fromStdString(options.title));
    ok = drawVector(generator);
  } else {
    QPdfWriter writer(&buffer);
    writer.setResolution(static_cast<int>(kVectorDpi));
    writer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(l.width, l.height), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(QString::fromStdString(options.title));
    ok = drawVector(writer);
  }
  buffer.close();
  if (!ok || bytes.isEmpty()) {
    sink.Message("Cannot draw the figure for " + request.file);
    return false;
  }
  return WriteFile(request.file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), sink);
}

}  // namespace quorix
