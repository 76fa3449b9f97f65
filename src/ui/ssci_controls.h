// The tool-bar controls of "Suppress Single Crystal &Intensities": the level
// and count field, the level spin box and "OK", hidden until started.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

#include "transform/ssci.h"
#include "ui/app_context.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolBar;

namespace quorix {

struct SSCIHooks {
  // Off while the controls are shown: the menus as a group, the "&File"
  // menu, the "Open File" button and the size label, so PF[1] stays put.
  std::function<void(bool enabled)> SetCommandsEnabled;
  std::function<void()> RedrawMain;
  // The session's start, and its end: kept ("OK") or cancelled.
  std::function<void()> Started;
  std::function<void(bool keep)> Finished;
  // Shows or hides the bar that holds the controls.
  std::function<void(bool visible)> ShowBar;
};

class SSCIControls : public QObject {
  Q_OBJECT
 public:
  SSCIControls(AppContext& context, QToolBar& bar, SSCIHooks hooks, QObject* parent = nullptr);

  // Start: backup of PF[1], level 0, "0:0", the controls shown.
  void SSCIClick();
  // A new level of the spin box, computed afresh from the backup.
  void SSCIUpDownClick();
  // "OK": the current level's values stay.
  void SSCIBtnClick();
  // "Cancel": PF[1] as it was before the session.
  void CancelClick();
  bool Active() const { return active_; }

 private:
  QPushButton* CancelBtn = nullptr;
  QLineEdit* SSCIEdit = nullptr;
  QSpinBox* SSCIUpDown = nullptr;
  QPushButton* SSCIBtn = nullptr;
  QLabel* SSCILabel = nullptr;
  void SetVisible(bool visible);

  AppContext& context_;
  SSCIHooks hooks_;
  QAction* editAction_ = nullptr;
  QAction* upDownAction_ = nullptr;
  QAction* btnAction_ = nullptr;
  QAction* labelAction_ = nullptr;
  QAction* cancelAction_ = nullptr;
  bool active_ = false;
  // The record the backup belongs to and its revision as last left, so that
  // a record swapped in or changed meanwhile is never "restored" from a foreign backup.
  const PoleFigure* session_ = nullptr;
  std::uint64_t left_ = 0;
  SuppressionBackup backup_;  // of the session's record
};

}  // namespace quorix
