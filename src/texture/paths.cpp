// Building the sparse path tables once, so that every iteration is a pass over them.
#include "texture/paths.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace quorix {

// The cells around a point of the region and their trilinear weights: f is
// read between cell centres, so that a path along a cell boundary (the
// {001} paths of the 5-degree circles run at Phi = alpha) sees both sides.
int CellCorners(const OdfGrid& grid, double phi1, double Phi, double phi2, std::uint32_t* cells, double* weights) {
  const double u[3] = {phi1 / grid.resolution - 0.5, Phi / grid.resolution - 0.5, phi2 / grid.resolution - 0.5};
  const int n[3] = {grid.n1, grid.nPhi, grid.n2};
  int lo[3], hi[3];
  double t[3];
  for (int a = 0; a < 3; ++a) {
    const double f = std::floor(u[a]);
    t[a] = u[a] - f;
    lo[a] = std::clamp(static_cast<int>(f), 0, n[a] - 1);
    hi[a] = std::clamp(static_cast<int>(f) + 1, 0, n[a] - 1);
  }
  int count = 0;
  for (int c = 0; c < 8; ++c) {
    const int i1 = (c & 1) != 0 ? hi[0] : lo[0], iPhi = (c & 2) != 0 ? hi[1] : lo[1], i2 = (c & 4) != 0 ? hi[2] : lo[2];
    const double w =
        ((c & 1) != 0 ? t[0] : 1 - t[0]) * ((c & 2) != 0 ? t[1] : 1 - t[1]) * ((c & 4) != 0 ? t[2] : 1 - t[2]);
    if (w <= 0) continue;
    cells[count] = static_cast<std::uint32_t>(grid.Cell(i1, iPhi, i2));
    weights[count++] = w;
  }
  return count;
}

double InterpolatedValue(const Odf& odf, const Euler& e) {
  std::uint32_t cells[8];
  double weights[8];
  const int n = CellCorners(odf.grid, e.phi1, e.Phi, e.phi2, cells, weights);
  double sum = 0;
  for (int k = 0; k < n; ++k) sum += weights[k] * odf.values[cells[k]];
  return sum;
}

namespace {

// True when the angle of (x, y) lies in [0, period] degrees, boundaries
// included: the paths of grid points often run along a boundary of the region
// (the 0001 paths of beta = 0 at phi1 = 90), and each side then takes half.
bool InSector(double x, double y, double period, double cosP, double sinP) {
  constexpr double kEps = 1e-9;
  if (period >= 360) return true;
  if (y < -kEps || (y <= kEps && x < 0)) return false;
  if (period >= 180) return true;
  return sinP * x - cosP * y > -kEps;
}

// In degrees from 0, a hair below 0 kept as such rather than near 360.
double AngleDeg(double y, double x) {
  const double a = RadToDeg(std::atan2(y, x));
  return a < -1e-6 ? a + 360 : a;
}

struct Entry {
  std::uint32_t cell;
  float weight;
};

// A row's weights gathered per cell without sorting every entry: a dense
// table the size of the grid, and the cells touched.
struct RowAccumulator {
  std::vector<double> dense;
  std::vector<std::uint32_t> touched;
  void Add(std::uint32_t cell, double w) {
    if (dense[cell] == 0) touched.push_back(cell);
    dense[cell] += w;
  }
};

struct PathContext {
  const OdfGrid& grid;
  const SymmetryOps& ops;
  double cosPhiMax, cos1, sin1, cos2, sin2;
};

// Every in-region equivalent s g c of g, each with weight / (their number).
void EnterSample(const PathContext& ctx, const Mat3& g, double weight, RowAccumulator& out) {
  const OdfGrid& grid = ctx.grid;
  std::array<double, 3> hits[96 * 4];
  int count = 0;
  const Vec3 row3{g[2][0], g[2][1], g[2][2]};
  for (std::size_t ci = 0; ci < ctx.ops.crystal.size(); ++ci) {
    const Mat3& c = ctx.ops.crystal[ci];
    const Vec3& cz = ctx.ops.crystalZ[ci];
    // Third column and third row of g c.
    const Vec3 u{g[0][0] * cz.x + g[0][1] * cz.y + g[0][2] * cz.z, g[1][0] * cz.x + g[1][1] * cz.y + g[1][2] * cz.z,
                 g[2][0] * cz.x + g[2][1] * cz.y + g[2][2] * cz.z};
    const Vec3 v{row3.x * c[0][0] + row3.y * c[1][0] + row3.z * c[2][0],
                 row3.x * c[0][1] + row3.y * c[1][1] + row3.z * c[2][1],
                 row3.x * c[0][2] + row3.y * c[1][2] + row3.z * c[2][2]};
    for (const Vec3& d : ctx.ops.sampleDiagonal) {
      const double g33 = d.z * u.z;
      if (g33 < ctx.cosPhiMax) continue;
      const double g13 = d.x * u.x, g23 = d.y * u.y, g31 = d.z * v.x, g32 = d.z * v.y;
      if (!InSector(g32, g31, grid.region.phi2Max, ctx.cos2, ctx.sin2)) continue;
      if (!InSector(-g23, g13, grid.region.phi1Max, ctx.cos1, ctx.sin1)) continue;
      hits[count++] = {AngleDeg(g13, -g23), RadToDeg(std::acos(std::clamp(g33, -1.0, 1.0))), AngleDeg(g31, g32)};
    }
  }
  std::uint32_t cells[8];
  double weights[8];
  for (int k = 0; k < count; ++k) {
    const int corners = CellCorners(grid, hits[k][0], hits[k][1], hits[k][2], cells, weights);
    for (int c = 0; c < corners; ++c) out.Add(cells[c], weight * weights[c] / count);
  }
}

void BuildRow(const PathContext& ctx, const PathRow& row, double step, RowAccumulator& acc, std::vector<Entry>& out) {
  out.clear();
  if (acc.dense.size() != ctx.grid.CellCount()) acc.dense.assign(ctx.grid.CellCount(), 0.0);
  acc.touched.clear();
  const int samples = std::max(8, static_cast<int>(std::lround(360.0 / step)));
  double total = 0;
  for (const Reflection& r : *row.reflections) total += r.weight;
  const Mat3 qr = RotationTakingZTo(row.direction);
  for (const Reflection& refl : *row.reflections)
    for (double sign : {1.0, -1.0}) {
      const Vec3 h{sign * refl.normal.x, sign * refl.normal.y, sign * refl.normal.z};
      const Mat3 qhT = Transposed(RotationTakingZTo(h));
      const double w = refl.weight / total / (2.0 * samples);
      for (int k = 0; k < samples; ++k) {
        const Mat3 g = MatMul(MatMul(qr, AxisRotationMatrix('Z', (k + 0.5) * 360.0 / samples)), qhT);
        EnterSample(ctx, g, w, acc);
      }
    }
  std::sort(acc.touched.begin(), acc.touched.end());
  for (std::uint32_t c : acc.touched) {
    out.push_back(Entry{c, static_cast<float>(acc.dense[c])});
    acc.dense[c] = 0;
  }
}

}  // namespace

double DefaultPathStep(const OdfGrid& grid) { return grid.resolution / 2; }

bool BuildPaths(const OdfGrid& grid, const SymmetryOps& ops, const std::vector<PathRow>& rows, double step, int threads,
                const WorkControl& control, PathMatrix& out) {
  const PathContext ctx{grid,
                        ops,
                        std::cos(DegToRad(grid.region.PhiMax)) - 1e-12,
                        std::cos(DegToRad(grid.region.phi1Max)),
                        std::sin(DegToRad(grid.region.phi1Max)),
                        std::cos(DegToRad(grid.region.phi2Max)),
                        std::sin(DegToRad(grid.region.phi2Max))};
  const int workers = std::max(1, std::min(threads, static_cast<int>(rows.size() / 16) + 1));
  std::vector<std::vector<Entry>> built(rows.size());
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  const auto work = [&] {
    std::vector<Entry> scratch;
    RowAccumulator acc;
    for (std::size_t r = next++; r < rows.size() && !stop; r = next++) {
      BuildRow(ctx, rows[r], step, acc, scratch);
      built[r] = scratch;
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < workers; ++t) pool.emplace_back(work);
  // The calling thread works too and alone answers to the caller's control.
  {
    std::vector<Entry> scratch;
    RowAccumulator acc;
    for (std::size_t r = next++; r < rows.size() && !stop; r = next++) {
      BuildRow(ctx, rows[r], step, acc, scratch);
      built[r] = scratch;
      if (control.Cancelled()) stop = true;
    }
  }
  for (std::thread& t : pool) t.join();
  if (stop) return false;
  out = PathMatrix{};
  std::size_t total = 0;
  for (const auto& row : built) total += row.size();
  out.cell.reserve(total);
  out.weight.reserve(total);
  out.rowStart.reserve(rows.size() + 1);
  for (const auto& row : built) {
    for (const Entry& e : row) {
      out.cell.push_back(e.cell);
      out.weight.push_back(e.weight);
    }
    out.rowStart.push_back(out.cell.size());
  }
  return true;
}

void Project(const PathMatrix& m, const std::vector<double>& f, std::vector<double>& out) {
  out.assign(m.Rows(), 0.0);
  for (std::size_t r = 0; r < m.Rows(); ++r) {
    double sum = 0;
    for (std::size_t k = m.rowStart[r]; k < m.rowStart[r + 1]; ++k) sum += m.weight[k] * f[m.cell[k]];
    out[r] = sum;
  }
}

std::size_t DirectionReducer::Canonical(const Vec3& r) {
  std::array<long long, 3> best{};
  Vec3 bestVec{};
  bool any = false;
  for (const Vec3& d : ops_.sampleDiagonal)
    for (double sign : {1.0, -1.0}) {
      const Vec3 c{sign * d.x * r.x, sign * d.y * r.y, sign * d.z * r.z};
      const std::array<long long, 3> key{std::llround(c.z * 1e6), std::llround(c.x * 1e6), std::llround(c.y * 1e6)};
      if (key[0] < 0) continue;
      if (!any || key > best) {
        best = key;
        bestVec = c;
        any = true;
      }
    }
  const auto less = [this](std::size_t k, const std::array<long long, 3>& key) { return keys_[k] < key; };
  const auto at = std::lower_bound(order_.begin(), order_.end(), best, less);
  if (at != order_.end() && keys_[*at] == best) return *at;
  keys_.push_back(best);
  unique_.push_back(Normalized(bestVec));
  order_.insert(at, keys_.size() - 1);
  return keys_.size() - 1;
}

}  // namespace quorix
