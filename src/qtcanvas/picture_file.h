// Pictures drawn in memory and put down by the safe writer, so that a file
// appears complete or not at all: what plot and figure files share.
#pragma once

#include <QByteArray>
#include <QImage>
#include <functional>
#include <string>

#include "base/message_sink.h"
#include "plot/canvas.h"

namespace quorix {

enum class PictureKind { Png, Svg, Pdf, Emf, Unknown };

// By the file's extension, in any case.
PictureKind PictureKindOf(const std::string& file);

struct VectorPage {
  double widthMm = 0;
  double heightMm = 0;
  double unitsPerInch = 96;  // of the drawing
  std::string title;
};

// An SVG or PDF document of `page`; empty when Qt could not draw.
QByteArray VectorPicture(PictureKind kind, const VectorPage& page, const std::function<void(Canvas&)>& draw);

// A PNG document; a `dpi` above 0 is stored with it.
QByteArray PngPicture(QImage image, int dpi);

// False with a message naming the file when there is nothing to write or the
// writing failed.
bool PutDownPicture(const std::string& file, const QByteArray& bytes, const std::string& whatFailed, MessageSink& sink);

}  // namespace quorix
