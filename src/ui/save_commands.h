// The menu commands that write pole figures: "&Save as ASCII", "Save all
// formatted" and "Save as XRDML", and the dialogs they share.
#pragma once

#include <QString>
#include <string>

#include "ui/app_context.h"

class QWidget;

namespace quorix {

class TMainform;
class TSaveDlg;
class TSaveFormatDlg;
class TSaveAllDlg;
class TPlotSavXDlg;

// The dialogs are created on first use as children of the main window and
// then keep their fields for the rest of the run.
TSaveFormatDlg& SaveFormatDialog(TMainform& mainform);
TSaveDlg& SaveDialog(TMainform& mainform, AppContext& context);
TSaveAllDlg& SaveAllDialog(TMainform& mainform, AppContext& context);
TPlotSavXDlg& SaveXrdmlDialog(TMainform& mainform, AppContext& context);

// "&Save as ASCII": PF[1], and with "Save all pole figures" each visible window 2..8.
void SaveAsAscii(TMainform& mainform, AppContext& context);
// "Save all formatted": shows the modeless window.
void Saveall(TMainform& mainform, AppContext& context);
// "Save as XRDML": PF[1] on a sample file.
void SaveasXRDML(TMainform& mainform, AppContext& context);

// True when `file` may be written: it does not exist yet, or the user agreed
// to replace it.
bool ConfirmOverwrite(QWidget* parent, const std::string& file);

// Asked before pole figures are replaced or the program ends: when PF[1]
// (with `allWindows` also a visible window's pole figure) has been changed
// and not saved, offers to save, discard or cancel. True to go on.
bool ConfirmDiscardChanges(TMainform& mainform, AppContext& context, bool allWindows);

}  // namespace quorix
