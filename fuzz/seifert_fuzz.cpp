// Seifert .nja: key lines, rows of alpha, beta, intensity and background.
#include "io/exchange_readers.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("seifert");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadSeifertText, quorix::LooksLikeSeifert, "data.nja",
                                    progress);
}
