// Placeholders until the instrument readers land.
#include "io/instrument_readers.h"

namespace quorix {

namespace {
std::optional<MeasurementFile> NotYet(const std::string& source, MessageSink& sink) {
  sink.Message("Cannot read " + source + ": this layout is not supported yet.");
  return std::nullopt;
}
}  // namespace

bool LooksLikeXrdml(std::string_view) { return false; }
bool LooksLikeUxd(std::string_view) { return false; }
bool LooksLikeKeyText(std::string_view) { return false; }
bool LooksLikeRigakuTxt(std::string_view) { return false; }

std::optional<MeasurementFile> ReadXrdmlText(std::string_view, const std::string& source, MessageSink& sink) {
  return NotYet(source, sink);
}
std::optional<MeasurementFile> ReadUxdText(std::string_view, const std::string& source, MessageSink& sink) {
  return NotYet(source, sink);
}
std::optional<MeasurementFile> ReadKeyText(std::string_view, const std::string& source, MessageSink& sink) {
  return NotYet(source, sink);
}
std::optional<MeasurementFile> ReadRigakuTxtText(std::string_view, const std::string& source,
                                                 const MeasurementOptions&, MessageSink& sink) {
  return NotYet(source, sink);
}

}  // namespace quorix
