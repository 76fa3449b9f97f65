// The orientation distribution on a cell grid of Euler space reduced by the
// crystal and sample symmetries: its region, cells, Haar weights, values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "io/formatted_writer.h"
#include "texture/orientation.h"
#include "texture/symmetry.h"

namespace quorix {

// phi1 in [0, phi1Max), Phi in [0, PhiMax], phi2 in [0, phi2Max): a box that
// holds every orientation at least once (some several times: cubic crystal and
// orthorhombic sample, 90 x 90 x 90, three times).
struct EulerRegion {
  double phi1Max = 360, PhiMax = 180, phi2Max = 360;
};
EulerRegion RegionFor(LaueGroup crystal, SampleSymmetry sample);

// The symmetries ready for the inner loops: the crystal's rotations with their
// third columns, the sample's (diagonal) rotations as their diagonals.
struct SymmetryOps {
  std::vector<Mat3> crystal;
  std::vector<Mat3> sample;
  std::vector<Vec3> crystalZ;
  std::vector<Vec3> sampleDiagonal;
};
SymmetryOps MakeSymmetryOps(LaueGroup crystal, SampleSymmetry sample);

struct OdfGrid {
  LaueGroup crystal = LaueGroup::Cubic;
  SampleSymmetry sample = SampleSymmetry::Orthorhombic;
  double resolution = 5;  // cell edge, degrees
  EulerRegion region;
  int n1 = 0, nPhi = 0, n2 = 0;
  std::size_t CellCount() const {
    return static_cast<std::size_t>(n1) * static_cast<std::size_t>(nPhi) * static_cast<std::size_t>(n2);
  }
  std::size_t Cell(int i1, int iPhi, int i2) const {
    return (static_cast<std::size_t>(i1) * static_cast<std::size_t>(nPhi) + static_cast<std::size_t>(iPhi)) *
               static_cast<std::size_t>(n2) +
           static_cast<std::size_t>(i2);
  }
};

// The most cells allowed: 2.5 degrees for every pair of symmetries, 1 degree
// for cubic crystal and orthorhombic sample; the path tables grow with it.
inline constexpr std::size_t kMaxOdfCells = 2'000'000;

// Nothing, after `error`, when the resolution divides no region edge or
// needs too many cells.
std::optional<OdfGrid> MakeOdfGrid(LaueGroup crystal, SampleSymmetry sample, double resolution, std::string& error);

Euler CellCentre(const OdfGrid& grid, std::size_t cell);
// Each cell's share of the Haar measure; they sum to 1.
std::vector<double> CellWeights(const OdfGrid& grid);

// Cells of the first and last Phi rows grouped by the orientation they tend
// to on the axis (Phi 0 or 180), where only phi1 + phi2 or phi1 - phi2
// counts: pole figures cannot tell a group's cells apart. Groups of one are
// left out.
std::vector<std::vector<std::size_t>> AxisCellGroups(const OdfGrid& grid, const SymmetryOps& ops);

// Each group's cells given their mean weighted by `reach` (what the paths
// see of each cell); a group that no path sees is left as it is.
void EvenAxisGroups(const std::vector<std::vector<std::size_t>>& groups, const std::vector<double>& reach,
                    std::vector<double>& f);

struct Odf {
  OdfGrid grid;
  Lattice lattice = CubicLattice();
  std::string method;
  std::vector<double> values;  // m.r.d., one per cell
};

// Haar means: of f (1 for an ODF in m.r.d.), texture index J (f^2) and entropy (-f ln f).
double OdfMean(const Odf& odf);
double TextureIndex(const Odf& odf);
double Entropy(const Odf& odf);

// The value of the cell holding g, found among g's symmetric equivalents (their mean).
double OdfValueAt(const Odf& odf, const SymmetryOps& ops, const Mat3& g);

// The text layout: "%" header lines, then "phi1 Phi phi2 value" per cell centre.
std::string FormatOdfFile(const Odf& odf);
// Reads what FormatOdfFile wrote (and the same table from other programs,
// given the header's symmetries and resolution); messages name the file and line.
std::optional<Odf> ParseOdfFile(std::string_view text, const std::string& fileName, MessageSink& sink);

}  // namespace quorix
