// "Parameters": the width of the Gaussian and the sections for turning
// directional data into a density pole figure.
#pragma once

#include <QDialog>
#include <array>

#include "math/vector_math.h"
#include "record/program_state.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quorix {

class RotationDialog;

struct DensityParameters {
  int fwhm = 5;           // degrees
  bool sections = false;  // three sections X, Y, Z
  std::array<double, 3> angles{90, 90, 0};
  // Chosen with "Rotate ..." for a single set.
  RotationState rotation;

  bool HasRotation() const;
};

class DensityDialog : public QDialog {
  Q_OBJECT
 public:
  explicit DensityDialog(QWidget* parent = nullptr);
  // The dialog "Rotate ..." opens; without one the button does nothing.
  void SetRotationDialog(RotationDialog* dialog) { rotationDlg_ = dialog; }

  void DensityRotBtnClick();
  void SectionsCheckBoxClick();
  void OKBtnClick();
  void CancelBtnClick();

  // What was confirmed with OK.
  const DensityParameters& Parameters() const { return parameters_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QSpinBox* FWHMSpinEdit = nullptr;
  QCheckBox* SectionsCheckBox = nullptr;
  QLabel* RotationsLabel = nullptr;
  QLineEdit* XEdit = nullptr;
  QLineEdit* YEdit = nullptr;
  QLineEdit* ZEdit = nullptr;
  QPushButton* DensityRotBtn = nullptr;
  QPushButton* DensityOKBtn = nullptr;
  QPushButton* DensityCancelBtn = nullptr;
  void FormShow();
  void ResetRotation();

  RotationDialog* rotationDlg_ = nullptr;
  std::array<QLabel*, 3> axisLabels_{};
  DensityParameters parameters_;
};

}  // namespace quorix
