// The commands of the "&Edit" menu that change intensities in place: "&Edit
// all Intensities", "Edit Intensities of &Circle", "Edit Intensities of
// &Raster" and "Suppress Single Crystal &Intensities".
#pragma once

#include "ui/app_context.h"

namespace quorix {

class TMainform;
class TMulDlg;
class TMulcDlg;
class TMulpDlg;
class SSCIControls;

// Created on first use as children of the main window; they keep their
// fields for the rest of the run.
TMulDlg& MulDialog(TMainform& mainform);
TMulcDlg& MulcDialog(TMainform& mainform, AppContext& context);
TMulpDlg& MulpDialog(TMainform& mainform, AppContext& context);
// On the main window's tool bar.
SSCIControls& SuppressionControls(TMainform& mainform, AppContext& context);

void EditAllIntensities(TMainform& mainform, AppContext& context);
void EditPerCircle(TMainform& mainform, AppContext& context);
void EditPerRaster(TMainform& mainform, AppContext& context);
// Starts the suppression controls on PF[1].
void SSCIClick(TMainform& mainform, AppContext& context);
// While the suppression controls are shown, PF[1] must not be replaced or swapped.
bool SuppressionActive(TMainform& mainform);

}  // namespace quorix
