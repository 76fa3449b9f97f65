// Directions, unit vectors, 3x3 rotation matrices and rotation lists.
#include "math/vector_math.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace quorix {

namespace {

// Components this close to 0 or +-1 are made exact so that axis directions
// survive the round trip through sine and cosine unchanged.
double Snap(double u) {
  if (std::fabs(u) < 1e-6) return 0.0;
  if (u > 0.999999) return 1.0;
  if (u < -0.999999) return -1.0;
  return u;
}

}  // namespace

double DegToRad(double deg) { return deg * kPi / 180.0; }

double RadToDeg(double rad) { return rad * 180.0 / kPi; }

double ArcCosClamped(double x) {
  if (x > 0.999999) return 0.0;
  if (x < -0.999999) return 3.141592653589793;
  return kPi / 2.0 - std::atan(x / std::sqrt(1.0 - x * x));
}

Vec3 DirectionToVector(double alpha, double beta) {
  const double a = DegToRad(alpha);
  const double b = DegToRad(beta);
  const double sa = std::sin(a);
  return Vec3{Snap(sa * std::cos(b)), Snap(sa * std::sin(b)), Snap(std::cos(a))};
}

Direction VectorToDirection(const Vec3& v) {
  Direction d;
  d.alpha = RadToDeg(ArcCosClamped(v.z));
  if (std::fabs(v.x) < 1e-6) {
    d.beta = v.y < 0 ? -90.0 : 90.0;
  } else {
    d.beta = RadToDeg(std::atan(v.y / v.x));
    if (v.x < 0) d.beta += 180.0;
  }
  if (d.alpha > 90.0) {
    d.alpha = 180.0 - d.alpha;
    d.beta += 180.0;
    d.inLower = false;
  } else {
    d.inLower = true;
  }
  if (d.beta < 0) d.beta += 360.0;
  if (d.beta >= 360.0) d.beta -= 360.0;
  if (std::fabs(d.beta) < 1e-6) d.beta = 0.0;
  return d;
}

Mat3 IdentityMatrix() {
  Mat3 m{};
  for (int i = 0; i < 3; ++i) m[i][i] = 1.0;
  return m;
}

Mat3 AxisRotationMatrix(char axis, double angle) {
  const double r = DegToRad(angle);
  const double co = std::cos(r);
  const double si = std::sin(r);
  switch (std::toupper(static_cast<unsigned char>(axis))) {
    case 'X': return Mat3{{{1, 0, 0}, {0, co, -si}, {0, si, co}}};
    case 'Y': return Mat3{{{co, 0, si}, {0, 1, 0}, {-si, 0, co}}};
    case 'Z': return Mat3{{{co, -si, 0}, {si, co, 0}, {0, 0, 1}}};
    default: return IdentityMatrix();  // no such axis: leave vectors alone
  }
}

Vec3 MatVec(const Mat3& m, const Vec3& v) {
  return Vec3{m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
              m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

Mat3 MatMul(const Mat3& a, const Mat3& b) {
  Mat3 c{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double s = 0;
      for (int k = 0; k < 3; ++k) s += a[i][k] * b[k][j];
      c[i][j] = s;
    }
  return c;
}

double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double Norm(const Vec3& a) { return std::sqrt(Dot(a, a)); }

double AngleBetween(const Vec3& a, const Vec3& b) {
  const double n = Norm(a) * Norm(b);
  if (!(n > 0)) return 0.0;  // a null vector has no direction to compare
  return ArcCosClamped(Dot(a, b) / n);
}

bool UnitNormal(const Vec3& a, const Vec3& b, Vec3& normal) {
  if (AngleBetween(a, b) < 1e-6) return false;
  const Vec3 n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  const double len = Norm(n);
  // Antiparallel vectors pass the angle test but span no plane either.
  if (!(len > 0) || !std::isfinite(len)) return false;
  normal = Vec3{n.x / len, n.y / len, n.z / len};
  return true;
}

Vec3 RotateAboutAxis(const Vec3& v, char axis, double angle) { return MatVec(AxisRotationMatrix(axis, angle), v); }

Mat3 AxisAngleMatrix(double phi, double theta, double omega) {
  // The axis's tilt theta is its alpha, the azimuth phi its beta ("theta" only spells like "beta").
  const Vec3 n = DirectionToVector(theta, phi);  // NOLINT(readability-suspicious-call-argument)
  const double r = DegToRad(omega);
  const double co = std::cos(r);
  const double si = std::sin(r);
  const double t = 1.0 - co;
  Mat3 m{};
  m[0][0] = t * n.x * n.x + co;
  m[0][1] = t * n.x * n.y + si * n.z;
  m[0][2] = t * n.x * n.z - si * n.y;
  m[1][0] = t * n.x * n.y - si * n.z;
  m[1][1] = t * n.y * n.y + co;
  m[1][2] = t * n.y * n.z + si * n.x;
  m[2][0] = t * n.x * n.z + si * n.y;
  m[2][1] = t * n.y * n.z - si * n.x;
  m[2][2] = t * n.z * n.z + co;
  return m;
}

AxisAngle MatrixToAxisAngle(const Mat3& m) {
  AxisAngle r;
  const double co = (m[0][0] + m[1][1] + m[2][2] - 1.0) / 2.0;
  const double si = std::sqrt(std::max(0.0, 1.0 - co * co));
  double omega = RadToDeg(ArcCosClamped(co));
  if (std::fabs(omega) < 1e-6) return r;
  Vec3 n;
  if (std::fabs(omega) <= 179.999999) {
    n.x = (m[1][2] - m[2][1]) / (2.0 * si);
    n.y = (m[2][0] - m[0][2]) / (2.0 * si);
    n.z = (m[0][1] - m[1][0]) / (2.0 * si);
  } else {
    // Half turn: the antisymmetric part vanishes, the axis comes from the
    // diagonal. Rounding may push (m + 1) / 2 a hair below zero.
    omega = 180.0;
    n.z = std::sqrt(std::max(0.0, (m[2][2] + 1.0) / 2.0));
    if (n.z < 1e-6) {
      n.z = 0.0;
      n.x = std::sqrt(std::max(0.0, (m[0][0] + 1.0) / 2.0));
      n.y = std::sqrt(std::max(0.0, (m[1][1] + 1.0) / 2.0));
    } else {
      n.x = m[2][0] / (2.0 * n.z);
      n.y = m[2][1] / (2.0 * n.z);
    }
  }
  const Direction d = VectorToDirection(n);
  r.theta = d.alpha;
  r.phi = d.beta;
  r.omega = n.z < 0 ? -omega : omega;
  if (std::fabs(r.theta) < 1e-6) r.phi = 0.0;
  return r;
}

namespace {

void FinishRotation(const Vec3& v, bool dropUpper, double& alpha, double& beta) {
  const Direction d = VectorToDirection(v);
  alpha = d.alpha;
  beta = d.beta;
  if (dropUpper && !d.inLower) alpha = -1.0;
}

}  // namespace

void RotateDirectionByMatrix(const Mat3& m, bool dropUpper, double& alpha, double& beta) {
  FinishRotation(MatVec(m, DirectionToVector(alpha, beta)), dropUpper, alpha, beta);
}

void RotateDirectionByList(const RotationList& list, bool dropUpper, double& alpha, double& beta) {
  Vec3 v = DirectionToVector(alpha, beta);
  for (const RotationEntry& e : list)
    if (e.angle != 0) v = RotateAboutAxis(v, e.axis, e.angle);
  FinishRotation(v, dropUpper, alpha, beta);
}

void AppendRotation(RotationList& list, char axis, double angle) { list.push_back({axis, angle}); }

void FreeRotations(RotationList& list) { list.clear(); }

}  // namespace quorix
