// TEXD5 correction files: R<hkl> blocks of tilt, defocusing and background.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("texd5");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadTexd5Text, quorix::LooksLikeTexd5, "data.pwd", progress);
}
