// The projection of the ODF onto pole figures: for a sample direction r and a
// plane normal h, the path {g : g h = r} through the reduced Euler cells,
// entered in every symmetric equivalent that lies in the region; a pole
// figure value is the mean of f along the path (and along that of -h).
#pragma once

#include <cstdint>
#include <vector>

#include "base/work_control.h"
#include "texture/odf.h"

namespace quorix {

// One reflection of a pole figure; superposed ones add with their weights.
struct Reflection {
  Vec3 normal;  // crystal frame, unit
  double weight = 1;
};

// A sparse matrix, one row per (direction, reflection set), the weights of a
// row summing to 1: P(row) = sum of weight * f(cell).
struct PathMatrix {
  std::vector<std::size_t> rowStart{0};
  std::vector<std::uint32_t> cell;
  std::vector<float> weight;
  std::size_t Rows() const { return rowStart.size() - 1; }
};

struct PathRow {
  Vec3 direction;  // sample frame, unit
  const std::vector<Reflection>* reflections = nullptr;
};

// The cells around a point (Euler angles in the region) and their trilinear
// weights, at most 8; f is read between cell centres.
int CellCorners(const OdfGrid& grid, double phi1, double Phi, double phi2, std::uint32_t* cells, double* weights);
double InterpolatedValue(const Odf& odf, const Euler& e);

// Steps per degree along a path; two per cell edge by default.
double DefaultPathStep(const OdfGrid& grid);

// The rows in order, built on up to `threads` threads; false when cancelled.
bool BuildPaths(const OdfGrid& grid, const SymmetryOps& ops, const std::vector<PathRow>& rows, double step, int threads,
                const WorkControl& control, PathMatrix& out);

// out[row] = sum of weight * f.
void Project(const PathMatrix& m, const std::vector<double>& f, std::vector<double>& out);

// Directions the sample symmetry and Friedel's law make equal share one
// representative: `Canonical` returns its index in `unique`, adding it when new.
class DirectionReducer {
 public:
  explicit DirectionReducer(const SymmetryOps& ops) : ops_(ops) {}
  std::size_t Canonical(const Vec3& r);
  const std::vector<Vec3>& Unique() const { return unique_; }

 private:
  const SymmetryOps& ops_;
  std::vector<Vec3> unique_;
  std::vector<std::array<long long, 3>> keys_;
  std::vector<std::size_t> order_;  // indices into keys_, sorted
};

}  // namespace quorix
