// Full grid files: mirror switches, then "alpha start step points" per line.
#include "fuzz_support.h"
#include "grid_check.h"
#include "io/grid_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("full_grid");
  const std::string file = fuzz::WriteScratch("grid.grd", {reinterpret_cast<const char*>(data), size});
  static const auto pf = NewPoleFigure();
  fuzz::ResetGrid(*pf);
  fuzz::MarkUntouched(*pf);
  fuzz::CheckingSink sink("grid.grd");
  if (ReadFullGrid(*pf, file, sink)) {
    progress.Accepted();
    fuzz::CheckAcceptedGrid(*pf);
  } else {
    progress.Refused();
    fuzz::Require(sink.count > 0, "a refusal says why");
    fuzz::CheckUntouched(*pf);
  }
  progress.Ran();
  return 0;
}
