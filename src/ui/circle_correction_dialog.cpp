// "Circle correction" (CircleCorrectionDialog).
#include "ui/circle_correction_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/number_format.h"
#include "io/edt_file.h"
#include "transform/intensity_edit.h"
#include "ui/edit_all_dialog.h"
#include "ui/load_files_dialog.h"

namespace quorix {

namespace {

QTableWidget* MakeColumn(QWidget* parent, const char* name) {
  auto* grid = new QTableWidget(0, 1, parent);
  grid->setObjectName(name);
  grid->horizontalHeader()->setVisible(false);
  grid->verticalHeader()->setVisible(false);
  grid->horizontalHeader()->setStretchLastSection(true);
  return grid;
}

}  // namespace

CircleCorrectionDialog::CircleCorrectionDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setWindowTitle("Circle correction");
  NumStringGrid = MakeColumn(this, "NumStringGrid");
  NumStringGrid->setObjectName("NumStringGrid");
  NumStringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  NumStringGrid->setFocusPolicy(Qt::NoFocus);
  NumStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  NumStringGrid->setMaximumWidth(60);
  ValStringGrid = MakeColumn(this, "ValStringGrid");
  ValStringGrid->setObjectName("ValStringGrid");
  ValStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  OpRadioGroup = new OperatorGroup(this);
  ApplyToAllCheckBox = new QCheckBox("Apply to all PFs", this);
  ApplyToAllCheckBox->setObjectName("ApplyToAllCheckBox");
  LoadBtn = new QPushButton("Load", this);
  LoadBtn->setObjectName("LoadBtn");
  SaveBtn = new QPushButton("Save", this);
  SaveBtn->setObjectName("SaveBtn");
  LoadBtn->setAutoDefault(false);
  SaveBtn->setAutoDefault(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* grids = new QHBoxLayout;
  grids->setSpacing(0);
  grids->addWidget(NumStringGrid);
  grids->addWidget(ValStringGrid);
  auto* side = new QVBoxLayout;
  side->addWidget(OpRadioGroup);
  side->addWidget(ApplyToAllCheckBox);
  side->addWidget(LoadBtn);
  side->addWidget(SaveBtn);
  side->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(grids);
  top->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
  resize(340, 420);

  // The numbers scroll with the values.
  connect(ValStringGrid->verticalScrollBar(), &QScrollBar::valueChanged, NumStringGrid->verticalScrollBar(),
          &QScrollBar::setValue);
  connect(buttons, &QDialogButtonBox::accepted, this, &CircleCorrectionDialog::OKBtnClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(LoadBtn, &QPushButton::clicked, this, &CircleCorrectionDialog::LoadBtnClick);
  connect(SaveBtn, &QPushButton::clicked, this, &CircleCorrectionDialog::SaveBtnClick);
}

void CircleCorrectionDialog::SetValue(int row, const QString& text) {
  if (QTableWidgetItem* item = ValStringGrid->item(row, 0))
    item->setText(text);
  else
    ValStringGrid->setItem(row, 0, new QTableWidgetItem(text));
}

void CircleCorrectionDialog::SetCircleCount(int count) {
  count = std::max(count, 0);
  const int old = ValStringGrid->rowCount();
  NumStringGrid->setRowCount(count);
  ValStringGrid->setRowCount(count);
  for (int row = 0; row < count; ++row) {
    auto* number = new QTableWidgetItem(QString::number(row + 1));
    number->setFlags(Qt::ItemIsEnabled);
    NumStringGrid->setItem(row, 0, number);
    NumStringGrid->setRowHeight(row, ValStringGrid->rowHeight(row));
    if (row >= old) SetValue(row, "1.0");
  }
}

int CircleCorrectionDialog::Rows() const { return ValStringGrid->rowCount(); }

std::vector<std::string> CircleCorrectionDialog::Cells() const {
  std::vector<std::string> cells;
  for (int row = 0; row < Rows(); ++row) {
    const QTableWidgetItem* item = ValStringGrid->item(row, 0);
    cells.push_back(item ? item->text().toStdString() : std::string());
  }
  return cells;
}

char CircleCorrectionDialog::Op() const { return OpRadioGroup->Op(); }

bool CircleCorrectionDialog::ApplyToAll() const { return ApplyToAllCheckBox->isChecked(); }

void CircleCorrectionDialog::OKBtnClick() {
  auto values = ParseCircleValues(Cells(), Op(), Sink());
  if (!values) return;
  values_ = std::move(*values);
  accept();
}

void CircleCorrectionDialog::LoadBtnClick() {
  QFileDialog dialog(this, QString(), QString::fromStdString(context_.state.DataPath));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(FileDialogFilters(kEdtFilter));
  dialog.setDefaultSuffix("edt");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  LoadFrom(dialog.selectedFiles().first().toStdString());
}

void CircleCorrectionDialog::SaveBtnClick() {
  QFileDialog dialog(this, QString(), QString::fromStdString(context_.state.DataPath));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(FileDialogFilters(kEdtFilter));
  dialog.setDefaultSuffix("edt");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SaveTo(dialog.selectedFiles().first().toStdString());
}

void CircleCorrectionDialog::LoadFrom(const std::string& fileName) {
  const EdtValues read = ReadEdtFile(fileName, Rows(), Sink());
  for (std::size_t row = 0; row < read.values.size(); ++row)
    SetValue(static_cast<int>(row), QString::fromStdString(FormatGeneral(read.values[row])));
}

void CircleCorrectionDialog::SaveTo(const std::string& fileName) { WriteEdtFile(fileName, Cells(), Sink()); }

}  // namespace quorix
