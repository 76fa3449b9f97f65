// The directional branch of the Load Files sequence: density pole figures of
// a directional data file in the main window or, from three sections, in
// windows 2, 3 and 4.
#pragma once

#include <string>

#include "ui/app_context.h"
#include "ui/density_dialog.h"

class QWidget;

namespace quorix {

class MainWindow;

// Reads and shows the densities chosen in "Parameters". Returns false after a
// message (shown over `messageParent`) and then changes nothing: windows,
// records, file names and rotation stay as they were.
bool LoadDirectionalFiles(AppContext& context, MainWindow& mainform, const DensityParameters& parameters,
                          const std::string& dataFile, const std::string& gridFile, QWidget* messageParent);

}  // namespace quorix
