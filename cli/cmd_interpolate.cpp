// quorix-cli interpolate: one pole figure onto another grid, optionally rotated.
#include <iostream>
#include <memory>

#include "commands.h"
#include "options.h"
#include "record/program_state.h"
#include "transform/interpolation.h"
#include "transform_io.h"

namespace quorix::cli {
namespace {

struct InterpolateOptions {
  LoadOptions load;
  OutputOptions output;
  std::string outGrid;
  std::string rotateAxis;
  std::string rotateList;
  bool triclin = false;
};

int RunInterpolate(const InterpolateOptions& o) {
  StderrSink sink;
  if (!OutputAsked(o.output, "interpolate")) return 1;
  InterpolationRequest request;
  request.gridFile = o.outGrid;
  request.zeroNegative = !o.output.format.keepNegative;
  std::string error;
  if (!o.rotateAxis.empty()) {
    request.rotation.Mode = RotationMode::Matrix;
    if (!ParseRotateAxis(o.rotateAxis, request.rotation.Matrix, error)) {
      std::cerr << error << '\n';
      return 1;
    }
  } else if (!o.rotateList.empty()) {
    if (!ParseRotateList(o.rotateList, request.rotation.List, error)) {
      std::cerr << error << '\n';
      return 1;
    }
    request.rotation.Mode = request.rotation.List.empty() ? RotationMode::None : RotationMode::List;
  }

  LoadedInput input = LoadInput(o.load, sink);
  if (!input.pf) return input.failure;
  if (InterpolateRecords({&input.pf}, request, o.triclin, o.load.mrd, sink) != InterpolationStatus::Done) return 1;
  return WriteOutput(input, o.output, sink);
}

}  // namespace

Command AddInterpolateCommand(CLI::App& app) {
  auto opts = std::make_shared<InterpolateOptions>();
  CLI::App* cmd = app.add_subcommand("interpolate", "Interpolate a pole figure onto another grid");
  AddLoadOptions(*cmd, opts->load);
  cmd->add_option("--out-grid", opts->outGrid, "Grid file of the result")->required();
  auto* axis = cmd->add_option("--rotate-axis", opts->rotateAxis, "Rotation about an axis: PHI,THETA,OMEGA (degrees)");
  auto* list = cmd->add_option("--rotate-list", opts->rotateList, "Rotations about X, Y, Z, e.g. X:30,Z:-45");
  axis->excludes(list);
  cmd->add_flag("--triclin", opts->triclin, "Directions rotated out of the hemisphere have no value");
  AddOutputOptions(*cmd, opts->output);
  return {cmd, [opts] { return RunInterpolate(*opts); }};
}

}  // namespace quorix::cli
