// Every loop of the load-and-draw road ends on input made to keep it going:
// non-finite and enormous intensities, steps that never close a turn, and
// the flood fill on a canvas that answers every pixel the same.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include "io/formatted_writer.h"
#include "io/load_pole_figure.h"
#include "plot/contours.h"
#include "plot/hpgl.h"
#include "plot/recording_canvas.h"
#include "plot/render.h"
#include "record/circle_links.h"
#include "record/levels.h"
#include "record/statistics.h"
#include "test_support.h"

namespace quorix {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Far more than any of these runs needs; a loop that the input kept going
// shows up as a test that takes minutes.
constexpr auto kBudget = std::chrono::seconds(20);

class Stopwatch {
 public:
  bool WithinBudget() const { return std::chrono::steady_clock::now() - start_ < kBudget; }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// A 5-degree grid whose intensities are filled from `values` in turn.
std::unique_ptr<PoleFigure> FilledGrid(const std::vector<double>& values) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  std::size_t next = 0;
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int k = 1; k <= pf->CirclePoints[i]; ++k) pf->Intensity[i][k] = values[next++ % values.size()];
  UpdateExtremes(*pf);
  return pf;
}

// Draws the record every way the program can: screen with border fill,
// screen with polygon fill, plotter text.
std::size_t DrawEveryWay(const PoleFigure& pf, bool equalArea) {
  ProgramState state;
  state.Options.FillAreas = true;
  state.Options.ShowEigenvalues = true;
  state.Options.DrawTriangles = true;
  state.Options.EqualArea = equalArea;
  for (int k = 1; k <= kMaxLevels; ++k) state.ContourColor[k] = 0x102030 * k;
  std::size_t ops = 0;
  {
    RecordingCanvas raster;
    raster.pixelSource = [](int, int) { return Color{0x102030}; };  // every pixel already in a level colour
    PlotPoleFigure(pf, state, raster, 400, 600, "bounds");
    ops += raster.ops.size();
  }
  {
    RecordingCanvas vector;
    PlotPoleFigure(pf, state, vector, 400, 600, "bounds");
    ops += vector.ops.size();
  }
  ops += HpglPlotFile(pf, state, 400, 600, "bounds").size() / 1000;
  return ops;
}

TEST(LoopBounds, DamagedIntensitiesPassTheWholeRoad) {
  const std::vector<std::vector<double>> cases = {
      {kNaN},
      {kInf, 1, -kInf},
      {kNaN, 5, kInf, 0.5},
      {1e308, -1e308},
      {1e-300, 2e-300, 0},
      {std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()},
      {-1, -1, -1, 3},  // mostly points without value
  };
  for (const auto& values : cases) {
    for (bool mrd : {false, true}) {
      Stopwatch watch;
      auto pf = FilledGrid(values);
      PreparePoleFigure(*pf, mrd);
      EXPECT_GE(pf->LevelCount, 0);
      EXPECT_LE(pf->LevelCount, kMaxLevels);
      const std::size_t ops = DrawEveryWay(*pf, mrd);
      EXPECT_LT(ops, 10'000'000u);
      EXPECT_TRUE(watch.WithinBudget()) << values[0] << " mrd " << mrd;
    }
  }
}

TEST(LoopBounds, LevelSearchOverHugeRangesEnds) {
  // The step search counts powers of ten and the level walk counts steps;
  // a range of 600 decades or a bound of the size of a double must not
  // turn either into millions of passes.
  struct Case {
    double min, max, norm;
  } cases[] = {{1e-300, 1e300, 1}, {-1e308, 1e308, 1e-300}, {0, 1e308, kNaN}, {kNaN, kNaN, kNaN},
               {0, 1, 0},          {1e15, 1e15 + 2, 1e15},  {-kInf, kInf, 1}};
  for (const auto& c : cases) {
    for (bool mrd : {false, true}) {
      for (bool fromOne : {false, true}) {
        Stopwatch watch;
        auto pf = NewPoleFigure();
        pf->MinValue = c.min, pf->MaxValue = c.max, pf->NormFactor = c.norm;
        AutoLevels(*pf, mrd, fromOne);
        EXPECT_LE(pf->LevelCount, kMaxLevels);
        TrimLevels(*pf, mrd);
        EXPECT_GE(pf->LevelCount, 0);
        EXPECT_TRUE(watch.WithinBudget()) << c.min << " " << c.max;
      }
    }
  }
}

TEST(LoopBounds, LinksOnStepsThatNeverCloseATurn) {
  // Steps of a few degrees on short circles, far starts and steps that skip
  // whole turns: the zipper walks each circle once and then stops.
  struct Circle {
    double start, step;
    int points;
  };
  const std::vector<std::vector<Circle>> grids = {
      {{0, 7, 10}, {0, 100, 3}, {0, 0.5, 361}},
      {{1e300, 5, 72}, {-1e300, 5, 72}},
      {{0, 1e300, 72}, {0, 1e-300, 361}},
      {{359.999, 720, 2}, {0, 359, 1}, {0, 1, 361}},
  };
  for (const auto& grid : grids) {
    Stopwatch watch;
    auto pf = NewPoleFigure();
    pf->CircleCount = static_cast<int>(grid.size());
    test::SizeTables(*pf, pf->CircleCount, kMaxPoints);
    for (int i = 1; i <= pf->CircleCount; ++i) {
      pf->Alpha[i] = 10.0 * i;
      pf->BetaStart[i] = grid[i - 1].start;
      pf->BetaStep[i] = grid[i - 1].step;
      pf->CirclePoints[i] = grid[i - 1].points;
      for (int k = 1; k <= kMaxPoints; ++k) pf->Intensity[i][k] = k % 5;
    }
    if (BuildCircleLinks(*pf)) {
      for (int i = 1; i <= pf->CircleCount; ++i) {
        ASSERT_LE(pf->CirclePoints[i], kMaxPoints);
        for (int k = 1; k <= pf->CirclePoints[i]; ++k) {
          const int outer = pf->Link[i][k].OuterLink;
          if (i < pf->CircleCount && outer != -1) {
            EXPECT_LE(outer, pf->CirclePoints[i + 1]);
          }
        }
      }
      UpdateStatistics(*pf);
      AutoLevels(*pf, false, false);
      DrawEveryWay(*pf, false);
    }
    EXPECT_TRUE(watch.WithinBudget());
  }
}

TEST(LoopBounds, SaveAllScaleSearchEndsForAnyMaximum) {
  for (double max : {kInf, -kInf, kNaN, 1e308, -1e308, 0.0, 1e-308}) {
    EXPECT_GE(BeartexScale(max), 0) << max;
    EXPECT_GE(GeesthachtScale(max), 0) << max;
  }
}

TEST(LoopBounds, ContourTracingOnNonFiniteValuesEnds) {
  auto pf = FilledGrid({kNaN, 2, kInf, -kInf, 7});
  ASSERT_TRUE(BuildCircleLinks(*pf));
  for (double threshold : {kNaN, kInf, -kInf, 1.0, 1e308}) {
    const LevelContours level = TraceLevel(*pf, threshold, true);
    for (const ContourLine& line : level.lines) EXPECT_LE(line.size(), 2u * 19 * 72 + 1);
  }
}

}  // namespace
}  // namespace quorix
