// Options shared by the subcommands that load one pole figure.
#pragma once

#include <CLI/CLI.hpp>
#include <array>
#include <cmath>
#include <iostream>
#include <optional>
#include <string>

#include "base/message_sink.h"
#include "base/text_file.h"
#include "io/load_pole_figure.h"
#include "texture/symmetry.h"

namespace quorix::cli {

struct LoadOptions {
  std::string data;
  std::string grid;  // empty: the data file carries its grid
  int index = 1;
  bool mrd = false;
  MeasurementOptions measurement;
};

// CLI11's own checks answer "--index 0" with the whole range of a double;
// these say in a few words what is wanted.
inline CLI::Validator IndexFromOne() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        const auto v = ParseInteger(Trim(text));
        if (v && *v >= 1 && *v <= 2147483647) return {};
        return "must be a whole number from 1 (the first pole figure) to 2147483647, not " + text;
      },
      "INDEX>=1");
}

inline CLI::Validator PositiveFinite() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        const auto v = ParseNumber(Trim(text));
        if (v && *v > 0) return {};
        return "must be a number greater than 0, not " + text;
      },
      "NUMBER>0");
}

// Any finite number; what is below a limit is the command's to say.
inline CLI::Validator FiniteNumber() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        const auto v = ParseNumber(Trim(text));
        if (v && std::isfinite(*v)) return {};
        return "must be a number, not " + text;
      },
      "NUMBER");
}

// --hkl of a command that takes three indices ("1,1,1", "1 1 1", "111");
// nothing, with the reason on `sink`, when they name no reflection.
inline std::optional<std::array<int, 3>> HklOption(const std::string& text, MessageSink& sink) {
  std::string error;
  auto hkl = ParseMiller(text, LaueGroup::Triclinic, error);
  if (!hkl) sink.Message("--hkl: " + error);
  return hkl;
}

inline constexpr const char* kGridHelp =
    "Grid file; needed only for plain and WKO list data (Beartex lists imply their 5-degree grid)";

// --tilt-start and --tilt-step, for the files that give no tilts (Rigaku TXT).
inline void AddTiltOptions(CLI::App& cmd, MeasurementOptions& m) {
  cmd.add_option("--tilt-start", m.tiltStart, "Tilt of the first circle, degrees (Rigaku TXT)");
  cmd.add_option("--tilt-step", m.tiltStep, "Tilt step between circles, degrees (Rigaku TXT)");
}

inline void AddLoadOptions(CLI::App& cmd, LoadOptions& o) {
  cmd.add_option("DATA", o.data, "Pole figure data file")->required();
  cmd.add_option("GRID", o.grid, kGridHelp);
  cmd.add_option("--index", o.index, "Pole figure of a multi-pole-figure file (from 1)")->check(IndexFromOne());
  cmd.add_flag("--mrd", o.mrd, "Contour levels in multiples of a random distribution");
  AddTiltOptions(cmd, o.measurement);
}

inline LoadRequest MakeLoadRequest(const LoadOptions& o) {
  LoadRequest r;
  r.dataFile = o.data;
  r.gridFile = o.grid;
  r.pfIndex = o.index;
  r.showMrd = o.mrd;
  r.measurement = o.measurement;
  return r;
}

// The exit code of a failed load: 2 (a usage error) when GRID was left out
// for a layout that needs one, else 1.
inline int LoadFailure(const std::string& grid, DataLayout layout) {
  return grid.empty() && layout != DataLayout::None && GridFileNeeded(layout) ? 2 : 1;
}

class StderrSink : public MessageSink {
 public:
  void Message(const std::string& text) override { std::cerr << text << '\n'; }
};

}  // namespace quorix::cli
