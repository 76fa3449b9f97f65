#include "qtcanvas/plot_file.h"

#include <unistd.h>

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
#include <system_error>

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

// A name beside the output, so that the final rename stays on one file system.
std::string TempPathFor(const std::string& out) {
  namespace fs = std::filesystem;
  fs::path p(out);
  std::string name = "." + p.filename().string() + ".part" + std::to_string(::getpid());
  return (p.parent_path() / name).string();
}

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

}  // namespace

bool IsPlotFileKind(const std::string& file) {
  const std::string kind = LowerExtension(file);
  return kind == ".png" || kind == ".svg" || kind == ".pdf";
}

bool WritePlotFile(const TPoleFigure& pf, const TProgramState& state, const PlotFileRequest& request, MessageSink& sink,
                   std::string& error) {
  const std::string kind = LowerExtension(request.file);
  const int w = request.width, h = request.height;
  if (!IsPlotFileKind(request.file)) {
    error = "Unknown output kind of " + request.file + ": use .png, .svg or .pdf";
    return false;
  }
  const int dpi = request.dpi > 0 ? request.dpi : 96;
  const std::string temp = TempPathFor(request.file);
  const QString qtemp = QString::fromStdString(temp);
  bool ok = false;
  if (kind == ".png") {
    QtRasterCanvas canvas(w, h);
    PlotPoleFigure(pf, state, canvas, h, w, request.title, nullptr, &sink);
    QImage image = canvas.Image();
    if (request.dpi > 0) {
      const int perMetre = static_cast<int>(std::lround(request.dpi / 0.0254));
      image.setDotsPerMeterX(perMetre);
      image.setDotsPerMeterY(perMetre);
    }
    ok = image.save(qtemp, "PNG");
  } else if (kind == ".svg") {
    QSvgGenerator generator;
    generator.setFileName(qtemp);
    generator.setSize(QSize(w, h));
    generator.setViewBox(QRect(0, 0, w, h));
    generator.setResolution(dpi);
    generator.setTitle(QString::fromStdString(pf.FileName));
    QtVectorCanvas canvas(generator);
    ok = canvas.IsActive();
    if (ok) {
      PlotPoleFigure(pf, state, canvas, h, w, request.title, nullptr, &sink);
      canvas.Finish();
    }
  } else {
    ok = true;
    {
      QPdfWriter writer(qtemp);
      writer.setResolution(dpi);
      writer.setPageLayout(QPageLayout(QPageSize(QSizeF(w * 72.0 / dpi, h * 72.0 / dpi), QPageSize::Point),
                                       QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
      writer.setTitle(QString::fromStdString(pf.FileName));
      QtVectorCanvas canvas(writer);
      ok = canvas.IsActive();
      if (ok) {
        PlotPoleFigure(pf, state, canvas, h, w, request.title, nullptr, &sink);
        canvas.Finish();
      }
    }
  }
  std::error_code ec;
  if (ok) ok = std::filesystem::is_regular_file(temp, ec) && std::filesystem::file_size(temp, ec) > 0;
  if (!ok) {
    error = "Cannot write " + request.file;
    RemoveQuietly(temp);
    return false;
  }
  std::filesystem::rename(temp, request.file, ec);
  if (ec) {
    error = "Cannot write " + request.file + ": " + ec.message();
    RemoveQuietly(temp);
    return false;
  }
  return true;
}

}  // namespace quorix
