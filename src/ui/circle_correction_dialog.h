// "Circle correction" (CircleCorrectionDialog): one operation with one value per circle;
// the values persist between uses and load from and save to ".edt" files.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "ui/app_context.h"
#include "ui/message_box_sink.h"

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace quorix {

class OperatorGroup;

inline constexpr const char* kEdtFilter = "Edit files (*.edt)|*.edt|All files (*.*)|*.*";

class CircleCorrectionDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CircleCorrectionDialog(AppContext& context, QWidget* parent = nullptr);

  // One row per circle: the numbers 1..count, the values kept from the last
  // use, "1.0" in rows that never held one.
  void SetCircleCount(int count);
  int Rows() const;
  std::vector<std::string> Cells() const;

  // The values of the last OK, circle 1 first; valid after exec() returned Accepted.
  const std::vector<double>& Values() const { return values_; }
  char Op() const;
  bool ApplyToAll() const;

  OperatorGroup* OpRadioGroup = nullptr;

  // Closes the dialog only when every cell holds a usable operand.
  void OKBtnClick();
  void LoadBtnClick();
  void SaveBtnClick();
  // The file halves of Load and Save, after the file was chosen.
  void LoadFrom(const std::string& fileName);
  void SaveTo(const std::string& fileName);

  void SetMessageSink(MessageSink* sink) { sink_ = sink; }

 private:
  QCheckBox* ApplyToAllCheckBox = nullptr;
  QTableWidget* NumStringGrid = nullptr;
  QTableWidget* ValStringGrid = nullptr;
  QPushButton* LoadBtn = nullptr;
  QPushButton* SaveBtn = nullptr;
  MessageSink& Sink() { return sink_ ? *sink_ : boxes_; }
  void SetValue(int row, const QString& text);

  AppContext& context_;
  MessageBoxSink boxes_{this};
  MessageSink* sink_ = nullptr;
  std::vector<double> values_;
};

}  // namespace quorix
