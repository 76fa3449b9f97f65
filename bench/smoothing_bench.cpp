// Smoothing a 1-degree and a 0.5-degree grid with the plain loop over every
// pair and the fast paths side by side (a regular grid by FFT, the same grid
// with a centre point by kernel rows applied directly), and interpolating onto
// a 1-degree grid. The fast runs
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
#include "oracles/plain_smoothing.h"
#include "record/statistics.h"
#include "transform/interpolation.h"
#include "transform/smoothing.h"

namespace quorix {
namespace {

// Circles at alpha 0, step .. 90 with `points` points each.
std::unique_ptr<PoleFigure> RegularGrid(double step, int points) {
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
void FillPattern(PoleFigure& pf) {
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

// The grids timed: 1 degree (91 circles x 360 points) and 0.5 degree (181 x
// 720), each regular or with a single centre point instead of the circle at
// alpha 0, the usual grid of measurements, which kernel rows applied directly serve.
enum class GridCase { Regular, Centre, HalfRegular, HalfCentre };

std::unique_ptr<PoleFigure> Grid(GridCase c) {
  const bool half = c == GridCase::HalfRegular || c == GridCase::HalfCentre;
  const int points = half ? 720 : 360;
  auto pf = RegularGrid(half ? 0.5 : 1, points);
  if (c == GridCase::Centre || c == GridCase::HalfCentre) {
    pf->CirclePoints[1] = 1;
    pf->BetaStep[1] = 360;
    pf->PointCount = 1 + (pf->CircleCount - 1) * points;
    SizeTablesToGrid(*pf);
  }
  FillPattern(*pf);
  return pf;
}

// Plain results by grid and width, from the plain benchmark that runs first.
std::map<std::pair<GridCase, int>, std::unique_ptr<IntensityTable>>& PlainResults() {
  static std::map<std::pair<GridCase, int>, std::unique_ptr<IntensityTable>> results;
  return results;
}

double MaxRelativeDeviation(const PoleFigure& pf, const IntensityTable& plain, const IntensityTable& fast) {
  double worst = 0;
  for (int i = 1; i <= pf.CircleCount; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j)
      worst = std::max(worst, std::fabs(fast[i][j] - plain[i][j]) / std::fabs(plain[i][j]));
  return worst;
}

void ReportDeviation(benchmark::State& state, GridCase grid, int fwhm, const PoleFigure& pf,
                     const IntensityTable& fast) {
  const auto found = PlainResults().find({grid, fwhm});
  if (found != PlainResults().end()) state.counters["max_rel_dev"] = MaxRelativeDeviation(pf, *found->second, fast);
}

void BM_SmoothPlain(benchmark::State& state, GridCase grid) {
  const int fwhm = static_cast<int>(state.range(0));
  auto pf = Grid(grid);
  std::unique_ptr<IntensityTable> values;
  for (auto _ : state) {
    values = test::PlainSmoothed(*pf, fwhm, false);
    benchmark::DoNotOptimize(values);
  }
  PlainResults()[{grid, fwhm}] = std::move(values);
}

// The fast path with its set-up (the kernel plan) in every iteration.
void BM_SmoothFast(benchmark::State& state, GridCase grid, int threads) {
  const int fwhm = static_cast<int>(state.range(0));
  auto pf = Grid(grid);
  std::unique_ptr<IntensityTable> values;
  for (auto _ : state) {
    const SmoothingPlan plan(*pf, fwhm, threads);
    values = plan.Smooth(*pf, false, {}, threads);
    benchmark::DoNotOptimize(values);
  }
  ReportDeviation(state, grid, fwhm, *pf, *values);
}

// A further pole figure of "Smooth all": the plan already built.
void BM_SmoothFastFurther(benchmark::State& state, GridCase grid, int threads) {
  const int fwhm = static_cast<int>(state.range(0));
  auto pf = Grid(grid);
  const SmoothingPlan plan(*pf, fwhm, threads);
  std::unique_ptr<IntensityTable> values;
  for (auto _ : state) {
    values = plan.Smooth(*pf, false, {}, threads);
    benchmark::DoNotOptimize(values);
  }
  ReportDeviation(state, grid, fwhm, *pf, *values);
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
QUORIX_SMOOTH_BENCH(BM_SmoothPlain, regular, GridCase::Regular)->Iterations(1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, regular_one_thread, GridCase::Regular, 1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, regular_two_threads, GridCase::Regular, 2);
QUORIX_SMOOTH_BENCH(BM_SmoothFastFurther, regular_one_thread, GridCase::Regular, 1);
QUORIX_SMOOTH_BENCH(BM_SmoothPlain, centre, GridCase::Centre)->Iterations(1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, centre_one_thread, GridCase::Centre, 1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, centre_two_threads, GridCase::Centre, 2);
// The plain loop at 0.5 degree takes 16 times as long: one run unless asked
// for more with --benchmark_repetitions (which these leave alone).
QUORIX_SMOOTH_BENCH(BM_SmoothPlain, half_regular, GridCase::HalfRegular)->Iterations(1)->Repetitions(1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, half_regular_one_thread, GridCase::HalfRegular, 1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, half_regular_two_threads, GridCase::HalfRegular, 2);
QUORIX_SMOOTH_BENCH(BM_SmoothFastFurther, half_regular_one_thread, GridCase::HalfRegular, 1);
QUORIX_SMOOTH_BENCH(BM_SmoothPlain, half_centre, GridCase::HalfCentre)->Iterations(1)->Repetitions(1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, half_centre_one_thread, GridCase::HalfCentre, 1);
QUORIX_SMOOTH_BENCH(BM_SmoothFast, half_centre_two_threads, GridCase::HalfCentre, 2);
BENCHMARK(BM_InterpolateOntoOneDegreeGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorix

BENCHMARK_MAIN();
