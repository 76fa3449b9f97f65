// Directions, unit vectors, 3x3 rotation matrices and rotation lists.
// Angles in degrees at the interfaces unless a name says radians.
#pragma once

#include <array>
#include <vector>

namespace quorix {

inline constexpr double kPi = 3.1415926535897932385;

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

using Mat3 = std::array<std::array<double, 3>, 3>;  // row-major, v' = M v

struct RotationEntry {
  char axis = 'X';   // 'X', 'Y' or 'Z'
  double angle = 0;  // degrees
};
// Applied from the first entry to the last.
using RotationList = std::vector<RotationEntry>;

double DegToRad(double deg);
double RadToDeg(double rad);
double ArcCosClamped(double x);  // radians

Vec3 DirectionToVector(double alpha, double beta);

struct Direction {
  double alpha = 0;
  double beta = 0;
  bool inLower = true;  // the vector lay in z >= 0 before folding
};
Direction VectorToDirection(const Vec3& v);

Mat3 IdentityMatrix();
Mat3 AxisRotationMatrix(char axis, double angle);
Vec3 MatVec(const Mat3& m, const Vec3& v);
Mat3 MatMul(const Mat3& a, const Mat3& b);
double Dot(const Vec3& a, const Vec3& b);
double Norm(const Vec3& a);
double AngleBetween(const Vec3& a, const Vec3& b);  // radians
bool UnitNormal(const Vec3& a, const Vec3& b, Vec3& normal);
Vec3 RotateAboutAxis(const Vec3& v, char axis, double angle);

Mat3 AxisAngleMatrix(double phi, double theta, double omega);
struct AxisAngle {
  double phi = 0, theta = 0, omega = 0;
};
AxisAngle MatrixToAxisAngle(const Mat3& m);

// alpha = -1 on return marks a direction dropped from the hemisphere.
void RotateDirectionByMatrix(const Mat3& m, bool dropUpper, double& alpha, double& beta);
void RotateDirectionByList(const RotationList& list, bool dropUpper, double& alpha, double& beta);

void AppendRotation(RotationList& list, char axis, double angle);
void FreeRotations(RotationList& list);

}  // namespace quorix
