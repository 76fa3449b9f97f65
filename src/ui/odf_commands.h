// The menu command "Orientation &Distribution (ODF)...": the dialog, the
// estimate with its gauge, the result window.
#pragma once

#include "ui/app_context.h"
#include "ui/command.h"

namespace quorix {

class MainWindow;
class OdfDialog;

OdfDialog& SharedOdfDialog(MainWindow& mainform);

// Asks until the request can run or the user gives up; a fault of the
// request (no hkl, too few pole figures, ...) shows its message and the dialog again.
void ComputeOdf(MainWindow& mainform, AppContext& context);

Commands OdfCommands(MainWindow& mainform, AppContext& context);

}  // namespace quorix
