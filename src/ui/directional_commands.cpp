// Density pole figures from directional data, loaded into the windows.
#include "ui/directional_commands.h"

#include <array>
#include <memory>

#include "io/load_pole_figure.h"
#include "transform/directional_density.h"
#include "base/text_file.h"
#include "ui/main_form.h"
#include "ui/message_box_sink.h"
#include "ui/rotation_dlg.h"

namespace quorix {

namespace {

std::unique_ptr<TPoleFigure> LoadDensity(const AppContext& context, const DensityParameters& parameters,
                                         const std::string& dataFile, const std::string& gridFile, char kind,
                                         MessageSink& sink) {
  LoadRequest request;
  request.dataFile = dataFile;
  request.gridFile = gridFile;
  request.showMrd = context.state.Options.ShowMrd;
  // Directional data take the grid rule of loading into a slot.
  request.gridRule = GridRule::WindowSlot;
  DirectionalOptions options;
  options.fwhm = parameters.fwhm;
  options.kind = kind;
  options.sectionAngles = parameters.angles;
  return LoadDensityPoleFigure(request, options, sink);
}

}  // namespace

bool LoadDirectionalFiles(AppContext& context, TMainform& mainform, const DensityParameters& parameters,
                          const std::string& dataFile, const std::string& gridFile, QWidget* messageParent) {
  MessageBoxSink sink(messageParent);
  // Everything is read before anything is replaced, so that a failure leaves
  // the windows as they were.
  constexpr std::array<char, 3> kSections{'X', 'Y', 'Z'};
  std::array<std::unique_ptr<TPoleFigure>, 3> loaded;
  const int count = parameters.sections ? 3 : 1;
  for (int s = 0; s < count; ++s) {
    loaded[s] = LoadDensity(context, parameters, dataFile, gridFile, parameters.sections ? kSections[s] : ' ', sink);
    if (!loaded[s]) return false;
  }

  context.load.DirectionalMode = true;
  mainform.CloseExtraWindows();
  context.GridFileName = gridFile;
  context.DataFileName = dataFile;
  if (parameters.sections) {
    for (int s = 0; s < 3; ++s) {
      const int slot = s + 2;
      context.set.PF[slot] = std::move(loaded[s]);
      mainform.ShowInWindow(slot, SlotTitle(slot, dataFile, ""));
    }
    mainform.ApplyStartupSize();
  } else {
    context.set.PF[1] = std::move(loaded[0]);
    // The rotation of "Rotate ..." is shown as the display rotation.
    if (parameters.HasRotation())
      mainform.RotationDlg().ApplyToDisplay(parameters.rotationMode, parameters.rotationMatrix, parameters.rotations);
    // Like any pole figure in the main window: redrawn, menus on, captioned.
    mainform.AfterMainLoad();
    mainform.setWindowTitle(QString::fromStdString(context.TitlePrefix + FileNamePart(dataFile)));
  }
  context.load.ResetRotation = false;
  return true;
}

}  // namespace quorix
