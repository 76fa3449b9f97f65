// Full grid files: mirror switches, then "alpha start step points" per line.
#include "grid_file_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("full_grid");
  return fuzz::FuzzGridFile(data, size, "grid.grd", progress, ReadFullGridText, [](const PoleFigure&) {});
}
