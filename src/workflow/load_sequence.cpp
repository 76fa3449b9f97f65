#include "workflow/load_sequence.h"

#include <cstdlib>
#include <utility>

#include "base/text_file.h"
#include "record/pole_figure_set.h"
#include "transform/directional_density.h"

namespace quorix {

namespace {

bool Multi(DataLayout layout) { return layout == DataLayout::HashList || layout == DataLayout::WkoList; }

}  // namespace

DataFileLayout DetectDataFile(const std::string& dataFile, MessageSink& sink) {
  DataFileLayout result;
  const LayoutInfo info = DetectLayout(dataFile, sink);
  if (!info.ok) return result;
  result.ok = true;
  result.layout = info.layout;
  if (Multi(info.layout)) result.names = PickerList(dataFile, info.layout, sink);
  return result;
}

bool LayoutKnownFor(const LoadFlags& flags, const std::string& dataFile) {
  return flags.AnyLayout() && flags.LayoutFile == dataFile;
}

LoadedFile LoadDataFile(LoadRequest request, MessageSink& sink) {
  LoadedFile loaded;
  DataFileLayout detected = DetectDataFile(request.dataFile, sink);
  if (!detected.ok) return loaded;
  request.layout = detected.layout;
  loaded.layout = detected.layout;
  loaded.names = std::move(detected.names);
  loaded.pf = LoadPoleFigure(request, sink);
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
  DataFileFacts facts;
  auto pf = LoadPoleFigure(read, sink, facts);
  if (!pf) return false;

  // The load has just read the picker list; the file is not read again for it.
  std::vector<std::string> names = request.names.empty() ? std::move(facts.names) : request.names;
  session.set.PF[1] = std::move(pf);
  session.GridFileName = request.gridFile;
  session.DataFileName = request.dataFile;
  LoadFlags& flags = session.load;
  flags.DirectionalMode = false;
  flags.SetLayout(request.layout);
  flags.LayoutFile = request.dataFile;
  flags.PoleFigureNames = std::move(names);
  flags.PFIndex = request.pfIndex;
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
  auto pf = LoadPoleFigure(read, sink);
  if (!pf) return false;
  session.set.PF[slot] = std::move(pf);
  return true;
}

std::vector<std::unique_ptr<TPoleFigure>> ReadDirectionalDensities(const Session& session,
                                                                   const DirectionalLoad& request, MessageSink& sink) {
  std::vector<std::unique_ptr<TPoleFigure>> densities;
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
                              std::vector<std::unique_ptr<TPoleFigure>> densities) {
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

std::string PoleFigureTitle(const TPoleFigure& pf) {
  std::string title = FileNamePart(pf.FileName);
  if (pf.IndexInFile > 0) title += MultiSuffix(pf.IndexInFile, pf.NameInFile);
  return title;
}

std::string WindowTitle(int slot, const TPoleFigure& pf) { return std::to_string(slot) + " * " + PoleFigureTitle(pf); }

std::vector<std::string> CopyArguments(const Session& session) {
  if (session.load.DirectionalMode) return {kDirectionalArgument, session.DataFileName, session.GridFileName};
  return {session.DataFileName, session.GridFileName};
}

}  // namespace quorix
