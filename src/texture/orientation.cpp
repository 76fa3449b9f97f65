// Bunge Euler angles and rotation helpers of the texture layer.
#include "texture/orientation.h"

#include <algorithm>
#include <cmath>

namespace quorix {

Mat3 EulerToMatrix(const Euler& e) {
  return MatMul(MatMul(AxisRotationMatrix('Z', e.phi1), AxisRotationMatrix('X', e.Phi)),
                AxisRotationMatrix('Z', e.phi2));
}

namespace {
double Wrap360(double deg) {
  double w = std::fmod(deg, 360.0);
  if (w < 0) w += 360.0;
  return w >= 360.0 ? 0.0 : w;
}
}  // namespace

Euler MatrixToEuler(const Mat3& g) {
  Euler e;
  const double c = std::clamp(g[2][2], -1.0, 1.0);
  const double s = std::hypot(g[2][0], g[2][1]);
  if (s < 1e-9) {
    // On the axis only phi1 + phi2 (or phi1 - phi2) is defined.
    e.Phi = c > 0 ? 0.0 : 180.0;
    e.phi1 = Wrap360(RadToDeg(std::atan2(g[1][0], g[0][0])));
    return e;
  }
  e.Phi = RadToDeg(std::atan2(s, c));
  e.phi1 = Wrap360(RadToDeg(std::atan2(g[0][2], -g[1][2])));
  e.phi2 = Wrap360(RadToDeg(std::atan2(g[2][0], g[2][1])));
  return e;
}

Mat3 Transposed(const Mat3& m) {
  Mat3 t{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      t[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
          m[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)];
  return t;
}

double MisorientationAngle(const Mat3& a, const Mat3& b) {
  double trace = 0;
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t k = 0; k < 3; ++k) trace += a[k][i] * b[k][i];
  return RadToDeg(ArcCosClamped((trace - 1.0) / 2.0));
}

Vec3 Normalized(const Vec3& v) {
  const double n = Norm(v);
  return n > 0 ? Vec3{v.x / n, v.y / n, v.z / n} : Vec3{0, 0, 1};
}

Mat3 RotationTakingZTo(const Vec3& v) {
  const Vec3 z = Normalized(v);
  // Any unit x perpendicular to z; the rotation about z is free.
  Vec3 x = std::abs(z.z) < 0.9 ? Vec3{-z.y, z.x, 0} : Vec3{0, -z.z, z.y};
  x = Normalized(x);
  const Vec3 y{z.y * x.z - z.z * x.y, z.z * x.x - z.x * x.z, z.x * x.y - z.y * x.x};
  return Mat3{{{x.x, y.x, z.x}, {x.y, y.y, z.y}, {x.z, y.z, z.z}}};
}

}  // namespace quorix
