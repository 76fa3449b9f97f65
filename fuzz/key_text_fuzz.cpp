// "*KEY value" exports (.asc and .ras), read from memory; detection runs on the same bytes.
#include "instrument_fuzz.h"
#include "io/instrument_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("key_text");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static_cast<void>(LooksLikeKeyText(text));
  fuzz::CheckingSink sink("input.file");
  fuzz::CheckMeasurement(ReadKeyText(text, "input.file", sink), sink, progress);
  return 0;
}
