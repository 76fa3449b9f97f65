// WKO lists read from their block headers: both variants, fixed and blank-separated values.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("wko_grid");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadWkoListText, quorix::LooksLikeOlderWkoList, "data.wko",
                                    progress);
}
