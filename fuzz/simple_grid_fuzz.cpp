// Simple grid files ("alpha points" per line).
#include "grid_file_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("simple_grid");
  return fuzz::FuzzGridFile(data, size, "grid.rst", progress, ReadSimpleGridText, [](const PoleFigure& pf) {
    fuzz::Require(pf.InnerMirror == 0 && pf.OuterMirror == 0, "a simple grid has no mirror circles");
  });
}
