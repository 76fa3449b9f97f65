// "Save Pole Figure(s)": file name, layout family and rearrangement of "Save as ASCII".
#pragma once

#include <QDialog>

#include "io/ascii_writer.h"
#include "ui/app_context.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorix {

class SaveFormatDialog;

inline constexpr const char* kSavePoleFigureFilter =
    "PoleFigure Files(.x??,.y??,.s??,.pol)|*.x*;*.y*;*.s*;*.pol|Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

class SaveDialog : public QDialog {
  Q_OBJECT
 public:
  // The number format comes once from section "SaveFormat" of the configuration.
  SaveDialog(AppContext& context, SaveFormatDialog& formatDlg, QWidget* parent = nullptr);

  AsciiWriteOptions Options() const;
  const SaveFormat& Format() const { return format_; }
  bool SaveAll() const;
  QString FileName() const;
  void SetFileName(const QString& name);

  void SearchButtonClick();
  void ChangeBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QCheckBox* ZeroCheckBox = nullptr;
  QLineEdit* PFEdit = nullptr;
  QPushButton* SearchButton = nullptr;
  QLabel* Panel = nullptr;
  QPushButton* ChangeBtn = nullptr;
  QCheckBox* XYCheckBox = nullptr;
  QGroupBox* ProjectionRadioGroup = nullptr;
  QRadioButton* EqualAreaButton = nullptr;
  QRadioButton* EqualAngularButton = nullptr;
  QRadioButton* PolarButton = nullptr;
  QCheckBox* InvTheta = nullptr;
  QCheckBox* InvPhi = nullptr;
  QCheckBox* SaveAllCheckBox = nullptr;
  AppContext& context_;
  SaveFormatDialog& formatDlg_;
  SaveFormat format_;
};

}  // namespace quorix
