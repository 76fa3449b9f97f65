// quorix-cli diff: difference of two pole figures and their RP distribution,
// as "Compare Pole Figures" forms them.
#include <fmt/format.h>

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "commands.h"
#include "options.h"
#include "record/pole_figure_set.h"
#include "record_json.h"
#include "transform/pf_difference.h"
#include "workflow/rp_log.h"

namespace quorix::cli {
namespace {

struct DiffOptions {
  std::string data1, data2, grid;
  int index1 = 1, index2 = 1;
  double eps = 0.5;
  std::string diffOut, rpOut, log;
  bool json = false;
  MeasurementOptions measurement;
};

LoadRequest Request(const DiffOptions& o, const std::string& data, int index, GridRule rule) {
  const std::string& grid = o.grid;
  LoadRequest r;
  r.measurement = o.measurement;
  r.dataFile = data;
  r.gridFile = grid;
  r.pfIndex = index;
  r.gridRule = rule;
  r.showMrd = true;  // the comparison is made in m.r.d.
  return r;
}

int RunDiff(const DiffOptions& o) {
  StderrSink sink;
  // PF1 is loaded as the main window's pole figure, PF2 as window 2's.
  DataFileFacts facts;
  const auto pf1 = LoadPoleFigure(Request(o, o.data1, o.index1, GridRule::MainWindow), sink, facts);
  if (!pf1) return LoadFailure(o.grid, facts.layout);
  const auto pf2 = LoadPoleFigure(Request(o, o.data2, o.index2, GridRule::WindowSlot), sink, facts);
  if (!pf2) return LoadFailure(o.grid, facts.layout);
  const auto result = ComparePoleFigures(*pf1, *pf2, o.eps, sink);
  if (!result) return 1;

  int status = 0;
  if (!o.log.empty()) {
    const bool multi = pf1->IndexInFile > 0;
    if (!AppendRPLog(o.log, RPLogEntryFor(*pf1, *pf2, multi, *result), sink)) status = 1;
  }
  if (!WriteComparisonFiles(*result->difference, *result->rp, o.diffOut, o.rpOut, sink)) status = 1;

  if (o.json) {
    nlohmann::json j;
    j["eps"] = result->eps;
    j["rp"] = result->RP ? nlohmann::json(*result->RP) : nlohmann::json(nullptr);
    j["difference"] = RecordJson(*result->difference, DataLayout::Plain, {});
    j["rp_distribution"] = RecordJson(*result->rp, DataLayout::Plain, {});
    std::cout << j.dump() << '\n';
  } else {
    std::cout << fmt::format("RP = {}{}   (Eps {:.3f})\n", FormatRP(result->RP), result->RP ? " %" : "", result->eps);
  }
  return status;
}

}  // namespace

Command AddDiffCommand(CLI::App& app) {
  auto opts = std::make_shared<DiffOptions>();
  CLI::App* cmd =
      app.add_subcommand("diff", "Difference PF1 - PF2 in m.r.d. and the RP distribution (PF1 is reference)");
  cmd->add_option("DATA1", opts->data1, "Reference pole figure PF1")->required();
  cmd->add_option("DATA2", opts->data2, "Pole figure PF2 compared with it")->required();
  cmd->add_option(
      "GRID", opts->grid,
      "Grid file of both; needed only for plain and WKO list data (Beartex lists imply their 5-degree grid)");
  AddTiltOptions(*cmd, opts->measurement);
  cmd->add_option("--index1", opts->index1, "Pole figure of a multi-pole-figure DATA1 (from 1)")->check(IndexFromOne());
  cmd->add_option("--index2", opts->index2, "Pole figure of a multi-pole-figure DATA2 (from 1)")->check(IndexFromOne());
  cmd->add_option("--eps", opts->eps,
                  "Smallest PF1 value in m.r.d. that gets an RP value (default 0.5; 0 gives RP0; below 0.01: 0.005)")
      ->check(FiniteNumber());
  cmd->add_option("--diff-out", opts->diffOut, "Write the difference (one value per line, 13 wide, 3 decimals)");
  cmd->add_option("--rp-out", opts->rpOut, "Write the RP distribution in the same layout");
  cmd->add_option("--log", opts->log, "Append the result line to this RP log");
  cmd->add_flag("--json", opts->json, "Print eps, RP and both resulting records as one JSON object");
  return {cmd, [opts] { return RunDiff(*opts); }};
}

}  // namespace quorix::cli
