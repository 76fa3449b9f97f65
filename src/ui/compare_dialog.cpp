// " Calculate Pole Figure Difference PF1 - PF2": Eps and the files of
// "Compare Pole Figures".
#include "ui/compare_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/text_file.h"

namespace quorix {

CompareDialog::CompareDialog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setWindowTitle(" Calculate Pole Figure Difference PF1 - PF2");
  setObjectName("PFDiff");
  auto* note = new QLabel("NOTE: pole figure PF1 is reference", this);

  EpsEdit = new QLineEdit("0.5", this);
  EpsEdit->setObjectName("EpsEdit");
  EpsEdit->setMaximumWidth(70);
  EpsUpDown = new QWidget(this);
  EpsUpDown->setObjectName("EpsUpDown");
  EpsUpButton = new QToolButton(EpsUpDown);
  EpsUpButton->setObjectName("EpsUpButton");
  EpsUpButton->setArrowType(Qt::UpArrow);
  EpsDownButton = new QToolButton(EpsUpDown);
  EpsDownButton->setObjectName("EpsDownButton");
  EpsDownButton->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {EpsUpButton, EpsDownButton}) b->setFixedSize(18, 12);
  auto* arrows = new QVBoxLayout(EpsUpDown);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  arrows->addWidget(EpsUpButton);
  arrows->addWidget(EpsDownButton);
  RP0Button = new QPushButton("0", this);
  RP0Button->setObjectName("RP0Button");
  RP1Button = new QPushButton("1", this);
  RP1Button->setObjectName("RP1Button");
  for (QPushButton* b : {RP0Button, RP1Button}) {
    b->setAutoDefault(false);
    b->setFixedWidth(28);
  }

  const auto fileRow = [this](QLineEdit*& edit, QPushButton*& button) {
    edit = new QLineEdit(this);
    edit->setMinimumWidth(360);
    button = new QPushButton("Search...", this);
    button->setAutoDefault(false);
  };
  fileRow(DiffFileEdit, DiffSearchButton);
  DiffSearchButton->setObjectName("DiffSearchButton");
  DiffFileEdit->setObjectName("DiffFileEdit");
  fileRow(RPFileEdit, RPSearchButton);
  RPSearchButton->setObjectName("RPSearchButton");
  RPFileEdit->setObjectName("RPFileEdit");
  fileRow(RPLogFileEdit, RPLogSearchButton);
  RPLogSearchButton->setObjectName("RPLogSearchButton");
  RPLogFileEdit->setObjectName("RPLogFileEdit");

  OKBitBtn = new QPushButton("     OK", this);
  OKBitBtn->setObjectName("OKBitBtn");
  OKBitBtn->setDefault(true);
  CancelBitBtn = new QPushButton("   Cancel", this);
  CancelBitBtn->setObjectName("CancelBitBtn");
  CancelBitBtn->setAutoDefault(false);

  auto* epsRow = new QHBoxLayout;
  epsRow->addWidget(new QLabel("Eps for RP calculation:", this));
  epsRow->addWidget(EpsEdit);
  epsRow->addWidget(EpsUpDown);
  epsRow->addSpacing(12);
  epsRow->addWidget(RP0Button);
  epsRow->addWidget(RP1Button);
  epsRow->addStretch();

  auto* files = new QGridLayout;
  const auto addRow = [&](int row, const char* caption, QLineEdit* edit, QPushButton* button) {
    files->addWidget(new QLabel(caption, this), 2 * row, 0, 1, 2);
    files->addWidget(edit, 2 * row + 1, 0);
    files->addWidget(button, 2 * row + 1, 1);
  };
  addRow(0, "Difference pole figure file:", DiffFileEdit, DiffSearchButton);
  addRow(1, "RP distribution file:", RPFileEdit, RPSearchButton);
  addRow(2, "Append results to log file:", RPLogFileEdit, RPLogSearchButton);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBitBtn);
  buttons->addWidget(CancelBitBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addLayout(epsRow);
  layout->addSpacing(6);
  layout->addLayout(files);
  layout->addSpacing(6);
  layout->addLayout(buttons);

  connect(EpsUpButton, &QToolButton::clicked, this, [this] { EpsUpDownClick(true); });
  connect(EpsDownButton, &QToolButton::clicked, this, [this] { EpsUpDownClick(false); });
  connect(RP0Button, &QPushButton::clicked, this, &CompareDialog::RP0ButtonClick);
  connect(RP1Button, &QPushButton::clicked, this, &CompareDialog::RP1ButtonClick);
  connect(DiffSearchButton, &QPushButton::clicked, this, &CompareDialog::DiffSearchButtonClick);
  connect(RPSearchButton, &QPushButton::clicked, this, &CompareDialog::RPSearchButtonClick);
  connect(RPLogSearchButton, &QPushButton::clicked, this, &CompareDialog::RPLogSearchButtonClick);
  connect(OKBitBtn, &QPushButton::clicked, this, &CompareDialog::OKBitBtnClick);
  connect(CancelBitBtn, &QPushButton::clicked, this, &QDialog::reject);
}

CompareRequest CompareDialog::Request() const {
  return {eps_, DiffFileEdit->text().toStdString(), RPFileEdit->text().toStdString(),
          RPLogFileEdit->text().toStdString()};
}

void CompareDialog::Propose(const DiffFileNames& names) {
  RPFileEdit->setText(QString::fromStdString(names.rp));
  DiffFileEdit->setText(QString::fromStdString(names.diff));
  RPLogFileEdit->setText(QString::fromStdString(names.log));
}

void CompareDialog::EpsUpDownClick(bool up) {
  if (const auto v = StepEps(EpsEdit->text().toStdString(), up)) EpsEdit->setText(QString::number(*v, 'f', 2));
}

void CompareDialog::RP0ButtonClick() { EpsEdit->setText("0.0"); }
void CompareDialog::RP1ButtonClick() { EpsEdit->setText("1.0"); }

void CompareDialog::SearchInto(QLineEdit* edit, const QString& title, bool append) {
  QFileDialog dialog(this, title, QString::fromStdString(context_.state.DataPath));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The log is appended to, never replaced.
  if (append) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!edit->text().isEmpty()) dialog.selectFile(QFileInfo(edit->text()).fileName());
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    edit->setText(dialog.selectedFiles().first());
}

void CompareDialog::DiffSearchButtonClick() { SearchInto(DiffFileEdit, "Save Difference Pole Figure As ...", false); }
void CompareDialog::RPSearchButtonClick() { SearchInto(RPFileEdit, "Save RP Distribution As ...", false); }
void CompareDialog::RPLogSearchButtonClick() { SearchInto(RPLogFileEdit, "Append To Log File ...", true); }

void CompareDialog::OKBitBtnClick() {
  const auto eps = ParseNumber(Trim(EpsEdit->text().toStdString()));
  if (!eps) {
    EpsEdit->setFocus();
    EpsEdit->selectAll();
    return;
  }
  eps_ = *eps;
  accept();
}

}  // namespace quorix
