// Siemens dumps: pole figure and Khi blocks, background lines, eight values a line.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("siemens_dump");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadSiemensDumpText, quorix::LooksLikeSiemensDump, "data.dat",
                                    progress);
}
