// "Select (8 max)": which pole figures of a multi-pole-figure file to load,
// and which of them goes to the main window (the highlighted entry).
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace quorix {

class PoleFigurePicker : public QDialog {
  Q_OBJECT
 public:
  explicit PoleFigurePicker(QWidget* parent = nullptr);

  void SetItems(const std::vector<std::string>& names);
  int Count() const;
  std::string ItemText(int index) const;  // 0-based
  bool Checked(int index) const;
  void SetChecked(int index, bool on);
  int Highlighted() const;  // 0-based, -1 when none
  void SetHighlighted(int index);

  QListWidget* HKLSelect = nullptr;
  QPushButton* OKButton = nullptr;
  QPushButton* CancelButton = nullptr;
  QPushButton* SelectAllButton = nullptr;
  QPushButton* ClearButton = nullptr;

 public slots:
  void OKButtonClick();
  void CancelButtonClick();
  void SelectAllButtonClick();
  void ClearButtonClick();
  void ClickClick(QListWidgetItem* item);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void UpdateColumns();
};

}  // namespace quorix
