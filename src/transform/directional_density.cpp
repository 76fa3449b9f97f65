#include "transform/directional_density.h"

#include <fmt/format.h>

#include <cmath>
#include <memory>

#include "record/statistics.h"
#include "transform/density.h"
#include "transform/interpolation.h"
#include "transform/radial_kernel.h"

namespace quorix {

namespace {

// What the density needs besides the file, checked before it is read.
bool DensityPossible(const PoleFigure& pf, const std::string& fileName, const DirectionalOptions& options,
                     MessageSink& sink) {
  if (!TablesHoldGrid(pf)) {
    sink.Problem({fileName, 0, "no grid to compute the density on.", Severity::Error, FileRole::Directional});
    return false;
  }
  if (const std::string problem = FwhmProblem(options.fwhm); !problem.empty()) {
    sink.Problem({fileName, 0, problem, Severity::Error, FileRole::Directional});
    return false;
  }
  return true;
}

bool DensityFromList(PoleFigure& target, const std::optional<DirectionList>& list, const DirectionalOptions& options) {
  if (!list) return false;
  // Summed apart: a cancelled density leaves the record as it was.
  const auto sum = std::make_unique<PoleFigure>(target);
  PoleFigure& pf = *sum;
  const int n = pf.CircleCount;

  pf.Intensity.Fill(0.0);
  // The grid reader moved a circle measured towards decreasing beta to its
  // lowest beta; a density has no measuring order.
  for (int i = 1; i <= n; ++i) StoreInIncreasingBeta(pf, i);

  if (!AddDensity(pf, list->directions, options.fwhm, 0, &options.work)) return false;
  RefreshMirrorCircles(pf);
  UpdateExtremes(pf);
  target = pf;
  return true;
}

}  // namespace

bool ReadDirectionalData(PoleFigure& pf, const std::string& fileName, const DirectionalOptions& options,
                         MessageSink& sink) {
  if (!DensityPossible(pf, fileName, options, sink)) return false;
  return DensityFromList(pf, ReadDirections(fileName, options, sink), options);
}

bool ReadDirectionalDataText(PoleFigure& pf, std::string_view text, const std::string& fileName,
                             const DirectionalOptions& options, MessageSink& sink) {
  if (!DensityPossible(pf, fileName, options, sink)) return false;
  return DensityFromList(pf, ReadDirectionsText(text, fileName, options, sink), options);
}

std::unique_ptr<PoleFigure> LoadDensityPoleFigure(const LoadRequest& request, const DirectionalOptions& options,
                                                  MessageSink& sink) {
  if (!LoadFilesExist(request, sink)) return nullptr;
  auto pf = ReadRequestedGrid(request, sink);
  if (!pf) return nullptr;
  if (!ReadDirectionalData(*pf, request.dataFile, options, sink)) return nullptr;
  PreparePoleFigure(*pf, request.showMrd);
  return pf;
}

}  // namespace quorix
