// Density pole figures from directional data, loaded into the windows.
#include "ui/directional_commands.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "base/text_file.h"
#include "io/load_pole_figure.h"
#include "transform/directional_density.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/rotation_dialog.h"
#include "workflow/load_sequence.h"

namespace quorix {

bool LoadDirectionalFiles(AppContext& context, MainWindow& mainform, const DensityParameters& parameters,
                          const std::string& dataFile, const std::string& gridFile, QWidget* messageParent) {
  MessageBoxSink sink(messageParent);
  DirectionalLoad request;
  request.dataFile = dataFile;
  request.gridFile = gridFile;
  request.fwhm = parameters.fwhm;
  request.sectionAngles = parameters.angles;
  request.sections = parameters.sections;
  // Millions of directions take a while: a gauge with Cancel, shown only
  // when the work lasts longer than a moment.
  QProgressDialog gauge("Computing the density...", "Cancel", 0, 1, messageParent);
  gauge.setWindowTitle("Working...");
  gauge.setWindowModality(Qt::ApplicationModal);
  gauge.setMinimumDuration(500);
  gauge.setAutoClose(false);
  gauge.setAutoReset(false);
  std::atomic<bool> cancel{false};
  request.work.cancel = &cancel;
  request.work.progress = [&gauge, &cancel](int done, int total) {
    gauge.setMaximum(std::max(total, 1));
    gauge.setValue(std::min(done, gauge.maximum()));
    QCoreApplication::processEvents();
    if (gauge.wasCanceled()) cancel = true;
  };
  std::vector<std::unique_ptr<PoleFigure>> densities = ReadDirectionalDensities(context, request, sink);
  gauge.reset();
  if (densities.empty()) return false;

  // Closing a window releases its slot, so the windows close before the densities move in.
  mainform.CloseExtraWindows();
  TakeDirectionalDensities(context, request, std::move(densities));
  if (parameters.sections) {
    for (int slot = 2; slot <= 4; ++slot) mainform.ShowInWindow(slot, PoleFigureTitle(*context.set.PF[slot]));
    mainform.ApplyStartupSize();
  } else {
    // The rotation of "Rotate ..." is shown as the display rotation.
    if (parameters.HasRotation()) mainform.RotationDlg().ApplyToDisplay(parameters.rotation);
    // Like any pole figure in the main window: redrawn, menus on, captioned.
    mainform.AfterMainLoad();
    mainform.SetSlotTitle(1, QString::fromStdString(PoleFigureTitle(*context.set.PF[1])));
  }
  return true;
}

}  // namespace quorix
