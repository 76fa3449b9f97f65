// popLA pole figure files (.epf, .gpf): per pole figure a comment line, a
// header line (hkl, tilt step and range, azimuth step and range, ...) and
// 4-character integer fields, 18 a line after one leading blank.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "io/measurement.h"

namespace quorix {

// Whether the second line of the text is a popLA header.
bool LooksLikePopla(std::string_view text);

// Every pole figure of the file; nothing after a message naming `source`.
std::optional<MeasurementFile> ReadPoplaText(std::string_view text, const std::string& source, MessageSink& sink);

}  // namespace quorix
