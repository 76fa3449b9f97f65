// The file list of the two add commands.
#include "ui/add_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/load_files_dialog.h"
#include "ui/message_box_sink.h"

namespace quorix {

namespace {

QString Cell(const QTableWidget& t, int row, int column) {
  const QTableWidgetItem* item = t.item(row, column);
  return item ? item->text() : QString();
}

}  // namespace

AddDialog::AddDialog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setObjectName("AddPFDlg");
  FileStringGrid = new QTableWidget(1, 3, this);
  FileStringGrid->setObjectName("FileStringGrid");
  FileStringGrid->setHorizontalHeaderLabels({"Weight", "PF File", "PF index"});
  FileStringGrid->verticalHeader()->setVisible(false);
  FileStringGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  FileStringGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  FileStringGrid->horizontalHeader()->setSectionResizeMode(kFileColumn, QHeaderView::Stretch);
  FileStringGrid->setColumnWidth(kWeightColumn, 70);
  FileStringGrid->setColumnWidth(kIndexColumn, 70);
  FileStringGrid->setMinimumSize(520, 220);

  SearchBtn = new QPushButton("Search...", this);
  SearchBtn->setObjectName("SearchBtn");
  DeleteBtn = new QPushButton("Delete", this);
  DeleteBtn->setObjectName("DeleteBtn");
  NormCheckBox = new QCheckBox("Normalize Sum of Weights to 1.0", this);
  NormCheckBox->setObjectName("NormCheckBox");
  NormCheckBox->setChecked(true);
  NormPFCheckBox = new QCheckBox("Normalize PFs before adding", this);
  NormPFCheckBox->setObjectName("NormPFCheckBox");
  NormPFCheckBox->setChecked(true);
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  for (QPushButton* b : {SearchBtn, DeleteBtn, CancelBtn}) b->setAutoDefault(false);

  auto* side = new QVBoxLayout;
  side->addWidget(SearchBtn);
  side->addWidget(DeleteBtn);
  side->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(FileStringGrid, 1);
  top->addLayout(side);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(NormCheckBox);
  layout->addWidget(NormPFCheckBox);
  layout->addLayout(buttons);

  connect(SearchBtn, &QPushButton::clicked, this, &AddDialog::SearchBtnClick);
  connect(DeleteBtn, &QPushButton::clicked, this, &AddDialog::DeleteBtnClick);
  connect(OKBtn, &QPushButton::clicked, this, &AddDialog::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  Prepare(true, "", 1);
}

void AddDialog::SetRow(int row, const Row& texts) {
  auto* w = new QTableWidgetItem(texts.weight);
  if (!weighted_) w->setFlags(w->flags() & ~(Qt::ItemIsEditable | Qt::ItemIsEnabled));
  auto* f = new QTableWidgetItem(texts.file);
  f->setFlags(f->flags() & ~Qt::ItemIsEditable);
  FileStringGrid->setItem(row, kWeightColumn, w);
  FileStringGrid->setItem(row, kFileColumn, f);
  FileStringGrid->setItem(row, kIndexColumn, new QTableWidgetItem(texts.index));
}

void AddDialog::Prepare(bool weighted, const std::string& firstFile, int firstIndex) {
  weighted_ = weighted;
  setWindowTitle(weighted ? "Add Pole Figures weighted" : "Add Pole Figures fitted");
  FileStringGrid->clearContents();
  FileStringGrid->setRowCount(1);
  SetRow(0, {.weight = "1.0", .file = QString::fromStdString(firstFile), .index = QString::number(firstIndex)});
  if (QTableWidgetItem* header = FileStringGrid->horizontalHeaderItem(kWeightColumn))
    header->setFlags(weighted ? header->flags() | Qt::ItemIsEnabled : header->flags() & ~Qt::ItemIsEnabled);
  NormCheckBox->setEnabled(weighted);
  NormPFCheckBox->setEnabled(weighted);
  tables_ = {};
}

void AddDialog::AppendFiles(const QStringList& files) {
  for (const QString& file : files) {
    const int row = FileStringGrid->rowCount();
    FileStringGrid->setRowCount(row + 1);
    SetRow(row, {.weight = weighted_ ? "1.0" : "", .file = file, .index = ""});
  }
}

void AddDialog::SearchBtnClick() {
  QFileDialog dialog(this, "Mark PF Files to Add", QString::fromStdString(context_.state.DataPath));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters(FileDialogFilters(kAddPFFilter));
  if (dialog.exec() == QDialog::Accepted) AppendFiles(dialog.selectedFiles());
}

void AddDialog::DeleteBtnClick() {
  std::vector<int> rows;
  for (const QModelIndex& index : FileStringGrid->selectionModel()->selectedRows()) rows.push_back(index.row());
  if (rows.empty() && FileStringGrid->currentRow() >= 0) rows.push_back(FileStringGrid->currentRow());
  // The first line is the pole figure in memory.
  if (rows.empty() || *std::min_element(rows.begin(), rows.end()) == 0) return;
  std::sort(rows.rbegin(), rows.rend());
  for (int row : rows) FileStringGrid->removeRow(row);
}

std::vector<AddListRow> AddDialog::Rows() const {
  std::vector<AddListRow> rows;
  rows.reserve(static_cast<std::size_t>(FileStringGrid->rowCount()));
  for (int r = 0; r < FileStringGrid->rowCount(); ++r) {
    rows.push_back({Cell(*FileStringGrid, r, kWeightColumn).toStdString(),
                    Cell(*FileStringGrid, r, kFileColumn).toStdString(),
                    Cell(*FileStringGrid, r, kIndexColumn).toStdString()});
  }
  return rows;
}

void AddDialog::OKBtnClick() {
  AddListCheck check = CheckAddList(Rows(), weighted_, NormCheckBox->isChecked());
  if (!check.tables) {
    if (check.line > 0) FileStringGrid->selectRow(check.line - 1);
    MessageBoxSink box(this);
    (messages_ ? *messages_ : static_cast<MessageSink&>(box)).Message(check.message);
    return;
  }
  tables_ = std::move(*check.tables);
  accept();
}

bool AddDialog::NormalizePoleFigures() const { return NormPFCheckBox->isChecked(); }

}  // namespace quorix
