// popLA files: header columns, 4-character fields, closing values, several blocks.
#include "io/popla_reader.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("popla");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadPoplaText, quorix::LooksLikePopla, "data.epf", progress);
}
