// The density of 10,000 directions on a 1-degree grid: the plain loop over
// every grid point against the search that skips points beyond the cut-off
// and looks its weights up in a table (counter max_rel_dev: the largest
// relative deviation from the plain loop of the same run).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "math/vector_math.h"
#include "record/pole_figure.h"
#include "transform/density.h"

namespace quorix {
namespace {

// Circles 0..90 step 1 with 360 points each, as a simple grid file gives them.
std::unique_ptr<TPoleFigure> OneDegreeGrid() {
  auto pf = NewPoleFigure();
  for (int i = 1; i <= 91; ++i) {
    pf->Alpha[i] = i - 1;
    pf->BetaStart[i] = 0;
    pf->BetaStep[i] = 1;
    pf->CirclePoints[i] = 360;
  }
  pf->CircleCount = 91;
  pf->PointCount = 91 * 360;
  pf->BetaRange = 360;
  SizeTablesToGrid(*pf);
  return pf;
}

// Axes spread evenly over the hemisphere.
std::vector<Vec3> RandomDirections(int count) {
  std::mt19937 rng(12);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<Vec3> directions;
  for (int k = 0; k < count; ++k) {
    const double alpha = RadToDeg(std::acos(unit(rng)));
    directions.push_back(DirectionToVector(alpha, 360 * unit(rng)));
  }
  return directions;
}

// The plain loop's densities by width, for the deviation of the fast ones.
std::unique_ptr<TPoleFigure>& PlainResult(int fwhm) {
  static std::unique_ptr<TPoleFigure> results[64];
  return results[fwhm];
}

// threads: 0 the plain loop, otherwise the fast one on that many threads
// (-1: one per core).
void BM_Density(benchmark::State& state, int threads) {
  const double fwhm = static_cast<double>(state.range(0));
  const std::vector<Vec3> directions = RandomDirections(10000);
  auto pf = OneDegreeGrid();
  for (auto _ : state) {
    pf->Intensity.Fill(0.0);
    if (threads == 0)
      AddDensityReference(*pf, directions, fwhm);
    else
      AddDensity(*pf, directions, fwhm, threads < 0 ? 0 : threads);
    benchmark::DoNotOptimize(pf->Intensity[1][1]);
  }
  auto& plain = PlainResult(static_cast<int>(fwhm));
  if (threads == 0) {
    plain = std::move(pf);
  } else if (plain) {
    double worst = 0;
    for (int i = 1; i <= pf->CircleCount; ++i)
      for (int j = 1; j <= pf->CirclePoints[i]; ++j) {
        const double p = plain->Intensity[i][j];
        if (p != 0) worst = std::max(worst, std::fabs(pf->Intensity[i][j] - p) / p);
      }
    state.counters["max_rel_dev"] = worst;
  }
  state.SetLabel(threads == 0 ? "plain loop" : threads == 1 ? "fast, one thread" : "fast, all cores");
}

BENCHMARK_CAPTURE(BM_Density, plain, 0)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Density, fast_one_thread, 1)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Density, fast_all_cores, -1)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorix

BENCHMARK_MAIN();
