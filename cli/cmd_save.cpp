// quorix-cli save: write one pole figure as an ASCII file, as "Save as ASCII" does.
#include <memory>
#include <string>

#include "commands.h"
#include "io/ascii_writer.h"
#include "options.h"
#include "save_options.h"

namespace quorix::cli {
namespace {

struct SaveOptions {
  LoadOptions load;
  std::string out;
  SaveFormatOptions format;
};

int RunSave(const SaveOptions& o) {
  StderrSink sink;
  const AsciiWriteOptions w = MakeWriteOptions(o.format);
  DataFileFacts facts;
  const auto pf = LoadPoleFigure(MakeLoadRequest(o.load), sink, facts);
  if (!pf) return LoadFailure(o.load.grid, facts.layout);
  return WritePFASCII(*pf, o.out, w, sink) ? 0 : 1;
}

}  // namespace

Command AddSaveCommand(CLI::App& app) {
  auto opts = std::make_shared<SaveOptions>();
  CLI::App* cmd = app.add_subcommand("save", "Write a pole figure as an ASCII file");
  AddLoadOptions(*cmd, opts->load);
  cmd->add_option("-o,--output", opts->out, "Output file")->required();
  AddSaveFormatOptions(*cmd, opts->format);
  return {cmd, [opts] { return RunSave(*opts); }};
}

}  // namespace quorix::cli
