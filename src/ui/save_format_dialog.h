// "Output Format": the column layout of the ASCII pole figure files.
#pragma once

#include <QDialog>

#include "io/ascii_writer.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace quorix {

class SaveFormatDialog : public QDialog {
  Q_OBJECT
 public:
  explicit SaveFormatDialog(QWidget* parent = nullptr);

  // Shows the dialog with `format`; on OK takes the values back (the factor
  // only with `withFactor`) and returns true.
  bool Edit(SaveFormat& format, bool withFactor);

  // Fills the controls (the factor only with `withFactor`) and names the standard.
  void SetFormat(const SaveFormat& format, bool withFactor);
  SaveFormat Format() const;

  void StandardChanged(int index);

 private:
  QComboBox* StandardCombo = nullptr;
  QSpinBox* NumSpinEdit = nullptr;
  QSpinBox* FormSpinEdit = nullptr;
  QSpinBox* KommaSpinEdit = nullptr;
  QSpinBox* FacSpinEdit = nullptr;
  QCheckBox* EnterCheckBox = nullptr;
  void NameStandard();
};

}  // namespace quorix
