// The whole road of a pole figure from arbitrary bytes: grid and data files
// (and optionally a configuration file), the load with statistics, levels
// and links, then the plot on a raster canvas, as HPGL and as EMF.
//
// Input: two option bytes, the grid file, "\n===\n", the data file, and
// optionally "\n===\n" and a configuration file.
#include <cmath>
#include <cstring>

#include "base/ini_file.h"
#include "fuzz_support.h"
#include "grid_check.h"
#include "io/load_pole_figure.h"
#include "plot/contour_colors.h"
#include "plot/emf_writer.h"
#include "plot/hpgl.h"
#include "plot/render.h"
#include "raster_canvas.h"
#include "settings/settings.h"

namespace {

constexpr std::string_view kSeparator = "\n===\n";

template <class T>
bool SameTable(const quorix::GridTable<T>& a, const quorix::GridTable<T>& b) {
  return a.Rows() == b.Rows() && a.Cols() == b.Cols() &&
         std::memcmp(a.Cells().data(), b.Cells().data(), a.Cells().size_bytes()) == 0;
}

bool SameRecord(const quorix::PoleFigure& a, const quorix::PoleFigure& b) {
  return SameTable(a.Intensity, b.Intensity) && std::memcmp(a.Level.data(), b.Level.data(), sizeof a.Level) == 0 &&
         a.LevelCount == b.LevelCount && a.CircleCount == b.CircleCount &&
         std::memcmp(a.CirclePoints.data(), b.CirclePoints.data(), sizeof a.CirclePoints) == 0 &&
         SameTable(a.Link, b.Link);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("end_to_end");
  if (size < 2) return -1;
  const std::uint8_t flags = data[0];
  const int index = static_cast<std::int8_t>(data[1]);
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t cut = rest.find(kSeparator);
  if (cut == std::string_view::npos) return -1;
  const std::string_view gridBytes = rest.substr(0, cut);
  std::string_view dataBytes = rest.substr(cut + kSeparator.size());
  std::string_view iniBytes;
  if (const std::size_t second = dataBytes.find(kSeparator); second != std::string_view::npos) {
    iniBytes = dataBytes.substr(second + kSeparator.size());
    dataBytes = dataBytes.substr(0, second);
  }

  LoadRequest request;
  const char* gridName = (flags & 1) ? "grid.grd" : "grid.rst";
  const char* dataName = (flags & 2) ? "data.XPO" : "data.pol";
  request.gridFile = fuzz::WriteScratch(gridName, gridBytes);
  request.dataFile = fuzz::WriteScratch(dataName, dataBytes);
  request.pfIndex = index;
  request.gridRule = (flags & 4) ? GridRule::WindowSlot : GridRule::MainWindow;

  ProgramState state;
  state.ContourColor = DefaultContourColors();
  if (!iniBytes.empty()) {
    const IniFile ini = IniFile::FromText(iniBytes);
    ReadDisplayOptions(ini, state);
    LoadContourColors(ini, state.ContourColor);
  }
  request.showMrd = state.Options.ShowMrd = (flags & 8) != 0;
  state.Options.FillAreas = (flags & 16) != 0;
  state.Options.DrawTriangles = (flags & 32) != 0;
  state.Options.ShowEigenvalues = (flags & 64) != 0;
  state.Options.EqualArea = (flags & 128) != 0;
  if (flags & 128) {
    state.Rotation.Mode = RotationMode::List;
    state.Rotation.List.push_back(RotationEntry{'X', 30.0 + index});
  }

  // The message check is loose here: the load sends messages about both files.
  CollectingSink sink;
  auto pf = LoadPoleFigure(request, sink);
  if (!pf) {
    progress.Refused();
    fuzz::Require(!sink.messages.empty(), "a refused load says why");
    progress.Ran();
    return 0;
  }
  progress.Accepted();
  fuzz::Require(pf->LevelCount >= 0 && pf->LevelCount <= kMaxLevels, "level count within the record");
  static const auto before = NewPoleFigure();
  *before = *pf;

  // One backend per input, picked by the input's length: three plots per
  // input made this the slowest target by far, and the corpus keeps inputs
  // that reach each backend's own paths anyway.
  constexpr int kSide = 200;
  switch (size % 3) {
    case 0: {
      fuzz::RasterCanvas raster(kSide + 200, kSide);
      PlotPoleFigure(*pf, state, raster, kSide, kSide + 200, "fuzz", &sink);
      break;
    }
    case 1: {
      const std::string hpgl = HpglPlotFile(*pf, state, kSide, kSide + 200, "fuzz", &sink);
      fuzz::Require(hpgl.rfind("IN;", 0) == 0, "a plot file starts with IN;");
      break;
    }
    default: {
      EmfCanvas emf(kSide + 200, kSide);
      PlotPoleFigure(*pf, state, emf, kSide, kSide + 200, "", &sink);
      fuzz::Require(!emf.Finish().empty(), "a metafile has bytes");
    }
  }
  fuzz::Require(SameRecord(*pf, *before), "drawing leaves the record as it was");
  progress.Ran();
  return 0;
}
