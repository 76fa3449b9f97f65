// INEL "Fdt File" column lists.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("inel");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadInelText, quorix::LooksLikeInel, "data_111.int", progress);
}
