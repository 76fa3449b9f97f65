// quorix-cli smooth: Gaussian smoothing of one pole figure.
#include <cmath>
#include <iostream>
#include <memory>

#include "commands.h"
#include "options.h"
#include "transform/radial_kernel.h"
#include "transform/smoothing.h"
#include "transform_io.h"

namespace quorix::cli {
namespace {

struct SmoothOptions {
  LoadOptions load;
  OutputOptions output;
  double fwhm = 5;
  bool excludeNegative = false;
};

int RunSmooth(const SmoothOptions& o) {
  StderrSink sink;
  if (!OutputAsked(o.output, "smooth")) return 1;
  if (const std::string problem = FwhmProblem(o.fwhm); !problem.empty()) {
    std::cerr << "smooth: --fwhm: " << problem << '\n';
    return 1;
  }
  LoadedInput input = LoadInput(o.load, sink);
  if (!input.pf) return input.failure;
  SmoothingSettings settings;
  settings.fwhm = o.fwhm;
  settings.excludeNegative = o.excludeNegative;
  settings.keepLevels = true;
  if (!SmoothPoleFigure(*input.pf, settings, o.load.mrd)) return 1;
  return WriteOutput(input, o.output, sink);
}

}  // namespace

Command AddSmoothCommand(CLI::App& app) {
  auto opts = std::make_shared<SmoothOptions>();
  CLI::App* cmd = app.add_subcommand("smooth", "Smooth a pole figure with a Gaussian kernel");
  AddLoadOptions(*cmd, opts->load);
  cmd->add_option("--fwhm", opts->fwhm, "Full width at half maximum in degrees")->required();
  cmd->add_flag("--exclude-negative", opts->excludeNegative, "Negative values take part in no mean");
  AddOutputOptions(*cmd, opts->output);
  return {cmd, [opts] { return RunSmooth(*opts); }};
}

}  // namespace quorix::cli
