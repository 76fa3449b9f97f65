// De la Vallee Poussin model textures for the texture tests and benchmark.
#include "texture/model_texture.h"

#include <algorithm>
#include <cmath>

namespace quorix::test {
namespace {

double LogBeta(double x, double y) { return std::lgamma(x) + std::lgamma(y) - std::lgamma(x + y); }

struct Kernel {
  double kappa, norm;
  explicit Kernel(double halfwidth)
      : kappa(Kappa(halfwidth)), norm(std::exp(LogBeta(1.5, 0.5) - LogBeta(1.5, kappa + 0.5))) {}
};

std::vector<Mat3> Equivalents(const ModelTexture& m, const Euler& e) {
  const Mat3 g = EulerToMatrix(e);
  std::vector<Mat3> out;
  for (const Mat3& s : ProperRotations(m.sample))
    for (const Mat3& c : ProperRotations(m.crystal)) out.push_back(MatMul(MatMul(s, g), c));
  return out;
}

}  // namespace

double Kappa(double halfwidth) { return 0.5 * std::log(0.5) / std::log(std::cos(DegToRad(halfwidth) / 2)); }

double ModelOdf(const ModelTexture& m, const Mat3& g) {
  double f = m.random;
  for (const ModelComponent& c : m.components) {
    const Kernel k(c.halfwidth);
    const auto eq = Equivalents(m, c.ideal);
    double sum = 0;
    for (const Mat3& e : eq) {
      double trace = 0;
      for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) trace += e[j][i] * g[j][i];
      const double cosHalf2 = std::clamp((1 + trace) / 4, 0.0, 1.0);  // cos^2(omega / 2)
      sum += k.norm * std::pow(cosHalf2, k.kappa);
    }
    f += c.weight * sum / static_cast<double>(eq.size());
  }
  return f;
}

double ModelPoleFigure(const ModelTexture& m, const Vec3& h, const Vec3& r) {
  double p = m.random;
  for (const ModelComponent& c : m.components) {
    const double kappa = Kappa(c.halfwidth);
    const auto eq = Equivalents(m, c.ideal);
    double sum = 0;
    for (const Mat3& e : eq) {
      const double t = std::clamp(Dot(MatVec(e, h), r), -1.0, 1.0);
      sum += (1 + kappa) * (std::pow((1 + t) / 2, kappa) + std::pow((1 - t) / 2, kappa)) / 2;
    }
    p += c.weight * sum / static_cast<double>(eq.size());
  }
  return p;
}

ModelTexture RollingTexture() {
  ModelTexture m;
  m.random = 0.3;
  m.components = {
      {{90, 35.26, 45}, 0.25, 10}, {{35.26, 45, 0}, 0.2, 10}, {{58.98, 36.7, 63.43}, 0.15, 10}, {{0, 0, 0}, 0.1, 10}};
  return m;
}

ModelTexture RecrystallisationTexture() {
  ModelTexture m;
  m.random = 0.4;
  m.components = {{{0, 0, 0}, 0.4, 12}, {{0, 45, 0}, 0.2, 12}};
  return m;
}

ModelTexture SplitBasalTexture() {
  ModelTexture m;
  m.crystal = LaueGroup::Hexagonal;
  m.random = 0.3;
  // c axis tilted 30 degrees from ND towards RD: Phi = 30 about the axis phi1 = 90 puts it in the RD-ND plane.
  m.components = {{{90, 30, 0}, 0.35, 12}, {{270, 30, 0}, 0.35, 12}};
  return m;
}

PoleFigureInput ModelMeasurement(const ModelTexture& m, const Lattice& lattice, const std::array<int, 3>& hkl,
                                 double maxAlpha, double scale) {
  PoleFigureInput pf;
  pf.name = "model";
  pf.reflections = {Reflection{PlaneNormal(hkl, lattice), 1}};
  for (double a = 0; a <= maxAlpha + 1e-9; a += 5) {
    const int points = a == 0 ? 1 : 72;
    for (int k = 0; k < points; ++k) {
      const Vec3 r = DirectionToVector(a, 5.0 * k);
      pf.directions.push_back(r);
      pf.values.push_back(scale * ModelPoleFigure(m, pf.reflections[0].normal, r));
      pf.area.push_back(a == 0 ? 1 - std::cos(DegToRad(2.5)) : std::sin(DegToRad(a)) * DegToRad(5) * DegToRad(5));
    }
  }
  return pf;
}

Odf ModelCellValues(const ModelTexture& m, const OdfGrid& grid) {
  Odf odf;
  odf.grid = grid;
  for (std::size_t c = 0; c < grid.CellCount(); ++c)
    odf.values.push_back(ModelOdf(m, EulerToMatrix(CellCentre(grid, c))));
  return odf;
}

}  // namespace quorix::test

namespace quorix::test {

RecoveryScores ScoreRecovery(const ModelTexture& m, const Lattice& lattice, const std::vector<std::array<int, 3>>& hkls,
                             const OdfEstimate& estimate) {
  RecoveryScores s;
  for (const PoleFigureFit& fit : estimate.fits) s.maxRp = std::max(s.maxRp, fit.rp);
  std::vector<Vec3> grid;
  std::vector<double> weight;
  for (int i = 0; i <= 18; ++i)
    for (int k = 0; k < 72; ++k) {
      grid.push_back(DirectionToVector(5.0 * i, 5.0 * k));
      weight.push_back(i == 0 ? 0.01 : std::sin(DegToRad(5.0 * i)));
    }
  for (const auto& hkl : hkls) {
    const std::vector<Reflection> refl{Reflection{PlaneNormal(hkl, lattice), 1}};
    const std::vector<double> p = RecalculatePoleFigure(estimate.odf, refl, grid);
    double diff = 0, total = 0;
    for (std::size_t k = 0; k < grid.size(); ++k) {
      const double t = ModelPoleFigure(m, refl[0].normal, grid[k]);
      diff += std::abs(p[k] - t) * weight[k];
      total += t * weight[k];
    }
    s.maxRecalcError = std::max(s.maxRecalcError, 100 * diff / total);
  }
  const Odf truth = ModelCellValues(m, estimate.odf.grid);
  const double jTrue = TextureIndex(truth);
  s.textureIndexError = 100 * std::abs(TextureIndex(estimate.odf) - jTrue) / jTrue;
  double diff = 0, total = 0;
  for (std::size_t c = 0; c < truth.values.size(); ++c) {
    const double w = std::sin(DegToRad(CellCentre(truth.grid, c).Phi));
    diff += std::abs(estimate.odf.values[c] - truth.values[c]) * w;
    total += truth.values[c] * w;
  }
  s.odfError = 100 * diff / total;
  if (IsCubic(m.crystal)) {
    // The truth on a finer grid, so that its own cells add little error.
    std::string error;
    const auto fine = MakeOdfGrid(m.crystal, m.sample, 2.5, error);
    const Odf fineTruth = ModelCellValues(m, *fine);
    for (const Component& c : NamedComponents(m.crystal))
      s.maxFractionError = std::max(s.maxFractionError, std::abs(VolumeFraction(estimate.odf, c.ideal, 15) -
                                                                 VolumeFraction(fineTruth, c.ideal, 15)));
  }
  return s;
}

std::optional<OdfEstimate> EstimateFromModel(const ModelTexture& m, const Lattice& lattice,
                                             const std::vector<std::array<int, 3>>& hkls, double resolution,
                                             const EstimateOptions& options) {
  std::vector<PoleFigureInput> input;
  for (const auto& hkl : hkls) input.push_back(ModelMeasurement(m, lattice, hkl, 75));
  std::string error;
  const auto grid = MakeOdfGrid(m.crystal, m.sample, resolution, error);
  NullSink sink;
  if (!grid) return std::nullopt;
  return EstimateOdf(input, *grid, options, sink);
}

}  // namespace quorix::test
