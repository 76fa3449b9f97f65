// Weighted and fitted sums of pole figures and the checks of the add list.
#include "transform/pf_add.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/text_file.h"
#include "io/load_pole_figure.h"
#include "record/levels.h"
#include "record/statistics.h"
#include "transform/pf_difference.h"

namespace quorix {

namespace {

bool Normalised(const PoleFigure& pf) { return pf.NormFactor != 0 && std::isfinite(pf.NormFactor); }

// Only a positive mean can be divided by: a difference of pole figures
// averages to a rounding error of either sign, and dividing by it would blow
// the sum up. "Positive" is measured against the mean size of the values.
bool NormaliseOrSay(PoleFigure& pf, MessageSink& sink) {
  UpdateStatistics(pf);
  double sum = 0, size = 0;
  long count = 0;
  for (int i = 1; i <= pf.CircleCount; ++i)
    for (const double v : CircleValues(pf, i)) {
      if (v == kMissing) continue;
      sum += v;
      size += std::fabs(v);
      ++count;
    }
  const double mean = count > 0 ? sum / static_cast<double>(count) : 0.0;
  const double tolerance = count > 0 ? 1e-9 * size / static_cast<double>(count) : 0.0;
  if (Normalised(pf) && pf.NormFactor > tolerance && mean > tolerance) return true;
  sink.Message(fmt::format("Pole figure {} has a mean intensity of {:g} and cannot be normalized; it was not added.",
                           pf.FileName, mean));
  return false;
}

// Calls f(value of the sum, value of the further pole figure) for circles
// first..last of the sum's grid.
template <class F>
void ForEachPoint(PoleFigure& sum, const PoleFigure& further, int first, int last, F f) {
  for (int i = first; i <= last; ++i)
    for (int j = 1; j <= sum.CirclePoints[i]; ++j) f(sum.Intensity[i][j], further.Intensity[i][j]);
}

int FirstWithMirror(const PoleFigure& pf) { return pf.InnerMirror == 1 ? 0 : 1; }
int LastWithMirror(const PoleFigure& pf) { return pf.CircleCount + (pf.OuterMirror == 1 ? 1 : 0); }

// A sum beyond the largest double turns into infinities that every later
// statistic would spread; the whole sum is refused instead.
bool SumIsFinite(const PoleFigure& sum, MessageSink& sink) {
  for (int i = FirstWithMirror(sum); i <= LastWithMirror(sum); ++i)
    for (const double v : CircleValues(sum, i))
      if (!std::isfinite(v)) {
        sink.Message(
            "The sum would exceed the largest number a value can hold (about 1.8e308); the pole figure was left as "
            "it was.");
        return false;
      }
  return true;
}

}  // namespace

AddListCheck CheckAddList(const std::vector<AddListRow>& rows, bool weighted, bool normalizeWeights) {
  AddListCheck check;
  if (rows.empty() || Trim(rows[0].file).empty()) {
    check.message = "Error in file list!";
    return check;
  }
  AddTables t;
  for (const AddListRow& row : rows) t.files.push_back(row.file);
  if (weighted) {
    std::vector<double> w;
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const auto v = ParseNumber(Trim(rows[k].weight));
      if (!v || std::fabs(*v) > std::numeric_limits<float>::max()) {
        check.line = static_cast<int>(k + 1);
        check.message = fmt::format("weight in line {} is not correct", k + 1);
        return check;
      }
      w.push_back(*v);
    }
    double sum = 0;
    for (double v : w) sum += v;
    if (normalizeWeights && sum != 1.0) {
      if (sum == 0 || !std::isfinite(sum)) {
        check.message = fmt::format("The weights sum to {:g} and cannot be normalized to 1.0.", sum);
        return check;
      }
      for (double& v : w) v /= sum;
    }
    for (double v : w) t.weights.push_back(static_cast<float>(v));
  }
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const auto v = ParseInteger(Trim(rows[k].index));
    // The index table holds bytes; a larger number would silently wrap.
    if (!v || *v < 0 || *v > 255) {
      check.line = static_cast<int>(k + 1);
      check.message = fmt::format("PF index in line {} is not correct", k + 1);
      return check;
    }
    t.indices.push_back(static_cast<std::uint8_t>(*v));
  }
  check.tables = std::move(t);
  return check;
}

std::unique_ptr<PoleFigure> ReadFurtherPoleFigure(const PoleFigure& main, const std::string& gridFileName,
                                                  const std::string& fileName, int index, MessageSink& sink,
                                                  const MeasurementOptions& measurement) {
  LoadRequest request;
  request.measurement = measurement;
  request.dataFile = fileName;
  request.gridFile = gridFileName;
  request.pfIndex = index;
  request.gridRule = GridRule::WindowSlot;
  FileNamingSink named(sink);
  auto pf = LoadPoleFigure(request, named);
  if (!pf) return nullptr;
  const std::string why = DescribeGridDifference(main, *pf);
  if (!why.empty()) {
    // A file with its own grid was read on no grid file.
    const std::string onGrid = gridFileName.empty() ? "" : " on grid " + gridFileName;
    sink.Message(
        fmt::format("Data file {}{} does not lie on the grid of the main pole figure: {}.", fileName, onGrid, why));
    return nullptr;
  }
  return pf;
}

bool WeightedAddPF(PoleFigure& pf1, const std::string& gridFileName, bool normalizePFs,
                   const std::vector<float>& weights, const std::vector<std::uint8_t>& indices,
                   const std::vector<std::string>& files, MessageSink& sink, const MeasurementOptions& measurement) {
  const std::size_t lines = std::min({weights.size(), indices.size(), files.size()});
  if (lines == 0) return true;
  // Summed apart, so that a file that cannot be read leaves pf1 as it was.
  auto sum = std::make_unique<PoleFigure>(pf1);
  const int first = FirstWithMirror(*sum);
  const int last = LastWithMirror(*sum);

  double s1 = 1;
  // Left out, the pole figure in memory still lends the sum its missing points.
  if (normalizePFs) s1 = NormaliseOrSay(*sum, sink) ? 1 / sum->NormFactor : 0;
  sum->NormFactor = s1;
  const double w1 = weights[0];
  for (int i = first; i <= last; ++i)
    for (int j = 1; j <= sum->CirclePoints[i]; ++j) {
      double& v = sum->Intensity[i][j];
      if (v != kMissing) v = v * w1 * s1;
    }

  for (std::size_t k = 1; k < lines; ++k) {
    auto further = ReadFurtherPoleFigure(*sum, gridFileName, files[k], indices[k], sink, measurement);
    if (!further) return false;
    double sk = 1;
    if (normalizePFs) {
      if (!NormaliseOrSay(*further, sink)) continue;
      sk = 1 / further->NormFactor;
    }
    const double wk = weights[k];
    ForEachPoint(*sum, *further, first, last,
                 [&](double& v, double t) { v = (v != kMissing && t != kMissing) ? t * wk * sk + v : kMissing; });
  }
  if (!SumIsFinite(*sum, sink)) return false;
  UpdateExtremes(*sum);
  UpdateStatistics(*sum);
  // A sum of several pole figures is none of its first file's.
  ForgetFileFacts(*sum);
  pf1 = *sum;
  return true;
}

bool FittedAddPF(PoleFigure& pf1, const std::string& gridFileName, const std::vector<std::string>& files,
                 const std::vector<std::uint8_t>& indices, MessageSink& sink, const MeasurementOptions& measurement) {
  const std::size_t lines = std::min(indices.size(), files.size());
  auto sum = std::make_unique<PoleFigure>(pf1);
  // The mirror circles take no part in the fit; they follow their circles afterwards.
  const int n = sum->CircleCount;
  for (std::size_t k = 1; k < lines; ++k) {
    auto further = ReadFurtherPoleFigure(*sum, gridFileName, files[k], indices[k], sink, measurement);
    if (!further) return false;
    double sumMain = 0, sumFurther = 0;
    long common = 0;
    ForEachPoint(*sum, *further, 1, n, [&](double& v, double t) {
      if (v == kMissing || t == kMissing) return;
      sumMain += v;
      sumFurther += t;
      ++common;
    });
    if (common == 0 || sumFurther == 0) {
      sink.Message(fmt::format("Data file {} {}; it was not added.", files[k],
                               common == 0 ? "has no point with a value where the main pole figure has one"
                                           : "sums to 0 over the points it shares with the main pole figure"));
      continue;
    }
    const double f = sumMain / sumFurther;
    ForEachPoint(*sum, *further, 1, n, [&](double& v, double t) {
      if (t == kMissing) return;
      v = v == kMissing ? t * f : (t * f + v) / 2;
    });
  }
  RefreshMirrorCircles(*sum);
  if (!SumIsFinite(*sum, sink)) return false;
  UpdateExtremes(*sum);
  UpdateStatistics(*sum);
  pf1 = *sum;
  return true;
}

void FinishAddition(PoleFigure& pf1, bool showMrd) {
  AutoLevels(pf1, showMrd, true, kMaxLevels);
  pf1.LowestLevel = LowestLevelOf(pf1, showMrd);
}

}  // namespace quorix
