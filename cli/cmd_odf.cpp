// quorix-cli odf: the orientation distribution from pole figures, with its
// recalculated and inverse pole figures, texture index and volume fractions.
#include <fmt/format.h>

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "commands.h"
#include "options.h"
#include "workflow/convert.h"
#include "workflow/odf_job.h"

namespace quorix::cli {
namespace {

struct OdfCommandOptions {
  std::vector<std::string> files;
  std::string grid;
  std::string crystal;
  std::string sample = "orthorhombic";
  std::string lattice;
  double resolution = 5;
  int iterations = 40;
  double minRpChange = 0.005;
  bool json = false;
  std::string odfOut;
  std::string recalcOut;
  std::string to;
  std::vector<std::string> recalcHkl;
  std::string ipfOut;
  std::vector<std::string> components;
  double spread = 15;
  std::string fromOdf;
  MeasurementOptions measurement;
};

// "FILE" or "FILE:2" or "FILE:1,3"; a colon followed by anything but such a list belongs to the name.
std::optional<OdfInputFile> ParseFileArgument(const std::string& text) {
  OdfInputFile f{text, {}};
  const auto colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return f;
  const std::string list = text.substr(colon + 1);
  if (list.find_first_not_of("0123456789,") != std::string::npos) return f;
  std::string token;
  for (char c : list + ",") {
    if (c != ',') {
      token += c;
      continue;
    }
    const auto v = ParseInteger(token);
    if (!v || *v < 1 || *v > 100000) return std::nullopt;
    f.indices.push_back(static_cast<int>(*v));
    token.clear();
  }
  f.data = text.substr(0, colon);
  return f;
}

std::optional<Component> ParseComponent(const std::string& text) {
  const auto eq = text.find('=');
  if (eq == std::string::npos || eq == 0) return std::nullopt;
  std::string angles = text.substr(eq + 1);
  for (char& c : angles)
    if (c == ',') c = ' ';
  const auto tokens = SplitWhitespace(angles);
  if (tokens.size() != 3) return std::nullopt;
  double v[3];
  for (std::size_t k = 0; k < 3; ++k) {
    const auto x = ParseNumber(tokens[k]);
    if (!x) return std::nullopt;
    v[k] = *x;
  }
  return Component{text.substr(0, eq), Euler{v[0], v[1], v[2]}};
}

int RunOdf(const OdfCommandOptions& o) {
  StderrSink sink;
  OdfJobRequest r;
  for (const std::string& f : o.files) {
    const auto file = ParseFileArgument(f);
    if (!file) {
      sink.Message(
          fmt::format("odf: \"{}\": the list after the colon must be pole figure numbers from 1, like :2 or :1,3.", f));
      return 2;
    }
    r.files.push_back(*file);
  }
  if (r.files.empty() && o.fromOdf.empty()) {
    sink.Message("odf: give pole figure files or --from-odf FILE.");
    return 2;
  }
  for (const std::string& c : o.components) {
    const auto comp = ParseComponent(c);
    if (!comp) {
      sink.Message(fmt::format("odf: --component \"{}\" must read NAME=phi1,Phi,phi2 (Bunge, degrees).", c));
      return 2;
    }
    r.extraComponents.push_back(*comp);
  }
  r.grid = o.grid;
  r.measurement = o.measurement;
  r.crystal = o.crystal;
  r.sample = o.sample;
  r.lattice = o.lattice;
  r.resolution = o.resolution;
  r.estimate.maxIterations = o.iterations;
  r.estimate.minRpChange = o.minRpChange;
  r.spread = o.spread;
  r.fromOdf = o.fromOdf;
  // Every hkl asked for is checked before the work starts.
  if (!r.crystal.empty())
    if (const auto g = LaueGroupNamed(r.crystal))
      for (const std::string& h : o.recalcHkl) {
        std::string error;
        if (!ParseMiller(h, *g, error)) {
          sink.Message(fmt::format("odf: --recalc-hkl {}: {}", h, error));
          return 2;
        }
      }
  const auto result = RunOdfJob(r, sink);
  if (!result) return 1;
  std::vector<std::array<int, 3>> recalc;
  for (const OdfJobFigure& f : result->figures) recalc.push_back(f.hkl);
  for (const std::string& h : o.recalcHkl) {
    const auto hkl = ParseHklFor(h, result->odf, sink);
    if (!hkl) return 2;
    recalc.push_back(*hkl);
  }
  if (!o.odfOut.empty() && !WriteOdf(o.odfOut, result->odf, sink)) return 1;
  if (!o.recalcOut.empty()) {
    if (recalc.empty()) {
      sink.Message("odf: --recalc-out needs --recalc-hkl with --from-odf.");
      return 2;
    }
    const auto layout = o.to.empty() ? std::nullopt : ConvertTargetNamed(o.to);
    if (!WriteRecalculated(o.recalcOut, layout, result->odf, recalc, sink)) return 1;
  }
  if (!o.ipfOut.empty() && !WriteInversePoleFigures(o.ipfOut, result->odf, sink)) return 1;
  const bool hexagonal = IsHexagonalFamily(result->odf.grid.crystal);
  if (o.json) {
    nlohmann::ordered_json j;
    j["texture_index"] = result->textureIndex;
    j["entropy"] = result->entropy;
    j["iterations"] = result->iterations;
    j["crystal"] = LaueGroupName(result->odf.grid.crystal);
    j["sample"] = SampleSymmetryName(result->odf.grid.sample);
    j["resolution"] = result->odf.grid.resolution;
    j["pole_figures"] = nlohmann::ordered_json::array();
    for (const OdfJobFigure& f : result->figures) {
      nlohmann::ordered_json p;
      p["source"] = f.source;
      p["hkl"] = f.hkl;
      if (hexagonal) p["hkil"] = {f.hkl[0], f.hkl[1], -f.hkl[0] - f.hkl[1], f.hkl[2]};
      p["rp"] = f.fit.rp;
      p["rp0"] = f.fit.rp0;
      p["rp1"] = f.fit.rp1;
      p["normalization"] = f.fit.normalization;
      j["pole_figures"].push_back(p);
    }
    j["volume_fractions"] = nlohmann::ordered_json::object();
    for (const auto& [name, v] : result->fractions) j["volume_fractions"][name] = v;
    std::cout << j.dump(2) << '\n';
    return 0;
  }
  std::cout << fmt::format("ODF: {} crystal, {} sample, {} degrees, {} iterations\n",
                           LaueGroupName(result->odf.grid.crystal), SampleSymmetryName(result->odf.grid.sample),
                           result->odf.grid.resolution, result->iterations);
  std::cout << fmt::format("texture index {:.3f}, entropy {:.3f}\n", result->textureIndex, result->entropy);
  for (const OdfJobFigure& f : result->figures)
    std::cout << fmt::format("{} ({} {} {}): rp {:.2f} %, rp0 {:.2f} %, rp1 {:.2f} %, normalization {:.4g}\n", f.source,
                             f.hkl[0], f.hkl[1], f.hkl[2], f.fit.rp, f.fit.rp0, f.fit.rp1, f.fit.normalization);
  for (const auto& [name, v] : result->fractions) std::cout << fmt::format("{}: {:.4f}\n", name, v);
  return 0;
}

}  // namespace

Command AddOdfCommand(CLI::App& app) {
  auto o = std::make_shared<OdfCommandOptions>();
  CLI::App* cmd =
      app.add_subcommand("odf", "Orientation distribution (ODF) from pole figures, and what follows from it");
  cmd->add_option("FILE", o->files, "Pole figure files, FILE[:LIST] (LIST like 2 or 1,3; default all)");
  cmd->add_option("--grid", o->grid, "Grid file for the layouts that need one (plain, WKO list)");
  cmd->add_option("--crystal", o->crystal,
                  "Crystal symmetry: cubic, hexagonal, ... or m-3m, 6/mmm, ... "
                  "(default: the file's symmetry code)");
  cmd->add_option("--sample", o->sample, "Sample symmetry: triclinic, monoclinic or orthorhombic (default)");
  cmd->add_option("--lattice", o->lattice, "a,b,c,alpha,beta,gamma (default: from the file; cubic needs none)");
  cmd->add_option("--resolution", o->resolution, "Cell size in degrees (default 5)")->check(PositiveFinite());
  cmd->add_option("--iterations", o->iterations, "Most iterations (default 40)")->check(CLI::Range(1, 10000));
  cmd->add_option("--min-rp-change", o->minRpChange, "Stop once rp improves by less (percent, default 0.005)");
  cmd->add_flag("--json", o->json, "Print the results as one JSON object");
  cmd->add_option("--odf-out", o->odfOut, "Write the ODF as text");
  cmd->add_option("--recalc-out", o->recalcOut, "Write the recalculated pole figures");
  cmd->add_option("--to", o->to, "Layout of --recalc-out (default: by its extension)")
      ->check(CLI::IsMember({"beartex", "geesthacht", "popla", "xrdml", "ascii"}));
  cmd->add_option("--recalc-hkl", o->recalcHkl, "A further pole figure to recalculate: h,k,l or h,k,i,l")
      ->allow_extra_args(false);
  cmd->add_option("--ipf-out", o->ipfOut, "Write the inverse pole figures of RD, TD and ND");
  cmd->add_option("--component", o->components, "A further ideal orientation NAME=phi1,Phi,phi2")
      ->allow_extra_args(false);
  cmd->add_option("--spread", o->spread, "Radius of the volume fractions' balls, degrees (default 15)");
  cmd->add_option("--from-odf", o->fromOdf, "Read the ODF from this file instead of computing it");
  AddTiltOptions(*cmd, o->measurement);
  return {cmd, [o] { return RunOdf(*o); }};
}

}  // namespace quorix::cli
