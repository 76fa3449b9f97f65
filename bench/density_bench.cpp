// The density of 10,000 directions on a 1-degree and a 0.5-degree grid: the plain loop over
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
#include "oracles/plain_density.h"
#include "record/pole_figure.h"
#include "transform/density.h"

namespace quorix {
namespace {

// Circles 0..90 in steps of `step` degrees with 360 / step points each, as a
// simple grid file gives them.
std::unique_ptr<PoleFigure> RegularGrid(double step) {
  auto pf = NewPoleFigure();
  const int circles = static_cast<int>(std::lround(90 / step)) + 1;
  const int points = static_cast<int>(std::lround(360 / step));
  for (int i = 1; i <= circles; ++i) {
    pf->Alpha[i] = (i - 1) * step;
    pf->BetaStart[i] = 0;
    pf->BetaStep[i] = step;
    pf->CirclePoints[i] = points;
  }
  pf->CircleCount = circles;
  pf->PointCount = circles * points;
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

// The plain loop's densities by grid and width, for the deviation of the fast ones.
std::unique_ptr<PoleFigure>& PlainResult(bool half, int fwhm) {
  static std::unique_ptr<PoleFigure> results[2][64];
  return results[half ? 1 : 0][fwhm];
}

// threads: 0 the plain loop, otherwise the fast one on that many threads
// (-1: one per core).
void BM_Density(benchmark::State& state, int threads, bool half) {
  const double fwhm = static_cast<double>(state.range(0));
  const std::vector<Vec3> directions = RandomDirections(10000);
  auto pf = RegularGrid(half ? 0.5 : 1);
  for (auto _ : state) {
    pf->Intensity.Fill(0.0);
    if (threads == 0)
      test::AddDensityByPlainLoop(*pf, directions, fwhm);
    else
      AddDensity(*pf, directions, fwhm, threads < 0 ? 0 : threads);
    benchmark::DoNotOptimize(pf->Intensity[1][1]);
  }
  auto& plain = PlainResult(half, static_cast<int>(fwhm));
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

BENCHMARK_CAPTURE(BM_Density, plain, 0, false)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Density, fast_one_thread, 1, false)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Density, fast_all_cores, -1, false)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();
// The plain loop at 0.5 degree takes 16 times as long: one iteration, one run
// unless asked for more with --benchmark_repetitions (which it leaves alone).
BENCHMARK_CAPTURE(BM_Density, half_plain, 0, true)
    ->Arg(5)
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Density, half_fast_one_thread, 1, true)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Density, half_fast_all_cores, -1, true)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorix

BENCHMARK_MAIN();
