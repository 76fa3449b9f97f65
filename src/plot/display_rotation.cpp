// Where the plot draws a direction under the display rotation.
#include "plot/display_rotation.h"

#include <bit>
#include <cstdint>

namespace quorix {

DisplayRotation::DisplayRotation(const RotationState& state) : mode_(state.Mode), dropUpper_(state.TriclinicSymmetry) {
  if (mode_ == RotationMode::Matrix) {
    // The same axis turned the other way: the plot shows where each
    // measured direction went, the dialog stores how the frame turned.
    const AxisAngle a = MatrixToAxisAngle(state.Matrix);
    matrix_ = AxisAngleMatrix(a.phi, a.theta, -a.omega);
  } else if (mode_ == RotationMode::List) {
    list_ = state.List;
  } else {
    mode_ = RotationMode::None;
  }
}

MappedDirection DisplayRotation::Map(double alpha, double beta) const {
  MappedDirection out{alpha, beta, false, false};
  if (!Active()) return out;
  Vec3 v = DirectionToVector(alpha, beta);
  if (mode_ == RotationMode::Matrix) {
    v = MatVec(matrix_, v);
  } else {
    for (const RotationEntry& e : list_)
      if (e.angle != 0) v = RotateAboutAxis(v, e.axis, e.angle);
  }
  const Direction d = VectorToDirection(v);
  out.alpha = d.alpha;
  out.beta = d.beta;
  out.folded = !d.inLower;
  if (dropUpper_ && !d.inLower) {
    out.alpha = -1.0;
    out.dropped = true;
  }
  return out;
}

namespace {

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

}  // namespace

bool DisplayRotation::SameBits(const DisplayRotation& other) const {
  if (mode_ != other.mode_ || dropUpper_ != other.dropUpper_ || list_.size() != other.list_.size()) return false;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      if (!quorix::SameBits(matrix_[r][c], other.matrix_[r][c])) return false;
  for (std::size_t k = 0; k < list_.size(); ++k)
    if (list_[k].axis != other.list_[k].axis || !quorix::SameBits(list_[k].angle, other.list_[k].angle)) return false;
  return true;
}

}  // namespace quorix
