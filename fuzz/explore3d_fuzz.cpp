// Rigaku 3DExplore text: key comments, rows of alpha, beta, intensity in any order.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("explore3d");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::Read3dExploreText, quorix::LooksLike3dExplore, "data.txt",
                                    progress);
}
