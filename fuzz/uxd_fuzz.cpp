// Bruker UXD exports, read from memory; detection runs on the same bytes.
#include "instrument_fuzz.h"
#include "io/instrument_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("uxd");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static_cast<void>(LooksLikeUxd(text));
  fuzz::CheckingSink sink("input.file");
  fuzz::CheckMeasurement(ReadUxdText(text, "input.file", sink), sink, progress);
  return 0;
}
