// Queen's University .plf files: hkl title lines, blank-separated circles, star lines.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("queens");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadQueensText, quorix::LooksLikeQueens, "data.plf", progress);
}
