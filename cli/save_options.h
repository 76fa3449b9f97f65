// The number layout and rearrangement options of `save`, shared by the
// subcommands that write a pole figure as "Save as ASCII" does.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "io/ascii_writer.h"

namespace quorix::cli {

struct SaveFormatOptions {
  std::string standard;
  std::optional<int> count, digits, comma, factor;
  bool enter = false;
  bool keepNegative = false;
  bool invertTheta = false;
  bool invertPhi = false;
  std::string coords;
};

inline void AddSaveFormatOptions(CLI::App& cmd, SaveFormatOptions& o) {
  cmd.add_option("--standard", o.standard, "Named column layout")
      ->check(CLI::IsMember({"DUBNA", "DAHMS", "CLAUSTHAL", "POPLA"}, CLI::ignore_case));
  cmd.add_option("--count", o.count, "Values per line (default 6)")->check(CLI::Range(1, 1000));
  cmd.add_option("--digits", o.digits, "Field width (default 8)")->check(CLI::Range(1, 99));
  cmd.add_option("--comma", o.comma, "Decimals (default 3)")->check(CLI::Range(0, 99));
  cmd.add_option("--factor", o.factor, "Multiply every value by 10^E (default 0)");
  cmd.add_flag("--enter", o.enter, "End the line after each circle");
  cmd.add_flag("--keep-negative", o.keepNegative, "Do not set negative values to 0");
  cmd.add_flag("--invert-theta", o.invertTheta, "90 - theta");
  cmd.add_flag("--invert-phi", o.invertPhi, "360 - phi");
  cmd.add_option("--coords", o.coords, "Write the angles with the values")
      ->check(CLI::IsMember({"equal-area", "equal-angular", "polar"}));
}

inline AsciiWriteOptions MakeWriteOptions(const SaveFormatOptions& o) {
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
  return w;
}

}  // namespace quorix::cli
