// A rotation picked by dragging in the plot.
#include "transform/rotation_pick.h"

#include <cmath>

#include "base/number_format.h"
#include "math/vector_math.h"

namespace quorix {

double RoundToFiveDegrees(double x) {
  if (!(x >= 0) || !std::isfinite(x)) return 0;  // negative, NaN and infinite
  // k is the smallest whole number >= 1 with 5k > x.
  const double k = std::floor(x / 5) + 1;
  return 5 * k - x < 2.5 ? 5 * k : 5 * (k - 1);
}

PickedRotation PickRotation(double alpha1, double beta1, double alpha2, double beta2, bool roundAngles) {
  if (roundAngles) {
    alpha1 = RoundToFiveDegrees(alpha1);
    beta1 = RoundToFiveDegrees(beta1);
    alpha2 = RoundToFiveDegrees(alpha2);
    beta2 = RoundToFiveDegrees(beta2);
  }
  const Vec3 s = DirectionToVector(alpha1, beta1);
  const Vec3 e = DirectionToVector(alpha2, beta2);
  Vec3 n;
  PickedRotation r;
  if (!UnitNormal(s, e, n)) return r;
  const Direction axis = VectorToDirection(n);
  r.valid = true;
  r.theta = axis.alpha;
  r.phi = axis.beta;
  r.omega = RadToDeg(AngleBetween(s, e));
  // The display turns by the inverse of the picked matrix, so the matrix
  // must carry E back onto S. Folding the axis reverses the sense of the
  // turn; of the two signs, the one whose matrix lands S on E is wrong.
  const double towardsE = AngleBetween(MatVec(AxisAngleMatrix(r.phi, r.theta, r.omega), s), e);
  const double awayFromE = AngleBetween(MatVec(AxisAngleMatrix(r.phi, r.theta, -r.omega), s), e);
  if (towardsE < awayFromE) r.omega = -r.omega;
  return r;
}

PickFields FormatPickFields(const PickedRotation& r) {
  return PickFields{FormatFixedPrecision(r.phi, 5, 1), FormatFixedPrecision(r.theta, 4, 1),
                    FormatFixedPrecision(r.omega, 5, 1)};
}

}  // namespace quorix
