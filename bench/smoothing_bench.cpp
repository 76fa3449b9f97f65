// Smoothing a 1-degree grid with the plain loop, the pruned loop and the fast
// paths side by side (a regular grid by FFT, the same grid with a centre point
// by the radial table), and interpolating onto a 1-degree grid. The fast runs
// report their largest relative deviation from the plain loop's values of the
// same run (counter max_rel_dev); bench/ratios.py turns the repetitions into
// the table of bench/README.md.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <utility>

#include "io/load_pole_figure.h"
#include "math/vector_math.h"
#include "record/statistics.h"
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
  SizeTablesToGrid(*pf);
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

// The same 1-degree grid with a single centre point instead of the circle at
// alpha 0: no longer regular, so the radial table serves it.
std::unique_ptr<TPoleFigure> CentreGrid() {
  auto pf = RegularGrid(1, 360);
  pf->CirclePoints[1] = 1;
  pf->BetaStep[1] = 360;
  pf->PointCount = 1 + 90 * 360;
  return pf;
}

std::unique_ptr<TPoleFigure> Grid(bool centre) {
  auto pf = centre ? CentreGrid() : RegularGrid(1, 360);
  FillPattern(*pf);
  return pf;
}

// Plain results by grid and width, from the plain benchmark that runs first.
std::map<std::pair<bool, int>, std::unique_ptr<IntensityTable>>& PlainResults() {
  static std::map<std::pair<bool, int>, std::unique_ptr<IntensityTable>> results;
  return results;
}

double MaxRelativeDeviation(const TPoleFigure& pf, const IntensityTable& plain, const IntensityTable& fast) {
  double worst = 0;
  for (int i = 1; i <= pf.CircleCount; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j)
      worst = std::max(worst, std::fabs(fast[i][j] - plain[i][j]) / std::fabs(plain[i][j]));
  return worst;
}

void ReportDeviation(benchmark::State& state, bool centre, int fwhm, const TPoleFigure& pf,
                     const IntensityTable& fast) {
  const auto found = PlainResults().find({centre, fwhm});
  if (found != PlainResults().end()) state.counters["max_rel_dev"] = MaxRelativeDeviation(pf, *found->second, fast);
}

void BM_SmoothPlain(benchmark::State& state, bool centre) {
  const int fwhm = static_cast<int>(state.range(0));
  auto pf = Grid(centre);
  std::unique_ptr<IntensityTable> values;
  for (auto _ : state) {
    values = SmoothedIntensities(*pf, fwhm, false, SmoothingMethod::Plain);
    benchmark::DoNotOptimize(values);
  }
  PlainResults()[{centre, fwhm}] = std::move(values);
}

// The bit-exact pruned loop, one thread or all cores.
void BM_SmoothPruned(benchmark::State& state, bool centre, int threads) {
  const int fwhm = static_cast<int>(state.range(0));
  auto pf = Grid(centre);
  for (auto _ : state) {
    auto values = SmoothedIntensities(*pf, fwhm, false, SmoothingMethod::Pruned, {}, threads);
    benchmark::DoNotOptimize(values);
  }
}

// The fast path with its set-up (the kernel plan) in every iteration.
void BM_SmoothFast(benchmark::State& state, bool centre, int threads) {
  const int fwhm = static_cast<int>(state.range(0));
  auto pf = Grid(centre);
  std::unique_ptr<IntensityTable> values;
  for (auto _ : state) {
    const SmoothingPlan plan(*pf, fwhm, threads);
    values = plan.Smooth(*pf, false, {}, threads);
    benchmark::DoNotOptimize(values);
  }
  ReportDeviation(state, centre, fwhm, *pf, *values);
}

// A further pole figure of "Smooth all": the plan already built.
void BM_SmoothFastFurther(benchmark::State& state, bool centre, int threads) {
  const int fwhm = static_cast<int>(state.range(0));
  auto pf = Grid(centre);
  const SmoothingPlan plan(*pf, fwhm, threads);
  std::unique_ptr<IntensityTable> values;
  for (auto _ : state) {
    values = plan.Smooth(*pf, false, {}, threads);
    benchmark::DoNotOptimize(values);
  }
  ReportDeviation(state, centre, fwhm, *pf, *values);
}

void BM_InterpolateOntoOneDegreeGrid(benchmark::State& state) {
  auto source = RegularGrid(5, 72);
  FillPattern(*source);
  auto grid = RegularGrid(1, 360);
  InterpolationOptions options;
  options.rotation.Mode = RotationMode::List;
  options.rotation.List = {{'X', 30}, {'Z', -45}};
  for (auto _ : state) {
    auto target = NewPoleFigure();
    CopyGrid(*grid, *target);
    InterpolatePoleFigure(*source, *target, options);
    benchmark::DoNotOptimize(target);
  }
}

#define QUORIX_SMOOTH_BENCH(func, name, ...) \
  BENCHMARK_CAPTURE(func, name, __VA_ARGS__)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime()
QUORIX_SMOOTH_BENCH(BM_SmoothPlain, regular, false)->Iterations(1);
QUORIX_SMOOTH_BENCH(BM_SmoothPruned, regular_one_thread, false, 1)->Iterations(1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, regular_one_thread, false, 1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, regular_two_threads, false, 2);
QUORIX_SMOOTH_BENCH(BM_SmoothFastFurther, regular_one_thread, false, 1);
QUORIX_SMOOTH_BENCH(BM_SmoothPlain, centre, true)->Iterations(1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, centre_one_thread, true, 1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, centre_two_threads, true, 2);
BENCHMARK(BM_InterpolateOntoOneDegreeGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorix

BENCHMARK_MAIN();
