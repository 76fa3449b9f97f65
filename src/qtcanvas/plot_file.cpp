#include "qtcanvas/plot_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
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
#include "plot/render.h"
#include "qtcanvas/qt_canvas.h"

namespace quorix {
namespace {

std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

}  // namespace

bool IsPlotFileKind(const std::string& file) {
  const std::string kind = LowerExtension(file);
  return kind == ".png" || kind == ".svg" || kind == ".pdf";
}

bool WritePlotFile(const PoleFigure& pf, const ProgramState& state, const PlotFileRequest& request, MessageSink& sink,
                   MessageSink& notes) {
  const std::string kind = LowerExtension(request.file);
  const int w = request.width, h = request.height;
  if (!IsPlotFileKind(request.file)) {
    sink.Message("Unknown output kind of " + request.file + ": use .png, .svg or .pdf");
    return false;
  }
  const int dpi = request.dpi > 0 ? request.dpi : 96;
  // Drawn into memory and put down by the one safe writer, like every other output.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool ok = false;
  const auto drawVector = [&](QPaintDevice& device) {
    QtVectorCanvas canvas(device);
    if (!canvas.IsActive()) return false;
    PlotPoleFigure(pf, state, canvas, h, w, request.title, &notes);
    canvas.Finish();
    return true;
  };
  if (kind == ".png") {
    QtRasterCanvas canvas(w, h);
    PlotPoleFigure(pf, state, canvas, h, w, request.title, &notes);
    QImage image = canvas.Image();
    if (request.dpi > 0) {
      const int perMetre = static_cast<int>(std::lround(request.dpi / 0.0254));
      image.setDotsPerMeterX(perMetre);
      image.setDotsPerMeterY(perMetre);
    }
    ok = image.save(&buffer, "PNG");
  } else if (kind == ".svg") {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(w, h));
    generator.setViewBox(QRect(0, 0, w, h));
    generator.setResolution(dpi);
    generator.setTitle(QString::fromStdString(pf.FileName));
    ok = drawVector(generator);
  } else {
    // The writer ends its document when it goes, so it goes before the bytes are taken.
    QPdfWriter writer(&buffer);
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(w * 72.0 / dpi, h * 72.0 / dpi), QPageSize::Point),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(QString::fromStdString(pf.FileName));
    ok = drawVector(writer);
  }
  buffer.close();
  if (!ok || bytes.isEmpty()) {
    sink.Message("Cannot draw the picture for " + request.file);
    return false;
  }
  return WriteFile(request.file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), sink);
}

}  // namespace quorix
