// The menu commands that combine pole figures: "Compare &Pole Figures",
// "Add Pole Figures &weighted" and "Add Pole Figures &fitted".
#pragma once

#include "ui/app_context.h"
#include "ui/command.h"

namespace quorix {

class MainWindow;
class CompareDialog;
class AddDialog;

// The dialogs are created on first use as children of the main window and
// then keep their fields for the rest of the run.
CompareDialog& SharedCompareDialog(MainWindow& mainform, AppContext& context);
AddDialog& SharedAddDialog(MainWindow& mainform, AppContext& context);

// PF1 (main window) minus PF2 (window 2) in m.r.d. into window 3, the RP
// distribution into window 4; optionally written and logged.
void ComparePoleFigures(MainWindow& mainform, AppContext& context);
// The weighted and the fitted sum of PF[1] and further files, in place.
void AddPoleFiguresWeighted(MainWindow& mainform, AppContext& context);
void AddPoleFiguresFitted(MainWindow& mainform, AppContext& context);

// The three commands above in the "&Edit" menu.
Commands ArithmeticCommands(MainWindow& mainform, AppContext& context);

}  // namespace quorix
