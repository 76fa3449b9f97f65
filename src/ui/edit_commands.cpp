// The commands of the "&Edit" menu that change intensities in place.
#include "ui/edit_commands.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <vector>

#include "record/statistics.h"
#include "transform/intensity_edit.h"
#include "ui/child_dialogs.h"
#include "ui/circle_correction_dialog.h"
#include "ui/corrections_dialog.h"
#include "ui/edit_all_dialog.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/plot_window.h"
#include "ui/raster_merge_dialog.h"
#include "ui/ssci_controls.h"

namespace quorix {

namespace {

// PF[1], and with "apply to all" the pole figure of every visible window 2..8
// in window order, each edited, given new levels and redrawn. The edits are
// made on copies first: when one fails (an overflow), no window changes.
void ForEachTarget(MainWindow& mainform, AppContext& context, bool applyToAll, const QString& caption,
                   const std::function<bool(PoleFigure&)>& edit) {
  const bool showMrd = context.state.Options.ShowMrd;
  std::vector<int> targets{1};
  if (applyToAll)
    for (int n = 2; n <= kSlotCount; ++n)
      if (mainform.WindowVisible(n) && context.set.Occupied(n)) targets.push_back(n);
  std::vector<std::unique_ptr<PoleFigure>> edited;
  for (int n : targets) {
    edited.push_back(std::make_unique<PoleFigure>(*context.set.PF[n]));
    if (!edit(*edited.back())) {
      QMessageBox::warning(&mainform, mainform.windowTitle(), kEditOverflowMessage);
      return;
    }
  }
  mainform.ChangePoleFigures(caption, targets, [&] {
    for (std::size_t k = 0; k < targets.size(); ++k) {
      PoleFigure& pf = *context.set.PF[targets[k]];
      pf = std::move(*edited[k]);
      RefreshLevelsAfterEdit(pf, showMrd);
      if (targets[k] == 1)
        mainform.RedrawMain();
      else
        mainform.Window(targets[k])->Redraw();
    }
    return true;
  });
}

}  // namespace

EditAllDialog& SharedEditAllDialog(MainWindow& mainform) {
  return FindOrCreateChild<EditAllDialog>(mainform, [&] { return new EditAllDialog(&mainform); });
}

CircleCorrectionDialog& SharedCircleCorrectionDialog(MainWindow& mainform, AppContext& context) {
  return FindOrCreateChild<CircleCorrectionDialog>(mainform,
                                                   [&] { return new CircleCorrectionDialog(context, &mainform); });
}

RasterMergeDialog& SharedRasterMergeDialog(MainWindow& mainform, AppContext& context) {
  return FindOrCreateChild<RasterMergeDialog>(mainform, [&] { return new RasterMergeDialog(context, &mainform); });
}

SSCIControls& SuppressionControls(MainWindow& mainform, AppContext& context) {
  return FindOrCreateChild<SSCIControls>(mainform, [&] {
    SSCIHooks hooks;
    hooks.SetCommandsEnabled = [&mainform](bool enabled) { mainform.SetCommandsEnabled(enabled); };
    hooks.RedrawMain = [&mainform] { mainform.RedrawMain(); };
    hooks.Started = [&mainform] { mainform.BeginSuppressionStep(); };
    hooks.Finished = [&mainform](bool keep) { mainform.EndSuppressionStep(keep); };
    // A row of its own under the tool bar: at the end of the tool bar the
    // controls vanished into its overflow menu on a window of normal width.
    mainform.addToolBarBreak();
    QToolBar* bar = mainform.addToolBar("Suppression");
    bar->setObjectName("SuppressionBar");
    bar->setMovable(false);
    bar->hide();
    hooks.ShowBar = [bar](bool visible) { bar->setVisible(visible); };
    return new SSCIControls(context, *bar, std::move(hooks), &mainform);
  });
}

void EditAllIntensities(MainWindow& mainform, AppContext& context) {
  EditAllDialog& dlg = SharedEditAllDialog(mainform);
  if (dlg.exec() != QDialog::Accepted) return;
  const OperandTable operands = UniformOperands(dlg.Value());
  const char op = dlg.Op();
  ForEachTarget(mainform, context, dlg.ApplyToAll(), "Edit all Intensities",
                [&](PoleFigure& pf) { return ApplyCircleOperation(pf, op, operands); });
}

void EditPerCircle(MainWindow& mainform, AppContext& context) {
  CircleCorrectionDialog& dlg = SharedCircleCorrectionDialog(mainform, context);
  dlg.SetCircleCount(context.set.PF[1]->CircleCount);
  if (dlg.exec() != QDialog::Accepted) return;
  const OperandTable operands = CircleOperands(dlg.Values());
  const char op = dlg.Op();
  ForEachTarget(mainform, context, dlg.ApplyToAll(), "Edit Intensities of Circle",
                [&](PoleFigure& pf) { return ApplyCircleOperation(pf, op, operands); });
}

void EditPerRaster(MainWindow& mainform, AppContext& context) {
  RasterMergeDialog& dlg = SharedRasterMergeDialog(mainform, context);
  if (dlg.exec() != QDialog::Accepted) return;
  MessageBoxSink sink(&mainform);
  // Every target is merged with the same file on the same grid: read it once.
  const auto second = ReadRasterPF(dlg.FileName(), context.GridFileName, sink);
  if (!second) return;
  const char op = dlg.Op();
  ForEachTarget(mainform, context, dlg.ApplyToAll(), "Edit Intensities of Raster",
                [&](PoleFigure& pf) { return MergeRaster(pf, op, *second); });
}

void SSCIClick(MainWindow& mainform, AppContext& context) { SuppressionControls(mainform, context).SSCIClick(); }

bool SuppressionActive(MainWindow& mainform) {
  auto* controls = mainform.findChild<SSCIControls*>(QString(), Qt::FindDirectChildrenOnly);
  return controls && controls->Active();
}

namespace {

// Not the stack's own actions: a step must wait while a suppression level is being chosen.
Command HistoryCommand(MainWindow& mainform, bool undo) {
  const QString caption = undo ? "&Undo" : "Red&o";
  Command c = MenuCommand(
      "&Edit", 0, caption,
      [&mainform, undo] {
        if (SuppressionActive(mainform)) return;
        undo ? mainform.UndoStack().undo() : mainform.UndoStack().redo();
      },
      CommandEnable::Always);
  c.name = undo ? "UndoAction" : "RedoAction";
  c.shortcuts =
      undo ? QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z)}
           : QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};
  c.attach = [&mainform, undo, caption](QAction* a) {
    QUndoStack& stack = mainform.UndoStack();
    a->setEnabled(false);
    QObject::connect(&stack, undo ? &QUndoStack::canUndoChanged : &QUndoStack::canRedoChanged, a, &QAction::setEnabled);
    QObject::connect(
        &stack, undo ? &QUndoStack::undoTextChanged : &QUndoStack::redoTextChanged, a,
        [a, caption](const QString& text) { a->setText(text.isEmpty() ? caption : caption + " " + text); });
  };
  return c;
}

}  // namespace

Commands EditCommands(MainWindow& mainform, AppContext& context) {
  const QString edit = "&Edit";
  Commands c{HistoryCommand(mainform, true), HistoryCommand(mainform, false)};
  c.push_back(MenuCommand(edit, 1, "&Edit all Intensities", [&] { EditAllIntensities(mainform, context); }));
  c.push_back(MenuCommand(edit, 1, "Edit Intensities of &Circle", [&] { EditPerCircle(mainform, context); }));
  c.push_back(MenuCommand(edit, 1, "Edit Intensities of &Raster", [&] { EditPerRaster(mainform, context); }));
  c.push_back(MenuCommand(edit, 1, "Correc&tions...", [&] {
    FindOrCreateChild<CorrectionsDialog>(mainform, [&] {
      return new CorrectionsDialog(context, mainform, &mainform);
    }).exec();
  }));
  c.back().name = "CorrectionsAction";
  c.push_back(MenuCommand(edit, 1, "Suppress Single Crystal &Intensities", [&] { SSCIClick(mainform, context); }));
  // Offered only on simple grids.
  c.back().enabledWhen = [&context] { return context.set.PF[1] && context.set.PF[1]->Grid != GridKind::Full; };
  return c;
}

}  // namespace quorix
