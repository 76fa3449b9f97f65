// Smoothing with any width and exclusion: bytes 0..7 are the FWHM as the
// bits of a double (NaN, infinities, subnormals, 1e-300 and 1e300 included),
// byte 8 picks the grid (and with it the path), the exclusion of negative
// values, the level rule and the unit; the rest is a plain data file read onto
// the grid.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "fuzz_support.h"
#include "grid_check.h"
#include "io/data_reader.h"
#include "transform/radial_kernel.h"
#include "transform/smoothing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("smoothing");
  if (size < 9) return -1;
  double fwhm = 0;
  std::memcpy(&fwhm, data, sizeof fwhm);
  const std::uint8_t flags = data[8];
  static const auto pf = NewPoleFigure();
  fuzz::ResetGrid(*pf);
  // The small grids only: a wide kernel on the 1-degree grid costs seconds.
  fuzz::PickGrid(static_cast<std::uint8_t>(flags % 6), *pf);
  pf->Intensity.Fill(0);
  DataReadOptions options;
  options.layout = DataLayout::Plain;
  options.pfIndex = 1;
  fuzz::CheckingSink sink("data.pol");
  if (!ReadPoleFigureDataText(*pf, {reinterpret_cast<const char*>(data + 9), size - 9}, "data.pol", options, sink)) {
    progress.Refused();
    progress.Ran();
    return 0;
  }
  SmoothingSettings settings;
  settings.fwhm = fwhm;
  settings.excludeNegative = flags & 8;
  settings.keepLevels = flags & 16;
  // A weighted mean stays between the smallest and the largest value it takes.
  double low = HUGE_VAL, high = -HUGE_VAL;
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int k = 1; k <= pf->CirclePoints[i]; ++k) {
      const double v = pf->Intensity[i][k];
      if (v == kMissing || (settings.excludeNegative && v < 0)) continue;
      low = std::min(low, v);
      high = std::max(high, v);
    }
  static const auto before = NewPoleFigure();
  *before = *pf;
  if (SmoothPoleFigure(*pf, settings, flags & 128, {}, 1)) {
    progress.Accepted();
    fuzz::Require(FwhmProblem(fwhm).empty(), "an accepted width is a usable one");
    const double slack = 1e-9 * std::max(std::fabs(low), std::fabs(high)) + 1e-300;
    for (int i = 1; i <= pf->CircleCount; ++i)
      for (int k = 1; k <= pf->CirclePoints[i]; ++k) {
        const double v = pf->Intensity[i][k];
        fuzz::Require(std::isfinite(v), "finite smoothed values");
        if (before->Intensity[i][k] == kMissing) {
          fuzz::Require(v == kMissing, "a missing point stays missing");
        } else if (low <= high && !(settings.excludeNegative && before->Intensity[i][k] < 0)) {
          fuzz::Require(v >= low - slack && v <= high + slack, "a mean within its values");
        }
      }
    fuzz::Require(pf->LevelCount >= 0 && pf->LevelCount <= kMaxLevels, "levels within the record");
  } else {
    progress.Refused();
    fuzz::Require(!FwhmProblem(fwhm).empty(), "only an unusable width is refused");
    // Bit for bit: a NaN kept in place is unchanged too.
    const auto now = pf->Intensity.Cells(), then = before->Intensity.Cells();
    fuzz::Require(now.size() == then.size() && std::memcmp(now.data(), then.data(), now.size_bytes()) == 0,
                  "a refused smoothing leaves the pole figure as it was");
  }
  progress.Ran();
  return 0;
}
