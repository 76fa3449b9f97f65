// The ODF from model pole figures (the rolling texture, to 75 degrees): the
// whole job as `quorix-cli odf` does it (path tables, WIMV, texture index,
// volume fractions) against a plain WIMV loop that walks every path through
// every symmetric equivalent anew in each of its 20 iterations (counter
// odf_error: percent deviation from the model's ODF, sin Phi weighted).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "texture/model_texture.h"

namespace quorix {
namespace {

const std::vector<std::array<int, 3>> kThree{{1, 1, 1}, {2, 0, 0}, {2, 2, 0}};
const std::vector<std::array<int, 3>> kSeven{{1, 1, 1}, {2, 0, 0}, {2, 2, 0}, {3, 1, 1},
                                             {2, 2, 2}, {3, 3, 1}, {4, 2, 0}};

void BM_OdfJob(benchmark::State& state, const std::vector<std::array<int, 3>>& hkls, double resolution, int threads) {
  const test::ModelTexture m = test::RollingTexture();
  std::vector<PoleFigureInput> input;
  for (const auto& hkl : hkls) input.push_back(test::ModelMeasurement(m, CubicLattice(), hkl, 75));
  std::string error;
  const OdfGrid grid = *MakeOdfGrid(LaueGroup::Cubic, SampleSymmetry::Orthorhombic, resolution, error);
  EstimateOptions options;
  options.threads = threads;
  NullSink sink;
  std::optional<OdfEstimate> estimate;
  for (auto _ : state) {
    estimate = EstimateOdf(input, grid, options, sink);
    if (!estimate) {
      state.SkipWithError("the estimate failed");
      return;
    }
    benchmark::DoNotOptimize(TextureIndex(estimate->odf));
    for (const Component& c : NamedComponents(LaueGroup::Cubic))
      benchmark::DoNotOptimize(VolumeFraction(estimate->odf, c.ideal, 15));
  }
  state.counters["odf_error"] = test::ScoreRecovery(m, CubicLattice(), {}, *estimate).odfError;
}

// Plain WIMV: each iteration follows every path in steps of one cell through
// all 96 equivalents s g c, converting each to Euler angles, and multiplies
// every cell by the geometric mean of the ratios of the paths through it.
void BM_PlainWimv(benchmark::State& state) {
  const test::ModelTexture m = test::RollingTexture();
  std::string error;
  const OdfGrid grid = *MakeOdfGrid(LaueGroup::Cubic, SampleSymmetry::Orthorhombic, 5, error);
  const SymmetryOps ops = MakeSymmetryOps(grid.crystal, grid.sample);
  std::vector<PoleFigureInput> input;
  for (const auto& hkl : kThree) input.push_back(test::ModelMeasurement(m, CubicLattice(), hkl, 75));
  Odf odf;
  odf.grid = grid;
  const std::vector<double> w = CellWeights(grid);
  for (auto _ : state) {
    odf.values.assign(grid.CellCount(), 1.0);
    std::vector<std::size_t> cells;
    for (int iteration = 0; iteration < 20; ++iteration) {
      std::vector<double> logSum(grid.CellCount(), 0.0), count(grid.CellCount(), 0.0);
      for (const PoleFigureInput& pf : input) {
        std::vector<double> calc(pf.directions.size());
        std::vector<std::vector<std::size_t>> paths(pf.directions.size());
        double si = 0, sc = 0;
        for (std::size_t k = 0; k < pf.directions.size(); ++k) {
          const Mat3 qr = RotationTakingZTo(pf.directions[k]);
          for (double sign : {1.0, -1.0}) {
            const Vec3 n = pf.reflections[0].normal;
            const Mat3 qh = Transposed(RotationTakingZTo({sign * n.x, sign * n.y, sign * n.z}));
            for (int step = 0; step < 72; ++step) {
              const Mat3 g = MatMul(MatMul(qr, AxisRotationMatrix('Z', step * 5.0 + 2.5)), qh);
              for (const Mat3& s : ops.sample)
                for (const Mat3& c : ops.crystal) {
                  const Euler e = MatrixToEuler(MatMul(MatMul(s, g), c));
                  if (e.phi1 >= 90 || e.Phi > 90 || e.phi2 >= 90) continue;
                  paths[k].push_back(grid.Cell(std::min(static_cast<int>(e.phi1 / 5), 17),
                                               std::min(static_cast<int>(e.Phi / 5), 17),
                                               std::min(static_cast<int>(e.phi2 / 5), 17)));
                }
            }
          }
          double sum = 0;
          for (std::size_t cell : paths[k]) sum += odf.values[cell];
          calc[k] = paths[k].empty() ? 0 : sum / static_cast<double>(paths[k].size());
          si += pf.area[k] * pf.values[k];
          sc += pf.area[k] * calc[k];
        }
        for (std::size_t k = 0; k < pf.directions.size(); ++k) {
          const double ratio = std::log(std::max(pf.values[k] * sc / si, 1e-3) / std::max(calc[k], 1e-6));
          for (std::size_t cell : paths[k]) {
            logSum[cell] += ratio;
            count[cell] += 1;
          }
        }
      }
      double mean = 0;
      for (std::size_t c = 0; c < odf.values.size(); ++c) {
        if (count[c] > 0) odf.values[c] *= std::exp(logSum[c] / count[c]);
        mean += w[c] * odf.values[c];
      }
      for (double& v : odf.values) v /= mean;
    }
  }
  OdfEstimate estimate;
  estimate.odf = odf;
  state.counters["odf_error"] = test::ScoreRecovery(m, CubicLattice(), {}, estimate).odfError;
}

BENCHMARK_CAPTURE(BM_OdfJob, three_5deg_one_thread, kThree, 5.0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OdfJob, three_5deg_two_threads, kThree, 5.0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OdfJob, seven_5deg_one_thread, kSeven, 5.0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OdfJob, seven_5deg_two_threads, kSeven, 5.0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OdfJob, three_2_5deg_two_threads, kThree, 2.5, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWimv)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace quorix

BENCHMARK_MAIN();
