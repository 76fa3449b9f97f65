#include "io/measurement_record.h"

#include <fmt/format.h>

#include <cmath>
#include <vector>

#include "io/column_reader.h"
#include "io/data_reader.h"
#include "io/exchange_readers.h"
#include "io/grid_reader.h"
#include "io/instrument_readers.h"
#include "io/popla_reader.h"
#include "record/prepare.h"

namespace quorix {

std::optional<MeasurementFile> ReadMeasurementText(std::string_view text, DataLayout layout, const std::string& source,
                                                   const MeasurementOptions& options, MessageSink& sink) {
  switch (layout) {
    case DataLayout::Xrdml: return ReadXrdmlText(text, source, sink);
    case DataLayout::Uxd: return ReadUxdText(text, source, sink);
    case DataLayout::Asc:
    case DataLayout::Ras: return ReadKeyText(text, source, sink);
    case DataLayout::RigakuTxt: return ReadRigakuTxtText(text, source, options, sink);
    case DataLayout::Popla: return ReadPoplaText(text, source, sink);
    case DataLayout::Columns: return ReadColumnsText(text, source, sink);
    case DataLayout::WkoList: return ReadWkoListText(text, source, sink);
    case DataLayout::Dubna: return ReadDubnaText(text, source, sink);
    case DataLayout::Seifert: return ReadSeifertText(text, source, sink);
    case DataLayout::SiemensDump: return ReadSiemensDumpText(text, source, sink);
    case DataLayout::Texd5: return ReadTexd5Text(text, source, sink);
    case DataLayout::TexEinzel: return ReadTexEinzelText(text, source, sink);
    case DataLayout::LaboTex: return ReadLaboTexText(text, source, sink);
    case DataLayout::Emse: return ReadEmseText(text, source, sink);
    case DataLayout::GaddsSlice: return ReadGaddsSliceText(text, source, sink);
    case DataLayout::Explore3d: return Read3dExploreText(text, source, sink);
    case DataLayout::XpertText: return ReadXpertText(text, source, sink);
    case DataLayout::Aachen: return ReadAachenText(text, source, sink);
    default: break;
  }
  sink.Problem({source, 0, fmt::format("the {} layout carries no grid of its own.", LayoutName(layout))});
  return std::nullopt;
}

bool FitsRecord(const MeasuredPoleFigure& measured, const std::string& source, MessageSink& sink) {
  const auto& circles = measured.circles;
  if (circles.empty()) {
    sink.Problem({source, 0, "the pole figure has no circles."});
    return false;
  }
  // The record's limits, checked where every grid is checked.
  std::vector<long long> points;
  std::vector<double> steps;
  for (const MeasuredCircle& c : circles) {
    points.push_back(static_cast<long long>(c.values.size()));
    steps.push_back(c.betaStep);
  }
  if (!CheckGridLimits(points, steps, false, source, FileRole::Data, sink)) return false;
  for (std::size_t i = 0; i < circles.size(); ++i) {
    const MeasuredCircle& c = circles[i];
    const auto number = i + 1;
    if (c.values.empty() || !(c.betaStep > 0)) {
      sink.Problem({source, 0, fmt::format("circle {} has no points or no azimuth step.", number)});
      return false;
    }
    if (!std::isfinite(c.alpha) || !std::isfinite(c.betaStart) || (i > 0 && !(c.alpha > circles[i - 1].alpha))) {
      sink.Problem({source, 0, fmt::format("circle {} at alpha {:g} is out of order.", number, c.alpha)});
      return false;
    }
    for (double v : c.values) {
      if (!std::isfinite(v)) {
        sink.Problem({source, 0, fmt::format("circle {} holds a value that is not a finite number.", number)});
        return false;
      }
    }
  }
  return true;
}

std::unique_ptr<PoleFigure> MeasurementToRecord(const MeasurementFile& file, int index, const std::string& source,
                                                bool showMrd, MessageSink& sink) {
  const auto count = file.poleFigures.size();
  if (index < 1 || static_cast<std::size_t>(index) > count) {
    sink.Problem({source, 0, fmt::format("there is no pole figure {}; the file holds {}.", index, count)});
    return nullptr;
  }
  const MeasuredPoleFigure& measured = file.poleFigures[static_cast<std::size_t>(index - 1)];
  if (!FitsRecord(measured, source, sink)) return nullptr;

  auto pf = NewPoleFigure();
  pf->FileName = source;
  std::vector<GridCircle> circles;
  circles.reserve(measured.circles.size());
  for (const MeasuredCircle& c : measured.circles)
    circles.push_back({c.alpha, c.betaStart, c.betaStep, static_cast<long long>(c.values.size())});
  SetSimpleGrid(*pf, circles);
  pf->PointCount = 0;
  for (std::size_t i = 0; i < measured.circles.size(); ++i) {
    const auto& values = measured.circles[i].values;
    const auto row = pf->Intensity[static_cast<int>(i) + 1];
    for (std::size_t k = 0; k < values.size(); ++k) row[k + 1] = values[k];
    pf->PointCount += static_cast<std::int32_t>(values.size());
  }
  FinishGridData(*pf);
  if (count > 1) {
    pf->IndexInFile = index;
    pf->NameInFile = measured.name;
  }
  pf->Hkl = measured.hkl;
  pf->CommentInFile = measured.comment;
  pf->TwoTheta = measured.twoTheta;
  pf->CountingTime = measured.countingTime;
  pf->Monitor = measured.monitor;
  pf->Background = measured.background;
  PreparePoleFigure(*pf, showMrd);
  return pf;
}

std::vector<std::string> MeasuredNames(const MeasurementFile& file) {
  std::vector<std::string> names;
  if (file.poleFigures.size() < 2) return names;
  for (const auto& pf : file.poleFigures) names.push_back(pf.name.empty() ? pf.hkl : pf.name);
  return names;
}

}  // namespace quorix
