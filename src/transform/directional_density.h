// The density pole figure of a directional data file on a grid.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "io/directional_reader.h"
#include "io/load_pole_figure.h"
#include "record/pole_figure.h"

namespace quorix {

// The density of the file's directions on the grid already in the record:
// intensities, mirror circles and extremes. On failure (message sent) the
// record is untouched.
bool ReadDirectionalData(PoleFigure& pf, const std::string& fileName, const DirectionalOptions& options,
                         MessageSink& sink);
bool ReadDirectionalDataText(PoleFigure& pf, std::string_view text, const std::string& fileName,
                             const DirectionalOptions& options, MessageSink& sink);

// The load of a directional data file with its grid: the request's layout and
// index do not apply. On failure nullptr after the messages.
std::unique_ptr<PoleFigure> LoadDensityPoleFigure(const LoadRequest& request, const DirectionalOptions& options,
                                                  MessageSink& sink);

}  // namespace quorix
