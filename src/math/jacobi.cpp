// Eigenvalues and eigenvectors of a symmetric 3x3 matrix by the cyclic
// Jacobi method with a falling threshold.
#include "math/jacobi.h"

#include <cmath>
#include <utility>

namespace quorix {

namespace {

// Both caps lie far above what a symmetric 3x3 matrix needs (about 20
// thresholds of a few sweeps each); they only keep damaged input bounded.
constexpr int kMaxThresholds = 200;
constexpr int kMaxSweeps = 100;

// The matrix, then its eigenvectors so far, as JacobiEigen, the one caller, holds them.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
void Rotate(Mat3& a, Mat3& v, int q, int p) {
  const double aqq = a[q][q];
  const double app = a[p][p];
  const double aqp = a[q][p];
  const double lambda = (aqq - app) / 2.0;
  double omega = -aqp / std::sqrt(aqp * aqp + lambda * lambda);
  if (lambda < 0) omega = -omega;
  const double sn = omega / std::sqrt(2.0 * (1.0 + std::sqrt(std::fmax(0.0, 1.0 - omega * omega))));
  const double cs = std::sqrt(std::fmax(0.0, 1.0 - sn * sn));
  for (int k = 0; k < 3; ++k) {
    if (k != q && k != p) {
      const double t = a[k][q];
      a[k][q] = t * cs - a[k][p] * sn;
      a[k][p] = t * sn + a[k][p] * cs;
    }
    const double t = v[k][q];
    v[k][q] = t * cs - v[k][p] * sn;
    v[k][p] = t * sn + v[k][p] * cs;
  }
  a[q][q] = aqq * cs * cs + app * sn * sn - 2.0 * aqp * sn * cs;
  a[p][p] = aqq * sn * sn + app * cs * cs + 2.0 * aqp * sn * cs;
  a[q][p] = (aqq - app) * sn * cs + aqp * (cs * cs - sn * sn);
  a[p][q] = a[q][p];
  for (int k = 0; k < 3; ++k) {
    a[q][k] = a[k][q];
    a[p][k] = a[k][p];
  }
}

}  // namespace

void JacobiEigen(Mat3& a, Mat3& v) {
  v = IdentityMatrix();
  double offSquares = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (i != j) offSquares += a[i][j] * a[i][j];
  const double nu0 = std::sqrt(offSquares);
  // A matrix without off-diagonal part is already diagonal; the rotation
  // would divide 0 by 0 there.
  if (nu0 > 0 && std::isfinite(nu0)) {
    const double eps = (nu0 / 3.0) * 1e-9;
    double nu = nu0;
    static constexpr int kPairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
    for (int round = 0; round < kMaxThresholds; ++round) {
      nu /= 3.0;
      for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
        bool rotated = false;
        for (const auto& pair : kPairs) {
          if (std::fabs(a[pair[0]][pair[1]]) >= nu) {
            Rotate(a, v, pair[0], pair[1]);
            rotated = true;
          }
        }
        if (!rotated) break;
      }
      if (!(nu > eps)) break;
    }
  }
  for (int i = 0; i < 2; ++i)
    for (int j = i + 1; j < 3; ++j)
      if (a[i][i] > a[j][j]) {
        std::swap(a[i][i], a[j][j]);
        for (int k = 0; k < 3; ++k) std::swap(v[k][i], v[k][j]);
      }
}

}  // namespace quorix
