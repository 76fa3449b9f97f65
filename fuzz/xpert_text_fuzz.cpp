// X'Pert text exports: key lines and a Phi\Psi matrix.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("xpert_text");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadXpertText, quorix::LooksLikeXpertText, "data.txt",
                                    progress);
}
