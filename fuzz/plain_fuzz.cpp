// Plain data files: free-format numbers, optional two header lines.
#include "data_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("plain");
  return quorix::fuzz::FuzzDataLayout(data, size, quorix::DataLayout::Plain, "data.pol", progress);
}
