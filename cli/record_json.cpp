// The JSON form of a loaded pole figure record.
#include "record_json.h"

#include "record/statistics.h"

namespace quorix::cli {
namespace {

nlohmann::json Extreme(double value, int circle, int point) {
  return {{"value", value}, {"circle", circle}, {"point", point}};
}

}  // namespace

nlohmann::json RecordJson(const PoleFigure& pf, DataLayout layout, const std::vector<std::string>& names) {
  using nlohmann::json;
  const int n = pf.CircleCount;
  json alpha = json::array(), start = json::array(), step = json::array(), points = json::array(),
       intensity = json::array();
  for (int i = 1; i <= n; ++i) {
    alpha.push_back(pf.Alpha[i]);
    start.push_back(pf.BetaStart[i]);
    step.push_back(pf.BetaStep[i]);
    points.push_back(pf.CirclePoints[i]);
    json row = json::array();
    for (int j = 1; j <= pf.CirclePoints[i]; ++j) row.push_back(pf.Intensity[i][j]);
    intensity.push_back(std::move(row));
  }
  json levels = json::array();
  for (int k = 1; k <= pf.LevelCount; ++k) levels.push_back(pf.Level[k]);
  json record = {
      {"file", pf.FileName},
      {"layout", LayoutName(layout)},
      {"names", names},
      {"circles", n},
      {"points", pf.PointCount},
      {"inner_mirror", pf.InnerMirror},
      {"outer_mirror", pf.OuterMirror},
      {"beta_range", pf.BetaRange},
      {"alpha", alpha},
      {"beta_start", start},
      {"beta_step", step},
      {"circle_points", points},
      {"intensity", intensity},
      {"max", Extreme(pf.MaxValue, pf.MaxCircle, pf.MaxPoint)},
      {"min", Extreme(pf.MinValue, pf.MinCircle, pf.MinPoint)},
      {"norm_factor", pf.NormFactor},
      {"eigenvalues", {pf.Eigenvalue[1], pf.Eigenvalue[2], pf.Eigenvalue[3]}},
      {"eigen_alpha", {pf.EigenAlpha[1], pf.EigenAlpha[2], pf.EigenAlpha[3]}},
      {"eigen_beta", {pf.EigenBeta[1], pf.EigenBeta[2], pf.EigenBeta[3]}},
      {"T", ShapeParameterT(pf)},
      {"P", AnisotropyP(pf)},
      {"levels", levels},
      {"lowest_level", pf.LowestLevel},
  };
  // Only where an instrument file's tilt-0 measurements were averaged into one centre value.
  if (pf.CentreSpread) record["centre_spread"] = *pf.CentreSpread;
  return record;
}

}  // namespace quorix::cli
