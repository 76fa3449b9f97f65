// "Merge with rastered data" (RasterMergeDialog).
#include "ui/raster_merge_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/edit_all_dialog.h"
#include "ui/load_files_dialog.h"

namespace quorix {

RasterMergeDialog::RasterMergeDialog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setWindowTitle("Merge with rastered data");
  PFEdit = new QLineEdit(this);
  PFEdit->setObjectName("PFEdit");
  PFEdit->setMinimumWidth(320);
  SecondFileSearchButton = new QPushButton("Search...", this);
  SecondFileSearchButton->setObjectName("SecondFileSearchButton");
  SecondFileSearchButton->setAutoDefault(false);
  OpRadioGroup = new OperatorGroup(this);
  ApplyToAllCheckBox = new QCheckBox("Apply to all Pole figures", this);
  ApplyToAllCheckBox->setObjectName("ApplyToAllCheckBox");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* file = new QHBoxLayout;
  file->addWidget(PFEdit);
  file->addWidget(SecondFileSearchButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("... a second Pole figure (with same raster):", this));
  layout->addLayout(file);
  layout->addWidget(OpRadioGroup);
  layout->addWidget(ApplyToAllCheckBox);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &RasterMergeDialog::OKBtnClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(SecondFileSearchButton, &QPushButton::clicked, this, &RasterMergeDialog::SearchSecondFileClick);
}

std::string RasterMergeDialog::FileName() const { return PFEdit->text().toStdString(); }

char RasterMergeDialog::Op() const { return OpRadioGroup->Op(); }

bool RasterMergeDialog::ApplyToAll() const { return ApplyToAllCheckBox->isChecked(); }

void RasterMergeDialog::OKBtnClick() {
  if (PFEdit->text().trimmed().isEmpty()) {
    PFEdit->setFocus();
    return;
  }
  accept();
}

void RasterMergeDialog::SearchSecondFileClick() {
  QFileDialog dialog(this, "Load PF", QString::fromStdString(context_.state.DataPath));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(FileDialogFilters(kLoadPFFilter));
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    PFEdit->setText(dialog.selectedFiles().first());
}

}  // namespace quorix
