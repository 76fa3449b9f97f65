// "Export plot...": the main plot into a PNG, SVG or PDF file, drawn by the
// same function as `quorix-cli render`.
#pragma once

#include <QDialog>
#include <string>

#include "qtcanvas/plot_file.h"
#include "ui/app_context.h"

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quorix {

class ExportPlotDialog : public QDialog {
  Q_OBJECT
 public:
  ExportPlotDialog(AppContext& context, QWidget* parent = nullptr);

  // Offers the window's plot size and a file name for the pole figure shown;
  // the folder, kind and resolution chosen last stay.
  void Prepare(int width, int height);
  PlotFileRequest Request() const;
  // Writes the file; on failure a message naming it, and the dialog keeps what was typed.
  bool Export();
  const std::string& Written() const { return written_; }

 private:
  QLineEdit* FileEdit = nullptr;
  QPushButton* SearchBtn = nullptr;
  QSpinBox* WidthBox = nullptr;
  QSpinBox* HeightBox = nullptr;
  QSpinBox* DpiBox = nullptr;
  void SearchClick();
  void OKClick();

  AppContext& context_;
  std::string written_;
};

// The file name offered for exporting `pf`: its data file's name with its
// place in the file and its hkl, in the folder and of the kind of `previous`.
QString ProposedExportName(const PoleFigure& pf, const QString& previous);

}  // namespace quorix
