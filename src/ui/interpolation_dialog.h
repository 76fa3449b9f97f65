// " Interpolation": the pole figures re-gridded onto an output grid,
// optionally rotated, and PF[1] optionally written as an ASCII file.
#pragma once

#include <QDialog>
#include <functional>

#include "io/ascii_writer.h"
#include "math/vector_math.h"
#include "ui/app_context.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorix {

class MainWindow;
class RotationDialog;

class InterpolationDialog : public QDialog {
  Q_OBJECT
 public:
  InterpolationDialog(AppContext& context, MainWindow& mainform, QWidget* parent = nullptr);

  // The rotation dialog that " Rotate" hands the rotation to.
  void SetRotationDialog(RotationDialog* dialog) { rotationDlg_ = dialog; }
  // The output format dialog behind "Change...": it edits the format and
  // returns true on OK. Without it the button stays disabled.
  void SetFormatEditor(std::function<bool(SaveFormat&)> editor);

  // Menu "&Interpolation" (modeless); with `rotateAtOnce` (the drag pick with
  // the right button) " Rotate" is performed right away.
  void Open(bool rotateAtOnce);

  void OKBtnClick();
  void RotateButtonClick();
  void ChgFormatBtnClick();
  void DataSearchClick();
  void GridSearchClick();

  const RotationState& Rotation() const { return rotation_; }
  const SaveFormat& Format() const { return format_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QCheckBox* ZeroCheckBox = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QLineEdit* outDataEdit = nullptr;
  QLineEdit* OutGridEdit = nullptr;
  QPushButton* DataSearchBtn = nullptr;
  QPushButton* GridSearchBtn = nullptr;
  QLabel* FormatPanel = nullptr;
  QPushButton* ChgFormatBtn = nullptr;
  QPushButton* RotateButton = nullptr;  // " Rotate"
  void ShowFormat();

  AppContext& context_;
  MainWindow& mainform_;
  RotationDialog* rotationDlg_ = nullptr;
  std::function<bool(SaveFormat&)> formatEditor_;
  RotationState rotation_;
  SaveFormat format_;
};

}  // namespace quorix
