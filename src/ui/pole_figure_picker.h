// "Select (8 max)": which pole figures of a multi-pole-figure file to load,
// and which of them goes to the main window (the highlighted entry).
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace quorix {

class PoleFigurePicker : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kMaxTicked = 8;

  explicit PoleFigurePicker(QWidget* parent = nullptr);

  void SetItems(const std::vector<std::string>& names);
  int Count() const;
  std::string ItemText(int index) const;  // 0-based
  bool Checked(int index) const;
  void SetChecked(int index, bool on);
  int CheckedCount() const;
  int Highlighted() const;  // 0-based, -1 when none
  void SetHighlighted(int index);

 public slots:
  void OKButtonClick();
  void CancelButtonClick();
  void SelectAllButtonClick();
  void ClearButtonClick();
  void ClickClick(QListWidgetItem* item);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void UpdateColumns();
  // The count line and OK follow the ticks, so the rule is seen before OK is pressed.
  void UpdateCount();

  QListWidget* hklSelect_ = nullptr;
  QLabel* countLabel_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* selectAllButton_ = nullptr;
  QPushButton* clearButton_ = nullptr;
  bool cutBySelectAll_ = false;
};

}  // namespace quorix
