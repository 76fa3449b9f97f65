// "Parameters" of the density made from directional data.
#include "ui/density_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "base/text_file.h"
#include "ui/rotation_dialog.h"

namespace quorix {

bool DensityParameters::HasRotation() const {
  if (rotation.Mode == RotationMode::Matrix) return rotation.Matrix != IdentityMatrix();
  if (rotation.Mode == RotationMode::List) return !rotation.List.empty();
  return false;
}

DensityDialog::DensityDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Parameters");
  setObjectName("DensityDlg");
  setModal(true);

  FWHMSpinEdit = new QSpinBox(this);
  FWHMSpinEdit->setObjectName("FWHMSpinEdit");
  FWHMSpinEdit->setRange(1, 20);
  FWHMSpinEdit->setValue(5);
  // The width changes with the spin buttons only.
  if (auto* text = FWHMSpinEdit->findChild<QLineEdit*>()) text->setReadOnly(true);
  auto* width = new QHBoxLayout;
  width->addWidget(new QLabel("FWHM of the Gaussian:", this));
  width->addWidget(FWHMSpinEdit);
  width->addStretch();

  SectionsCheckBox = new QCheckBox("Combine crack data from three sections X, Y, Z", this);
  SectionsCheckBox->setObjectName("SectionsCheckBox");
  RotationsLabel = new QLabel("Rotations:", this);
  RotationsLabel->setObjectName("RotationsLabel");
  XEdit = new QLineEdit("90", this);
  XEdit->setObjectName("XEdit");
  YEdit = new QLineEdit("90", this);
  YEdit->setObjectName("YEdit");
  ZEdit = new QLineEdit("0", this);
  ZEdit->setObjectName("ZEdit");
  auto* angles = new QGridLayout;
  angles->addWidget(RotationsLabel, 0, 0, 1, 6);
  const std::array<QLineEdit*, 3> edits{XEdit, YEdit, ZEdit};
  const char* names[3] = {"X", "Y", "Z"};
  for (int a = 0; a < 3; ++a) {
    edits[a]->setObjectName(QString(names[a]) + "Edit");
    edits[a]->setMaximumWidth(60);
    axisLabels_[a] = new QLabel(names[a], this);
    angles->addWidget(axisLabels_[a], 1, 2 * a);
    angles->addWidget(edits[a], 1, 2 * a + 1);
  }

  DensityRotBtn = new QPushButton("Rotate ...", this);
  DensityRotBtn->setObjectName("DensityRotBtn");
  DensityOKBtn = new QPushButton("OK", this);
  DensityOKBtn->setObjectName("DensityOKBtn");
  DensityCancelBtn = new QPushButton("Cancel", this);
  DensityCancelBtn->setObjectName("DensityCancelBtn");
  DensityRotBtn->setAutoDefault(false);
  DensityCancelBtn->setAutoDefault(false);
  DensityOKBtn->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(DensityRotBtn);
  buttons->addStretch();
  buttons->addWidget(DensityOKBtn);
  buttons->addWidget(DensityCancelBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(width);
  layout->addWidget(SectionsCheckBox);
  layout->addLayout(angles);
  layout->addLayout(buttons);

  connect(SectionsCheckBox, &QCheckBox::clicked, this, &DensityDialog::SectionsCheckBoxClick);
  connect(DensityRotBtn, &QPushButton::clicked, this, &DensityDialog::DensityRotBtnClick);
  connect(DensityOKBtn, &QPushButton::clicked, this, &DensityDialog::OKBtnClick);
  connect(DensityCancelBtn, &QPushButton::clicked, this, &DensityDialog::CancelBtnClick);
  SectionsCheckBoxClick();
}

void DensityDialog::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void DensityDialog::FormShow() {
  ResetRotation();
  SectionsCheckBoxClick();
}

void DensityDialog::ResetRotation() { parameters_.rotation = RotationState{}; }

void DensityDialog::SectionsCheckBoxClick() {
  const bool sections = SectionsCheckBox->isChecked();
  RotationsLabel->setEnabled(sections);
  for (QLineEdit* edit : {XEdit, YEdit, ZEdit}) edit->setEnabled(sections);
  for (QLabel* label : axisLabels_) label->setEnabled(sections);
  DensityRotBtn->setEnabled(!sections);
}

void DensityDialog::DensityRotBtnClick() {
  ResetRotation();
  if (!rotationDlg_) return;
  DensityParameters& p = parameters_;
  // A rotation cancelled in the dialog leaves none.
  if (!rotationDlg_->ShowForOwner(p.rotation)) ResetRotation();
}

void DensityDialog::OKBtnClick() {
  DensityParameters& p = parameters_;
  p.fwhm = FWHMSpinEdit->value();
  p.sections = SectionsCheckBox->isChecked();
  if (p.sections) {
    const std::array<QLineEdit*, 3> edits{XEdit, YEdit, ZEdit};
    std::array<double, 3> angles{};
    for (int a = 0; a < 3; ++a) {
      const std::optional<double> angle = ParseNumber(edits[a]->text().toStdString());
      if (!angle) {
        edits[a]->setFocus();
        edits[a]->selectAll();
        return;
      }
      angles[a] = *angle;
    }
    p.angles = angles;
  }
  accept();
}

void DensityDialog::CancelBtnClick() { reject(); }

}  // namespace quorix
