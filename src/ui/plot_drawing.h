// Drawing a pole figure into a window's plot image.
#pragma once

#include <QImage>
#include <QString>

#include "plot/render.h"
#include "record/pole_figure.h"
#include "record/program_state.h"

namespace quorix {

class MessageSink;

// Draws pf on a fresh white image of the given size; a window that redraws
// passes the projection cache of its view.
QImage DrawPlotImage(const PoleFigure& pf, const ProgramState& state, int width, int height,
                     PlotResult* result = nullptr, MessageSink* messages = nullptr, ProjectionCache* cache = nullptr);

QString ToQString(const std::string& s);
std::string ToStdString(const QString& s);

}  // namespace quorix
