// " Options": units, grid points, triangles, eigenvalues, fill and projection.
#pragma once

#include <QDialog>

#include "ui/app_context.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace quorix {

class OptionsDialog : public QDialog {
  Q_OBJECT
 public:
  OptionsDialog(AppContext& context, QWidget* parent = nullptr);

  // Shows the options of the program and PF[1]; true after OK, when the
  // options, PF[1]'s lowest level and levels have changed. The caller then
  // sets the toolbar buttons, recomputes the levels of the visible
  // additional windows (RecomputeLevels) and redraws.
  bool ShowOptions();

  void mrdCheckBoxClick();
  void SpinButtonClick(bool up);
  void OKBtnClick();

 private:
  QCheckBox* mrdCheckBox = nullptr;
  QLabel* mrdLabel = nullptr;
  QCheckBox* GridCheckBox = nullptr;
  QLineEdit* SpinEdit = nullptr;
  QToolButton* SpinUpButton = nullptr;
  QToolButton* SpinDownButton = nullptr;
  QCheckBox* TriangleCheckBox = nullptr;
  QCheckBox* EigenCheckBox = nullptr;
  QCheckBox* FillCheckBox = nullptr;
  QCheckBox* MissingCheckBox = nullptr;
  QCheckBox* ZoomCheckBox = nullptr;
  QCheckBox* SmoothCheckBox = nullptr;
  QCheckBox* OneScaleCheckBox = nullptr;
  QRadioButton* StereoRadioButton = nullptr;
  QRadioButton* EqualARadioButton = nullptr;
  void FormShow();

  AppContext& context_;
};

}  // namespace quorix
