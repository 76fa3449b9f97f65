// Orientations as rotation matrices that map crystal coordinates to sample
// coordinates (r = g h), and their Bunge Euler angles.
#pragma once

#include "math/vector_math.h"

namespace quorix {

// Bunge angles in degrees: g = Rz(phi1) Rx(Phi) Rz(phi2).
struct Euler {
  double phi1 = 0, Phi = 0, phi2 = 0;
};

Mat3 EulerToMatrix(const Euler& e);
// phi1, phi2 in [0, 360), Phi in [0, 180]; on the axis (Phi 0 or 180) phi2 is 0.
Euler MatrixToEuler(const Mat3& g);

Mat3 Transposed(const Mat3& m);
// The rotation angle of a^T b in degrees.
double MisorientationAngle(const Mat3& a, const Mat3& b);
// A rotation taking the z axis to the unit vector `v`.
Mat3 RotationTakingZTo(const Vec3& v);
Vec3 Normalized(const Vec3& v);

}  // namespace quorix
