#include "io/load_pole_figure.h"

#include <cstdlib>
#include <filesystem>
#include <fmt/format.h>
#include <system_error>

#include "io/circle_links.h"
#include "io/data_reader.h"
#include "io/grid_reader.h"
#include "io/text_file.h"
#include "math/statistics.h"
#include "plot/levels.h"

namespace quorix {
namespace {

bool Exists(const std::string& name) {
  std::error_code ec;
  return std::filesystem::exists(name, ec);
}

}  // namespace

void PreparePoleFigure(TPoleFigure& pf, bool showMrd) {
  UpdateStatistics(pf);
  AutoLevels(pf, showMrd, true, kMaxLevels);
  pf.LowestLevel = LowestLevelOf(pf, showMrd);
  BuildCircleLinks(pf);
}

std::unique_ptr<TPoleFigure> LoadPoleFigure(const LoadRequest& request, MessageSink& sink) {
  for (const std::string* name : {&request.dataFile, &request.gridFile}) {
    if (!Exists(*name)) {
      sink.Message("File " + *name + " does not exist");
      return nullptr;
    }
  }
  const bool directional = request.directional.has_value();
  DataLayout layout = request.layout;
  if (!directional && layout == DataLayout::None) {
    const LayoutInfo info = DetectLayout(request.dataFile, sink);
    if (!info.ok) return nullptr;
    layout = info.layout;
  }
  std::vector<std::string> names;
  if (!directional && (layout == DataLayout::HashList || layout == DataLayout::WkoList)) {
    names = PickerList(request.dataFile, layout, sink);
    const long long index = std::llabs(request.pfIndex);  // the most negative int has no int size
    if (index < 1 || index > static_cast<long long>(names.size())) {
      sink.Message(fmt::format("Data file {} holds {} pole figures; there is no pole figure {}.", request.dataFile,
                               names.size(), index));
      return nullptr;
    }
  }

  auto pf = NewPoleFigure();
  pf->FileName = request.dataFile;
  const std::string lowerGrid = ToLower(request.gridFile);
  const bool fullGrid = request.gridRule == GridRule::MainWindow ? lowerGrid.find(".rst") == std::string::npos
                                                                   : lowerGrid.find(".grd") != std::string::npos;
  const bool gridRead = fullGrid ? ReadFullGrid(*pf, request.gridFile, sink) : ReadSimpleGrid(*pf, request.gridFile, sink);
  if (!gridRead) return nullptr;

  if (directional) {
    if (!ReadDirectionalData(*pf, request.dataFile, *request.directional, sink)) return nullptr;
  } else {
    DataReadOptions options;
    options.layout = layout;
    options.pfIndex = layout == DataLayout::Plain ? -1 : request.pfIndex;
    if (!ReadPoleFigureData(*pf, request.dataFile, options, sink)) return nullptr;
  }
  if (!names.empty()) {
    pf->IndexInFile = static_cast<std::int32_t>(std::llabs(request.pfIndex));
    pf->NameInFile = names[static_cast<std::size_t>(pf->IndexInFile - 1)];
  }
  PreparePoleFigure(*pf, request.showMrd);
  return pf;
}

}  // namespace quorix
