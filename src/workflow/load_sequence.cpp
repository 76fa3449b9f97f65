#include "workflow/load_sequence.h"

#include <cstdlib>
#include <utility>

#include "base/text_file.h"
#include "record/pole_figure_set.h"
#include "transform/directional_density.h"

namespace quorix {

namespace {

// Layouts whose files may hold several pole figures.
bool Multi(DataLayout layout) {
  return layout == DataLayout::Beartex || layout == DataLayout::Geesthacht || IsMeasuredLayout(layout);
}

}  // namespace

DataFileLayout DetectDataFile(const std::string& dataFile, const MeasurementOptions& measurement, MessageSink& sink) {
  const auto text = ReadTextFile(dataFile, sink, "File " + dataFile + " does not exist");
  return text ? DetectDataText(*text, dataFile, measurement, sink) : DataFileLayout{};
}

DataFileLayout DetectDataText(std::string_view text, const std::string& dataFile, const MeasurementOptions& measurement,
                              MessageSink& sink) {
  DataFileLayout result;
  const LayoutInfo info = DetectLayoutText(text, dataFile);
  result.layout = info.layout;
  if (IsMeasuredLayout(info.layout)) {
    // A measurement that cannot be read stops here, told once.
    auto names = MeasuredPickerList(text, info.layout, dataFile, measurement, sink);
    if (!names) return result;
    result.names = std::move(*names);
  } else if (Multi(info.layout)) {
    result.names = PickerListText(text, info.layout, dataFile, sink);
  }
  result.ok = true;
  return result;
}

bool LayoutKnownFor(const LoadFlags& flags, const std::string& dataFile) {
  return flags.AnyLayout() && flags.LayoutFile == dataFile;
}

LoadedFile LoadDataFile(LoadRequest request, MessageSink& sink) {
  LoadedFile loaded;
  request.layout = DataLayout::None;
  DataFileFacts facts;
  loaded.pf = LoadPoleFigure(request, sink, facts);
  loaded.layout = facts.layout;
  loaded.names = std::move(facts.names);
  return loaded;
}

bool LoadMainPoleFigure(Session& session, const MainLoad& request, MessageSink& sink) {
  LoadRequest read;
  read.dataFile = request.dataFile;
  read.gridFile = request.gridFile;
  read.layout = request.layout;
  read.pfIndex = request.pfIndex;
  read.showMrd = session.state.Options.ShowMrd;
  read.gridRule = GridRule::MainWindow;
  read.measurement = request.measurement;
  DataFileFacts facts;
  auto pf = LoadPoleFigure(read, sink, facts);
  if (!pf) return false;

  // The load has just read the picker list; the file is not read again for it.
  std::vector<std::string> names = request.names;
  if (names.empty()) names = std::move(facts.names);
  session.set.PF[1] = std::move(pf);
  session.GridFileName = request.gridFile;
  session.DataFileName = request.dataFile;
  LoadFlags& flags = session.load;
  flags.DirectionalMode = false;
  // A request left to detection takes the layout the load found.
  flags.SetLayout(facts.layout);
  flags.LayoutFile = request.dataFile;
  flags.PoleFigureNames = std::move(names);
  flags.PFIndex = request.pfIndex;
  flags.Measurement = request.measurement;
  if (request.resetRotation) {
    session.state.ResetRotation();
    flags.ResetRotation = false;
  }
  session.state.AddListFiles.clear();
  return true;
}

bool LoadIntoWindow(Session& session, int slot, const std::string& dataFile, MessageSink& sink) {
  if (slot < 2 || slot > kSlotCount) return false;
  LoadRequest read;
  read.dataFile = dataFile;
  read.gridFile = session.GridFileName;
  read.layout = session.load.Layout();
  read.pfIndex = session.load.PFIndex;
  read.showMrd = session.state.Options.ShowMrd;
  read.gridRule = GridRule::WindowSlot;
  read.measurement = session.load.Measurement;
  auto pf = LoadPoleFigure(read, sink);
  if (!pf) return false;
  session.set.PF[slot] = std::move(pf);
  return true;
}

std::vector<std::unique_ptr<PoleFigure>> ReadDirectionalDensities(const Session& session,
                                                                  const DirectionalLoad& request, MessageSink& sink) {
  std::vector<std::unique_ptr<PoleFigure>> densities;
  for (char kind : request.sections ? std::vector<char>{'X', 'Y', 'Z'} : std::vector<char>{' '}) {
    LoadRequest read;
    read.dataFile = request.dataFile;
    read.gridFile = request.gridFile;
    read.showMrd = session.state.Options.ShowMrd;
    // Directional data take the grid rule of loading into a further window.
    read.gridRule = GridRule::WindowSlot;
    DirectionalOptions options;
    options.fwhm = request.fwhm;
    options.kind = kind;
    options.sectionAngles = request.sectionAngles;
    options.work = request.work;
    auto pf = LoadDensityPoleFigure(read, options, sink);
    if (!pf) return {};
    densities.push_back(std::move(pf));
  }
  return densities;
}

void TakeDirectionalDensities(Session& session, const DirectionalLoad& request,
                              std::vector<std::unique_ptr<PoleFigure>> densities) {
  session.load.DirectionalMode = true;
  session.GridFileName = request.gridFile;
  session.DataFileName = request.dataFile;
  if (request.sections) {
    for (std::size_t s = 0; s < densities.size() && s + 2 <= kSlotCount; ++s)
      session.set.PF[s + 2] = std::move(densities[s]);
  } else if (!densities.empty()) {
    session.set.PF[1] = std::move(densities.front());
    session.state.AddListFiles.clear();
  }
  session.load.ResetRotation = false;
}

std::string PoleFigureTitle(const PoleFigure& pf) {
  std::string title = FileNamePart(pf.FileName);
  if (pf.IndexInFile > 0) title += MultiSuffix(pf.IndexInFile, pf.NameInFile);
  if (pf.Corrected) title += " corrected";
  return title;
}

std::string WindowTitle(int slot, const PoleFigure& pf) { return std::to_string(slot) + " * " + PoleFigureTitle(pf); }

std::vector<std::string> CopyArguments(const Session& session) {
  if (session.load.DirectionalMode) return {kDirectionalArgument, session.DataFileName, session.GridFileName};
  // A data file that carries its grid was loaded without one.
  if (session.GridFileName.empty()) return {session.DataFileName};
  return {session.DataFileName, session.GridFileName};
}

}  // namespace quorix
