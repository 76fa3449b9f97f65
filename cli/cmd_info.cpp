// quorix-cli info: load one pole figure and print the record.
#include <fmt/format.h>

#include <iostream>
#include <nlohmann/json.hpp>

#include "base/text_file.h"
#include "commands.h"
#include "correction/units.h"
#include "io/data_layout.h"
#include "io/formatted_writer.h"
#include "options.h"
#include "record/statistics.h"
#include "record_json.h"
#include "workflow/load_sequence.h"

namespace quorix::cli {
namespace {

struct InfoOptions {
  LoadOptions load;
  bool json = false;
};

// "h k l": files with their own grid keep it on the record, the lists in each
// block's header.
std::string HklText(const PoleFigure& pf) {
  if (!pf.Hkl.empty()) return pf.Hkl;
  const auto m = MillerOf(pf);
  if (!m || !ParseInteger(m->h) || !ParseInteger(m->k) || !ParseInteger(m->l)) return {};
  return m->h + " " + m->k + " " + m->l;
}

void PrintSummary(const PoleFigure& pf, DataLayout layout, const std::vector<std::string>& names, int index) {
  std::cout << fmt::format("File:        {}\n", pf.FileName);
  std::cout << fmt::format("Layout:      {}", LayoutName(layout));
  if (!names.empty())
    std::cout << fmt::format(" (pole figure {} of {}: \"{}\")", index, names.size(), names[index - 1]);
  std::cout << '\n';
  std::cout << fmt::format("Grid:        {} circles, {} points, alpha {:g} to {:g}, beta range {:g}{}{}\n",
                           pf.CircleCount, pf.PointCount, pf.Alpha[1], pf.Alpha[pf.CircleCount], pf.BetaRange,
                           pf.InnerMirror ? ", inner mirror" : "", pf.OuterMirror ? ", outer mirror" : "");
  std::cout << fmt::format("Maximum:     {:g} at circle {}, point {}\n", pf.MaxValue, pf.MaxCircle, pf.MaxPoint);
  std::cout << fmt::format("Minimum:     {:g} at circle {}, point {}\n", pf.MinValue, pf.MinCircle, pf.MinPoint);
  std::cout << fmt::format("Norm factor: {:g}\n", pf.NormFactor);
  for (int k = 1; k <= 3; ++k)
    std::cout << fmt::format("Eigenvalue {}: {:.3f} at alpha {:.1f}, beta {:.1f}\n", k, pf.Eigenvalue[k],
                             pf.EigenAlpha[k], pf.EigenBeta[k]);
  std::cout << fmt::format("T = {:.3f}, P' = {:.3f}\n", ShapeParameterT(pf), AnisotropyP(pf));
  std::cout << "Levels:     ";
  for (int k = 1; k <= pf.LevelCount; ++k) std::cout << fmt::format(" {:g}", pf.Level[k]);
  std::cout << fmt::format("\nLowest level: {:g}\n", pf.LowestLevel);
}

int RunInfo(const InfoOptions& o) {
  StderrSink sink;
  const LoadedFile loaded = LoadDataFile(MakeLoadRequest(o.load), sink);
  if (!loaded.pf) return LoadFailure(o.load.grid, loaded.layout);
  if (o.json) {
    nlohmann::json j = RecordJson(*loaded.pf, loaded.layout, loaded.names);
    j["format"] = LayoutName(loaded.layout);
    j["hkl"] = HklText(*loaded.pf);
    // How it was measured, where the file says (0 and false where it does not).
    j["two_theta"] = loaded.pf->TwoTheta;
    j["counting_time"] = loaded.pf->CountingTime;
    j["monitor"] = loaded.pf->Monitor;
    j["background"] = loaded.pf->Background;
    j["unit"] = UnitName(loaded.pf->Unit);
    std::cout << j.dump() << '\n';
  } else {
    PrintSummary(*loaded.pf, loaded.layout, loaded.names, o.load.index);
  }
  return 0;
}

}  // namespace

Command AddInfoCommand(CLI::App& app) {
  auto opts = std::make_shared<InfoOptions>();
  CLI::App* cmd = app.add_subcommand("info", "Load a pole figure and print its record");
  AddLoadOptions(*cmd, opts->load);
  cmd->add_flag("--json", opts->json, "Print one JSON object");
  return {cmd, [opts] { return RunInfo(*opts); }};
}

}  // namespace quorix::cli
