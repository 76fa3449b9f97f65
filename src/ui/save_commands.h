// The menu commands that write pole figures: "&Save as ASCII", "Save all
// formatted" and "Save as XRDML", and the dialogs they share.
#pragma once

#include <QString>
#include <string>

#include "ui/app_context.h"
#include "ui/command.h"

class QWidget;

namespace quorix {

class MainWindow;
class SaveDialog;
class SaveFormatDialog;
class SaveAllDialog;
class XrdmlSaveDialog;

// The dialogs are created on first use as children of the main window and
// then keep their fields for the rest of the run.
SaveFormatDialog& SharedSaveFormatDialog(MainWindow& mainform);
SaveDialog& SharedSaveDialog(MainWindow& mainform, AppContext& context);
SaveAllDialog& SharedSaveAllDialog(MainWindow& mainform, AppContext& context);
XrdmlSaveDialog& SharedXrdmlSaveDialog(MainWindow& mainform, AppContext& context);

// "&Save as ASCII": PF[1], and with "Save all pole figures" each visible window 2..8.
void SaveAsAscii(MainWindow& mainform, AppContext& context);
// "Save all formatted": shows the modeless window.
void SaveAllFormatted(MainWindow& mainform, AppContext& context);
// "Save as XRDML": PF[1] on a sample file.
void SaveAsXrdml(MainWindow& mainform, AppContext& context);

// True when `file` may be written: it does not exist yet, or the user agreed
// to replace it.
// The commands of the "&File" menu that open, save and end, and the "Open" button.
Commands FileCommands(MainWindow& mainform, AppContext& context);

bool ConfirmOverwrite(QWidget* parent, const std::string& file);

// Asked before pole figures are replaced or the program ends: when PF[1]
// (with `allWindows` also a visible window's pole figure) has been changed
// and not saved, offers to save, discard or cancel. True to go on.
bool ConfirmDiscardChanges(MainWindow& mainform, AppContext& context, bool allWindows);

}  // namespace quorix
