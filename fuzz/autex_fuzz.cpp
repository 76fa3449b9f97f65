// AUTEX .EXP files: a grid line, HKL blocks, circles ended by their tilt.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("autex");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadAutexText, quorix::LooksLikeAutex, "data.EXP", progress);
}
