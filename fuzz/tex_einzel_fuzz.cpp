// TEX EINZEL lists: header lines, rows of 2theta, chi, phi, counts; backgrounds apart.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("tex_einzel");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadTexEinzelText, quorix::LooksLikeTexEinzel, "data.dat",
                                    progress);
}
