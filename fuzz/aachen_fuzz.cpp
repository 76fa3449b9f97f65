// Aachen files: a Fortran format line and fixed-width matrices, several blocks.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("aachen");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadAachenText, quorix::LooksLikeAachen, "data.aachen",
                                    progress);
}
