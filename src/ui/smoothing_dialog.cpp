// The "Gaussian smoothing" dialog, its tool buttons and the "Working..." gauge.
#include "ui/smoothing_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <atomic>

#include "base/number_format.h"
#include "base/text_file.h"
#include "transform/radial_kernel.h"
#include "transform/smoothing.h"
#include "ui/main_window.h"
#include "ui/plot_window.h"

namespace quorix {

SmoothingProgressDialog::SmoothingProgressDialog(QWidget* parent) : QProgressDialog(parent) {
  setWindowTitle("Working...");
  setLabelText("Working...");
  setCancelButtonText("Cancel");
  setWindowModality(Qt::ApplicationModal);
  setMinimumDuration(0);
  setAutoClose(false);
  setAutoReset(false);
  // The base class arms a timer that would show the gauge on its own later.
  reset();
  hide();
}

void SmoothingProgressDialog::Start(int maximum) {
  setRange(0, std::max(maximum, 1));
  setValue(0);
  show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SmoothingProgressDialog::Step() {
  setValue(std::min(value() + 1, maximum()));
  // The smoothing runs on this thread: let the gauge paint and hear Cancel
  // (the gauge is modal, so no other window takes a click meanwhile).
  QCoreApplication::processEvents();
}

void SmoothingProgressDialog::Finish() {
  hide();
  reset();  // setValue(0) in Start armed the show timer again
}

SmoothingDialog::SmoothingDialog(AppContext& context, MainWindow& mainform, QWidget* parent)
    : QDialog(parent), context_(context), mainform_(mainform) {
  setWindowTitle("Gaussian smoothing");
  setObjectName("PlotSmoDlg");

  SpinEdit = new QLineEdit("5", this);
  SpinEdit->setObjectName("SpinEdit");
  SpinUp = new QToolButton(this);
  SpinUp->setObjectName("SpinUp");
  SpinUp->setArrowType(Qt::UpArrow);
  SpinDown = new QToolButton(this);
  SpinDown->setObjectName("SpinDown");
  SpinDown->setArrowType(Qt::DownArrow);
  auto* spin = new QVBoxLayout;
  spin->setSpacing(0);
  spin->addWidget(SpinUp);
  spin->addWidget(SpinDown);
  auto* width = new QHBoxLayout;
  width->addWidget(new QLabel("FWHM (deg):", this));
  width->addWidget(SpinEdit);
  width->addLayout(spin);

  AvoidNegValCheckBox = new QCheckBox("Exclude negative values", this);
  AvoidNegValCheckBox->setObjectName("AvoidNegValCheckBox");
  KeepContours = new QCheckBox("Keep contour levels", this);
  KeepContours->setObjectName("KeepContours");
  KeepContours->setChecked(true);
  SmoothAll = new QCheckBox("Apply to all pole figures", this);
  SmoothAll->setObjectName("SmoothAll");

  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(width);
  layout->addWidget(AvoidNegValCheckBox);
  layout->addWidget(KeepContours);
  layout->addWidget(SmoothAll);
  layout->addLayout(buttons);

  connect(SpinUp, &QToolButton::clicked, this, &SmoothingDialog::SpinUpClick);
  connect(SpinDown, &QToolButton::clicked, this, &SmoothingDialog::SpinDownClick);
  connect(OKBtn, &QPushButton::clicked, this, &SmoothingDialog::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  working_ = new SmoothingProgressDialog(parent ? parent : this);
}

void SmoothingDialog::SpinUpClick() {
  const auto w = SpinWidth(SpinEdit->text().toStdString(), true);
  if (!w) {
    SpinEdit->setFocus();
    return;
  }
  SpinEdit->setText(QString::fromStdString(FormatGeneral(*w)));
}

void SmoothingDialog::SpinDownClick() {
  const auto w = SpinWidth(SpinEdit->text().toStdString(), false);
  if (!w) {
    SpinEdit->setFocus();
    return;
  }
  SpinEdit->setText(QString::fromStdString(FormatGeneral(*w)));
}

void SmoothingDialog::OKBtnClick() {
  const std::optional<double> width = ParseNumber(SpinEdit->text().toStdString());
  if (!width) {
    SpinEdit->setFocus();
    return;
  }
  if (const std::string problem = FwhmProblem(*width); !problem.empty()) {
    QMessageBox::warning(this, windowTitle(), QString::fromStdString(problem));
    SpinEdit->setFocus();
    return;
  }
  PoleFigure* main = context_.set.PF[1].get();
  if (!main) return;
  SmoothingSettings settings;
  settings.fwhm = *width;
  settings.excludeNegative = AvoidNegValCheckBox->isChecked();
  settings.keepLevels = KeepContours->isChecked();
  const bool showMrd = context_.state.Options.ShowMrd;

  std::vector<int> windows;
  if (SmoothAll->isChecked())
    for (int n = 2; n <= kSlotCount; ++n)
      if (mainform_.WindowVisible(n)) windows.push_back(n);
  int visible = 0;
  for (int n = 2; n <= kSlotCount; ++n)
    if (mainform_.WindowVisible(n)) ++visible;

  working_->Start((1 + visible) * main->CircleCount);
  // Cancel stops the pole figure being smoothed, which stays as it was;
  // those finished before it keep their smoothing (and make the undo step).
  std::atomic<bool> cancel{false};
  const auto step = [this, &cancel] {
    working_->Step();
    if (working_->wasCanceled()) cancel = true;
  };
  const auto smooth = [&](PoleFigure& pf) {
    return !cancel && SmoothPoleFigure(pf, settings, showMrd, step, 0, &cancel, &context_.smoothingPlans);
  };
  std::vector<int> targets{1};
  targets.insert(targets.end(), windows.begin(), windows.end());
  mainform_.ChangePoleFigures("Smooth Pole Figures", targets, [&] {
    if (smooth(*main)) {
      working_->Step();
      mainform_.RedrawMain();
    }
    for (int n : windows) {
      if (!context_.set.PF[n] || !smooth(*context_.set.PF[n])) continue;
      if (PlotWindow* w = mainform_.Window(n)) w->Redraw();
    }
    return true;
  });
  working_->Finish();
  accept();
  // Hiding the gauge leaves no window active; the keys belong to the main window.
  mainform_.activateWindow();
}

void SmoothingDialog::SmoothMain() {
  PoleFigure* main = context_.set.PF[1].get();
  if (!main) return;
  SmoothingSettings settings;
  settings.fwhm = 5;
  settings.excludeNegative = false;
  settings.keepLevels = true;
  working_->Start(main->CircleCount);
  mainform_.ChangePoleFigures("Smooth", {1}, [&] {
    SmoothPoleFigure(
        *main, settings, context_.state.Options.ShowMrd, [this] { working_->Step(); }, 0, nullptr,
        &context_.smoothingPlans);
    return true;
  });
  working_->Finish();
  mainform_.RedrawMain();
  mainform_.activateWindow();
}

void SmoothingDialog::SmoothAllClick() {
  const bool wasOn = SmoothAll->isChecked();
  SmoothAll->setChecked(true);
  OKBtnClick();
  if (!wasOn) SmoothAll->setChecked(false);
}

}  // namespace quorix
