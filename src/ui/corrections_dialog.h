// "Corrections...": background files, defocusing (random sample, TEXD5 file
// or curve), thin-film absorption and normalisation of the main window's pole
// figure, with a small plot of D(alpha) and of the background per circle.
#pragma once

#include <QDialog>
#include <QWidget>
#include <optional>
#include <vector>

#include "correction/correction_files.h"
#include "ui/app_context.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace quorix {

class MainWindow;

// D(alpha) on the left scale, the mean background per circle on the right one.
class CorrectionPreview : public QWidget {
  Q_OBJECT
 public:
  explicit CorrectionPreview(QWidget* parent = nullptr);
  void Show(const CorrectionReport& report);
  void Clear();
  const CorrectionReport& Report() const { return report_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CorrectionReport report_;
};

class CorrectionsDialog : public QDialog {
  Q_OBJECT
 public:
  CorrectionsDialog(AppContext& context, MainWindow& mainform, QWidget* parent = nullptr);

  // What the fields ask for; none after a message box on a field that does not parse.
  std::optional<CorrectionFiles> Request();
  // The main pole figure corrected as the fields say; nothing after a message.
  std::optional<CorrectionOutcome> Corrected();
  // Corrects a copy of the main pole figure and shows D(alpha), the
  // backgrounds and the notes; nothing changes.
  void PreviewClick();
  // The corrected pole figure replaces the main one as one undoable step.
  void OKBtnClick();

  QLineEdit* Background1Edit = nullptr;
  QLineEdit* Background2Edit = nullptr;
  QCheckBox* OwnBackgroundCheckBox = nullptr;
  QLineEdit* DefocusEdit = nullptr;
  QLineEdit* DefocusBackgroundEdit = nullptr;
  QLineEdit* DefocusCurveEdit = nullptr;
  QLineEdit* DefocusBlockEdit = nullptr;
  QCheckBox* PointwiseCheckBox = nullptr;
  QLineEdit* TwoThetaEdit = nullptr;
  QCheckBox* ThinFilmCheckBox = nullptr;
  QLineEdit* ThinFilmEdit = nullptr;
  QCheckBox* MrdCheckBox = nullptr;
  CorrectionPreview* Preview = nullptr;
  QLabel* NotesLabel = nullptr;

 private:
  AppContext& context_;
  MainWindow& mainform_;
};

}  // namespace quorix
