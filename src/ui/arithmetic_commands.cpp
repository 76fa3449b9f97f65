// The menu commands that combine pole figures.
#include "ui/arithmetic_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>

#include "base/text_file.h"
#include "transform/pf_add.h"
#include "transform/pf_difference.h"
#include "ui/add_dialog.h"
#include "ui/child_dialogs.h"
#include "ui/compare_dialog.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/plot_window.h"
#include "workflow/rp_log.h"

namespace quorix {

CompareDialog& SharedCompareDialog(MainWindow& mainform, AppContext& context) {
  return FindOrCreateChild<CompareDialog>(mainform, [&] { return new CompareDialog(context, &mainform); });
}

AddDialog& SharedAddDialog(MainWindow& mainform, AppContext& context) {
  return FindOrCreateChild<AddDialog>(mainform, [&] { return new AddDialog(context, &mainform); });
}

void ComparePoleFigures(MainWindow& mainform, AppContext& context) {
  MessageBoxSink sink(&mainform);
  if (!mainform.WindowVisible(2)) {
    sink.Message("Load two pole figures to be compared.");
    return;
  }
  for (int n = 3; n <= kSlotCount; ++n)
    if (PlotWindow* w = mainform.Window(n); w && w->isVisible()) w->close();

  CompareDialog& dlg = SharedCompareDialog(mainform, context);
  const PoleFigure& pf1 = *context.set.PF[1];
  const PoleFigure& pf2 = *context.set.PF[2];
  dlg.Propose(ProposeDiffNames(pf1.FileName, context.load.Multi(), PlaceInFileText(pf1), context.state.DataPath,
                               dlg.RPLogName));
  if (dlg.exec() != QDialog::Accepted) return;

  const CompareRequest request = dlg.Request();
  auto result = ComparePoleFigures(pf1, pf2, request.eps, sink);
  if (!result) return;
  if (!context.state.Options.ShowMrd) {
    mainform.Action("mrdSpeedButton")->setChecked(true);
    mainform.mrdSpeedButtonClick(true);
  }

  const std::string& diffFile = request.diffFile;
  const std::string& rpFile = request.rpFile;
  const std::string& logFile = request.logFile;
  const RPLogEntry entry = RPLogEntryFor(pf1, pf2, context.load.Multi(), *result);

  context.set.PF[3] = std::move(result->difference);
  context.set.PF[4] = std::move(result->rp);
  mainform.ShowInWindow(3, FileNamePart(diffFile));
  mainform.ShowInWindow(4, FileNamePart(rpFile) + "   [RP=" + FormatRP(entry.rp) + (entry.rp ? "%]" : "]"));

  if (!logFile.empty() && AppendRPLog(logFile, entry, sink)) dlg.RPLogName = FileNamePart(logFile);
  WriteComparisonFiles(*context.set.PF[3], *context.set.PF[4], diffFile, rpFile, sink);
}

namespace {

void AddPoleFigures(MainWindow& mainform, AppContext& context, bool weighted) {
  AddDialog& dlg = SharedAddDialog(mainform, context);
  PoleFigure& pf1 = *context.set.PF[1];
  // Line 1 is the pole figure in memory: its index is the one it was read with.
  dlg.Prepare(weighted, pf1.FileName, context.load.Multi() ? std::max(1, std::abs(context.load.PFIndex)) : 1);
  if (dlg.exec() != QDialog::Accepted) return;
  const AddTables& t = dlg.Tables();
  MessageBoxSink sink(&mainform);
  mainform.ChangePoleFigures(weighted ? "Add Pole Figures weighted" : "Add Pole Figures fitted", {1}, [&] {
    // Further files of a layout without tilts take those the main one was loaded with.
    const MeasurementOptions& tilts = context.load.Measurement;
    const bool summed = weighted ? WeightedAddPF(pf1, context.GridFileName, dlg.NormalizePoleFigures(), t.weights,
                                                 t.indices, t.files, sink, tilts)
                                 : FittedAddPF(pf1, context.GridFileName, t.files, t.indices, sink, tilts);
    if (!summed) return false;
    FinishAddition(pf1, context.state.Options.ShowMrd);
    // The plot lists the files added to the main pole figure.
    context.state.AddListFiles.assign(t.files.begin() + 1, t.files.end());
    if (weighted) {
      // The weighted sum is captioned by the first file alone, no longer as one pole figure of it.
      mainform.SetSlotTitle(1, QString::fromStdString(FileNamePart(t.files.front())));
    }
    mainform.RedrawMain();
    return true;
  });
}

}  // namespace

void AddPoleFiguresWeighted(MainWindow& mainform, AppContext& context) { AddPoleFigures(mainform, context, true); }

void AddPoleFiguresFitted(MainWindow& mainform, AppContext& context) { AddPoleFigures(mainform, context, false); }

Commands ArithmeticCommands(MainWindow& mainform, AppContext& context) {
  const QString edit = "&Edit";
  return {MenuCommand(edit, 2, "Compare &Pole Figures", [&] { ComparePoleFigures(mainform, context); }),
          MenuCommand(edit, 2, "Add Pole Figures &weighted", [&] { AddPoleFiguresWeighted(mainform, context); }),
          MenuCommand(edit, 2, "Add Pole Figures &fitted", [&] { AddPoleFiguresFitted(mainform, context); })};
}

}  // namespace quorix
