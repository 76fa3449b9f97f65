// quorix-cli xrdml: write one pole figure as an XRDML measurement on a sample file.
#include <memory>
#include <optional>
#include <string>

#include "base/text_file.h"
#include "commands.h"
#include "io/xrdml_writer.h"
#include "options.h"

namespace quorix::cli {
namespace {

struct XrdmlCliOptions {
  LoadOptions load;
  std::string sample;
  std::string out;
  std::string hkl;
  bool zeroNegative = false;
};

int RunXrdml(const XrdmlCliOptions& o) {
  StderrSink sink;
  XrdmlOptions w;
  w.SetNegativeToZero = o.zeroNegative;
  if (!o.hkl.empty()) {
    const auto hkl = HklOption(o.hkl, sink);
    if (!hkl) return 1;
    w.h = (*hkl)[0];
    w.k = (*hkl)[1];
    w.l = (*hkl)[2];
  }
  DataFileFacts facts;
  const auto pf = LoadPoleFigure(MakeLoadRequest(o.load), sink, facts);
  if (!pf) return LoadFailure(o.load.grid, facts.layout);
  return WritePFXRDML(*pf, o.sample, o.out, w, sink) ? 0 : 1;
}

}  // namespace

Command AddXrdmlCommand(CLI::App& app) {
  auto opts = std::make_shared<XrdmlCliOptions>();
  CLI::App* cmd = app.add_subcommand("xrdml", "Write a pole figure as an XRDML file");
  AddLoadOptions(*cmd, opts->load);
  cmd->add_option("--template", opts->sample, "XRDML sample file whose first scan is copied (default: a built-in one)");
  cmd->add_option("-o,--output", opts->out, "Output file")->required();
  cmd->add_option("--hkl", opts->hkl, "Miller indices H,K,L of the reflection");
  cmd->add_flag("--zero-negative", opts->zeroNegative, "Write negative intensities as 0");
  return {cmd, [opts] { return RunXrdml(*opts); }};
}

}  // namespace quorix::cli
