#include "ui/pole_figure_picker.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace quorix {

PoleFigurePicker::PoleFigurePicker(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Select (8 max)");
  HKLSelect = new QListWidget(this);
  // Three columns, filled top to bottom like a multi-column check list.
  HKLSelect->setFlow(QListView::TopToBottom);
  HKLSelect->setWrapping(true);
  HKLSelect->setResizeMode(QListView::Adjust);
  HKLSelect->setUniformItemSizes(true);
  HKLSelect->setSelectionMode(QAbstractItemView::SingleSelection);
  OKButton = new QPushButton("OK", this);
  CancelButton = new QPushButton("Cancel", this);
  SelectAllButton = new QPushButton("Select all", this);
  ClearButton = new QPushButton("Clear selection", this);
  OKButton->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(SelectAllButton);
  buttons->addWidget(ClearButton);
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(HKLSelect);
  layout->addLayout(buttons);
  resize(520, 320);

  connect(OKButton, &QPushButton::clicked, this, &PoleFigurePicker::OKButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &PoleFigurePicker::CancelButtonClick);
  connect(SelectAllButton, &QPushButton::clicked, this, &PoleFigurePicker::SelectAllButtonClick);
  connect(ClearButton, &QPushButton::clicked, this, &PoleFigurePicker::ClearButtonClick);
  connect(HKLSelect, &QListWidget::itemClicked, this, &PoleFigurePicker::ClickClick);
}

void PoleFigurePicker::SetItems(const std::vector<std::string>& names) {
  HKLSelect->clear();
  for (const auto& name : names) {
    auto* item = new QListWidgetItem(QString::fromStdString(name), HKLSelect);
    // Clicks are handled here, so that a click anywhere on the entry toggles it once.
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setCheckState(Qt::Unchecked);
  }
  if (!names.empty()) HKLSelect->setCurrentRow(0);
}

int PoleFigurePicker::Count() const { return HKLSelect->count(); }
std::string PoleFigurePicker::ItemText(int index) const {
  auto* item = HKLSelect->item(index);
  return item ? item->text().toStdString() : std::string();
}
bool PoleFigurePicker::Checked(int index) const {
  auto* item = HKLSelect->item(index);
  return item && item->checkState() == Qt::Checked;
}
void PoleFigurePicker::SetChecked(int index, bool on) {
  if (auto* item = HKLSelect->item(index)) item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}
int PoleFigurePicker::Highlighted() const { return HKLSelect->currentRow(); }
void PoleFigurePicker::SetHighlighted(int index) { HKLSelect->setCurrentRow(index); }

void PoleFigurePicker::OKButtonClick() {
  int checked = 0;
  for (int i = Count() - 1; i >= 0; --i) {
    if (Checked(i)) {
      ++checked;
      SetHighlighted(i);
    }
  }
  if (checked > 8) {
    QMessageBox::warning(this, windowTitle(),
                         QString("%1 pole figures are checked, but at most 8 fit: uncheck some of them.").arg(checked));
    return;
  }
  if (checked >= 1) accept();
}

void PoleFigurePicker::CancelButtonClick() { reject(); }

void PoleFigurePicker::SelectAllButtonClick() {
  for (int i = 0; i < Count(); ++i) SetChecked(i, true);
}

void PoleFigurePicker::ClearButtonClick() {
  for (int i = 0; i < Count(); ++i) SetChecked(i, false);
}

void PoleFigurePicker::ClickClick(QListWidgetItem*) {
  const int i = Highlighted();
  if (i >= 0) SetChecked(i, !Checked(i));
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
  const int column = std::max(60, (HKLSelect->width() - 2 * HKLSelect->frameWidth() - 4) / 3);
  HKLSelect->setGridSize(QSize(column, HKLSelect->fontMetrics().height() + 6));
}

}  // namespace quorix
