// Readers of the files diffractometers write for a texture measurement: XRDML,
// Bruker UXD, the "*KEY value" exports (.asc, .ras) and Rigaku TXT. Each takes
// the file's text and the name messages give it; on bad input it sends a
// message naming the file and what is wrong and returns nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "io/measurement.h"

namespace quorix {

// Detection by content; cheap, looks at the start of the text only.
bool LooksLikeXrdml(std::string_view text);
bool LooksLikeUxd(std::string_view text);
bool LooksLikeKeyText(std::string_view text);  // .asc and .ras
bool LooksLikeRigakuTxt(std::string_view text);

std::optional<MeasurementFile> ReadXrdmlText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadUxdText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadKeyText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadRigakuTxtText(std::string_view text, const std::string& source,
                                                 const MeasurementOptions& options, MessageSink& sink);

}  // namespace quorix
