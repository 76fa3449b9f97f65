// XRDML sample files used as templates for the writer.
#include <cmath>

#include "base/text_file.h"
#include "fuzz_support.h"
#include "grid_check.h"
#include "io/xrdml_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("xrdml_template");
  static const std::unique_ptr<PoleFigure> pf = [] {
    auto p = NewPoleFigure();
    fuzz::PickGrid(3, *p);
    for (int i = 1; i <= p->CircleCount; ++i)
      for (int k = 1; k <= p->CirclePoints[i]; ++k)
        p->Intensity[i][k] = (k % 7 == 0 && i == 2) ? kMissing : 100 + std::sin(k) * i;
    return p;
  }();
  XrdmlOptions options;
  options.SetNegativeToZero = size % 2;
  options.h = 1, options.k = 1, options.l = static_cast<int>(size % 3);
  std::size_t written = 0;
  if (FormatPFXRDML(*pf, {reinterpret_cast<const char*>(data), size}, options,
                    [&](std::string_view piece) { written += piece.size(); })) {
    progress.Accepted();
    fuzz::Require(written > 0, "an accepted template gives output");
  } else {
    progress.Refused();
  }
  progress.Ran();
  return 0;
}
