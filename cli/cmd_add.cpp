// quorix-cli add: weighted or fitted sum of a pole figure and further files,
// as "Add Pole Figures weighted" and "Add Pole Figures fitted" form it.
#include <fmt/format.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "commands.h"
#include "options.h"
#include "transform/pf_add.h"
#include "transform_io.h"

namespace quorix::cli {
namespace {

struct AddOptions {
  std::string mode;
  LoadOptions load;
  std::string weight = "1.0";
  std::vector<std::string> with;
  bool noNormalizeWeights = false;
  bool noNormalizePFs = false;
  OutputOptions output;
};

// FILE[:INDEX][@WEIGHT]; a colon not followed by digits belongs to the name.
AddListRow ParseWith(std::string text) {
  AddListRow row{"1.0", "", "1"};
  const std::size_t at = text.rfind('@');
  if (at != std::string::npos) {
    row.weight = text.substr(at + 1);
    text.resize(at);
  }
  const std::size_t colon = text.rfind(':');
  if (colon != std::string::npos && colon + 1 < text.size() &&
      text.find_first_not_of("0123456789", colon + 1) == std::string::npos) {
    row.index = text.substr(colon + 1);
    text.resize(colon);
  }
  row.file = text;
  return row;
}

int RunAdd(const AddOptions& o) {
  StderrSink sink;
  if (!OutputAsked(o.output, "add")) return 1;
  const bool weighted = o.mode == "weighted";
  std::vector<AddListRow> rows{{o.weight, o.load.data, std::to_string(o.load.index)}};
  for (const std::string& w : o.with) rows.push_back(ParseWith(w));
  const AddListCheck check = CheckAddList(rows, weighted, !o.noNormalizeWeights);
  if (!check.tables) {
    // The list's "line N" means nothing on a command line: name the argument.
    std::string message = check.message;
    if (check.line >= 1) {
      const std::size_t k = static_cast<std::size_t>(check.line);
      const bool weight = message.rfind("weight", 0) == 0;
      const std::string argument = k >= 2   ? "--with " + o.with.at(k - 2)
                                   : weight ? "--weight " + o.weight
                                            : "--index " + std::to_string(o.load.index);
      message = weight ? "the weight of " + argument + " is not a number of at most 3.4e38"
                       : "the pole figure index of " + argument + " is not a whole number from 0 to 255";
    }
    std::cerr << "add: " << message << '\n';
    return 1;
  }
  LoadedInput input = LoadInput(o.load, sink);
  if (!input.pf) return input.failure;
  const AddTables& t = *check.tables;
  const bool summed = weighted ? WeightedAddPF(*input.pf, o.load.grid, !o.noNormalizePFs, t.weights, t.indices, t.files,
                                               sink, o.load.measurement)
                               : FittedAddPF(*input.pf, o.load.grid, t.files, t.indices, sink, o.load.measurement);
  if (!summed) return 1;
  FinishAddition(*input.pf, o.load.mrd);
  return WriteOutput(input, o.output, sink);
}

}  // namespace

Command AddAddCommand(CLI::App& app) {
  auto opts = std::make_shared<AddOptions>();
  CLI::App* cmd = app.add_subcommand("add", "Add further pole figures on the same grid to a pole figure");
  cmd->add_option("MODE", opts->mode, "weighted or fitted")->required()->check(CLI::IsMember({"weighted", "fitted"}));
  AddLoadOptions(*cmd, opts->load);
  cmd->add_option("--weight", opts->weight, "Weight of DATA in the weighted sum (default 1.0)");
  cmd->add_option("--with", opts->with, "A further file: FILE[:INDEX][@WEIGHT] (index 1 and weight 1.0 by default)")
      ->allow_extra_args(false);
  cmd->add_flag("--no-normalize-weights", opts->noNormalizeWeights,
                "Keep the weights as given instead of scaling their sum to 1");
  cmd->add_flag("--no-normalize-pfs", opts->noNormalizePFs, "Add raw intensities instead of m.r.d.");
  AddOutputOptions(*cmd, opts->output);
  return {cmd, [opts] { return RunAdd(*opts); }};
}

}  // namespace quorix::cli
