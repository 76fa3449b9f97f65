// "Modify PF data" (EditAllDialog): one operation with one value on every point,
// and the operator group the three edit dialogs share.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <array>

#include "base/message_sink.h"
#include "ui/message_box_sink.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace quorix {

// "Add +", "Sub -", "Mul *", "Div /"; "Add +" selected at first.
class OperatorGroup : public QGroupBox {
  Q_OBJECT
 public:
  explicit OperatorGroup(QWidget* parent = nullptr);
  char Op() const;
  void SetOp(char op);
  std::array<QRadioButton*, 4> Buttons{};
};

class EditAllDialog : public QDialog {
  Q_OBJECT
 public:
  explicit EditAllDialog(QWidget* parent = nullptr);

  // The value of the last OK; valid after exec() returned Accepted.
  double Value() const { return value_; }
  char Op() const;
  bool ApplyToAll() const;

  OperatorGroup* OpRadioGroup = nullptr;

  // Closes the dialog only on a usable value: a field that is not a number
  // gets the focus, a zero divisor gives "Division by Zero".
  void OKBtnClick();

  // Messages go to message boxes unless a sink is set (tests).
  void SetMessageSink(MessageSink* sink) { sink_ = sink; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QCheckBox* ApplyToAllCheckBox = nullptr;
  QLineEdit* ValueEdit = nullptr;
  MessageBoxSink boxes_{this};
  MessageSink* sink_ = nullptr;
  double value_ = 1;
};

}  // namespace quorix
