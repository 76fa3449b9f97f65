// Dubna files: a stream of numbers on the goniometer's own grid.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("dubna");
  return quorix::fuzz::FuzzMeasured(
      data, size, quorix::ReadDubnaText, [](std::string_view) { return true; }, "data.cnv", progress);
}
