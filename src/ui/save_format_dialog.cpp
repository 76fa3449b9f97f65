// "Output Format": the column layout of the ASCII pole figure files.
#include "ui/save_format_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

namespace quorix {

SaveFormatDialog::SaveFormatDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Output Format");
  StandardCombo = new QComboBox(this);
  StandardCombo->setObjectName("StandardCombo");
  for (const SaveStandard& s : SaveStandards()) StandardCombo->addItem(s.Name);
  StandardCombo->addItem(kUserStandard);
  StandardCombo->setCurrentIndex(0);
  NumSpinEdit = new QSpinBox(this);
  NumSpinEdit->setObjectName("NumSpinEdit");
  NumSpinEdit->setRange(1, 1000);
  FormSpinEdit = new QSpinBox(this);
  FormSpinEdit->setObjectName("FormSpinEdit");
  FormSpinEdit->setRange(1, 99);
  KommaSpinEdit = new QSpinBox(this);
  KommaSpinEdit->setObjectName("KommaSpinEdit");
  KommaSpinEdit->setRange(0, 99);
  FacSpinEdit = new QSpinBox(this);
  FacSpinEdit->setObjectName("FacSpinEdit");
  FacSpinEdit->setRange(INT_MIN, INT_MAX);
  EnterCheckBox = new QCheckBox(" <CR> after each PF circle", this);
  EnterCheckBox->setObjectName("EnterCheckBox");

  auto* accuracy = new QHBoxLayout;
  accuracy->addWidget(FormSpinEdit);
  accuracy->addWidget(new QLabel(":", this));
  accuracy->addWidget(KommaSpinEdit);
  auto* form = new QFormLayout;
  form->addRow("Standards:", StandardCombo);
  form->addRow("Numbers per line:", NumSpinEdit);
  form->addRow("Accurracy:", accuracy);
  form->addRow("Factor:    10e", FacSpinEdit);
  form->addRow(EnterCheckBox);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(StandardCombo, &QComboBox::activated, this, &SaveFormatDialog::StandardChanged);
}

void SaveFormatDialog::StandardChanged(int index) {
  const auto standards = SaveStandards();
  if (index < 0 || index >= static_cast<int>(standards.size())) return;  // "user" changes nothing
  const SaveStandard& s = standards[static_cast<std::size_t>(index)];
  NumSpinEdit->setValue(s.ValuesPerLine);
  FormSpinEdit->setValue(s.Width);
  KommaSpinEdit->setValue(s.Decimals);
  EnterCheckBox->setChecked(s.LineEndAfterCircle);
}

void SaveFormatDialog::SetFormat(const SaveFormat& format, bool withFactor) {
  NumSpinEdit->setValue(format.ValuesPerLine);
  FormSpinEdit->setValue(format.Width);
  KommaSpinEdit->setValue(format.Decimals);
  if (withFactor) FacSpinEdit->setValue(format.FactorExponent);
  EnterCheckBox->setChecked(format.LineEndAfterCircle);
  NameStandard();
}

SaveFormat SaveFormatDialog::Format() const {
  SaveFormat f;
  f.ValuesPerLine = NumSpinEdit->value();
  f.Width = FormSpinEdit->value();
  f.Decimals = KommaSpinEdit->value();
  f.FactorExponent = FacSpinEdit->value();
  f.LineEndAfterCircle = EnterCheckBox->isChecked();
  return f;
}

void SaveFormatDialog::NameStandard() {
  StandardCombo->setCurrentIndex(StandardCombo->findText(QString::fromStdString(StandardName(Format()))));
}

bool SaveFormatDialog::Edit(SaveFormat& format, bool withFactor) {
  SetFormat(format, withFactor);
  if (exec() != QDialog::Accepted) return false;
  const SaveFormat chosen = Format();
  const int factor = format.FactorExponent;
  format = chosen;
  if (!withFactor) format.FactorExponent = factor;
  return true;
}

}  // namespace quorix
