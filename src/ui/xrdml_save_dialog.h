// "Save as XRDML": output file, sample file, sign handling and the reflection.
#pragma once

#include <QDialog>

#include "io/xrdml_writer.h"
#include "ui/app_context.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quorix {

inline constexpr const char* kXrdmlFilter = "Philips Xray measurement (*.xrdml)|*.xrdml";

class XrdmlSaveDialog : public QDialog {
  Q_OBJECT
 public:
  XrdmlSaveDialog(AppContext& context, QWidget* parent = nullptr);

  XrdmlOptions Options() const;

  QLineEdit* OutEdit = nullptr;
  QPushButton* OutSearchButton = nullptr;
  QLineEdit* SampleEdit = nullptr;
  QPushButton* SampleSearchButton = nullptr;
  QCheckBox* ZeroCheckBox = nullptr;
  QSpinBox* HSpinEdit = nullptr;
  QSpinBox* KSpinEdit = nullptr;
  QSpinBox* LSpinEdit = nullptr;
  QPushButton* OKBitBtn = nullptr;
  QPushButton* CancelBitBtn = nullptr;

  void OutSearchButtonClick();
  void SampleSearchButtonClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void UpdateOK();

  AppContext& context_;
};

}  // namespace quorix
