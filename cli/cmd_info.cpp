// quorix-cli info: load one pole figure and print the record.
#include <fmt/format.h>

#include <iostream>
#include <nlohmann/json.hpp>

#include "commands.h"
#include "io/data_layout.h"
#include "math/statistics.h"
#include "options.h"

namespace quorix::cli {
namespace {

struct InfoOptions {
  LoadOptions load;
  bool json = false;
};

nlohmann::json Extreme(double value, int circle, int point) {
  return {{"value", value}, {"circle", circle}, {"point", point}};
}

nlohmann::json RecordJson(const TPoleFigure& pf, DataLayout layout, const std::vector<std::string>& names) {
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
  return {
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
}

void PrintSummary(const TPoleFigure& pf, DataLayout layout, const std::vector<std::string>& names, int index) {
  std::cout << fmt::format("File:        {}\n", pf.FileName);
  std::cout << fmt::format("Layout:      {}", LayoutName(layout));
  if (!names.empty()) std::cout << fmt::format(" (pole figure {} of {}: \"{}\")", index, names.size(), names[index - 1]);
  std::cout << '\n';
  std::cout << fmt::format("Grid:        {} circles, {} points, alpha {:g} to {:g}, beta range {:g}{}{}\n", pf.CircleCount,
                           pf.PointCount, pf.Alpha[1], pf.Alpha[pf.CircleCount], pf.BetaRange,
                           pf.InnerMirror ? ", inner mirror" : "", pf.OuterMirror ? ", outer mirror" : "");
  std::cout << fmt::format("Maximum:     {:g} at circle {}, point {}\n", pf.MaxValue, pf.MaxCircle, pf.MaxPoint);
  std::cout << fmt::format("Minimum:     {:g} at circle {}, point {}\n", pf.MinValue, pf.MinCircle, pf.MinPoint);
  std::cout << fmt::format("Norm factor: {:g}\n", pf.NormFactor);
  for (int k = 1; k <= 3; ++k)
    std::cout << fmt::format("Eigenvalue {}: {:.3f} at alpha {:.1f}, beta {:.1f}\n", k, pf.Eigenvalue[k], pf.EigenAlpha[k],
                             pf.EigenBeta[k]);
  std::cout << fmt::format("T = {:.3f}, P' = {:.3f}\n", ShapeParameterT(pf), AnisotropyP(pf));
  std::cout << "Levels:     ";
  for (int k = 1; k <= pf.LevelCount; ++k) std::cout << fmt::format(" {:g}", pf.Level[k]);
  std::cout << fmt::format("\nLowest level: {:g}\n", pf.LowestLevel);
}

int RunInfo(const InfoOptions& o) {
  StderrSink sink;
  LoadRequest request = MakeLoadRequest(o.load);
  const LayoutInfo info = DetectLayout(request.dataFile, sink);
  if (!info.ok) return 1;
  request.layout = info.layout;
  std::vector<std::string> names;
  if (info.layout == DataLayout::HashList || info.layout == DataLayout::WkoList) {
    names = PickerList(request.dataFile, info.layout, sink);
  }
  const auto pf = LoadPoleFigure(request, sink);
  if (!pf) return 1;
  if (o.json)
    std::cout << RecordJson(*pf, info.layout, names).dump() << '\n';
  else
    PrintSummary(*pf, info.layout, names, o.load.index);
  return 0;
}

const RegisterCommand kInfo([](CLI::App& app) {
  auto opts = std::make_shared<InfoOptions>();
  CLI::App* cmd = app.add_subcommand("info", "Load a pole figure and print its record");
  AddLoadOptions(*cmd, opts->load);
  cmd->add_flag("--json", opts->json, "Print one JSON object");
  cmd->callback([opts] { SetExitCode(RunInfo(*opts)); });
});

}  // namespace
}  // namespace quorix::cli
