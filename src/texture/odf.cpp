// The reduced Euler region, its cells and Haar weights, and the ODF text file.
#include "texture/odf.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

#include "base/text_file.h"

namespace quorix {
namespace {

// A 2-fold axis in the crystal's xy plane folds Phi to 0..90 (with phi1 moved by 180).
bool HasInPlaneTwoFold(LaueGroup g) {
  return g != LaueGroup::Triclinic && g != LaueGroup::TetragonalLow && g != LaueGroup::TrigonalLow &&
         g != LaueGroup::HexagonalLow;
}

// Rotations about the crystal's z axis: the period of phi2.
int ZFold(LaueGroup g) {
  switch (g) {
    case LaueGroup::Triclinic:
    case LaueGroup::Monoclinic: return 1;
    case LaueGroup::Orthorhombic:
    case LaueGroup::CubicLow: return 2;
    case LaueGroup::TrigonalLow:
    case LaueGroup::Trigonal: return 3;
    case LaueGroup::TetragonalLow:
    case LaueGroup::Tetragonal:
    case LaueGroup::Cubic: return 4;
    case LaueGroup::HexagonalLow:
    case LaueGroup::Hexagonal: return 6;
  }
  return 1;
}

bool DividesEvenly(double length, double step) {
  const double n = length / step;
  return std::abs(n - std::round(n)) < 1e-9;
}

}  // namespace

EulerRegion RegionFor(LaueGroup crystal, SampleSymmetry sample) {
  EulerRegion r;
  r.phi2Max = 360.0 / ZFold(crystal);
  const bool crystalFold = HasInPlaneTwoFold(crystal);
  const bool orthoSample = sample == SampleSymmetry::Orthorhombic;
  r.PhiMax = crystalFold || orthoSample ? 90 : 180;
  if (sample != SampleSymmetry::Triclinic) r.phi1Max = 180;
  // The sample's 2-fold about RD followed by the crystal's in-plane one mirrors phi1 and phi2 together.
  if (orthoSample && crystalFold) r.phi1Max = 90;
  return r;
}

SymmetryOps MakeSymmetryOps(LaueGroup crystal, SampleSymmetry sample) {
  SymmetryOps ops;
  ops.crystal = ProperRotations(crystal);
  ops.sample = ProperRotations(sample);
  for (const Mat3& c : ops.crystal) ops.crystalZ.push_back(Vec3{c[0][2], c[1][2], c[2][2]});
  for (const Mat3& s : ops.sample) ops.sampleDiagonal.push_back(Vec3{s[0][0], s[1][1], s[2][2]});
  return ops;
}

std::optional<OdfGrid> MakeOdfGrid(LaueGroup crystal, SampleSymmetry sample, double resolution, std::string& error) {
  OdfGrid g;
  g.crystal = crystal;
  g.sample = sample;
  g.resolution = resolution;
  g.region = RegionFor(crystal, sample);
  if (!(resolution > 0) || !DividesEvenly(g.region.phi1Max, resolution) ||
      !DividesEvenly(g.region.PhiMax, resolution) || !DividesEvenly(g.region.phi2Max, resolution)) {
    error = fmt::format("A resolution of {} degrees does not divide the Euler region {} x {} x {} into whole cells.",
                        resolution, g.region.phi1Max, g.region.PhiMax, g.region.phi2Max);
    return std::nullopt;
  }
  const double cells =
      (g.region.phi1Max / resolution) * (g.region.PhiMax / resolution) * (g.region.phi2Max / resolution);
  if (cells > static_cast<double>(kMaxOdfCells)) {
    error = fmt::format(
        "A resolution of {} degrees needs {:.0f} cells for {} crystal and {} sample symmetry; at most {} "
        "fit into memory: choose a coarser one.",
        resolution, cells, LaueGroupName(crystal), SampleSymmetryName(sample), kMaxOdfCells);
    return std::nullopt;
  }
  g.n1 = static_cast<int>(std::lround(g.region.phi1Max / resolution));
  g.nPhi = static_cast<int>(std::lround(g.region.PhiMax / resolution));
  g.n2 = static_cast<int>(std::lround(g.region.phi2Max / resolution));
  return g;
}

Euler CellCentre(const OdfGrid& grid, std::size_t cell) {
  const auto n2 = static_cast<std::size_t>(grid.n2), nPhi = static_cast<std::size_t>(grid.nPhi);
  const std::size_t c2 = cell % n2, cPhi = (cell / n2) % nPhi, c1 = cell / n2 / nPhi;
  const auto i2 = static_cast<double>(c2);
  const auto iPhi = static_cast<double>(cPhi);
  const auto i1 = static_cast<double>(c1);
  const double h = grid.resolution;
  return Euler{(i1 + 0.5) * h, (iPhi + 0.5) * h, (i2 + 0.5) * h};
}

std::vector<double> CellWeights(const OdfGrid& grid) {
  std::vector<double> row(static_cast<std::size_t>(grid.nPhi));
  double sum = 0;
  for (int i = 0; i < grid.nPhi; ++i) {
    row[static_cast<std::size_t>(i)] =
        std::cos(DegToRad(i * grid.resolution)) - std::cos(DegToRad((i + 1) * grid.resolution));
    sum += row[static_cast<std::size_t>(i)];
  }
  const double perCell = 1.0 / (sum * grid.n1 * grid.n2);
  std::vector<double> w(grid.CellCount());
  for (int i1 = 0; i1 < grid.n1; ++i1)
    for (int iPhi = 0; iPhi < grid.nPhi; ++iPhi)
      for (int i2 = 0; i2 < grid.n2; ++i2) w[grid.Cell(i1, iPhi, i2)] = row[static_cast<std::size_t>(iPhi)] * perCell;
  return w;
}

std::vector<std::vector<std::size_t>> AxisCellGroups(const OdfGrid& grid, const SymmetryOps& ops) {
  const auto turn = static_cast<long long>(std::lround(360.0 / grid.resolution));
  std::map<std::pair<bool, long long>, std::vector<std::size_t>> byAxis;
  for (const int iPhi : {0, grid.nPhi - 1}) {
    const bool top = iPhi > 0;
    // Only a row that reaches the axis is degenerate there.
    if (top && (grid.nPhi < 2 || std::fabs(grid.region.PhiMax - 180) > 1e-9)) continue;
    for (int i1 = 0; i1 < grid.n1; ++i1)
      for (int i2 = 0; i2 < grid.n2; ++i2) {
        const std::size_t cell = grid.Cell(i1, iPhi, i2);
        Euler onAxis = CellCentre(grid, cell);
        onAxis.Phi = top ? 180 : 0;
        const Mat3 g = EulerToMatrix(onAxis);
        // The least name among the symmetric equivalents that lie on the axis.
        std::optional<std::pair<bool, long long>> key;
        for (const Mat3& s : ops.sample)
          for (const Mat3& c : ops.crystal) {
            const Mat3 e = MatMul(MatMul(s, g), c);
            if (std::fabs(std::fabs(e[2][2]) - 1) > 1e-9) continue;
            const double angle = RadToDeg(std::atan2(e[1][0], e[0][0]));
            const std::pair<bool, long long> name{e[2][2] < 0,
                                                  ((std::llround(angle / grid.resolution) % turn) + turn) % turn};
            if (!key || name < *key) key = name;
          }
        byAxis[*key].push_back(cell);
      }
  }
  std::vector<std::vector<std::size_t>> groups;
  for (auto& [key, cells] : byAxis)
    if (cells.size() > 1) groups.push_back(std::move(cells));
  return groups;
}

void EvenAxisGroups(const std::vector<std::vector<std::size_t>>& groups, const std::vector<double>& reach,
                    std::vector<double>& f) {
  for (const auto& cells : groups) {
    double sum = 0, weight = 0;
    for (const std::size_t c : cells) {
      sum += reach[c] * f[c];
      weight += reach[c];
    }
    if (!(weight > 0)) continue;
    for (const std::size_t c : cells) f[c] = sum / weight;
  }
}

namespace {
double WeightedSum(const Odf& odf, double (*term)(double)) {
  const std::vector<double> w = CellWeights(odf.grid);
  double sum = 0;
  for (std::size_t k = 0; k < w.size() && k < odf.values.size(); ++k) sum += w[k] * term(odf.values[k]);
  return sum;
}
}  // namespace

double OdfMean(const Odf& odf) {
  return WeightedSum(odf, [](double f) { return f; });
}
double TextureIndex(const Odf& odf) {
  return WeightedSum(odf, [](double f) { return f * f; });
}
double Entropy(const Odf& odf) {
  return WeightedSum(odf, [](double f) { return f > 0 ? -f * std::log(f) : 0.0; });
}

double OdfValueAt(const Odf& odf, const SymmetryOps& ops, const Mat3& g) {
  const OdfGrid& grid = odf.grid;
  double sum = 0;
  int hits = 0;
  for (const Mat3& s : ops.sample)
    for (const Mat3& c : ops.crystal) {
      const Euler e = MatrixToEuler(MatMul(MatMul(s, g), c));
      if (e.phi1 >= grid.region.phi1Max || e.Phi > grid.region.PhiMax || e.phi2 >= grid.region.phi2Max) continue;
      const int i1 = std::min(static_cast<int>(e.phi1 / grid.resolution), grid.n1 - 1);
      const int iPhi = std::min(static_cast<int>(e.Phi / grid.resolution), grid.nPhi - 1);
      const int i2 = std::min(static_cast<int>(e.phi2 / grid.resolution), grid.n2 - 1);
      sum += odf.values[grid.Cell(i1, iPhi, i2)];
      ++hits;
    }
  return hits > 0 ? sum / hits : 0.0;
}

std::string FormatOdfFile(const Odf& odf) {
  const OdfGrid& g = odf.grid;
  const Lattice& l = odf.lattice;
  std::string out = "% Quorix ODF (orientation distribution, m.r.d.)\n";
  out += fmt::format("% crystal symmetry: {} ({})\n", LaueGroupName(g.crystal), LaueGroupSymbol(g.crystal));
  out += fmt::format("% sample symmetry: {}\n", SampleSymmetryName(g.sample));
  out += fmt::format("% lattice: {} {} {} {} {} {}\n", l.a, l.b, l.c, l.alpha, l.beta, l.gamma);
  out += fmt::format("% resolution: {} degrees\n", g.resolution);
  out += fmt::format("% method: {}\n", odf.method.empty() ? std::string("unknown") : odf.method);
  out += fmt::format("% region: phi1 0-{} Phi 0-{} phi2 0-{} (Bunge, degrees)\n", g.region.phi1Max, g.region.PhiMax,
                     g.region.phi2Max);
  out += "% values at cell centres\n";
  out += "% phi1 Phi phi2 value\n";
  for (std::size_t k = 0; k < g.CellCount(); ++k) {
    const Euler e = CellCentre(g, k);
    out += fmt::format("{:.2f} {:.2f} {:.2f} {:.5g}\n", e.phi1, e.Phi, e.phi2, odf.values[k]);
  }
  return out;
}

namespace {
// The text after "% key:" on a header line, or nothing.
std::optional<std::string_view> HeaderValue(std::string_view line, std::string_view key) {
  std::string_view rest = Trim(line.substr(1));
  if (rest.substr(0, key.size()) != key) return std::nullopt;
  return Trim(rest.substr(key.size()));
}
}  // namespace

std::optional<Odf> ParseOdfFile(std::string_view text, const std::string& fileName, MessageSink& sink) {
  std::optional<LaueGroup> crystal;
  std::optional<SampleSymmetry> sample;
  std::optional<double> resolution;
  Odf odf;
  std::vector<std::array<double, 4>> rows;
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  int number = 0;
  const auto fail = [&](const std::string& what) {
    sink.Message(fmt::format("{}, line {}: {}", fileName, number, what));
    return std::nullopt;
  };
  while (lines.Next(line)) {
    ++number;
    const std::string_view t = Trim(line);
    if (t.empty()) continue;
    if (t.front() == '%') {
      if (auto v = HeaderValue(t, "crystal symmetry:")) {
        crystal = LaueGroupNamed(SplitWhitespace(*v).empty() ? "" : SplitWhitespace(*v).front());
        if (!crystal) return fail(fmt::format("unknown crystal symmetry \"{}\".", *v));
      } else if (auto s = HeaderValue(t, "sample symmetry:")) {
        sample = SampleSymmetryNamed(*s);
        if (!sample) return fail(fmt::format("unknown sample symmetry \"{}\".", *s));
      } else if (auto r = HeaderValue(t, "resolution:")) {
        const auto tokens = SplitWhitespace(*r);
        resolution = tokens.empty() ? std::nullopt : ParseNumber(tokens.front());
        if (!resolution) return fail(fmt::format("the resolution \"{}\" is no number.", *r));
      } else if (auto la = HeaderValue(t, "lattice:")) {
        std::string error;
        const auto lattice = ParseLattice(*la, error);
        if (!lattice) return fail(error);
        odf.lattice = *lattice;
      } else if (auto m = HeaderValue(t, "method:")) {
        odf.method = std::string(*m);
      }
      continue;
    }
    const auto tokens = SplitWhitespace(t);
    std::array<double, 4> row{};
    if (tokens.size() != 4)
      return fail(fmt::format("expected \"phi1 Phi phi2 value\", found {} fields.", tokens.size()));
    for (std::size_t k = 0; k < 4; ++k) {
      const auto v = ParseNumber(tokens[k]);
      if (!v) return fail(fmt::format("\"{}\" is no number.", tokens[k]));
      row[k] = *v;
    }
    if (row[3] < 0) return fail(fmt::format("the value {} is negative.", row[3]));
    rows.push_back(row);
  }
  if (!crystal || !sample || !resolution) {
    sink.Message(fileName + ": no ODF file: the header names no crystal symmetry, sample symmetry or resolution.");
    return std::nullopt;
  }
  std::string error;
  const auto grid = MakeOdfGrid(*crystal, *sample, *resolution, error);
  if (!grid) {
    sink.Message(fileName + ": " + error);
    return std::nullopt;
  }
  odf.grid = *grid;
  if (rows.size() != grid->CellCount()) {
    sink.Message(fmt::format("{}: {} values for {} cells of {} degrees.", fileName, rows.size(), grid->CellCount(),
                             *resolution));
    return std::nullopt;
  }
  odf.values.assign(grid->CellCount(), -1.0);
  const double h = *resolution;
  for (const auto& row : rows) {
    const long i1 = std::lround(row[0] / h - 0.5), iPhi = std::lround(row[1] / h - 0.5),
               i2 = std::lround(row[2] / h - 0.5);
    if (i1 < 0 || i1 >= grid->n1 || iPhi < 0 || iPhi >= grid->nPhi || i2 < 0 || i2 >= grid->n2) {
      sink.Message(
          fmt::format("{}: the point {} {} {} is no cell centre of the region.", fileName, row[0], row[1], row[2]));
      return std::nullopt;
    }
    odf.values[grid->Cell(static_cast<int>(i1), static_cast<int>(iPhi), static_cast<int>(i2))] = row[3];
  }
  if (std::find(odf.values.begin(), odf.values.end(), -1.0) != odf.values.end()) {
    sink.Message(fileName + ": some cells of the region have no value (a cell given twice).");
    return std::nullopt;
  }
  return odf;
}

}  // namespace quorix
