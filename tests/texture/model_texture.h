// Model textures whose ODF and pole figures are known in closed form: a
// random part plus de la Vallee Poussin components, symmetrised.
#pragma once

#include <vector>

#include "texture/odf.h"
#include "texture/odf_results.h"
#include "texture/wimv.h"

namespace quorix::test {

struct ModelComponent {
  Euler ideal;
  double weight = 0;
  double halfwidth = 10;  // degrees
};

struct ModelTexture {
  LaueGroup crystal = LaueGroup::Cubic;
  SampleSymmetry sample = SampleSymmetry::Orthorhombic;
  double random = 1;  // w0; the weights sum to 1
  std::vector<ModelComponent> components;
};

double Kappa(double halfwidth);
// f(g), m.r.d.
double ModelOdf(const ModelTexture& m, const Mat3& g);
// The exact pole figure of plane normal h (crystal frame, unit) at r.
double ModelPoleFigure(const ModelTexture& m, const Vec3& h, const Vec3& r);

// Copper, Brass, S and Cube with 10-degree halfwidths and a random part.
ModelTexture RollingTexture();
// Cube and Goss, 12 degrees.
ModelTexture RecrystallisationTexture();
// Basal poles tilted +-30 degrees towards RD, hexagonal crystal.
ModelTexture SplitBasalTexture();

// The model's exact pole figure of hkl on the 5-degree grid (circles
// 0..maxAlpha, 72 points each; one centre point), in units of `scale` per m.r.d.
PoleFigureInput ModelMeasurement(const ModelTexture& m, const Lattice& lattice, const std::array<int, 3>& hkl,
                                 double maxAlpha, double scale = 100);

// The model's ODF at each cell centre of the grid.
Odf ModelCellValues(const ModelTexture& m, const OdfGrid& grid);

}  // namespace quorix::test

namespace quorix::test {

// How close an estimate comes to the model it was computed from.
struct RecoveryScores {
  double maxRp = 0;              // largest rp (Eps 0.5) of the input pole figures, percent
  double maxRecalcError = 0;     // complete pole figures: sum |P - T| sin a / sum T sin a, percent
  double textureIndexError = 0;  // |J - J_true| / J_true, percent
  double maxFractionError = 0;   // largest |v - v_true| of the named components
  double odfError = 0;           // sum |f - f_true| sin Phi / sum f_true sin Phi over the cells, percent
};
RecoveryScores ScoreRecovery(const ModelTexture& m, const Lattice& lattice, const std::vector<std::array<int, 3>>& hkls,
                             const OdfEstimate& estimate);

// The model's pole figures of `hkls` to 75 degrees, the ODF estimated from them.
std::optional<OdfEstimate> EstimateFromModel(const ModelTexture& m, const Lattice& lattice,
                                             const std::vector<std::array<int, 3>>& hkls, double resolution,
                                             const EstimateOptions& options = {});

}  // namespace quorix::test
