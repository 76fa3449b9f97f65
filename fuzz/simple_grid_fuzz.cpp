// Simple grid files ("alpha points" per line).
#include "fuzz_support.h"
#include "grid_check.h"
#include "io/grid_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("simple_grid");
  const std::string file = fuzz::WriteScratch("grid.rst", {reinterpret_cast<const char*>(data), size});
  static const auto pf = NewPoleFigure();
  fuzz::ResetGrid(*pf);
  fuzz::MarkUntouched(*pf);
  fuzz::CheckingSink sink("grid.rst");
  if (ReadSimpleGrid(*pf, file, sink)) {
    progress.Accepted();
    fuzz::Require(pf->InnerMirror == 0 && pf->OuterMirror == 0, "a simple grid has no mirror circles");
    fuzz::CheckAcceptedGrid(*pf);
  } else {
    progress.Refused();
    fuzz::Require(sink.count > 0, "a refusal says why");
    fuzz::CheckUntouched(*pf);
  }
  progress.Ran();
  return 0;
}
