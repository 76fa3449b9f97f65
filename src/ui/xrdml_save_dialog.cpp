// "Save as XRDML": output file, sample file, sign handling and the reflection.
#include "ui/xrdml_save_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "settings/settings.h"
#include "ui/load_files_dialog.h"

namespace quorix {

XrdmlSaveDialog::XrdmlSaveDialog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setWindowTitle("Save as XRDML");
  OutEdit = new QLineEdit(this);
  OutEdit->setMinimumWidth(320);
  OutSearchButton = new QPushButton("Search...", this);
  SampleEdit = new QLineEdit(this);
  SampleEdit->setPlaceholderText("built-in template");
  SampleSearchButton = new QPushButton("Search...", this);
  ZeroCheckBox = new QCheckBox("Set negative values to zero", this);
  auto spin = [this] {
    auto* s = new QSpinBox(this);
    s->setRange(-100, 100);
    s->setValue(0);
    return s;
  };
  HSpinEdit = spin();
  KSpinEdit = spin();
  LSpinEdit = spin();
  OKBitBtn = new QPushButton("OK", this);
  CancelBitBtn = new QPushButton("Cancel", this);
  OKBitBtn->setDefault(true);
  OutSearchButton->setAutoDefault(false);
  SampleSearchButton->setAutoDefault(false);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Filename:", this), 0, 0);
  grid->addWidget(OutEdit, 0, 1);
  grid->addWidget(OutSearchButton, 0, 2);
  grid->addWidget(new QLabel("Sample File:", this), 1, 0);
  grid->addWidget(SampleEdit, 1, 1);
  grid->addWidget(SampleSearchButton, 1, 2);
  auto* hkl = new QHBoxLayout;
  for (auto [label, box] : {std::pair{"H", HSpinEdit}, std::pair{"K", KSpinEdit}, std::pair{"L", LSpinEdit}}) {
    hkl->addWidget(new QLabel(label, this));
    hkl->addWidget(box);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBitBtn);
  buttons->addWidget(CancelBitBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(ZeroCheckBox);
  layout->addLayout(hkl);
  layout->addLayout(buttons);

  connect(OKBitBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBitBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(OutSearchButton, &QPushButton::clicked, this, &XrdmlSaveDialog::OutSearchButtonClick);
  connect(SampleSearchButton, &QPushButton::clicked, this, &XrdmlSaveDialog::SampleSearchButtonClick);
  connect(OutEdit, &QLineEdit::textChanged, this, &XrdmlSaveDialog::UpdateOK);
  connect(SampleEdit, &QLineEdit::textChanged, this, &XrdmlSaveDialog::UpdateOK);
  OutEdit->setObjectName("OutEdit");
  SampleEdit->setObjectName("SampleEdit");
  OKBitBtn->setObjectName("OKBitBtn");
  UpdateOK();
}

void XrdmlSaveDialog::showEvent(QShowEvent* event) {
  SampleEdit->setText(QString::fromStdString(ReadXrdmlSampleFile(context_.ini)));
  UpdateOK();
  QDialog::showEvent(event);
}

// An empty sample file takes the built-in template.
void XrdmlSaveDialog::UpdateOK() { OKBitBtn->setEnabled(!OutEdit->text().isEmpty()); }

void XrdmlSaveDialog::OutSearchButtonClick() {
  QFileDialog dialog(this, QString(), QString::fromStdString(context_.state.DataPath));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(FileDialogFilters(kXrdmlFilter));
  dialog.setDefaultSuffix("xrdml");
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    OutEdit->setText(dialog.selectedFiles().first());
  UpdateOK();
}

void XrdmlSaveDialog::SampleSearchButtonClick() {
  QFileDialog dialog(this, QString(), QString::fromStdString(context_.state.DataPath));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(FileDialogFilters(kXrdmlFilter));
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    SampleEdit->setText(dialog.selectedFiles().first());
  UpdateOK();
}

XrdmlOptions XrdmlSaveDialog::Options() const {
  XrdmlOptions o;
  o.SetNegativeToZero = ZeroCheckBox->isChecked();
  o.h = HSpinEdit->value();
  o.k = KSpinEdit->value();
  o.l = LSpinEdit->value();
  return o;
}

}  // namespace quorix
