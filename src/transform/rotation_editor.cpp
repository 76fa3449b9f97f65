// The working state of the rotation dialog.
#include "transform/rotation_editor.h"

#include <optional>

#include "base/text_file.h"

namespace quorix {

void RotationEditor::Reset() {
  mode_ = RotationMode::None;
  matrix_ = IdentityMatrix();
  FreeRotations(rotations_);
  displayUnrotated_ = true;
}

void RotationEditor::Load(const RotationState& rotation) {
  mode_ = rotation.Mode;
  matrix_ = rotation.Matrix;
  rotations_ = rotation.List;
}

void RotationEditor::Show(const RotationSettings& settings) {
  upperHemisphere_ = settings.UpperHemisphere;
  triclin_ = settings.Triclin;
  if (mode_ != RotationMode::Matrix && mode_ != RotationMode::List) {
    mode_ = settings.DefaultMode;
    matrix_ = AxisAngleMatrix(0, 0, 0);
    axisInfo_ = "0/0  0";
    listInfo_ = kNoRotationText;
    return;
  }
  axisInfo_ = AxisInfoText(matrix_);
  listInfo_ = RotationListText(rotations_);
}

int RotationEditor::AddAxisAngle(const std::string& phi, const std::string& theta, const std::string& alpha) {
  const std::array<const std::string*, 3> texts{&phi, &theta, &alpha};
  std::array<double, 3> values{};
  for (int i = 0; i < 3; ++i) {
    const std::optional<double> v = ParseNumber(*texts[i]);
    if (!v) return i;
    values[i] = *v;
  }
  matrix_ = MatMul(matrix_, AxisAngleMatrix(values[0], values[1], values[2]));
  axisInfo_ = AxisInfoText(matrix_);
  return kAllParsed;
}

int RotationEditor::AddAxisRows(const std::array<AxisRow, 3>& rows) {
  int failed = kAllParsed;
  for (int i = 0; i < 3; ++i) {
    const char axis = AxisLetter(rows[i].tag);
    if (axis == '\0') continue;
    const std::optional<double> angle = ParseNumber(rows[i].angleText);
    if (!angle) {
      failed = i;
      break;
    }
    if (*angle != 0) AppendRotation(rotations_, axis, *angle);
  }
  if (failed != kAllParsed) {
    // The rows appended so far are shown even though the row stopped "Add".
    if (!rotations_.empty()) listInfo_ = RotationListText(rotations_);
    return failed;
  }
  if (rotations_.empty()) {
    mode_ = RotationMode::None;
    listInfo_ = kNoRotationText;
  } else {
    listInfo_ = RotationListText(rotations_);
  }
  return kAllParsed;
}

void RotationEditor::New() {
  if (mode_ == RotationMode::Matrix)
    matrix_ = IdentityMatrix();
  else
    FreeRotations(rotations_);
}

void RotationEditor::ApplyToDisplay(RotationState& display) {
  displayUnrotated_ = false;
  display.Mode = mode_;
  display.TriclinicSymmetry = triclin_;
  if (mode_ == RotationMode::Matrix)
    display.Matrix = matrix_;
  else
    display.List = rotations_;
}

}  // namespace quorix
