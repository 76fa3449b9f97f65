#include "ui/pole_figure_picker.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace quorix {

PoleFigurePicker::PoleFigurePicker(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Select (8 max)");
  hklSelect_ = new QListWidget(this);
  // Three columns, filled top to bottom like a multi-column check list.
  hklSelect_->setFlow(QListView::TopToBottom);
  hklSelect_->setWrapping(true);
  hklSelect_->setResizeMode(QListView::Adjust);
  hklSelect_->setUniformItemSizes(true);
  hklSelect_->setSelectionMode(QAbstractItemView::SingleSelection);
  okButton_ = new QPushButton("OK", this);
  cancelButton_ = new QPushButton("Cancel", this);
  selectAllButton_ = new QPushButton("Select all", this);
  clearButton_ = new QPushButton("Clear selection", this);
  okButton_->setDefault(true);
  // Enter after "Select all" means OK, as in the other dialogs.
  for (QPushButton* b : {selectAllButton_, clearButton_, cancelButton_}) b->setAutoDefault(false);
  hklSelect_->setObjectName("HKLSelect");
  okButton_->setObjectName("OKButton");
  cancelButton_->setObjectName("CancelButton");
  selectAllButton_->setObjectName("SelectAllButton");
  clearButton_->setObjectName("ClearButton");
  countLabel_ = new QLabel(this);
  countLabel_->setObjectName("PickerCount");
  countLabel_->setWordWrap(true);
  hklSelect_->installEventFilter(this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(selectAllButton_);
  buttons->addWidget(clearButton_);
  buttons->addStretch();
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel("Tick 1 to 8 pole figures (click or Space); the first ticked one goes into the main "
                 "window, the others into windows 2 to 8.",
                 this));
  layout->addWidget(hklSelect_);
  layout->addWidget(countLabel_);
  layout->addLayout(buttons);
  resize(520, 320);

  connect(okButton_, &QPushButton::clicked, this, &PoleFigurePicker::OKButtonClick);
  connect(cancelButton_, &QPushButton::clicked, this, &PoleFigurePicker::CancelButtonClick);
  connect(selectAllButton_, &QPushButton::clicked, this, &PoleFigurePicker::SelectAllButtonClick);
  connect(clearButton_, &QPushButton::clicked, this, &PoleFigurePicker::ClearButtonClick);
  connect(hklSelect_, &QListWidget::itemClicked, this, &PoleFigurePicker::ClickClick);
  connect(hklSelect_, &QListWidget::itemChanged, this, [this] { UpdateCount(); });
  UpdateCount();
}

void PoleFigurePicker::SetItems(const std::vector<std::string>& names) {
  hklSelect_->clear();
  for (const auto& name : names) {
    auto* item = new QListWidgetItem(QString::fromStdString(name), hklSelect_);
    // Clicks are handled here, so that a click anywhere on the entry toggles it once.
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setCheckState(Qt::Unchecked);
  }
  if (!names.empty()) hklSelect_->setCurrentRow(0);
  cutBySelectAll_ = false;
  UpdateCount();
}

int PoleFigurePicker::Count() const { return hklSelect_->count(); }
std::string PoleFigurePicker::ItemText(int index) const {
  auto* item = hklSelect_->item(index);
  return item ? item->text().toStdString() : std::string();
}
bool PoleFigurePicker::Checked(int index) const {
  auto* item = hklSelect_->item(index);
  return item && item->checkState() == Qt::Checked;
}
void PoleFigurePicker::SetChecked(int index, bool on) {
  if (auto* item = hklSelect_->item(index)) item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}
int PoleFigurePicker::CheckedCount() const {
  int checked = 0;
  for (int i = 0; i < Count(); ++i) checked += Checked(i) ? 1 : 0;
  return checked;
}
int PoleFigurePicker::Highlighted() const { return hklSelect_->currentRow(); }
void PoleFigurePicker::SetHighlighted(int index) { hklSelect_->setCurrentRow(index); }

void PoleFigurePicker::OKButtonClick() {
  int checked = 0;
  for (int i = Count() - 1; i >= 0; --i) {
    if (Checked(i)) {
      ++checked;
      SetHighlighted(i);
    }
  }
  if (checked > kMaxTicked) {
    QMessageBox::warning(this, windowTitle(),
                         QString("%1 pole figures are checked, but at most 8 fit: uncheck some of them.").arg(checked));
    return;
  }
  if (checked >= 1) accept();
}

void PoleFigurePicker::CancelButtonClick() { reject(); }

void PoleFigurePicker::SelectAllButtonClick() {
  // No more than fit into the windows: the others would only be refused at OK.
  for (int i = 0; i < Count(); ++i) SetChecked(i, i < kMaxTicked);
  cutBySelectAll_ = Count() > kMaxTicked;
  UpdateCount();
}

void PoleFigurePicker::ClearButtonClick() {
  for (int i = 0; i < Count(); ++i) SetChecked(i, false);
}

void PoleFigurePicker::UpdateCount() {
  const int checked = CheckedCount();
  if (checked != kMaxTicked) cutBySelectAll_ = false;
  QString text;
  if (checked == 0)
    text = "Nothing ticked: tick at least one pole figure.";
  else if (checked > kMaxTicked)
    text = QString("%1 ticked, but at most %2 fit: untick some of them.").arg(checked).arg(kMaxTicked);
  else if (cutBySelectAll_)
    text = QString("The first %1 of %2 pole figures ticked: at most %1 fit.").arg(kMaxTicked).arg(Count());
  else
    text = QString("%1 of at most %2 ticked.").arg(checked).arg(kMaxTicked);
  countLabel_->setText(text);
  const bool fits = checked >= 1 && checked <= kMaxTicked;
  okButton_->setEnabled(fits);
  okButton_->setToolTip(fits ? QString() : QString("Tick 1 to %1 pole figures").arg(kMaxTicked));
}

void PoleFigurePicker::ClickClick(QListWidgetItem*) {
  const int i = Highlighted();
  if (i >= 0) SetChecked(i, !Checked(i));
}

bool PoleFigurePicker::eventFilter(QObject* watched, QEvent* event) {
  // Space ticks the current entry, as in any check list.
  if (watched == hklSelect_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
    ClickClick(hklSelect_->currentItem());
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void PoleFigurePicker::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  UpdateColumns();
}

void PoleFigurePicker::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  UpdateColumns();
}

void PoleFigurePicker::UpdateColumns() {
  // Three columns across the list, whatever its width.
  const int column = std::max(60, (hklSelect_->width() - 2 * hklSelect_->frameWidth() - 4) / 3);
  hklSelect_->setGridSize(QSize(column, hklSelect_->fontMetrics().height() + 6));
}

}  // namespace quorix
