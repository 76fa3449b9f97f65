// Density options at their ends: bytes 0..7 the FWHM and bytes 8..31 the
// three section angles as the bits of doubles (NaN, infinities and 1e-300
// included), byte 32 the grid and the section; the rest is a directional
// data file. A direction on a grid point at the narrowest width once gave NaN.
#include <cmath>
#include <cstring>

#include "fuzz_support.h"
#include "grid_check.h"
#include "io/directional_reader.h"
#include "transform/directional_density.h"
#include "transform/radial_kernel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("density");
  if (size < 33) return -1;
  DirectionalOptions options;
  std::memcpy(&options.fwhm, data, sizeof options.fwhm);
  std::memcpy(options.sectionAngles.data(), data + 8, 3 * sizeof(double));
  const std::uint8_t pick = data[32];
  static constexpr char kinds[] = {' ', 'X', 'Y', 'Z'};
  options.kind = kinds[pick % 4];
  static const auto pf = NewPoleFigure();
  fuzz::ResetGrid(*pf);
  fuzz::PickGrid(static_cast<std::uint8_t>((pick >> 2) % 6), *pf);
  StoreInIncreasingBeta(*pf, pf->CircleCount);
  const int circles = pf->CircleCount;
  fuzz::CheckingSink sink("dirs.txt");
  if (ReadDirectionalDataText(*pf, {reinterpret_cast<const char*>(data + 33), size - 33}, "dirs.txt", options, sink)) {
    progress.Accepted();
    fuzz::Require(FwhmProblem(options.fwhm).empty(), "an accepted width is a usable one");
    fuzz::Require(pf->CircleCount == circles, "the grid stays");
    for (int i = 1; i <= circles; ++i)
      for (int k = 1; k <= pf->CirclePoints[i]; ++k)
        fuzz::Require(std::isfinite(pf->Intensity[i][k]) && pf->Intensity[i][k] >= 0, "a finite density");
  } else {
    progress.Refused();
    fuzz::Require(sink.count > 0, "a refusal says why");
  }
  progress.Ran();
  return 0;
}
