// "Export Figure...": the pole figures of the open windows as one figure for
// publication, with a live preview; the choices are remembered.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "plot/figure.h"
#include "settings/settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QTimer;

namespace quorix {

struct AppContext;
class MainWindow;

class ExportFigureDialog : public QDialog {
 public:
  // windows: the slots of the open windows, main first.
  ExportFigureDialog(AppContext& context, const std::vector<int>& windows, QWidget* parent = nullptr);

  // The panels and options as the controls stand.
  std::vector<FigurePanel> Panels() const;
  FigureOptions Options() const;
  FigureSettings Settings() const;
  // Writes the file; false after a message box.
  bool Export();

  QListWidget* WindowList = nullptr;
  QSpinBox* RowsBox = nullptr;
  QSpinBox* ColumnsBox = nullptr;
  QLineEdit* LevelsEdit = nullptr;
  QCheckBox* LogBox = nullptr;
  QCheckBox* SharedBox = nullptr;
  QComboBox* StyleBox = nullptr;
  QComboBox* MapBox = nullptr;
  QComboBox* ProjectionBox = nullptr;
  QSpinBox* WidthBox = nullptr;
  QSpinBox* FontBox = nullptr;
  QSpinBox* DpiBox = nullptr;
  QLineEdit* TitleEdit = nullptr;
  QCheckBox* LabelsBox = nullptr;
  QCheckBox* ExtremesBox = nullptr;
  QLineEdit* FileEdit = nullptr;
  QLabel* Preview = nullptr;

 private:
  void Apply(const FigureSettings& s);
  void SchedulePreview();
  void UpdatePreview();
  void OKClick();

  AppContext& context_;
  QTimer* previewTimer_ = nullptr;
};

// Opens the dialog over the main window's open windows and writes the figure.
void RunExportFigure(MainWindow& mainform, AppContext& context);

}  // namespace quorix
