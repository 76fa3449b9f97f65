#include "ui/plot_export.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <functional>

#include "base/nearest.h"
#include "base/text_file.h"
#include "plot/export_names.h"
#include "plot/plot_files.h"
#include "plot/projection.h"
#include "plot/render.h"
#include "qtcanvas/qt_canvas.h"
#include "ui/export_figure_dialog.h"
#include "ui/load_files_dialog.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/plot_drawing.h"
#include "ui/plot_view.h"
#include "ui/plot_window.h"

namespace quorix {
namespace {

using Writer = bool (*)(const std::string&, const PoleFigure&, const ProgramState&, int, int, const std::string&,
                        MessageSink&, MessageSink*);

QString ChooseFile(MainWindow& mainform, AppContext& context, const QString& title, const char* filter) {
  const std::string proposed = ProposedPlotName(context.DataFileName);
  const QString start = QString::fromStdString(
      context.state.DataPath.empty() ? proposed : context.state.DataPath + "/" + FileNamePart(proposed));
  const QStringList filters = FileDialogFilters(filter);
  return QFileDialog::getSaveFileName(&mainform, title, start, filters.join(";;"), nullptr,
                                      QFileDialog::DontConfirmOverwrite);
}

bool WriteOne(MainWindow& mainform, AppContext& context, Writer write, const std::string& path, const PoleFigure& pf) {
  MessageBoxSink notes(&mainform);
  MessageBoxSink failure(&mainform, true);
  const PlotView* image = mainform.Plot();
  if (!write(path, pf, context.state, image->height(), image->width(), PlotTitleOf(pf), failure, &notes)) return false;
  mainform.ShowSaved(path);
  return true;
}

void SavePlots(MainWindow& mainform, AppContext& context, bool all, const QString& oneTitle, const QString& allTitle,
               const char* filter, const std::string& extension, Writer write) {
  const PoleFigure* main = context.set.PF[1].get();
  if (!main) return;
  const QString chosen = ChooseFile(mainform, context, all ? allTitle : oneTitle, filter);
  if (chosen.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (!all) {
    WriteOne(mainform, context, write, SinglePlotName(chosen.toStdString(), extension), *main);
  } else {
    const std::string base = PlotBaseName(chosen.toStdString());
    if (WriteOne(mainform, context, write, NumberedPlotName(base, 1, extension), *main)) {
      for (int n = 2; n <= kSlotCount; ++n) {
        if (!mainform.WindowVisible(n)) continue;
        if (!WriteOne(mainform, context, write, NumberedPlotName(base, n, extension), *context.set.PF[n])) break;
      }
    }
  }
  QApplication::restoreOverrideCursor();
}

}  // namespace

void SavePlotsHpgl(MainWindow& mainform, AppContext& context, bool all) {
  SavePlots(mainform, context, all, "Save Plot in HPGL Format", "Save all Plots in HPGL Format",
            "Plot files (*.plt)|*.plt|All files  (*.*)|*.*", ".plt", &WriteHpglFile);
}

void SavePlotsEmf(MainWindow& mainform, AppContext& context, bool all) {
  SavePlots(mainform, context, all, "Save Plot in EMF Format", "Save all Plots in EMF Format",
            "Windows Enhanced Metafile (*.emf)|*.emf|All files (*.*)|*.*", ".emf", &WriteEmfFile);
}

bool DrawPlotPage(QPaintDevice& device, const QSize& page, const PoleFigure& pf, const ProgramState& state,
                  int screenWidth, int screenHeight, MessageSink* messages) {
  if (screenWidth < 1 || screenHeight < 1 || page.isEmpty()) return false;
  // The layout follows the plot's side alone. A narrow window cuts the long
  // lines at its right edge; the page is made wide enough to show them whole.
  const int side = PlotSize(screenWidth, screenHeight);
  const int drawWidth = std::max(Nearest(1.4 * side) + 1, 3 * side);
  const QImage probe = DrawPlotImage(pf, state, drawWidth, side);
  int right = 0;
  for (int y = 0; y < probe.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
    for (int x = probe.width() - 1; x > right; --x)
      if (row[x] != qRgb(255, 255, 255)) {
        right = x;
        break;
      }
  }
  // A little room for text that the printer renders a shade wider.
  const int frameWidth = std::max(screenWidth, right + 3 + side / 50);
  // One scale for lines, fonts and line heights keeps the screen's layout.
  const double scale =
      std::min(static_cast<double>(page.width()) / frameWidth, static_cast<double>(page.height()) / screenHeight);
  QtVectorCanvas canvas(device, scale);
  if (!canvas.IsActive()) return false;
  canvas.SetPenWidth(1);
  PlotPoleFigure(pf, state, canvas, side, drawWidth, "", messages);
  canvas.Finish();
  return true;
}

void PrintPlot(MainWindow& mainform, AppContext& context) {
  const PoleFigure* pf = context.set.PF[1].get();
  if (!pf) return;
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, &mainform);
  if (dialog.exec() != QDialog::Accepted) return;
  // The painter of a printer starts at the printable area, inside the page margins.
  const QSize page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
  const PlotView* image = mainform.Plot();
  MessageBoxSink sink(&mainform);
  if (!DrawPlotPage(printer, page, *pf, context.state, image->width(), image->height(), &sink))
    QMessageBox::critical(&mainform, mainform.windowTitle(), "Cannot print.");
}

void CopyPlotToClipboard(MainWindow& mainform) { QApplication::clipboard()->setImage(mainform.Plot()->Image()); }

Commands ExportCommands(MainWindow& mainform, AppContext& context) {
  const QString file = "&File";
  Commands c;
  const auto plots = [&](const QString& submenu, bool hpgl) {
    for (const bool all : {false, true}) {
      c.push_back(MenuCommand(file, 2, all ? "All" : "Main", [&mainform, &context, hpgl, all] {
        hpgl ? SavePlotsHpgl(mainform, context, all) : SavePlotsEmf(mainform, context, all);
      }));
      c.back().submenu = submenu;
    }
  };
  plots("PLT to &File", true);
  plots("EMF to File", false);
  c.push_back(MenuCommand(file, 2, "E&xport plot...", [&mainform] { mainform.ExportPlot(); }));
  c.push_back(MenuCommand(file, 2, "Export Fi&gure...", [&] { RunExportFigure(mainform, context); }));
  c.push_back(MenuCommand(file, 2, "&Print", [&] { PrintPlot(mainform, context); }));
  c.back().shortcuts = {QKeySequence(QKeySequence::Print)};
  c.push_back(MenuCommand(file, 2, "Save to &Clipboard", [&mainform] { CopyPlotToClipboard(mainform); }));
  c.push_back(ToolCommand(1, "PLT", "Save PF to HPGL-File", [&](bool) { SavePlotsHpgl(mainform, context, false); }));
  c.push_back(
      ToolCommand(1, "All", "Save all PFs to HPGL-Files", [&](bool) { SavePlotsHpgl(mainform, context, true); }));
  c.push_back(ToolCommand(1, "EMF", "Save PF to EMF-File", [&](bool) { SavePlotsEmf(mainform, context, false); }));
  c.push_back(ToolCommand(1, "All", "Save all PFs to EMF-Files", [&](bool) { SavePlotsEmf(mainform, context, true); }));
  return c;
}

}  // namespace quorix
