// quorix-cli saveall: several pole figures in one Beartex, Geesthacht or popLA
// file, prefilled from the data file the way "Save all formatted" prefills its window.
#include <memory>
#include <string>

#include "commands.h"
#include "options.h"
#include "save_options.h"
#include "workflow/convert.h"

namespace quorix::cli {
namespace {

struct SaveAllCommandOptions {
  std::string format;
  std::string data;
  std::string grid;
  std::string out;
  SaveAllCliOptions options;
  MeasurementOptions measurement;
};

int RunSaveAll(const SaveAllCommandOptions& o) {
  StderrSink sink;
  SaveAllFileRequest r;
  r.layout = o.format == "geesthacht" ? DataLayout::Geesthacht
             : o.format == "popla"    ? DataLayout::Popla
                                      : DataLayout::Beartex;
  r.data = o.data;
  r.grid = o.grid;
  r.output = o.out;
  r.maxFigures = kSlotCount;
  r.measurement = o.measurement;
  if (!FillSaveAllRequest(o.options, r, sink)) return 1;
  DataFileFacts facts;
  return SaveAllFromFile(r, sink, facts) ? 0 : LoadFailure(o.grid, facts.layout);
}

}  // namespace

Command AddSaveAllCommand(CLI::App& app) {
  auto opts = std::make_shared<SaveAllCommandOptions>();
  CLI::App* cmd =
      app.add_subcommand("saveall", "Write several pole figures into one Beartex, Geesthacht or popLA file");
  cmd->add_option("FORMAT,--format", opts->format, "beartex, geesthacht or popla")
      ->required()
      ->check(CLI::IsMember({"beartex", "geesthacht", "popla"}));
  cmd->add_option("DATA", opts->data, "Pole figure data file")->required();
  cmd->add_option("GRID", opts->grid, kGridHelp);
  AddTiltOptions(*cmd, opts->measurement);
  cmd->add_option("-o,--output", opts->out, "Output file")->required();
  AddSaveAllOptions(*cmd, opts->options,
                    "Pole figures of a multi-pole-figure file, like 1,2,3 (default: all, at most 8)");
  return {cmd, [opts] { return RunSaveAll(*opts); }};
}

}  // namespace quorix::cli
