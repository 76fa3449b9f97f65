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

std::string ReplaceCommas(std::string s) {
  for (char& c : s)
    if (c == ',') c = ' ';
  return s;
}

int RunXrdml(const XrdmlCliOptions& o) {
  StderrSink sink;
  XrdmlOptions w;
  w.SetNegativeToZero = o.zeroNegative;
  if (!o.hkl.empty()) {
    const std::string text = ReplaceCommas(o.hkl);
    const auto parts = SplitWhitespace(text);
    std::optional<long long> v[3];
    for (std::size_t n = 0; n < 3 && n < parts.size(); ++n) v[n] = ParseInteger(parts[n]);
    auto ok = [](const std::optional<long long>& x) { return x && *x >= -100 && *x <= 100; };
    if (parts.size() != 3 || !ok(v[0]) || !ok(v[1]) || !ok(v[2])) {
      sink.Message("--hkl needs three integers from -100 to 100, like 1,1,1.");
      return 1;
    }
    w.h = static_cast<int>(*v[0]);
    w.k = static_cast<int>(*v[1]);
    w.l = static_cast<int>(*v[2]);
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
