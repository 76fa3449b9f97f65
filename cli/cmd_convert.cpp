// quorix-cli convert: all (or the chosen) pole figures of a data file into one
// file of another layout.
#include <memory>
#include <string>

#include "commands.h"
#include "options.h"
#include "save_options.h"
#include "workflow/convert.h"

namespace quorix::cli {
namespace {

struct ConvertCommandOptions {
  std::string data;
  std::string grid;
  std::string out;
  std::string to;
  std::string xrdmlTemplate;
  bool zeroNegative = false;
  MeasurementOptions measurement;
  SaveAllCliOptions options;
  SaveFormatOptions ascii;
};

int RunConvert(const ConvertCommandOptions& o) {
  StderrSink sink;
  ConvertRequest r;
  r.to = *ConvertTargetNamed(o.to);
  r.file.data = o.data;
  r.file.grid = o.grid;
  r.file.output = o.out;
  r.file.measurement = o.measurement;
  if (!FillSaveAllRequest(o.options, r.file, sink)) return 1;
  r.ascii = MakeWriteOptions(o.ascii);
  r.ascii.InvertTheta = o.options.invertTheta;
  r.ascii.InvertPhi = o.options.invertPhi;
  r.xrdmlTemplate = o.xrdmlTemplate;
  r.xrdml.SetNegativeToZero = o.zeroNegative;
  if (r.to == DataLayout::Xrdml && r.xrdmlTemplate.empty()) {
    sink.Message("--to xrdml needs --template SAMPLE.xrdml.");
    return 1;
  }
  DataFileFacts facts;
  return ConvertFile(r, sink, facts) ? 0 : LoadFailure(o.grid, facts.layout);
}

}  // namespace

Command AddConvertCommand(CLI::App& app) {
  auto opts = std::make_shared<ConvertCommandOptions>();
  CLI::App* cmd = app.add_subcommand("convert", "Write the pole figures of a data file in another layout");
  cmd->add_option("DATA", opts->data, "Pole figure data file")->required();
  cmd->add_option("GRID", opts->grid, "Grid file (not needed for files that carry their grid)");
  cmd->add_option("-o,--output", opts->out, "Output file")->required();
  cmd->add_option("--to", opts->to, "Layout of the output")
      ->required()
      ->check(CLI::IsMember({"beartex", "geesthacht", "popla", "xrdml", "ascii"}));
  AddSaveAllOptions(*cmd, opts->options, "Pole figures of a multi-pole-figure file, like 1,2,3 (default: all)");
  cmd->add_option("--template", opts->xrdmlTemplate, "XRDML sample file (--to xrdml)");
  cmd->add_flag("--zero-negative", opts->zeroNegative, "Write negative intensities as 0 (--to xrdml)");
  AddTiltOptions(*cmd, opts->measurement);
  AddSaveFormatOptions(*cmd, opts->ascii, false);
  return {cmd, [opts] { return RunConvert(*opts); }};
}

}  // namespace quorix::cli
