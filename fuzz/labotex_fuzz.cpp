// LaboTex: the count, one description line a pole figure, then every value.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("labotex");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadLaboTexText, quorix::LooksLikeLaboTex, "data.ppf",
                                    progress);
}
