// The working state of the rotation dialog: one rotation about any axis or a
// list of rotations about X, Y and Z, built up with "New" and "Add".
#pragma once

#include <array>
#include <string>

#include "math/vector_math.h"
#include "record/program_state.h"
#include "transform/rotation_text.h"

namespace quorix {

class RotationEditor {
 public:
  struct AxisRow {
    int tag = 0;  // 0 "none", 1..3 X, Y, Z
    std::string angleText;
  };
  static constexpr int kAllParsed = -1;

  // No rotation: identity, empty list; the pointer read-out may
  // offer grid values again.
  void Reset();
  // An owner hands over its rotation before showing the dialog.
  void Load(const RotationState& rotation);
  // On showing: settings from the configuration file; mode None becomes the
  // configured default with the identity matrix.
  void Show(const RotationSettings& settings);

  // Mode Matrix: the rotation (phi, theta, alpha) multiplied on the right of the
  // matrix. Returns kAllParsed, or 0..2 for the first field that does not
  // parse (nothing changes then).
  int AddAxisAngle(const std::string& phi, const std::string& theta, const std::string& alpha);
  // Modes List and None: rows with an axis and a non-zero angle are appended in
  // order. Returns kAllParsed, or the index of the row whose angle does not
  // parse; rows before it stay appended.
  int AddAxisRows(const std::array<AxisRow, 3>& rows);
  // Starts afresh: identity in mode Matrix, an empty list otherwise. The caller
  // follows it with the "Add" of the current mode.
  void New();

  // OK for the main display.
  void ApplyToDisplay(RotationState& display);

  RotationMode Mode() const { return mode_; }
  void SetMode(RotationMode mode) { mode_ = mode; }
  const Mat3& Matrix() const { return matrix_; }
  const RotationList& Rotations() const { return rotations_; }
  bool UpperHemisphere() const { return upperHemisphere_; }
  void SetUpperHemisphere(bool upper) { upperHemisphere_ = upper; }
  bool Triclin() const { return triclin_; }
  void SetTriclin(bool triclin) { triclin_ = triclin; }
  bool DisplayUnrotated() const { return displayUnrotated_; }
  void SetDisplayUnrotated(bool unrotated) { displayUnrotated_ = unrotated; }

  // The texts of "Current:" for the two kinds of rotation.
  const std::string& AxisInfo() const { return axisInfo_; }
  const std::string& ListInfo() const { return listInfo_; }

 private:
  RotationMode mode_ = RotationMode::None;
  Mat3 matrix_ = IdentityMatrix();
  // A copy of the owner's list: entries added in the dialog reach the owner
  // only with OK, so that Cancel leaves it as it was.
  RotationList rotations_;
  bool upperHemisphere_ = true;
  bool triclin_ = false;
  bool displayUnrotated_ = true;
  std::string axisInfo_ = "0/0  0";
  std::string listInfo_ = kNoRotationText;
};

}  // namespace quorix
