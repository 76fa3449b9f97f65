// GADDS slices: FRAME rows of 360 values through the centre.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("gadds_slice");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadGaddsSliceText, quorix::LooksLikeGaddsSlice, "slc110.slc",
                                    progress);
}
