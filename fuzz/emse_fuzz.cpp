// EMSE: twenty header numbers one a line, then the values.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("emse");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadEmseText, quorix::LooksLikeEmse, "data.ana", progress);
}
