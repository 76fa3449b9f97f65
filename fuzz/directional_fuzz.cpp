// Directional data files turned into a density on a grid. Byte 0 picks the
// grid, byte 1 the section, bytes 2..9 are the width of the kernel as the
// bits of a double (any value: a refused width is a refusal like another).
#include <cmath>
#include <cstring>

#include "fuzz_support.h"
#include "grid_check.h"
#include "io/directional_reader.h"
#include "transform/directional_density.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("directional");
  if (size < 10) return -1;
  static const auto pf = NewPoleFigure();
  fuzz::ResetGrid(*pf);
  // The small grids only: the density of a full 1-degree grid costs seconds.
  fuzz::PickGrid(static_cast<std::uint8_t>(data[0] % 6), *pf);
  StoreInIncreasingBeta(*pf, pf->CircleCount);
  const int circles = pf->CircleCount;
  DirectionalOptions options;
  static constexpr char kinds[] = {' ', 'X', 'Y', 'Z'};
  options.kind = kinds[data[1] % 4];
  std::memcpy(&options.fwhm, data + 2, sizeof options.fwhm);
  fuzz::CheckingSink sink("cracks.txt");
  if (ReadDirectionalDataText(*pf, {reinterpret_cast<const char*>(data + 10), size - 10}, "cracks.txt", options,
                              sink)) {
    progress.Accepted();
    fuzz::Require(pf->CircleCount == circles, "the grid stays");
    for (int i = 1; i <= circles; ++i)
      for (int k = 1; k <= pf->CirclePoints[i]; ++k)
        fuzz::Require(std::isfinite(pf->Intensity[i][k]), "finite density");
  } else {
    progress.Refused();
    fuzz::Require(sink.count > 0, "a refusal says why");
  }
  progress.Ran();
  return 0;
}
