// A figure written as PNG, SVG, PDF or EMF, and drawn into an image for a
// preview: what `quorix-cli figure` and "Export Figure..." share.
#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "plot/figure.h"

namespace quorix {

struct FigureFileRequest {
  std::string file;  // .png, .svg, .pdf or .emf (any case)
  int dpi = 300;     // pixels of a PNG, and of smooth colour in the vector kinds
};

bool IsFigureFileKind(const std::string& file);

// Needs a QGuiApplication. Put down by the safe writer; false with a message
// naming the file on failure.
bool WriteFigureFile(const std::vector<FigurePanel>& panels, const FigureOptions& options,
                     const FigureFileRequest& request, MessageSink& sink);

// The figure at `dpi` on white.
QImage FigureImage(const std::vector<FigurePanel>& panels, const FigureOptions& options, double dpi);

}  // namespace quorix
