// The menu commands that write pole figures and the dialogs they share.
#include "ui/save_commands.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <QStringList>

#include "base/text_file.h"
#include "io/ascii_writer.h"
#include "io/xrdml_writer.h"
#include "ui/child_dialogs.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/save_all_dialog.h"
#include "ui/save_dialog.h"
#include "ui/save_format_dialog.h"
#include "ui/xrdml_save_dialog.h"

namespace quorix {

SaveFormatDialog& SharedSaveFormatDialog(MainWindow& mainform) {
  return FindOrCreateChild<SaveFormatDialog>(mainform, [&] { return new SaveFormatDialog(&mainform); });
}

SaveDialog& SharedSaveDialog(MainWindow& mainform, AppContext& context) {
  return FindOrCreateChild<SaveDialog>(
      mainform, [&] { return new SaveDialog(context, SharedSaveFormatDialog(mainform), &mainform); });
}

SaveAllDialog& SharedSaveAllDialog(MainWindow& mainform, AppContext& context) {
  return FindOrCreateChild<SaveAllDialog>(mainform, [&] { return new SaveAllDialog(context, mainform, &mainform); });
}

XrdmlSaveDialog& SharedXrdmlSaveDialog(MainWindow& mainform, AppContext& context) {
  return FindOrCreateChild<XrdmlSaveDialog>(mainform, [&] { return new XrdmlSaveDialog(context, &mainform); });
}

bool ConfirmOverwrite(QWidget* parent, const std::string& file) {
  const QString name = QString::fromStdString(file);
  if (!QFileInfo::exists(name)) return true;
  return QMessageBox::question(parent, parent ? parent->windowTitle() : QString(),
                               name + " already exists.\nReplace it?", QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void SaveAsAscii(MainWindow& mainform, AppContext& context) {
  SaveDialog& dlg = SharedSaveDialog(mainform, context);
  dlg.SetFileName(QString::fromStdString(ProposedAsciiName(context.set.PF[1]->FileName)));
  if (dlg.exec() != QDialog::Accepted) return;
  const AsciiWriteOptions options = dlg.Options();
  const std::string name = dlg.FileName().toStdString();
  MessageBoxSink sink(&mainform);
  const auto write = [&](PoleFigure& pf, const std::string& file) {
    if (!ConfirmOverwrite(&mainform, file)) return;
    if (!WritePFASCII(pf, file, options, sink)) return;
    pf.Modified = false;
    mainform.ShowSaved(file);
  };
  write(*context.set.PF[1], name);
  if (!dlg.SaveAll()) return;
  SaveAllNames names(name);
  for (int n = 2; n <= kSlotCount; ++n)
    if (mainform.WindowVisible(n)) write(*context.set.PF[n], names.Next());
}

void SaveAllFormatted(MainWindow& mainform, AppContext& context) {
  SaveAllDialog& dlg = SharedSaveAllDialog(mainform, context);
  dlg.FormShow();
  dlg.show();
  dlg.raise();
  dlg.activateWindow();
}

void SaveAsXrdml(MainWindow& mainform, AppContext& context) {
  XrdmlSaveDialog& dlg = SharedXrdmlSaveDialog(mainform, context);
  if (dlg.exec() != QDialog::Accepted) return;
  MessageBoxSink sink(&mainform);
  const std::string out = dlg.OutEdit->text().toStdString();
  if (!ConfirmOverwrite(&mainform, out)) return;
  if (!WritePFXRDML(*context.set.PF[1], dlg.SampleEdit->text().toStdString(), out, dlg.Options(), sink)) return;
  context.set.PF[1]->Modified = false;
  mainform.ShowSaved(out);
}

namespace {

QStringList ChangedPoleFigures(MainWindow& mainform, AppContext& context, bool allWindows) {
  QStringList names;
  for (int n = 1; n <= (allWindows ? kSlotCount : 1); ++n) {
    const PoleFigure* pf = context.set.PF[n].get();
    if (pf && pf->Modified && (n == 1 || mainform.WindowVisible(n)))
      names << QString::fromStdString(FileNamePart(pf->FileName));
  }
  return names;
}

}  // namespace

bool ConfirmDiscardChanges(MainWindow& mainform, AppContext& context, bool allWindows) {
  const QStringList changed = ChangedPoleFigures(mainform, context, allWindows);
  if (changed.isEmpty()) return true;
  const auto answer = QMessageBox::question(
      &mainform, mainform.windowTitle(),
      "The changes to " + changed.join(", ") + " have not been saved.\nSave them before going on?",
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Discard) return true;
  if (answer != QMessageBox::Save) return false;
  SaveAsAscii(mainform, context);
  // A cancelled or failed save keeps the work.
  return ChangedPoleFigures(mainform, context, allWindows).isEmpty();
}

Commands FileCommands(MainWindow& mainform, AppContext& context) {
  const QString file = "&File";
  Commands c;
  c.push_back(MenuCommand(
      file, 0, "&Open", [&mainform] { mainform.ShowLoadFiles(); }, CommandEnable::Always));
  c.back().shortcuts = {QKeySequence(QKeySequence::Open), QKeySequence(Qt::Key_F12)};
  c.back().name = "OpenAction";
  Command recent = MenuCommand(
      file, 0, "&Recent Files", [] {}, CommandEnable::Always);
  recent.name = "RecentMenu";
  recent.fill = [&mainform](QMenu*) { mainform.FillRecentMenu(); };
  c.push_back(recent);
  c.push_back(MenuCommand(file, 0, "Re&vert to File", [&mainform] { mainform.RevertToFile(); }));
  c.push_back(MenuCommand(file, 1, "&Save as ASCII", [&] { SaveAsAscii(mainform, context); }));
  c.back().shortcuts = {QKeySequence(QKeySequence::Save)};
  c.push_back(MenuCommand(file, 1, "Save as XRDML", [&] { SaveAsXrdml(mainform, context); }));
  c.push_back(MenuCommand(file, 1, "Save all formatted", [&] { SaveAllFormatted(mainform, context); }));
  c.push_back(MenuCommand(file, 3, "R&un Copy", [&mainform] { mainform.RunCopy(); }));
  c.push_back(MenuCommand(
      file, 3, "&Exit", [&mainform] { mainform.ExitProgram(); }, CommandEnable::Always));
  c.back().shortcuts = {QKeySequence(Qt::CTRL | Qt::Key_Q)};
  Command open = ToolCommand(0, "Open", "Open File", [&mainform](bool) { mainform.ShowLoadFiles(); });
  open.enable = CommandEnable::Always;
  open.name = "OpenTool";
  c.push_back(open);
  return c;
}

}  // namespace quorix
