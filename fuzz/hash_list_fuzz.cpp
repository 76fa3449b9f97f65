// Hash-list data files: blocks of 4-character fields after "#" headers.
#include "data_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("hash_list");
  return quorix::fuzz::FuzzDataLayout(data, size, quorix::DataLayout::Beartex, "data.xpe", progress, true);
}
