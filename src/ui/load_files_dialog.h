// " Load Files": the one way pole figures enter the program.
#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

#include "io/data_layout.h"
#include "io/measurement.h"
#include "ui/app_context.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorix {

class DensityDialog;
class MainWindow;
class PoleFigurePicker;

// What the dialog's fields ask for.
struct LoadFilesRequest {
  std::string dataFile;
  std::string gridFile;  // may stay empty for a data file that carries its grid
  bool directional = false;
  MeasurementOptions measurement;
};

// The layout of a data file from its first part: enough for every detection
// rule, cheap for a large file. None when the file cannot be read.
DataLayout PeekLayout(const std::string& dataFile);

class LoadFilesDialog : public QDialog {
  Q_OBJECT
 public:
  LoadFilesDialog(AppContext& context, MainWindow& mainform, PoleFigurePicker& hkl, QWidget* parent = nullptr);

  LoadFilesRequest Request() const;
  // Shows a request in the fields, e.g. the command line's files.
  void ShowRequest(const LoadFilesRequest& request);
  void ShowFiles(const std::string& dataFile, const std::string& gridFile);
  void ShowGridFile(const std::string& gridFile);
  void FocusGridField() { FocusField(GridEdit); }
  // The load sequence of OK; true when the main pole figure was loaded.
  // fromUser: asks about unsaved work and loads the further ticked pole
  // figures or chosen files into windows 2..8; false for a reload of the
  // main pole figure alone.
  bool Submit(const LoadFilesRequest& request, bool fromUser);
  void OKBtnClick(bool fromUser) { Submit(Request(), fromUser); }
  void PFButtonClick();
  void GridButtonClick();
  void CancelBtnClick();
  // Enables the grid and tilt fields as the data file's layout needs them.
  void UpdateFieldsForData();

  // The files chosen last in the data file dialog.
  const QStringList& ChosenFiles() const { return chosen_; }
  // "Parameters", asked before directional data are loaded.
  DensityDialog& DensityDlg() { return *density_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLineEdit* PFEdit = nullptr;
  QLineEdit* GridEdit = nullptr;
  QPushButton* PFButton = nullptr;
  QPushButton* GridButton = nullptr;
  QCheckBox* DirDataCheckBox = nullptr;
  QLabel* GridNote = nullptr;
  // Rigaku TXT files give no tilts: the first circle's and the step.
  QLineEdit* TiltStartEdit = nullptr;
  QLineEdit* TiltStepEdit = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  void LoadExtraWindows();
  void FocusField(QLineEdit* field);

  AppContext& context_;
  MainWindow& mainform_;
  PoleFigurePicker& hkl_;
  DensityDialog* density_ = nullptr;
  QStringList chosen_;
  QLineEdit* pendingFocus_ = nullptr;
  DataLayout dataLayout_ = DataLayout::None;  // of the file in the data field, as far as known
};

// Turns a filter of the form "Text|*.a;*.b|Text|*.*" into Qt's filter list.
QStringList FileDialogFilters(const std::string& filter);
// The filters of the data file's Search...: every layout the program reads.
QStringList DataFileFilters();

}  // namespace quorix
