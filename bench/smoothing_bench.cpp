// Smoothing a 1-degree grid with the plain and the fast loop side by side,
// and interpolating onto a 1-degree grid.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

#include "io/load_pole_figure.h"
#include "record/statistics.h"
#include "math/vector_math.h"
#include "transform/interpolation.h"
#include "transform/smoothing.h"

namespace quorix {
namespace {

// Circles at alpha 0, step .. 90 with `points` points each.
std::unique_ptr<TPoleFigure> RegularGrid(double step, int points) {
  auto pf = NewPoleFigure();
  int n = 0;
  for (double a = 0; a <= 90 + 1e-9; a += step) {
    ++n;
    pf->Alpha[n] = a;
    pf->BetaStart[n] = 0;
    pf->BetaStep[n] = 360.0 / points;
    pf->CirclePoints[n] = points;
  }
  pf->CircleCount = n;
  pf->PointCount = n * points;
  pf->BetaRange = 360;
  return pf;
}

// A texture-like pattern: two broad peaks and some noise.
void FillPattern(TPoleFigure& pf) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> noise(-0.2, 0.2);
  const Vec3 peak1 = DirectionToVector(30, 45);
  const Vec3 peak2 = DirectionToVector(70, 200);
  for (int i = 1; i <= pf.CircleCount; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j) {
      const Vec3 u = DirectionToVector(pf.Alpha[i], BetaOf(pf, i, j));
      const double d1 = std::fabs(Dot(u, peak1));
      const double d2 = std::fabs(Dot(u, peak2));
      pf.Intensity[i][j] = 1 + 8 * std::pow(d1, 20) + 4 * std::pow(d2, 10) + noise(rng);
    }
  UpdateExtremes(pf);
  PreparePoleFigure(pf, false);
}

void BM_Smooth(benchmark::State& state, SmoothingMethod method, int threads) {
  const double fwhm = static_cast<double>(state.range(0));
  auto pf = RegularGrid(1, 360);
  FillPattern(*pf);
  for (auto _ : state) {
    auto values = SmoothedIntensities(*pf, fwhm, false, method, {}, threads);
    benchmark::DoNotOptimize(values);
  }
  state.SetLabel(method == SmoothingMethod::Plain ? "plain loop"
                 : threads == 1                   ? "fast loop, one thread"
                                                  : "fast loop, all cores");
}

void BM_SmoothPlain(benchmark::State& state) { BM_Smooth(state, SmoothingMethod::Plain, 1); }
void BM_SmoothFast(benchmark::State& state) { BM_Smooth(state, SmoothingMethod::Fast, 0); }
void BM_SmoothFastOneThread(benchmark::State& state) { BM_Smooth(state, SmoothingMethod::Fast, 1); }

void BM_InterpolateOntoOneDegreeGrid(benchmark::State& state) {
  auto source = RegularGrid(5, 72);
  FillPattern(*source);
  auto grid = RegularGrid(1, 360);
  InterpolationOptions options;
  options.rotation.mode = kRotationList;
  options.rotation.rotations = {{'X', 30}, {'Z', -45}};
  for (auto _ : state) {
    auto target = NewPoleFigure();
    CopyGrid(*grid, *target);
    InterpolatePoleFigure(*source, *target, options);
    benchmark::DoNotOptimize(target);
  }
}

BENCHMARK(BM_SmoothPlain)->Arg(5)->Arg(15)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_SmoothFast)->Arg(5)->Arg(15)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SmoothFastOneThread)->Arg(5)->Arg(15)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InterpolateOntoOneDegreeGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorix

BENCHMARK_MAIN();
