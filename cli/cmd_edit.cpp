// quorix-cli edit: the intensity edits of the "&Edit" menu on one pole figure.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/number_format.h"
#include "base/text_file.h"
#include "commands.h"
#include "io/edt_file.h"
#include "options.h"
#include "transform/intensity_edit.h"
#include "transform/ssci.h"
#include "transform_io.h"

namespace quorix::cli {
namespace {

struct EditOptions {
  LoadOptions load;
  std::vector<std::string> all, circles, raster;
  int suppress = -1;
  OutputOptions output;
};

bool ParseOperator(const std::string& text, char& op) {
  if (text.size() == 1 && IsEditOperator(text[0])) {
    op = text[0];
    return true;
  }
  std::cerr << "edit: the operator must be one of + - * /, got \"" << text << "\"\n";
  return false;
}

// The edit itself; false after a message.
bool Apply(const EditOptions& o, PoleFigure& pf, MessageSink& sink) {
  char op = 0;
  if (!o.all.empty()) {
    if (!ParseOperator(o.all[0], op)) return false;
    if (!ParseNumber(o.all[1])) {
      std::cerr << "edit: \"" << o.all[1] << "\" is not a number\n";
      return false;
    }
    const auto value = ParseEditValue(o.all[1], op, sink);
    if (!value) return false;
    if (!EditIntensities(pf, op, UniformOperands(*value), o.load.mrd, sink)) return false;
  } else if (!o.circles.empty()) {
    if (!ParseOperator(o.circles[0], op)) return false;
    const EdtValues read = ReadEdtFile(o.circles[1], pf.CircleCount, sink);
    if (!read.complete) return false;
    // Through the same text the dialog's cells hold.
    std::vector<std::string> cells;
    for (double v : read.values) cells.push_back(FormatGeneral(v));
    const auto values = ParseCircleValues(cells, op, sink);
    if (!values) return false;
    if (!EditIntensities(pf, op, CircleOperands(*values), o.load.mrd, sink)) return false;
  } else if (!o.raster.empty()) {
    if (!ParseOperator(o.raster[0], op)) return false;
    if (!MergeRasterPF(pf, op, o.raster[1], o.load.grid, sink)) return false;
    RefreshLevelsAfterEdit(pf, o.load.mrd);
  } else {
    const SuppressionBackup backup = BeginSuppression(pf);
    SetSuppressionLevel(pf, backup, o.suppress);
  }
  return true;
}

int RunEdit(const EditOptions& o) {
  StderrSink sink;
  const int chosen = !o.all.empty() + !o.circles.empty() + !o.raster.empty() + (o.suppress >= 0);
  if (chosen != 1) {
    std::cerr << "edit: give exactly one of --all, --circles, --raster, --suppress\n";
    return 1;
  }
  if (!OutputAsked(o.output, "edit")) return 1;
  LoadedInput input = LoadInput(o.load, sink);
  if (!input.pf) return input.failure;
  if (!Apply(o, *input.pf, sink)) return 1;
  return WriteOutput(input, o.output, sink);
}

}  // namespace

Command AddEditCommand(CLI::App& app) {
  auto opts = std::make_shared<EditOptions>();
  CLI::App* cmd = app.add_subcommand("edit", "Edit the intensities of a pole figure as the Edit menu does");
  AddLoadOptions(*cmd, opts->load);
  auto* all = cmd->add_option("--all", opts->all, "OP VALUE: one value on every point (OP one of + - * /)")
                  ->expected(2)
                  ->allow_extra_args(false);
  auto* circles = cmd->add_option("--circles", opts->circles, "OP FILE.edt: one value per circle from a file")
                      ->expected(2)
                      ->allow_extra_args(false);
  auto* raster = cmd->add_option("--raster", opts->raster, "OP FILE2: point by point with a pole figure on GRID")
                     ->expected(2)
                     ->allow_extra_args(false);
  auto* suppress = cmd->add_option("--suppress", opts->suppress, "Suppress single-crystal peaks at LEVEL (0..10)")
                       ->check(CLI::Range(0, kMaxSuppressionLevel));
  all->excludes(circles)->excludes(raster)->excludes(suppress);
  circles->excludes(raster)->excludes(suppress);
  raster->excludes(suppress);
  AddOutputOptions(*cmd, opts->output);
  return {cmd, [opts] { return RunEdit(*opts); }};
}

}  // namespace quorix::cli
