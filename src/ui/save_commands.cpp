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

XrdmlSaveDialog& SaveXrdmlDialog(MainWindow& mainform, AppContext& context) {
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
  dlg.PFEdit->setText(QString::fromStdString(ProposedAsciiName(context.set.PF[1]->FileName)));
  if (dlg.exec() != QDialog::Accepted) return;
  const AsciiWriteOptions options = dlg.Options();
  const std::string name = dlg.PFEdit->text().toStdString();
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

void Saveall(MainWindow& mainform, AppContext& context) {
  SaveAllDialog& dlg = SharedSaveAllDialog(mainform, context);
  dlg.FormShow();
  dlg.show();
  dlg.raise();
  dlg.activateWindow();
}

void SaveasXRDML(MainWindow& mainform, AppContext& context) {
  XrdmlSaveDialog& dlg = SaveXrdmlDialog(mainform, context);
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

}  // namespace quorix
