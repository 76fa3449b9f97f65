// quorix-cli density: the density pole figure of a directional data file, as
// the desktop program loads it with "Directional data".
#include <cctype>
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "io/load_pole_figure.h"
#include "options.h"
#include "record_json.h"
#include "transform/directional_density.h"
#include "transform/radial_kernel.h"
#include "transform_io.h"

namespace quorix::cli {
namespace {

struct DensityOptions {
  std::string data;
  std::string grid;
  double fwhm = 5;
  std::string section;
  std::optional<double> angle;
  bool mrd = false;
  OutputOptions output;
};

int RunDensity(const DensityOptions& o) {
  StderrSink sink;
  if (!OutputAsked(o.output, "density")) return 1;
  if (const std::string problem = FwhmProblem(o.fwhm); !problem.empty()) {
    std::cerr << "density: --fwhm: " << problem << '\n';
    return 1;
  }
  if (o.angle && o.section.empty()) {
    std::cerr << "density: --angle needs --section\n";
    return 1;
  }
  if (o.angle && !std::isfinite(*o.angle)) {
    std::cerr << "density: --angle must be a number of degrees\n";
    return 1;
  }
  LoadRequest request;
  request.dataFile = o.data;
  request.gridFile = o.grid;
  request.showMrd = o.mrd;
  // As the desktop program loads directional data: ".grd" names are full
  // grids, all others simple ones.
  request.gridRule = GridRule::WindowSlot;
  DirectionalOptions directional;
  directional.fwhm = o.fwhm;
  if (!o.section.empty()) {
    directional.kind = static_cast<char>(std::toupper(static_cast<unsigned char>(o.section[0])));
    if (o.angle) directional.sectionAngles[directional.kind - 'X'] = *o.angle;
  }
  const auto pf = LoadDensityPoleFigure(request, directional, sink);
  if (!pf) return 1;
  nlohmann::json record = RecordJson(*pf, DataLayout::None, {});
  record["layout"] = "directional";
  return WriteOutput(*pf, record, o.output, sink);
}

}  // namespace

Command AddDensityCommand(CLI::App& app) {
  auto opts = std::make_shared<DensityOptions>();
  CLI::App* cmd = app.add_subcommand("density", "Turn a directional data file into a density pole figure");
  cmd->add_option("DIRFILE", opts->data, "Directional data file: r, s and a tag per line")->required();
  cmd->add_option("GRID", opts->grid, "Grid file")->required();
  cmd->add_option("--fwhm", opts->fwhm, "FWHM of the Gaussian in degrees (default 5)");
  cmd->add_option("--section", opts->section, "Section X, Y or Z of a sample, rotated into the common frame")
      ->check(CLI::IsMember({"X", "Y", "Z"}, CLI::ignore_case));
  cmd->add_option("--angle", opts->angle, "Rotation of the section in degrees (default 90 for X and Y, 0 for Z)");
  cmd->add_flag("--mrd", opts->mrd, "Contour levels in multiples of a random distribution");
  AddOutputOptions(*cmd, opts->output);
  return {cmd, [opts] { return RunDensity(*opts); }};
}

}  // namespace quorix::cli
