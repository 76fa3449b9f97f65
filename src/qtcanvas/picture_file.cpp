#include "qtcanvas/picture_file.h"

#include <QBuffer>
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
#include "qtcanvas/qt_canvas.h"

namespace quorix {

namespace {

constexpr double kMmPerInch = 25.4;

}  // namespace

PictureKind PictureKindOf(const std::string& file) {
  std::string ext = std::filesystem::path(file).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".png") return PictureKind::Png;
  if (ext == ".svg") return PictureKind::Svg;
  if (ext == ".pdf") return PictureKind::Pdf;
  if (ext == ".emf") return PictureKind::Emf;
  return PictureKind::Unknown;
}

QByteArray VectorPicture(PictureKind kind, const VectorPage& page, const std::function<void(Canvas&)>& draw) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool ok = false;
  const auto drawOn = [&](QPaintDevice& device) {
    QtVectorCanvas canvas(device);
    if (!canvas.IsActive()) return false;
    draw(canvas);
    canvas.Finish();
    return true;
  };
  const QString title = QString::fromStdString(page.title);
  if (kind == PictureKind::Svg) {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    // A hundred dots per millimetre give the page its size in mm to the hundredth.
    generator.setSize(
        QSize(static_cast<int>(std::lround(page.widthMm * 100)), static_cast<int>(std::lround(page.heightMm * 100))));
    generator.setResolution(static_cast<int>(kMmPerInch * 100));
    const double units = page.unitsPerInch / kMmPerInch;
    generator.setViewBox(QRectF(0, 0, page.widthMm * units, page.heightMm * units));
    generator.setTitle(title);
    ok = drawOn(generator);
  } else if (kind == PictureKind::Pdf) {
    // The writer ends its document when it goes, so it goes before the bytes are taken.
    QPdfWriter writer(&buffer);
    writer.setResolution(static_cast<int>(std::lround(page.unitsPerInch)));
    writer.setPageLayout(QPageLayout(
        QPageSize(QSizeF(page.widthMm, page.heightMm), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(title);
    ok = drawOn(writer);
  }
  buffer.close();
  return ok ? bytes : QByteArray();
}

QByteArray PngPicture(QImage image, int dpi) {
  if (dpi > 0) {
    const int perMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

bool PutDownPicture(const std::string& file, const QByteArray& bytes, const std::string& whatFailed,
                    MessageSink& sink) {
  if (bytes.isEmpty()) {
    sink.Message(whatFailed + " " + file);
    return false;
  }
  return WriteFile(file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), sink);
}

}  // namespace quorix
