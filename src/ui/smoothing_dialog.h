// "Gaussian smoothing": the dialog, its two tool-button shortcuts and the
// "Working..." progress window shown while smoothing runs.
#pragma once

#include <QDialog>
#include <QProgressDialog>

#include "ui/app_context.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace quorix {

class MainWindow;

// A gauge that repaints while the smoothing runs on the user-interface thread.
class SmoothingProgressDialog : public QProgressDialog {
  Q_OBJECT
 public:
  explicit SmoothingProgressDialog(QWidget* parent = nullptr);
  void Start(int maximum);
  void Step();
  void Finish();
};

class SmoothingDialog : public QDialog {
  Q_OBJECT
 public:
  SmoothingDialog(AppContext& context, MainWindow& mainform, QWidget* parent = nullptr);

  void SpinUpClick();
  void SpinDownClick();
  // Smooths PF[1] and, with "Apply to all pole figures", every visible window.
  void OKBtnClick();
  // Tool button "Smooth PF applying current settings": PF[1] at 5 degrees.
  void SmoothMain();
  // Tool button "All": OK with "Apply to all pole figures" switched on.
  void SmoothAllClick();

  SmoothingProgressDialog& WorkingWin() { return *working_; }

 private:
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QLineEdit* SpinEdit = nullptr;
  QToolButton* SpinUp = nullptr;    // the spin button's up half
  QToolButton* SpinDown = nullptr;  // the spin button's down half
  QCheckBox* AvoidNegValCheckBox = nullptr;
  QCheckBox* KeepContours = nullptr;
  QCheckBox* SmoothAll = nullptr;
  AppContext& context_;
  MainWindow& mainform_;
  SmoothingProgressDialog* working_ = nullptr;
};

}  // namespace quorix
