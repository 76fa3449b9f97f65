// " Rotation": one rotation about any axis or a list of rotations about X, Y
// and Z, for the display, the interpolation and the directional data.
#pragma once

#include <QDialog>
#include <array>

#include "transform/rotation_editor.h"
#include "ui/app_context.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace quorix {

class RotationPicture;

class RotationDialog : public QDialog {
  Q_OBJECT
 public:
  RotationDialog(AppContext& context, QWidget* parent = nullptr);

  // "&Rotate Grid": shows the display rotation; on OK it becomes the display
  // state (mode, matrix or list, symmetry) and true is returned for a redraw.
  bool ShowForDisplay();
  // The interpolation's own rotation, handed over and taken back on OK.
  bool ShowForOwner(RotationState& rotation);
  // After loading and before the directional-data dialog shows it.
  void ResetToNoRotation();
  // An owner's rotation becomes the display rotation, as OK on "&Rotate Grid" makes it.
  void ApplyToDisplay(const RotationState& rotation);
  // The drag pick fills the fields of the rotation about any axis.
  void SetPickedValues(double phi, double theta, double omega);
  bool DisplayUnrotated() const { return editor_.DisplayUnrotated(); }
  bool Triclin() const { return editor_.Triclin(); }

  std::array<QPushButton*, 3> AxisButtons{};
  std::array<QLineEdit*, 3> AngleEdits{};

  void AddBtnClick();
  void NewBtnClick();
  void AxisButtonClick(int row);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QLineEdit* AlphaEdit = nullptr;
  QButtonGroup* RotationRadioGroup = nullptr;
  QButtonGroup* HemisphereRadioGroup = nullptr;
  QButtonGroup* SymmetryRadioGroup = nullptr;
  QGroupBox* HemisphereBox = nullptr;
  QGroupBox* SymmetryBox = nullptr;
  QLineEdit* PhiEdit = nullptr;
  QLineEdit* ThetaEdit = nullptr;
  QLabel* Axisinfopanel = nullptr;
  QLabel* InfoLabel = nullptr;
  QPushButton* NewBtn = nullptr;
  QPushButton* AddBtn = nullptr;
  void FormShow();
  void ShowModeGroup();
  void ShowTexts();

  AppContext& context_;
  RotationEditor editor_;
  std::array<int, 3> tags_{};
  QStackedWidget* pages_ = nullptr;
  std::array<RotationPicture*, 2> pictures_{};
};

}  // namespace quorix
