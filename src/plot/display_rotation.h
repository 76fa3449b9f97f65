// Where the plot draws a direction of the pole figure while a display
// rotation is active: the grid stays as measured, only the drawing turns.
#pragma once

#include "math/vector_math.h"
#include "record/program_state.h"

namespace quorix {

struct MappedDirection {
  double alpha = 0;
  double beta = 0;
  bool dropped = false;  // left the hemisphere under "triclin"; alpha is -1
  bool folded = false;   // left the hemisphere and is shown at its antipode
};

class DisplayRotation {
 public:
  DisplayRotation() = default;  // no rotation
  // Mode Matrix uses the inverse of the accumulated matrix, built here so that
  // the caller's state stays untouched.
  explicit DisplayRotation(const RotationState& state);

  RotationMode Mode() const { return mode_; }
  bool Active() const { return mode_ != RotationMode::None; }
  // The matrix applied in mode Matrix (the inverse of the state's matrix).
  const Mat3& Matrix() const { return matrix_; }

  MappedDirection Map(double alpha, double beta) const;

  // The same mapping: equal in every bit of what Map uses.
  bool SameBits(const DisplayRotation& other) const;

 private:
  RotationMode mode_ = RotationMode::None;
  bool dropUpper_ = false;
  Mat3 matrix_ = IdentityMatrix();
  RotationList list_;
};

}  // namespace quorix
