// Redrawing 8 pole-figure windows of a 1-degree grid on the raster canvas:
// without the projection cache (every position projected anew, the way a
// one-off export draws) against the cached redraws a window sees once its cache is
// filled, and the first draw that fills it. Counter differing_pixels: pixels
// of the cached images that differ from the plain images of the same run (0
// expected).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "math/vector_math.h"
#include "plot/projection_cache.h"
#include "plot/render.h"
#include "qtcanvas/qt_canvas.h"
#include "record/prepare.h"
#include "record/statistics.h"

namespace quorix {
namespace {

constexpr int kWindows = 8;
// The image of a pole-figure window of the desktop program.
constexpr int kImageWidth = 447;
constexpr int kImageHeight = 280;

std::unique_ptr<PoleFigure> OneDegreeGrid() {
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

// Texture-like: two peaks that move from figure to figure, and some noise.
std::unique_ptr<PoleFigure> Figure(int k) {
  auto pf = OneDegreeGrid();
  std::mt19937 rng(static_cast<unsigned>(11 + k));
  std::uniform_real_distribution<double> noise(-0.15, 0.15);
  const Vec3 peak1 = DirectionToVector(20 + 7 * k, 45 * k);
  const Vec3 peak2 = DirectionToVector(75 - 3 * k, 200 + 20 * k);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j) {
      const Vec3 u = DirectionToVector(pf->Alpha[i], BetaOf(*pf, i, j));
      const double d1 = std::fabs(Dot(u, peak1));
      const double d2 = std::fabs(Dot(u, peak2));
      pf->Intensity[i][j] = 1 + 8 * std::pow(d1, 20) + 4 * std::pow(d2, 10) + noise(rng);
    }
  UpdateExtremes(*pf);
  PreparePoleFigure(*pf, false);
  return pf;
}

struct Scene {
  std::vector<std::unique_ptr<PoleFigure>> figures;
  ProgramState state;
};

const Scene& TheScene() {
  static const Scene scene = [] {
    Scene s;
    for (int k = 0; k < kWindows; ++k) s.figures.push_back(Figure(k));
    for (int k = 1; k <= kMaxLevels; ++k) s.state.ContourColor[k] = static_cast<ColorValue>(0x101010 * (k % 15));
    return s;
  }();
  return scene;
}

QImage Draw(const PoleFigure& pf, const ProgramState& state, ProjectionCache* cache) {
  QtRasterCanvas canvas(kImageWidth, kImageHeight);
  PlotPoleFigure(pf, state, canvas, kImageHeight, kImageWidth, "", nullptr, cache);
  return canvas.Image();
}

std::vector<QImage>& PlainImages() {
  static std::vector<QImage> images;
  return images;
}

enum class Mode { Plain, FirstDraw, Redraw };

void BM_Redraw8(benchmark::State& bs, Mode mode) {
  const Scene& scene = TheScene();
  const bool cached = mode != Mode::Plain;
  auto caches = std::make_unique<std::array<ProjectionCache, kWindows>>();
  // A window fills its cache on its first draw; Redraw times the later ones.
  if (mode == Mode::Redraw)
    for (int k = 0; k < kWindows; ++k) Draw(*scene.figures[k], scene.state, &(*caches)[k]);
  std::vector<QImage> images(kWindows);
  for (auto _ : bs) {
    if (mode == Mode::FirstDraw) {
      bs.PauseTiming();
      caches = std::make_unique<std::array<ProjectionCache, kWindows>>();
      bs.ResumeTiming();
    }
    for (int k = 0; k < kWindows; ++k)
      images[k] = Draw(*scene.figures[k], scene.state, cached ? &(*caches)[k] : nullptr);
    benchmark::DoNotOptimize(images.data());
  }
  if (!cached) {
    PlainImages() = images;
  } else if (PlainImages().size() == images.size()) {
    double differing = 0;
    for (int k = 0; k < kWindows; ++k)
      for (int y = 0; y < kImageHeight; ++y)
        for (int x = 0; x < kImageWidth; ++x)
          if (images[k].pixel(x, y) != PlainImages()[k].pixel(x, y)) ++differing;
    bs.counters["differing_pixels"] = differing;
  }
}

BENCHMARK_CAPTURE(BM_Redraw8, plain, Mode::Plain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Redraw8, cached_first_draw, Mode::FirstDraw)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Redraw8, cached, Mode::Redraw)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorix

// The canvas measures its label font, which needs a running application.
int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
