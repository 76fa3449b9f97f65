// "Modify PF data" (EditAllDialog) and the shared operator group.
#include "ui/edit_all_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "transform/intensity_edit.h"

namespace quorix {

OperatorGroup::OperatorGroup(QWidget* parent) : QGroupBox("Operation", parent) {
  setObjectName("OpRadioGroup");
  const char* captions[] = {"Add +", "Sub -", "Mul *", "Div /"};
  auto* layout = new QVBoxLayout(this);
  for (std::size_t k = 0; k < Buttons.size(); ++k) {
    Buttons[k] = new QRadioButton(captions[k], this);
    layout->addWidget(Buttons[k]);
  }
  Buttons[0]->setChecked(true);
}

char OperatorGroup::Op() const {
  for (std::size_t k = 0; k < Buttons.size(); ++k)
    if (Buttons[k]->isChecked()) return kEditOperators[k];
  return kEditOperators[0];
}

void OperatorGroup::SetOp(char op) {
  for (std::size_t k = 0; k < Buttons.size(); ++k)
    if (kEditOperators[k] == op) Buttons[k]->setChecked(true);
}

EditAllDialog::EditAllDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Modify PF data");
  ValueEdit = new QLineEdit("1.0", this);
  ValueEdit->setObjectName("ValueEdit");
  OpRadioGroup = new OperatorGroup(this);
  ApplyToAllCheckBox = new QCheckBox("Apply to all Pole figures", this);
  ApplyToAllCheckBox->setObjectName("ApplyToAllCheckBox");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* form = new QFormLayout;
  form->addRow("Value:", ValueEdit);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OpRadioGroup);
  layout->addWidget(ApplyToAllCheckBox);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &EditAllDialog::OKBtnClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void EditAllDialog::showEvent(QShowEvent* event) {
  setWindowTitle("Modify PF data");
  ValueEdit->setFocus();
  QDialog::showEvent(event);
}

char EditAllDialog::Op() const { return OpRadioGroup->Op(); }

bool EditAllDialog::ApplyToAll() const { return ApplyToAllCheckBox->isChecked(); }

void EditAllDialog::OKBtnClick() {
  const auto value = ParseEditValue(ValueEdit->text().toStdString(), Op(), sink_ ? *sink_ : boxes_);
  if (!value) {
    ValueEdit->setFocus();
    return;
  }
  value_ = *value;
  accept();
}

}  // namespace quorix
