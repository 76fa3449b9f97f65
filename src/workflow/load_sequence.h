// The load sequence of the whole program: a data file and a grid file into
// the main window or a further window. The Load Files dialog, start-up, the
// keyboard navigation and the command-line tool all load through it.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "base/work_control.h"
#include "io/data_layout.h"
#include "io/load_pole_figure.h"
#include "record/pole_figure.h"
#include "workflow/session.h"

namespace quorix {

struct DataFileLayout {
  bool ok = false;  // false: the file could not be read (message sent)
  DataLayout layout = DataLayout::None;
  std::vector<std::string> names;  // the pole figures of a file that holds several
};

// `measurement`: the tilts the user gave, for a file that has none.
DataFileLayout DetectDataFile(const std::string& dataFile, const MeasurementOptions& measurement, MessageSink& sink);
// The same for the file's text, read by the caller.
DataFileLayout DetectDataText(std::string_view text, const std::string& dataFile, const MeasurementOptions& measurement,
                              MessageSink& sink);

// Whether a load of `dataFile` can go by the layout flags, or needs the file's own detection.
bool LayoutKnownFor(const LoadFlags& flags, const std::string& dataFile);

struct LoadedFile {
  std::unique_ptr<PoleFigure> pf;  // null after a failure (reported)
  DataLayout layout = DataLayout::None;
  std::vector<std::string> names;
};

// Detects the layout of request.dataFile and loads it (the request's layout is ignored).
LoadedFile LoadDataFile(LoadRequest request, MessageSink& sink);

// A load into the main window.
struct MainLoad {
  std::string dataFile;
  std::string gridFile;
  DataLayout layout = DataLayout::Plain;
  // Kept as PFIndex; its absolute value picks the pole figure of a multi-pole-figure file.
  int pfIndex = -1;
  std::vector<std::string> names;  // of a multi-pole-figure file; read from it when empty
  bool resetRotation = false;      // mode, matrix and list; the "triclin" symmetry stays
  MeasurementOptions measurement;  // tilts a Rigaku TXT file does not give
};

// Reads into PF[1]. Only on success do the file names, the load flags, the
// rotation and the add list change; after a failure the session is as it was.
bool LoadMainPoleFigure(Session& session, const MainLoad& request, MessageSink& sink);

// Reads pole figure |PFIndex| of `dataFile` (a plain file: the file) into
// PF[slot] with the grid and layout of the main load. Nothing changes on failure.
bool LoadIntoWindow(Session& session, int slot, const std::string& dataFile, MessageSink& sink);

// Directional data: their density on the grid, in the main window or, from
// three sections X, Y and Z, in windows 2, 3 and 4.
struct DirectionalLoad {
  std::string dataFile;
  std::string gridFile;
  double fwhm = 5;
  std::array<double, 3> sectionAngles{90, 90, 0};
  bool sections = false;
  WorkControl work;  // progress and Cancel of each density
};

// Reads every density before anything is replaced: one record, or three for
// the sections; none after a failure (reported).
std::vector<std::unique_ptr<PoleFigure>> ReadDirectionalDensities(const Session& session,
                                                                  const DirectionalLoad& request, MessageSink& sink);
// Takes what ReadDirectionalDensities read: PF[1] (and an empty add list) or
// PF[2..4], the file names and DirectionalMode. The layout flags stay.
void TakeDirectionalDensities(Session& session, const DirectionalLoad& request,
                              std::vector<std::unique_ptr<PoleFigure>> densities);

// The caption of a loaded pole figure: file name part, and for a pole figure
// of a multi-pole-figure file its number and name in the file.
std::string PoleFigureTitle(const PoleFigure& pf);
// "k * " + PoleFigureTitle.
std::string WindowTitle(int slot, const PoleFigure& pf);

// The command line of a second instance that loads what is loaded, the way it was loaded.
inline constexpr const char* kDirectionalArgument = "--directional";
std::vector<std::string> CopyArguments(const Session& session);

}  // namespace quorix
