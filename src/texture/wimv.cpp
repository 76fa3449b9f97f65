// WIMV on sparse path tables built once.
#include "texture/wimv.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace quorix {
namespace {

// A pole figure's rows: its measured points folded onto representatives by
// the sample symmetry, their values averaged.
struct ReducedFigure {
  std::size_t firstRow = 0;
  std::vector<std::size_t> rowOfPoint;  // measured point -> row (from firstRow)
  std::vector<double> value;            // mean raw value per row
  std::vector<double> area;             // summed area per row
  std::vector<double> points;           // points per row
};

void Normalize(std::vector<double>& f, const std::vector<double>& w) {
  double mean = 0;
  for (std::size_t k = 0; k < f.size(); ++k) mean += w[k] * f[k];
  if (mean > 0)
    for (double& v : f) v /= mean;
}

}  // namespace

double RelativeDeviation(const std::vector<double>& measured, const std::vector<double>& recalculated, double eps) {
  const double e = eps < 0.01 ? 0.005 : eps;
  double sum = 0;
  long count = 0;
  for (std::size_t k = 0; k < measured.size() && k < recalculated.size(); ++k)
    if (measured[k] > e) {
      sum += std::abs(recalculated[k] - measured[k]) / measured[k];
      ++count;
    }
  return count > 0 ? 100.0 * sum / static_cast<double>(count) : 0.0;
}

// The iteration reads as its method does, one step after the other.
// NOLINTNEXTLINE(readability-function-size)
std::optional<OdfEstimate> EstimateOdf(const std::vector<PoleFigureInput>& input, const OdfGrid& grid,
                                       const EstimateOptions& options, MessageSink& sink) {
  if (input.empty()) {
    sink.Message("No pole figures to compute an ODF from.");
    return std::nullopt;
  }
  const SymmetryOps ops = MakeSymmetryOps(grid.crystal, grid.sample);
  std::vector<ReducedFigure> reduced(input.size());
  std::vector<PathRow> rows;
  for (std::size_t p = 0; p < input.size(); ++p) {
    const PoleFigureInput& pf = input[p];
    double positive = 0;
    for (double v : pf.values) positive += v > 0 ? v : 0;
    if (pf.directions.empty() || !(positive > 0)) {
      sink.Message(fmt::format("{}: no measured point with an intensity above 0.", pf.name));
      return std::nullopt;
    }
    DirectionReducer reducer(ops);
    ReducedFigure& rf = reduced[p];
    for (const Vec3& d : pf.directions) rf.rowOfPoint.push_back(reducer.Canonical(d));
    const std::size_t n = reducer.Unique().size();
    rf.value.assign(n, 0.0);
    rf.area.assign(n, 0.0);
    rf.points.assign(n, 0.0);
    for (std::size_t k = 0; k < pf.directions.size(); ++k) {
      const std::size_t r = rf.rowOfPoint[k];
      rf.value[r] += std::max(pf.values[k], 0.0);
      rf.area[r] += pf.area[k];
      rf.points[r] += 1;
    }
    for (std::size_t r = 0; r < n; ++r) rf.value[r] /= rf.points[r];
    rf.firstRow = rows.size();
    for (const Vec3& d : reducer.Unique()) rows.push_back(PathRow{d, &pf.reflections});
  }
  PathMatrix paths;
  const double step = options.pathStep > 0 ? options.pathStep : DefaultPathStep(grid);
  if (!BuildPaths(grid, ops, rows, step, options.threads, options.control, paths)) {
    sink.Message("ODF computation cancelled.");
    return std::nullopt;
  }
  // Each cell's share of all paths: a cell no path crosses would keep its start
  // value, unless it lies on the axis, where it takes the mean of its group.
  std::vector<double> reach(grid.CellCount(), 0.0);
  for (std::size_t k = 0; k < paths.cell.size(); ++k) reach[paths.cell[k]] += paths.weight[k];
  // Without this the few paths through the axis cells drive them apart into spikes.
  const auto axisGroups = AxisCellGroups(grid, ops);
  std::vector<char> seen(grid.CellCount(), 0);
  for (std::size_t c = 0; c < reach.size(); ++c) seen[c] = reach[c] > 0 ? 1 : 0;
  for (const auto& cells : axisGroups) {
    const bool any = std::any_of(cells.begin(), cells.end(), [&](std::size_t c) { return reach[c] > 0; });
    for (const std::size_t c : cells) seen[c] = any ? 1 : 0;
  }
  std::size_t unreached = 0;
  std::string examples;
  for (std::size_t c = 0; c < reach.size(); ++c)
    if (seen[c] == 0) {
      if (++unreached <= 3) {
        const Euler e = CellCentre(grid, c);
        examples += fmt::format("{}({}, {}, {})", unreached > 1 ? ", " : "", e.phi1, e.Phi, e.phi2);
      }
    }
  if (unreached > 0) {
    sink.Message(
        fmt::format("Too few pole figures for {} crystal symmetry: no measured point reaches {} of {} Euler "
                    "cells, such as (phi1, Phi, phi2) = {}. Add pole figures of other reflections or choose "
                    "coarser cells.",
                    LaueGroupName(grid.crystal), unreached, grid.CellCount(), examples));
    return std::nullopt;
  }

  const std::vector<double> w = CellWeights(grid);
  std::vector<double> f(grid.CellCount(), 1.0), calc, logRatio(rows.size()), num(grid.CellCount()),
      measured(rows.size());
  std::vector<double> norm(input.size(), 1.0);
  OdfEstimate result;
  double previousRp = 1e300;
  const auto fitNormalization = [&] {
    Project(paths, f, calc);
    double meanRp = 0;
    for (std::size_t p = 0; p < input.size(); ++p) {
      const ReducedFigure& rf = reduced[p];
      double si = 0, sc = 0;
      for (std::size_t r = 0; r < rf.value.size(); ++r) {
        si += rf.area[r] * rf.value[r];
        sc += rf.area[r] * calc[rf.firstRow + r];
      }
      norm[p] = sc > 0 ? si / sc : 1.0;
      double sum = 0, count = 0;
      for (std::size_t r = 0; r < rf.value.size(); ++r) {
        const double m = rf.value[r] / norm[p];
        measured[rf.firstRow + r] = m;
        if (m > 0.5) {
          sum += rf.points[r] * std::abs(calc[rf.firstRow + r] - m) / m;
          count += rf.points[r];
        }
      }
      meanRp += count > 0 ? 100 * sum / count : 0.0;
    }
    return meanRp / static_cast<double>(input.size());
  };

  int iteration = 0;
  for (; iteration < options.maxIterations; ++iteration) {
    const double rp = fitNormalization();
    if (iteration > 0) {
      if (options.onIteration) options.onIteration(iteration, rp);
      options.control.Report(iteration, options.maxIterations);
      if (previousRp - rp < options.minRpChange) break;
    }
    if (options.control.Cancelled()) {
      sink.Message("ODF computation cancelled.");
      return std::nullopt;
    }
    previousRp = rp;
    // Zero measured values would drive cells to zero for good: a floor keeps them revisable.
    for (std::size_t r = 0; r < rows.size(); ++r)
      logRatio[r] = std::log(std::max(measured[r], 1e-3) / std::max(calc[r], 1e-6));
    std::fill(num.begin(), num.end(), 0.0);
    for (std::size_t r = 0; r < rows.size(); ++r)
      for (std::size_t k = paths.rowStart[r]; k < paths.rowStart[r + 1]; ++k)
        num[paths.cell[k]] += paths.weight[k] * logRatio[r];
    for (std::size_t c = 0; c < f.size(); ++c)
      if (reach[c] > 0) f[c] *= std::exp(options.relaxation * num[c] / reach[c]);
    EvenAxisGroups(axisGroups, reach, f);
    Normalize(f, w);
  }
  fitNormalization();
  result.iterations = iteration;
  result.odf.grid = grid;
  result.odf.values = f;
  result.odf.method = "WIMV";
  for (std::size_t p = 0; p < input.size(); ++p) {
    const ReducedFigure& rf = reduced[p];
    PoleFigureFit fit;
    fit.normalization = norm[p];
    std::vector<double> m;
    for (std::size_t k = 0; k < input[p].values.size(); ++k) {
      m.push_back(input[p].values[k] / norm[p]);
      fit.recalculated.push_back(calc[rf.firstRow + rf.rowOfPoint[k]]);
    }
    fit.rp = RelativeDeviation(m, fit.recalculated, 0.5);
    fit.rp0 = RelativeDeviation(m, fit.recalculated, 0);
    fit.rp1 = RelativeDeviation(m, fit.recalculated, 1);
    result.fits.push_back(std::move(fit));
  }
  return result;
}

}  // namespace quorix
