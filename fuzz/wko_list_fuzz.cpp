// WKO list data files: header counts, then 7-character fields.
#include "data_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("wko_list");
  return quorix::fuzz::FuzzDataLayout(data, size, quorix::DataLayout::Geesthacht, "data.wko", progress);
}
