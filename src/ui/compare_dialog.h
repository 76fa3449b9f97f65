// " Calculate Pole Figure Difference PF1 - PF2": Eps and the files of
// "Compare Pole Figures".
#pragma once

#include <QDialog>
#include <string>

#include "transform/pf_difference.h"
#include "ui/app_context.h"

class QLineEdit;
class QPushButton;
class QToolButton;

namespace quorix {

// What the dialog asks for once closed with OK.
struct CompareRequest {
  double eps = 0.5;
  std::string diffFile;  // empty: not written
  std::string rpFile;
  std::string logFile;
};

class CompareDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CompareDialog(AppContext& context, QWidget* parent = nullptr);

  // The names offered for PF1, filled in before the dialog is shown.
  void Propose(const DiffFileNames& names);
  // The Eps typed, valid once the dialog closed with OK.
  double Eps() const { return eps_; }
  CompareRequest Request() const;

  // File part of the last log written to, offered again for the rest of the run.
  std::string RPLogName = kDefaultRPLogName;

  void EpsUpDownClick(bool up);
  void RP0ButtonClick();
  void RP1ButtonClick();
  void DiffSearchButtonClick();
  void RPSearchButtonClick();
  void RPLogSearchButtonClick();
  void OKBitBtnClick();

 private:
  QPushButton* OKBitBtn = nullptr;
  QPushButton* CancelBitBtn = nullptr;
  QLineEdit* EpsEdit = nullptr;
  QWidget* EpsUpDown = nullptr;
  QToolButton* EpsUpButton = nullptr;
  QToolButton* EpsDownButton = nullptr;
  QPushButton* RP0Button = nullptr;
  QPushButton* RP1Button = nullptr;
  QLineEdit* DiffFileEdit = nullptr;
  QPushButton* DiffSearchButton = nullptr;
  QLineEdit* RPFileEdit = nullptr;
  QPushButton* RPSearchButton = nullptr;
  QLineEdit* RPLogFileEdit = nullptr;
  QPushButton* RPLogSearchButton = nullptr;
  void SearchInto(QLineEdit* edit, const QString& title, bool append);

  AppContext& context_;
  double eps_ = 0.5;
};

}  // namespace quorix
