// Recalculated and inverse pole figures, sections and volume fractions.
#include "texture/odf_results.h"

#include <algorithm>
#include <cmath>

namespace quorix {

std::vector<double> RecalculatePoleFigure(const Odf& odf, const std::vector<Reflection>& reflections,
                                          const std::vector<Vec3>& directions, int threads) {
  const SymmetryOps ops = MakeSymmetryOps(odf.grid.crystal, odf.grid.sample);
  DirectionReducer reducer(ops);
  std::vector<std::size_t> rowOf;
  rowOf.reserve(directions.size());
  for (const Vec3& d : directions) rowOf.push_back(reducer.Canonical(d));
  std::vector<PathRow> rows;
  rows.reserve(reducer.Unique().size());
  for (const Vec3& d : reducer.Unique()) rows.push_back(PathRow{d, &reflections});
  PathMatrix paths;
  BuildPaths(odf.grid, ops, rows, DefaultPathStep(odf.grid), threads, WorkControl{}, paths);
  std::vector<double> unique;
  Project(paths, odf.values, unique);
  std::vector<double> out;
  out.reserve(rowOf.size());
  for (std::size_t r : rowOf) out.push_back(unique[r]);
  return out;
}

double InverseSectorWidth(LaueGroup g) {
  switch (g) {
    case LaueGroup::Triclinic: return 360;
    case LaueGroup::Monoclinic: return 180;
    case LaueGroup::Orthorhombic:
    case LaueGroup::TetragonalLow:
    case LaueGroup::CubicLow: return 90;
    case LaueGroup::Tetragonal:
    case LaueGroup::Cubic: return 45;
    case LaueGroup::TrigonalLow: return 120;
    case LaueGroup::Trigonal:
    case LaueGroup::HexagonalLow: return 60;
    case LaueGroup::Hexagonal: return 30;
  }
  return 360;
}

double InverseSectorStart(LaueGroup g) { return g == LaueGroup::Trigonal ? 30 : 0; }

InverseSectorShape InverseSectorOutline(LaueGroup g) {
  InverseSectorShape s;
  const auto degrees = [](double radians) { return radians * 180 / kPi; };
  if (IsCubic(g)) {
    // Bounded by the great circle through 101 and 111 (z = x), for m-3 also by z = y.
    const int end = g == LaueGroup::Cubic ? 45 : 90;
    s.outline.emplace_back(0, 0);
    for (int b = 0; b <= end; ++b) {
      const double c = std::max(std::cos(DegToRad(b)), std::sin(DegToRad(b)));
      s.outline.emplace_back(degrees(std::atan(1 / c)), b);
    }
    s.corners = {{0, 0, "001"}, {45, 0, "101"}, {degrees(std::atan(std::sqrt(2.0))), 45, "111"}};
    if (g == LaueGroup::CubicLow) s.corners.push_back({45, 90, "011"});
    return s;
  }
  const double width = InverseSectorWidth(g);
  const double start = InverseSectorStart(g);
  const bool hexagonal = IsHexagonalFamily(g);
  if (width < 360) s.outline.emplace_back(0, start);
  const int steps = static_cast<int>(width);
  for (int b = 0; b <= steps - (width >= 360 ? 1 : 0); ++b) s.outline.emplace_back(90, start + b);
  s.corners.push_back({0, start, hexagonal ? "0001" : "001"});
  if (g == LaueGroup::Trigonal) {
    s.corners.push_back({90, 30, "10-10"});
    s.corners.push_back({90, 90, "01-10"});
    return s;
  }
  s.corners.push_back({90, 0, hexagonal ? "2-1-10" : "100"});
  if (width >= 360) return s;
  std::string far = width == 45 ? "110" : width == 90 ? "010" : "-100";
  if (hexagonal) far = width == 30 ? "10-10" : width == 60 ? "11-20" : "-12-10";
  s.corners.push_back({90, width, far});
  return s;
}

AngleGrid InversePoleFigure(const Odf& odf, const Vec3& sampleDirection, double step, int threads) {
  const SymmetryOps ops = MakeSymmetryOps(odf.grid.crystal, odf.grid.sample);
  AngleGrid grid;
  // Counted in whole steps: a sum of steps drifts.
  for (int k = 0; k * step <= 90 + 1e-9; ++k) grid.rowAngle.push_back(k * step);
  const double width = InverseSectorWidth(odf.grid.crystal);
  const double start = InverseSectorStart(odf.grid.crystal);
  for (int k = 0; k * step <= width + 1e-9 && k * step < 360 - 1e-9; ++k) grid.columnAngle.push_back(start + k * step);
  // One row per crystal direction: the path {g : g h = y} is the same as for a pole figure.
  std::vector<std::vector<Reflection>> reflections;
  reflections.reserve(grid.rowAngle.size() * grid.columnAngle.size());
  std::vector<PathRow> rows;
  for (double a : grid.rowAngle)
    for (double b : grid.columnAngle) reflections.push_back({Reflection{DirectionToVector(a, b), 1}});
  rows.reserve(reflections.size());
  for (const auto& r : reflections) rows.push_back(PathRow{Normalized(sampleDirection), &r});
  PathMatrix paths;
  BuildPaths(odf.grid, ops, rows, DefaultPathStep(odf.grid), threads, WorkControl{}, paths);
  Project(paths, odf.values, grid.values);
  return grid;
}

AngleGrid OdfSection(const Odf& odf, SectionAxis axis, double angle) {
  const OdfGrid& g = odf.grid;
  AngleGrid out;
  const double h = g.resolution;
  const int fixedCount = axis == SectionAxis::Phi2 ? g.n2 : g.n1;
  const int fixed = std::clamp(static_cast<int>(std::floor(angle / h)), 0, fixedCount - 1);
  const int columns = axis == SectionAxis::Phi2 ? g.n1 : g.n2;
  for (int i = 0; i < g.nPhi; ++i) out.rowAngle.push_back((i + 0.5) * h);
  for (int j = 0; j < columns; ++j) out.columnAngle.push_back((j + 0.5) * h);
  for (int i = 0; i < g.nPhi; ++i)
    for (int j = 0; j < columns; ++j)
      out.values.push_back(odf.values[axis == SectionAxis::Phi2 ? g.Cell(j, i, fixed) : g.Cell(fixed, i, j)]);
  return out;
}

std::vector<Component> NamedComponents(LaueGroup crystal) {
  if (!IsCubic(crystal)) return {};
  return {{"Cube", {0, 0, 0}},
          {"Goss", {0, 45, 0}},
          {"Brass", {35.26, 45, 0}},
          {"Copper", {90, 35.26, 45}},
          {"S", {58.98, 36.7, 63.43}}};
}

double VolumeFraction(const Odf& odf, const Euler& ideal, double spread) {
  const OdfGrid& g = odf.grid;
  const SymmetryOps ops = MakeSymmetryOps(g.crystal, g.sample);
  const Mat3 gi = EulerToMatrix(ideal);
  std::vector<Mat3> equivalents;
  for (const Mat3& s : ops.sample)
    for (const Mat3& c : ops.crystal) equivalents.push_back(MatMul(MatMul(s, gi), c));
  // Each cell is sampled at sub-cell centres, so the ball's edge cuts cells finely enough.
  constexpr int kSub = 3;
  const double h = g.resolution / kSub;
  const double cosSpread = std::cos(DegToRad(spread) / 2);
  std::vector<double> subWeight(static_cast<std::size_t>(g.nPhi * kSub));
  for (std::size_t i = 0; i < subWeight.size(); ++i) {
    const double a = static_cast<double>(i) * h;
    subWeight[i] = std::cos(DegToRad(a)) - std::cos(DegToRad(a + h));
  }
  const double total = (1 - std::cos(DegToRad(g.region.PhiMax))) * g.n1 * kSub * g.n2 * kSub;
  // A cell whose centre lies farther than spread + its half-diagonal from every equivalent holds no sub-point.
  const double reach = std::cos(std::min(DegToRad(spread + g.resolution * 1.3), kPi) / 2);
  double sum = 0;
  for (std::size_t cell = 0; cell < g.CellCount(); ++cell) {
    const Euler centre = CellCentre(g, cell);
    const Mat3 gc = EulerToMatrix(centre);
    bool near = false;
    for (const Mat3& e : equivalents) {
      double trace = 0;
      for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t k = 0; k < 3; ++k) trace += e[k][i] * gc[k][i];
      // cos(omega/2) = sqrt((1 + trace) / 4)
      if ((1 + trace) / 4 >= reach * reach) near = true;
    }
    if (!near) continue;
    for (int a = 0; a < kSub; ++a)
      for (int b = 0; b < kSub; ++b)
        for (int c = 0; c < kSub; ++c) {
          const Euler sub{centre.phi1 + (a - 1) * h, centre.Phi + (b - 1) * h, centre.phi2 + (c - 1) * h};
          const Mat3 gs = EulerToMatrix(sub);
          bool inside = false;
          for (const Mat3& e : equivalents) {
            double trace = 0;
            for (std::size_t i = 0; i < 3; ++i)
              for (std::size_t k = 0; k < 3; ++k) trace += e[k][i] * gs[k][i];
            if ((1 + trace) / 4 >= cosSpread * cosSpread) {
              inside = true;
              break;
            }
          }
          if (!inside) continue;
          const auto row = static_cast<std::size_t>(std::floor(sub.Phi / h));
          sum += InterpolatedValue(odf, sub) * subWeight[std::min(row, subWeight.size() - 1)];
        }
  }
  return sum / total;
}

}  // namespace quorix
