// The commands of the "&Edit" menu that change intensities in place: "&Edit
// all Intensities", "Edit Intensities of &Circle", "Edit Intensities of
// &Raster" and "Suppress Single Crystal &Intensities".
#pragma once

#include "ui/app_context.h"
#include "ui/command.h"

namespace quorix {

class MainWindow;
class EditAllDialog;
class CircleCorrectionDialog;
class RasterMergeDialog;
class SSCIControls;

// Created on first use as children of the main window; they keep their
// fields for the rest of the run.
EditAllDialog& SharedEditAllDialog(MainWindow& mainform);
CircleCorrectionDialog& SharedCircleCorrectionDialog(MainWindow& mainform, AppContext& context);
RasterMergeDialog& SharedRasterMergeDialog(MainWindow& mainform, AppContext& context);
// On the main window's tool bar.
SSCIControls& SuppressionControls(MainWindow& mainform, AppContext& context);

void EditAllIntensities(MainWindow& mainform, AppContext& context);
void EditPerCircle(MainWindow& mainform, AppContext& context);
void EditPerRaster(MainWindow& mainform, AppContext& context);
// Starts the suppression controls on PF[1].
void SSCIClick(MainWindow& mainform, AppContext& context);
// While the suppression controls are shown, PF[1] must not be replaced or swapped.
bool SuppressionActive(MainWindow& mainform);

// The "&Edit" menu's undo and redo and the commands above.
Commands EditCommands(MainWindow& mainform, AppContext& context);

}  // namespace quorix
