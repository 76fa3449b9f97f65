// "Define Contour Lines": the levels of the main pole figure edited by hand,
// and the colours of the levels.
#include "ui/contour_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "base/ini_file.h"
#include "plot/contour_colors.h"
#include "record/levels.h"
#include "settings/settings.h"
#include "ui/load_files_dialog.h"
#include "ui/message_box_sink.h"

namespace quorix {

namespace {

constexpr const char* kColorSetFilter = "Quorix32 INI Files (*.ini)|*.ini|All Files (*.*)|*.*";
constexpr int kColorRole = Qt::UserRole;

QColor ToQColor(ColorValue v) {
  if (v < 0) return Qt::black;  // an entry a colour-set file did not supply
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

ColorValue FromQColor(const QColor& c) { return c.red() + 256 * c.green() + 65536 * c.blue(); }

// Each cell of the colour column is filled with its level's colour; the
// selected one gets a frame instead of the selection colour.
class ColorCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    painter->fillRect(option.rect.adjusted(1, 1, -1, -1), index.data(kColorRole).value<QColor>());
    if (option.state & QStyle::State_Selected) {
      painter->setPen(QPen(option.palette.highlight().color(), 2));
      painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
    }
    painter->restore();
  }
};

QTableWidget* NewColumn(QWidget* parent, int width) {
  auto* t = new QTableWidget(kMaxLevels, 1, parent);
  t->horizontalHeader()->hide();
  t->verticalHeader()->hide();
  t->verticalHeader()->setDefaultSectionSize(20);
  t->horizontalHeader()->setStretchLastSection(true);
  t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  t->setFixedWidth(width);
  t->setMinimumHeight(10 * 20 + 4);
  return t;
}

}  // namespace

ContourDialog::ContourDialog(AppContext& context, ContourDlgHooks hooks, QWidget* parent)
    : QDialog(parent), context_(context), hooks_(std::move(hooks)) {
  setWindowTitle("Define Contour Lines");
  setObjectName("ContourDlg");
  setModal(false);

  StringGrid = NewColumn(this, 110);
  StringGrid->setObjectName("StringGrid");
  StringGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  StringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid->installEventFilter(this);
  ColorDrawGrid = NewColumn(this, 46);
  ColorDrawGrid->setObjectName("ColorDrawGrid");
  ColorDrawGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ColorDrawGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  ColorDrawGrid->setItemDelegate(new ColorCellDelegate(ColorDrawGrid));
  for (int r = 0; r < kMaxLevels; ++r) {
    StringGrid->setItem(r, 0, new QTableWidgetItem);
    ColorDrawGrid->setItem(r, 0, new QTableWidgetItem);
  }
  // The colour column scrolls with the level list, one scroll bar for both.
  connect(StringGrid->verticalScrollBar(), &QScrollBar::valueChanged, ColorDrawGrid->verticalScrollBar(),
          &QScrollBar::setValue);
  connect(ColorDrawGrid->verticalScrollBar(), &QScrollBar::valueChanged, StringGrid->verticalScrollBar(),
          &QScrollBar::setValue);
  connect(ColorDrawGrid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ColorDrawGridDblClick(row); });

  DeleteBtn = new QPushButton("Delete", this);
  DeleteBtn->setObjectName("DeleteBtn");
  SortBtn = new QPushButton("Sort", this);
  SortBtn->setObjectName("SortBtn");
  SaveColorBtn = new QPushButton("Save Color Set", this);
  SaveColorBtn->setObjectName("SaveColorBtn");
  LoadColorBtn = new QPushButton("Load Color Set", this);
  LoadColorBtn->setObjectName("LoadColorBtn");
  RecalcBtn = new QPushButton("Recalculate", this);
  RecalcBtn->setObjectName("RecalcBtn");
  LastBtn = new QPushButton("Last:", this);
  LastBtn->setObjectName("LastBtn");
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  for (QPushButton* b : {DeleteBtn, SortBtn, SaveColorBtn, LoadColorBtn, RecalcBtn, LastBtn, CancelBtn})
    b->setAutoDefault(false);
  OKBtn->setDefault(true);
  FirstEdit = new QLineEdit(this);
  StepEdit = new QLineEdit(this);
  LastEdit = new QLineEdit(this);
  FirstEdit->setObjectName("FirstEdit");
  StepEdit->setObjectName("StepEdit");
  LastEdit->setObjectName("LastEdit");
  ApplyAllCheckBox = new QCheckBox("Apply to all pole figures", this);
  ApplyAllCheckBox->setObjectName("ApplyAllCheckBox");

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel("First: ", this), 0, 0);
  fields->addWidget(FirstEdit, 0, 1);
  fields->addWidget(new QLabel("Step: ", this), 1, 0);
  fields->addWidget(StepEdit, 1, 1);
  fields->addWidget(LastBtn, 2, 0);
  fields->addWidget(LastEdit, 2, 1);
  fields->addWidget(RecalcBtn, 3, 0, 1, 2);

  auto* right = new QVBoxLayout;
  right->addWidget(DeleteBtn);
  right->addWidget(SortBtn);
  right->addSpacing(8);
  right->addWidget(SaveColorBtn);
  right->addWidget(LoadColorBtn);
  right->addSpacing(8);
  right->addLayout(fields);
  right->addStretch();
  right->addWidget(ApplyAllCheckBox);
  auto* okCancel = new QHBoxLayout;
  okCancel->addWidget(OKBtn);
  okCancel->addWidget(CancelBtn);
  right->addLayout(okCancel);

  auto* layout = new QHBoxLayout(this);
  layout->setSpacing(0);
  layout->addWidget(StringGrid);
  layout->addWidget(ColorDrawGrid);
  layout->addSpacing(12);
  layout->addLayout(right);

  connect(DeleteBtn, &QPushButton::clicked, this, &ContourDialog::DeleteBtnClick);
  connect(SortBtn, &QPushButton::clicked, this, &ContourDialog::SortBtnClick);
  connect(SaveColorBtn, &QPushButton::clicked, this, &ContourDialog::SaveColorBtnClick);
  connect(LoadColorBtn, &QPushButton::clicked, this, &ContourDialog::LoadColorBtnClick);
  connect(RecalcBtn, &QPushButton::clicked, this, &ContourDialog::RecalcBtnClick);
  connect(LastBtn, &QPushButton::clicked, this, &ContourDialog::LastBtnClick);
  connect(OKBtn, &QPushButton::clicked, this, &ContourDialog::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::close);
}

PoleFigure& ContourDialog::Main() { return *context_.set.PF[1]; }

void ContourDialog::ShowContours() {
  show();
  raise();
  activateWindow();
}

void ContourDialog::showEvent(QShowEvent* event) {
  Refresh();
  QDialog::showEvent(event);
  // Focus in the level list would count as editing it.
  FirstEdit->setFocus();
}

void ContourDialog::Refresh() {
  const PoleFigure& pf = Main();
  SetRows(FormatLevelRows(pf));
  if (levelsEdited_) {
    ClearFields();
  } else {
    const LevelFields f = FormatLevelFields(pf);
    FirstEdit->setText(QString::fromStdString(f.first));
    StepEdit->setText(QString::fromStdString(f.step));
    LastEdit->setText(QString::fromStdString(f.last));
  }
  RedrawColors();
}

LevelRows ContourDialog::Rows() const {
  LevelRows rows;
  for (int r = 0; r < kMaxLevels; ++r)
    if (const QTableWidgetItem* item = StringGrid->item(r, 0)) rows[r] = item->text().toStdString();
  return rows;
}

void ContourDialog::SetRows(const LevelRows& rows) {
  for (int r = 0; r < kMaxLevels; ++r) StringGrid->item(r, 0)->setText(QString::fromStdString(rows[r]));
}

void ContourDialog::ClearFields() {
  FirstEdit->clear();
  StepEdit->clear();
  LastEdit->clear();
}

bool ContourDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == StringGrid && event->type() == QEvent::FocusIn) StringGridEnter();
  return QDialog::eventFilter(watched, event);
}

void ContourDialog::StringGridEnter() {
  ClearFields();
  levelsEdited_ = true;
}

void ContourDialog::RedrawColors() {
  for (int r = 0; r < kMaxLevels; ++r)
    ColorDrawGrid->item(r, 0)->setData(kColorRole, ToQColor(context_.state.ContourColor[r + 1]));
}

void ContourDialog::DeleteBtnClick() {
  int top = StringGrid->currentRow();
  int bottom = top;
  const QList<QTableWidgetSelectionRange> ranges = StringGrid->selectedRanges();
  if (!ranges.isEmpty()) {
    top = ranges.first().topRow();
    bottom = ranges.first().bottomRow();
    for (const QTableWidgetSelectionRange& range : ranges) {
      top = std::min(top, range.topRow());
      bottom = std::max(bottom, range.bottomRow());
    }
  }
  if (top < 0) return;
  LevelRows rows = Rows();
  DeleteLevelRows(rows, top, bottom);
  SetRows(rows);
  ClearFields();
  levelsEdited_ = true;
}

void ContourDialog::SortBtnClick() {
  LevelRows rows = Rows();
  SortLevelRows(rows, LevelDecimals(Main()));
  SetRows(rows);
}

void ContourDialog::RecalcBtnClick() {
  MessageBoxSink sink(this);
  const LevelEditResult result = RecalculateLevels(
      Main(), FirstEdit->text().toStdString(), StepEdit->text().toStdString(), LastEdit->text().toStdString(), sink);
  if (result == LevelEditResult::Done) SetRows(FormatLevelRows(Main()));
}

void ContourDialog::LastBtnClick() {
  const std::optional<std::string> last = LastLevelText(
      Main(), context_.state.Options.ShowMrd, FirstEdit->text().toStdString(), StepEdit->text().toStdString());
  if (!last) return;
  LastEdit->setText(QString::fromStdString(*last));
  RecalcBtnClick();
}

void ContourDialog::OKBtnClick() {
  PoleFigure& main = Main();
  const bool showMrd = context_.state.Options.ShowMrd;
  ApplyLevelRows(main, Rows());
  if (ApplyAllCheckBox->isChecked() && hooks_.VisibleWindows) {
    for (int n : hooks_.VisibleWindows()) {
      if (!context_.set.Occupied(n) || n == 1) continue;
      PoleFigure& pf = *context_.set.PF[n];
      CopyLevels(main, pf);
      TrimLevels(pf, showMrd);
      if (hooks_.RedrawWindow) hooks_.RedrawWindow(n);
    }
  }
  TrimLevels(main, showMrd);
  if (hooks_.RedrawMain) hooks_.RedrawMain();
  close();
}

QString ContourDialog::ColorSetFolder() const {
  const QString folder = QString::fromStdString(context_.state.GridPath);
  return folder.isEmpty() ? QDir::currentPath() : folder;
}

void ContourDialog::SaveColorBtnClick() {
  const QString fileName =
      QFileDialog::getSaveFileName(this, "Write Color Set to INI File", QDir(ColorSetFolder()).filePath("Quorix32.ini"),
                                   FileDialogFilters(kColorSetFilter).join(";;"));
  if (fileName.isEmpty()) return;
  MessageBoxSink sink(this);
  SaveColorSet(fileName.toStdString(), context_.state.ContourColor, LeadingNumericRows(Rows()), sink);
}

void ContourDialog::LoadColorBtnClick() {
  const QString fileName = QFileDialog::getOpenFileName(this, "Load Color Set from INI File", ColorSetFolder(),
                                                        FileDialogFilters(kColorSetFilter).join(";;"));
  if (fileName.isEmpty()) return;
  LoadColorSet(IniFile::Load(fileName.toStdString()), context_.state.ContourColor);
  RedrawColors();
}

void ContourDialog::ColorDrawGridDblClick(int row) {
  if (row < 0 || row >= kMaxLevels) return;
  const QColor chosen = QColorDialog::getColor(ToQColor(context_.state.ContourColor[row + 1]), this);
  if (!chosen.isValid()) return;
  context_.state.ContourColor[row + 1] = FromQColor(chosen);
  RedrawColors();
}

}  // namespace quorix
