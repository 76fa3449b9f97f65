// "Merge with rastered data" (RasterMergeDialog): point-by-point operation with a
// second pole figure on the same grid.
#pragma once

#include <QDialog>
#include <string>

#include "ui/app_context.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quorix {

class OperatorGroup;

inline constexpr const char* kLoadPFFilter = "Pole figure Files (*.x*; *.y*)|*.x*;*.y*|All Files (*.*)|*.*";

class RasterMergeDialog : public QDialog {
  Q_OBJECT
 public:
  explicit RasterMergeDialog(AppContext& context, QWidget* parent = nullptr);

  std::string FileName() const;
  char Op() const;
  bool ApplyToAll() const;

  OperatorGroup* OpRadioGroup = nullptr;

  // An empty file field keeps the dialog open.
  void OKBtnClick();
  void SearchSecondFileClick();

 private:
  QLineEdit* PFEdit = nullptr;
  QPushButton* SecondFileSearchButton = nullptr;
  QCheckBox* ApplyToAllCheckBox = nullptr;
  AppContext& context_;
};

}  // namespace quorix
