// "Define Contour Lines": the levels of the main pole figure edited by hand,
// and the colours of the levels.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "plot/level_editing.h"
#include "ui/app_context.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quorix {

// What the dialog needs of the windows: redraws and which additional
// windows are showing a pole figure.
struct ContourDlgHooks {
  std::function<void()> RedrawMain;
  std::function<std::vector<int>()> VisibleWindows;  // numbers 2..8
  std::function<void(int)> RedrawWindow;
};

class ContourDialog : public QDialog {
  Q_OBJECT
 public:
  ContourDialog(AppContext& context, ContourDlgHooks hooks, QWidget* parent = nullptr);

  // "&Contours": shown without blocking the main window; filled from PF[1]
  // whenever it becomes visible.
  void ShowContours();
  // Fills the lists and fields from PF[1] again.
  void Refresh();
  bool LevelsEdited() const { return levelsEdited_; }

  void DeleteBtnClick();
  void SortBtnClick();
  void RecalcBtnClick();
  void LastBtnClick();
  void OKBtnClick();
  void SaveColorBtnClick();
  void LoadColorBtnClick();
  void ColorDrawGridDblClick(int row);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* DeleteBtn = nullptr;
  QTableWidget* StringGrid = nullptr;
  QTableWidget* ColorDrawGrid = nullptr;
  QLineEdit* FirstEdit = nullptr;
  QLineEdit* StepEdit = nullptr;
  QLineEdit* LastEdit = nullptr;
  QCheckBox* ApplyAllCheckBox = nullptr;
  QPushButton* SortBtn = nullptr;
  QPushButton* SaveColorBtn = nullptr;
  QPushButton* LoadColorBtn = nullptr;
  QPushButton* RecalcBtn = nullptr;
  QPushButton* LastBtn = nullptr;
  PoleFigure& Main();
  LevelRows Rows() const;
  void SetRows(const LevelRows& rows);
  void ClearFields();
  void StringGridEnter();
  void RedrawColors();
  QString ColorSetFolder() const;

  AppContext& context_;
  ContourDlgHooks hooks_;
  bool levelsEdited_ = false;
};

}  // namespace quorix
