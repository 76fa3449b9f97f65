// Column lists: alpha, beta and intensity on every line, after optional
// header lines. The grid follows from the distinct alphas and the betas of
// each circle.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "io/measurement.h"

namespace quorix {

// Three numbers on (nearly) every line after the header, the first a tilt
// that stays put over several lines while the second, an azimuth, moves.
bool LooksLikeColumns(std::string_view text);

// One pole figure; nothing after a message naming `source`.
std::optional<MeasurementFile> ReadColumnsText(std::string_view text, const std::string& source, MessageSink& sink);

}  // namespace quorix
