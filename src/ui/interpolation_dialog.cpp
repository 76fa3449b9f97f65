// The " Interpolation" dialog: output grid and file, rotation, number format.
#include "ui/interpolation_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/settings.h"
#include "transform/interpolation.h"
#include "ui/load_files_dialog.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/plot_window.h"
#include "ui/rotation_dialog.h"

namespace quorix {

namespace {

const char* const kDataFilter =
    "Interpolated Pole Figures (*.y*)|*.y*|All Pole Figures (*.x*, *.y*, *.s*)|*.x*;*.y*;*.s*|All Files (*.*)|*.*";
const char* const kGridFilter = "Raster Files (*.rst, *.grd)|*.rst;*.grd|All Files (*.*)|*.*";
// "*.y*" is a pattern, not an extension a file can have: the first of its
// series stands for it, as ".z01" does for the ASCII save.
const char* const kInterpolatedSuffix = "y01";

// The interpolation writes one value per line unless configured otherwise.
SaveFormat InterpolationFormatDefaults() {
  SaveFormat f;
  f.ValuesPerLine = 1;
  f.Width = 8;
  f.Decimals = 3;
  f.FactorExponent = 0;
  f.LineEndAfterCircle = false;
  return f;
}

}  // namespace

InterpolationDialog::InterpolationDialog(AppContext& context, MainWindow& mainform, QWidget* parent)
    : QDialog(parent), context_(context), mainform_(mainform) {
  setWindowTitle(" Interpolation");
  setObjectName("InterpolDlg");
  setModal(false);

  outDataEdit = new QLineEdit(this);
  outDataEdit->setObjectName("outDataEdit");
  OutGridEdit = new QLineEdit(this);
  OutGridEdit->setObjectName("OutGridEdit");
  DataSearchBtn = new QPushButton("Search...", this);
  DataSearchBtn->setObjectName("DataSearchBtn");
  GridSearchBtn = new QPushButton("Search...", this);
  GridSearchBtn->setObjectName("GridSearchBtn");
  auto* files = new QGridLayout;
  files->addWidget(new QLabel("Output data File:", this), 0, 0);
  files->addWidget(outDataEdit, 0, 1);
  files->addWidget(DataSearchBtn, 0, 2);
  files->addWidget(new QLabel("Output Grid File:", this), 1, 0);
  files->addWidget(OutGridEdit, 1, 1);
  files->addWidget(GridSearchBtn, 1, 2);

  auto* options = new QGroupBox(" Options ", this);
  ZeroCheckBox = new QCheckBox(" Set negative values to 0.0", options);
  ZeroCheckBox->setObjectName("ZeroCheckBox");
  ZeroCheckBox->setChecked(true);
  auto* optionsLayout = new QVBoxLayout(options);
  optionsLayout->addWidget(ZeroCheckBox);

  auto* format = new QGroupBox(" Data Format ", this);
  FormatPanel = new QLabel(format);
  FormatPanel->setObjectName("FormatPanel");
  FormatPanel->setFrameShape(QFrame::Panel);
  FormatPanel->setFrameShadow(QFrame::Sunken);
  ChgFormatBtn = new QPushButton("Change...", format);
  ChgFormatBtn->setObjectName("ChgFormatBtn");
  ChgFormatBtn->setEnabled(false);
  auto* formatLayout = new QHBoxLayout(format);
  formatLayout->addWidget(FormatPanel, 1);
  formatLayout->addWidget(ChgFormatBtn);

  RotateButton = new QPushButton(" Rotate", this);
  RotateButton->setObjectName("RotateButton");
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  OKBtn->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(RotateButton);
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(files);
  layout->addWidget(options);
  layout->addWidget(format);
  layout->addLayout(buttons);

  connect(DataSearchBtn, &QPushButton::clicked, this, &InterpolationDialog::DataSearchClick);
  connect(GridSearchBtn, &QPushButton::clicked, this, &InterpolationDialog::GridSearchClick);
  connect(ChgFormatBtn, &QPushButton::clicked, this, &InterpolationDialog::ChgFormatBtnClick);
  connect(RotateButton, &QPushButton::clicked, this, &InterpolationDialog::RotateButtonClick);
  connect(OKBtn, &QPushButton::clicked, this, &InterpolationDialog::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  OutGridEdit->setText(QString::fromStdString(ReadInterpolationGrid(context_.ini)));
  format_ = ReadSaveFormat(context_.ini, InterpolationFormatDefaults());
  ShowFormat();
}

void InterpolationDialog::SetFormatEditor(std::function<bool(SaveFormat&)> editor) {
  formatEditor_ = std::move(editor);
  ChgFormatBtn->setEnabled(static_cast<bool>(formatEditor_));
}

void InterpolationDialog::ShowFormat() { FormatPanel->setText(QString::fromStdString(StandardName(format_))); }

void InterpolationDialog::Open(bool rotateAtOnce) {
  show();
  raise();
  activateWindow();
  if (rotateAtOnce) RotateButtonClick();
}

void InterpolationDialog::showEvent(QShowEvent* event) {
  // Every showing starts without rotation.
  rotation_.Mode = RotationMode::None;
  rotation_.List.clear();
  ShowFormat();
  QDialog::showEvent(event);
}

void InterpolationDialog::hideEvent(QHideEvent* event) {
  rotation_.List.clear();
  QDialog::hideEvent(event);
}

void InterpolationDialog::RotateButtonClick() {
  if (!rotationDlg_) return;
  RotationState chosen = rotation_;
  if (!rotationDlg_->ShowForOwner(chosen)) return;
  rotation_.TakeChosenKind(chosen);
}

void InterpolationDialog::ChgFormatBtnClick() {
  if (!formatEditor_) return;
  SaveFormat f = format_;
  if (!formatEditor_(f)) return;
  format_ = f;
  ShowFormat();
}

void InterpolationDialog::DataSearchClick() {
  QFileDialog dialog(this, "Output Pole Figure File");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(kInterpolatedSuffix);
  dialog.setDirectory(QString::fromStdString(context_.state.DataPath));
  dialog.setNameFilters(FileDialogFilters(kDataFilter));
  if (const PoleFigure* pf = context_.set.PF[1].get(); pf && !pf->FileName.empty())
    dialog.selectFile(QFileInfo(QString::fromStdString(pf->FileName)).completeBaseName() + "." + kInterpolatedSuffix);
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    outDataEdit->setText(dialog.selectedFiles().first());
}

void InterpolationDialog::GridSearchClick() {
  QFileDialog dialog(this, "Output Grid");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDirectory(QString::fromStdString(context_.state.GridPath));
  dialog.setNameFilters(FileDialogFilters(kGridFilter));
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    OutGridEdit->setText(dialog.selectedFiles().first());
}

void InterpolationDialog::OKBtnClick() {
  InterpolationRequest request;
  request.gridFile = OutGridEdit->text().toStdString();
  request.rotation = rotation_;
  request.zeroNegative = ZeroCheckBox->isChecked();

  std::vector<int> windows;
  for (int n = 2; n <= kSlotCount; ++n)
    if (mainform_.WindowVisible(n)) windows.push_back(n);

  MessageBoxSink sink(this);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  InterpolationStatus status = InterpolationStatus::Done;
  std::vector<int> targets{1};
  targets.insert(targets.end(), windows.begin(), windows.end());
  mainform_.ChangePoleFigures("Interpolation", targets, [&] {
    status = InterpolateSet(context_.set, windows, request, context_.state, sink, [this](int n) {
      if (n == 1)
        mainform_.RedrawMain();
      else if (PlotWindow* w = mainform_.Window(n))
        w->Redraw();
    });
    return status == InterpolationStatus::Done;
  });
  QApplication::restoreOverrideCursor();
  if (status != InterpolationStatus::Done) {
    OutGridEdit->setFocus();
    return;
  }
  rotation_.Matrix = IdentityMatrix();
  rotation_.List.clear();
  const std::string dataFile = outDataEdit->text().toStdString();
  if (!dataFile.empty() && context_.set.PF[1]) {
    AsciiWriteOptions w;
    w.SetNegativeToZero = ZeroCheckBox->isChecked();
    w.Format = format_;
    if (WritePFASCII(*context_.set.PF[1], dataFile, w, sink)) {
      context_.set.PF[1]->Modified = false;
      mainform_.ShowSaved(dataFile);
    }
  }
  close();
}

}  // namespace quorix
