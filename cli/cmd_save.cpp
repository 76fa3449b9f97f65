// quorix-cli save: write one pole figure as an ASCII file, as "Save as ASCII" does.
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "io/ascii_writer.h"
#include "options.h"

namespace quorix::cli {
namespace {

struct SaveOptions {
  LoadOptions load;
  std::string out;
  std::string standard;
  std::optional<int> count, digits, comma, factor;
  bool enter = false;
  bool keepNegative = false;
  bool invertTheta = false;
  bool invertPhi = false;
  std::string coords;
};

int RunSave(const SaveOptions& o) {
  StderrSink sink;
  AsciiWriteOptions w;
  if (!o.standard.empty()) ApplyStandard(w.Format, *FindStandard(o.standard));
  if (o.count) w.Format.ValuesPerLine = *o.count;
  if (o.digits) w.Format.Width = *o.digits;
  if (o.comma) w.Format.Decimals = *o.comma;
  if (o.factor) w.Format.FactorExponent = *o.factor;
  if (o.enter) w.Format.LineEndAfterCircle = true;
  w.SetNegativeToZero = !o.keepNegative;
  w.InvertTheta = o.invertTheta;
  w.InvertPhi = o.invertPhi;
  if (!o.coords.empty()) {
    w.IncludeCoordinates = true;
    w.Coordinates = o.coords == "equal-area"      ? CoordinateType::EqualArea
                    : o.coords == "equal-angular" ? CoordinateType::EqualAngular
                                                  : CoordinateType::Polar;
  }
  const auto pf = LoadPoleFigure(MakeLoadRequest(o.load), sink);
  if (!pf) return 1;
  return WritePFASCII(*pf, o.out, w, sink) ? 0 : 1;
}

const RegisterCommand kSave([](CLI::App& app) {
  auto opts = std::make_shared<SaveOptions>();
  CLI::App* cmd = app.add_subcommand("save", "Write a pole figure as an ASCII file");
  AddLoadOptions(*cmd, opts->load);
  cmd->add_option("-o,--output", opts->out, "Output file")->required();
  cmd->add_option("--standard", opts->standard, "Named column layout")
      ->check(CLI::IsMember({"DUBNA", "DAHMS", "CLAUSTHAL", "POPLA"}, CLI::ignore_case));
  cmd->add_option("--count", opts->count, "Values per line (default 6)")->check(CLI::Range(1, 1000));
  cmd->add_option("--digits", opts->digits, "Field width (default 8)")->check(CLI::Range(1, 99));
  cmd->add_option("--comma", opts->comma, "Decimals (default 3)")->check(CLI::Range(0, 99));
  cmd->add_option("--factor", opts->factor, "Multiply every value by 10^E (default 0)");
  cmd->add_flag("--enter", opts->enter, "End the line after each circle");
  cmd->add_flag("--keep-negative", opts->keepNegative, "Do not set negative values to 0");
  cmd->add_flag("--invert-theta", opts->invertTheta, "90 - theta");
  cmd->add_flag("--invert-phi", opts->invertPhi, "360 - phi");
  cmd->add_option("--coords", opts->coords, "Write the angles with the values")
      ->check(CLI::IsMember({"equal-area", "equal-angular", "polar"}));
  cmd->callback([opts] { SetExitCode(RunSave(*opts)); });
});

}  // namespace
}  // namespace quorix::cli
