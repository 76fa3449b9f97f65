#include "io/measurement_record.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "io/column_reader.h"
#include "io/data_reader.h"
#include "io/exchange_readers.h"
#include "io/grid_reader.h"
#include "io/instrument_readers.h"
#include "io/popla_reader.h"
#include "record/prepare.h"

namespace quorix {

namespace {

std::optional<MeasurementFile> ReadInLayout(std::string_view text, DataLayout layout, const std::string& source,
                                            const MeasurementOptions& options, MessageSink& sink) {
  switch (layout) {
    case DataLayout::Xrdml: return ReadXrdmlText(text, source, sink);
    case DataLayout::Uxd: return ReadUxdText(text, source, sink);
    case DataLayout::Asc:
    case DataLayout::Ras: return ReadKeyText(text, source, sink);
    case DataLayout::RigakuTxt: return ReadRigakuTxtText(text, source, options, sink);
    case DataLayout::Popla: return ReadPoplaText(text, source, sink);
    case DataLayout::Columns: return ReadColumnsText(text, source, sink);
    case DataLayout::Geesthacht: return ReadWkoListText(text, source, sink);
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
    case DataLayout::Queens: return ReadQueensText(text, source, sink);
    case DataLayout::Inel: return ReadInelText(text, source, sink);
    case DataLayout::Autex: return ReadAutexText(text, source, sink);
    default: break;
  }
  sink.Problem({source, 0, fmt::format("the {} layout carries no grid of its own.", LayoutName(layout))});
  return std::nullopt;
}

}  // namespace

std::optional<MeasurementFile> ReadMeasurementText(std::string_view text, DataLayout layout, const std::string& source,
                                                   const MeasurementOptions& options, MessageSink& sink) {
  auto file = ReadInLayout(text, layout, source, options, sink);
  // A file of one pole figure that names no reflection is often named after it.
  if (file && file->poleFigures.size() == 1 && file->poleFigures[0].hkl.empty()) {
    const auto groups = HklGroupsInName(source);
    if (groups.size() == 1) file->poleFigures[0].hkl = groups[0];
  }
  return file;
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

namespace {

// A diffractometer measures tilt 0 once per azimuth: one direction counted
// many times. Contoured as different points it would draw a starburst; every
// point gets the mean of the valid counts, and the record keeps their spread.
void AverageCentre(PoleFigure& pf) {
  if (pf.CircleCount < 1 || std::fabs(pf.Alpha[1]) > 1e-9) return;
  const std::span<double> centre = CircleValues(pf, 1);
  double sum = 0;
  int count = 0;
  for (double v : centre)
    if (v != kMissing) {
      sum += v;
      ++count;
    }
  if (count == 0) return;
  const double mean = sum / count;
  double squares = 0;
  for (double v : centre)
    if (v != kMissing) squares += (v - mean) * (v - mean);
  pf.CentreSpread = count > 1 ? std::sqrt(squares / (count - 1)) : 0.0;
  std::fill(centre.begin(), centre.end(), mean);
}

}  // namespace

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
  GridDescription grid;
  for (const MeasuredCircle& c : measured.circles)
    grid.circles.push_back({c.alpha, c.betaStart, c.betaStep, static_cast<long long>(c.values.size())});
  if (!SetGrid(*pf, grid, source, FileRole::Data, sink)) return nullptr;
  for (std::size_t i = 0; i < measured.circles.size(); ++i) {
    const auto& values = measured.circles[i].values;
    std::copy(values.begin(), values.end(), CircleValues(*pf, static_cast<int>(i) + 1).begin());
  }
  if (IsInstrumentLayout(file.format)) AverageCentre(*pf);
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
  pf->Unit = measured.unit;
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
