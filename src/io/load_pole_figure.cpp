#include "io/load_pole_figure.h"

#include <fmt/format.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/text_file.h"
#include "io/data_layout.h"
#include "io/data_reader.h"
#include "io/exchange_readers.h"
#include "io/grid_reader.h"
#include "io/measurement_record.h"
#include "record/prepare.h"

namespace quorix {
namespace {

bool Exists(const std::string& name) {
  std::error_code ec;
  return std::filesystem::exists(name, ec);
}

}  // namespace

bool LoadFilesExist(const LoadRequest& request, MessageSink& sink) {
  for (const std::string* name : {&request.dataFile, &request.gridFile}) {
    if (!Exists(*name)) {
      sink.Message("File " + *name + " does not exist");
      return false;
    }
  }
  return true;
}

std::unique_ptr<PoleFigure> ReadRequestedGrid(const LoadRequest& request, MessageSink& sink) {
  auto pf = NewPoleFigure();
  pf->FileName = request.dataFile;
  if (!ReadGridFile(*pf, request.gridFile, request.gridRule, sink)) return nullptr;
  return pf;
}

std::unique_ptr<PoleFigure> LoadPoleFigure(const LoadRequest& request, MessageSink& sink) {
  DataFileFacts facts;
  return LoadPoleFigure(request, sink, facts);
}

std::unique_ptr<PoleFigure> LoadPoleFigure(const LoadRequest& request, MessageSink& sink, DataFileFacts& facts) {
  facts = DataFileFacts{};
  if (!request.dataText && !Exists(request.dataFile)) {
    sink.Message("File " + request.dataFile + " does not exist");
    return nullptr;
  }
  DataLayout layout = request.layout;
  // The data file is read once, where it is first needed, for the detection,
  // the picker list and the values alike.
  std::optional<std::string> ownText;
  const std::string* dataText = request.dataText;
  bool dataRead = dataText != nullptr;
  const auto readData = [&] {
    if (!dataRead) {
      ownText = ReadTextFile(request.dataFile, sink, "File " + request.dataFile + " does not exist");
      if (ownText) dataText = &*ownText;
    }
    dataRead = true;
    return dataText != nullptr;
  };
  if (layout == DataLayout::None) {
    if (!readData()) return nullptr;
    layout = DetectLayoutText(*dataText, request.dataFile).layout;
  }
  // A grid file given wins over the grid a Dubna file or a WKO list implies;
  // the older WKO variant has no header a grid file could be read with.
  if (layout == DataLayout::Dubna && !request.gridFile.empty()) layout = DataLayout::Plain;
  facts.layout = layout;
  const bool wkoOwnGrid = layout == DataLayout::Geesthacht &&
                          (request.gridFile.empty() || (readData() && LooksLikeOlderWkoList(*dataText)));
  if (IsMeasuredLayout(layout) || wkoOwnGrid) {
    if (!readData()) return nullptr;
    const auto file = ReadMeasurementText(*dataText, layout, request.dataFile, request.measurement, sink);
    if (!file) return nullptr;
    facts.names = MeasuredNames(*file);
    // In long long: the most negative int has no int size.
    const auto index = static_cast<int>(std::min<long long>(std::llabs(request.pfIndex), INT_MAX));
    return MeasurementToRecord(*file, index, request.dataFile, request.showMrd, sink);
  }
  const bool impliedGrid = request.gridFile.empty() && layout == DataLayout::Beartex;
  if (request.gridFile.empty() && !impliedGrid) {
    sink.Problem({request.dataFile, 0,
                  fmt::format("the {} layout carries no grid of its own: a grid file is needed.", LayoutName(layout))});
    return nullptr;
  }
  if (!impliedGrid && !Exists(request.gridFile)) {
    sink.Message("File " + request.gridFile + " does not exist");
    return nullptr;
  }
  if (layout == DataLayout::Beartex || layout == DataLayout::Geesthacht) {
    // An unreadable file has been reported and holds no pole figure.
    if (readData()) facts.names = PickerListText(*dataText, layout, request.dataFile, sink);
    const std::vector<std::string>& names = facts.names;
    const long long index = std::llabs(request.pfIndex);  // the most negative int has no int size
    if (index < 1 || index > static_cast<long long>(names.size())) {
      sink.Problem(
          {request.dataFile, 0, fmt::format("there is no pole figure {}; the file holds {}.", index, names.size())});
      return nullptr;
    }
  }

  std::unique_ptr<PoleFigure> pf;
  if (impliedGrid) {
    pf = NewPoleFigure();
    pf->FileName = request.dataFile;
    if (!readData() || !SetBeartexGrid(*pf, *dataText, std::llabs(request.pfIndex), request.dataFile, sink))
      return nullptr;
  } else {
    pf = ReadRequestedGrid(request, sink);
    if (!pf) return nullptr;
  }
  DataReadOptions options;
  options.layout = layout;
  options.pfIndex = layout == DataLayout::Plain ? -1 : request.pfIndex;
  if (!readData() || !ReadPoleFigureDataText(*pf, *dataText, request.dataFile, options, sink)) return nullptr;
  if (!facts.names.empty()) {
    pf->IndexInFile = static_cast<std::int32_t>(std::llabs(request.pfIndex));
    pf->NameInFile = facts.names[static_cast<std::size_t>(pf->IndexInFile - 1)];
  }
  PreparePoleFigure(*pf, request.showMrd);
  return pf;
}

}  // namespace quorix
