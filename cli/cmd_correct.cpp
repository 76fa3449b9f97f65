// quorix-cli correct: background, defocusing, thin-film absorption and
// normalisation of a raw pole figure, written as `convert` writes.
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "commands.h"
#include "correction/correction_files.h"
#include "options.h"
#include "save_options.h"
#include "transform_io.h"
#include "workflow/convert.h"

namespace quorix::cli {
namespace {

struct CorrectOptions {
  LoadOptions load;
  std::vector<std::string> backgrounds;
  bool ownBackground = false;
  std::string defocus;
  std::string defocusBackground;
  std::string defocusCurve;
  std::string defocusBlock;
  bool pointwise = false;
  std::optional<double> thinFilm;
  std::optional<double> twoTheta;
  std::string hkl;
  std::string out;
  std::string to;
  SaveFormatOptions ascii;
};

bool Choice(const char* option, const std::string& text, MeasurementChoice& choice) {
  std::string error;
  if (ParseMeasurementChoice(text, choice, error)) return true;
  std::cerr << "correct: " << option << ": " << error << '\n';
  return false;
}

int RunCorrect(const CorrectOptions& o) {
  StderrSink sink;
  CorrectionFiles files;
  for (const std::string& b : o.backgrounds)
    if (!Choice("--background", b, files.backgrounds.emplace_back())) return 2;
  if (!o.defocus.empty() && !Choice("--defocus", o.defocus, files.defocus.emplace())) return 2;
  if (!o.defocusBackground.empty() &&
      !Choice("--defocus-background", o.defocusBackground, files.defocusBackground.emplace()))
    return 2;
  files.ownBackground = o.ownBackground;
  files.defocusCurve = o.defocusCurve;
  files.defocusBlock = o.defocusBlock;
  files.pointwise = o.pointwise;
  files.thinFilmMuT = o.thinFilm;
  files.twoTheta = o.twoTheta;
  files.mrd = o.load.mrd;
  files.grid = o.load.grid;
  files.measurement = o.load.measurement;

  ConvertRequest r;
  r.to = o.to.empty() ? ConvertTargetForFile(o.out) : *ConvertTargetNamed(o.to);
  r.file.output = o.out;
  // A measured grid is seldom the Beartex block's: put it on it.
  r.file.regrid = true;
  r.ascii = MakeWriteOptions(o.ascii);

  std::string hkl;
  if (!o.hkl.empty()) {
    // The record keeps "1 1 1", which also picks the TEXD5 block.
    const auto parsed = HklOption(o.hkl, sink);
    if (!parsed) return 2;
    hkl = std::to_string((*parsed)[0]) + " " + std::to_string((*parsed)[1]) + " " + std::to_string((*parsed)[2]);
  }
  LoadedInput input = LoadInput(o.load, sink);
  if (!input.pf) return input.failure;
  if (!hkl.empty()) input.pf->Hkl = hkl;
  auto outcome = CorrectWithFiles(*input.pf, files, sink);
  if (!outcome) return 1;
  for (const std::string& note : outcome->report.notes) std::cerr << "correct: " << note << '\n';
  const PoleFigure* corrected[] = {outcome->pf.get()};
  return WritePoleFigures(r, corrected, sink) ? 0 : 1;
}

}  // namespace

Command AddCorrectCommand(CLI::App& app) {
  auto opts = std::make_shared<CorrectOptions>();
  CLI::App* cmd = app.add_subcommand(
      "correct", "Subtract backgrounds, correct defocusing and thin-film absorption of a measured pole figure");
  cmd->add_option("DATA", opts->load.data, "Pole figure data file")->required();
  cmd->add_option("GRID", opts->load.grid, kGridHelp);
  cmd->add_option("--index", opts->load.index, "Pole figure of a multi-pole-figure file (from 1)")
      ->check(IndexFromOne());
  cmd->add_option("--background", opts->backgrounds,
                  "A background measurement FILE[:K][@2THETA]; two are interpolated in 2theta")
      ->allow_extra_args(false);
  cmd->add_flag("--own-background", opts->ownBackground, "Subtract the backgrounds the data file carries");
  cmd->add_option("--defocus", opts->defocus, "Random sample FILE[:K], or a TEXD5 correction file (.pwd)");
  cmd->add_option("--defocus-background", opts->defocusBackground, "Background of the random sample FILE[:K]");
  cmd->add_option("--defocus-curve", opts->defocusCurve, "File of rows tilt, defocusing factor");
  cmd->add_option("--defocus-block", opts->defocusBlock, "hkl of the TEXD5 block to use (default: the pole figure's)");
  cmd->add_flag("--pointwise", opts->pointwise, "Divide by the random sample point by point");
  cmd->add_option("--thin-film", opts->thinFilm, "Absorption of a thin film: mu times thickness")
      ->check(PositiveFinite());
  cmd->add_option("--two-theta", opts->twoTheta, "2theta of the pole figure, degrees, where the file gives none")
      ->check(PositiveFinite());
  cmd->add_option("--hkl", opts->hkl, "Miller indices H,K,L of the pole figure where the file gives none");
  cmd->add_flag("--mrd", opts->load.mrd, "Put the result in m.r.d. over its measured region");
  cmd->add_option("-o,--output", opts->out, "Output file")->required();
  cmd->add_option("--to", opts->to, "Layout of the output (default: from the extension; ascii otherwise)")
      ->check(CLI::IsMember({"beartex", "geesthacht", "popla", "xrdml", "ascii"}));
  AddTiltOptions(*cmd, opts->load.measurement);
  AddSaveFormatOptions(*cmd, opts->ascii, false);
  return {cmd, [opts] { return RunCorrect(*opts); }};
}

}  // namespace quorix::cli
