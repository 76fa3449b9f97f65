// The number layout and rearrangement options of `save`, shared by the
// subcommands that write a pole figure as "Save as ASCII" does.
#pragma once

#include <CLI/CLI.hpp>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "base/text_file.h"
#include "io/ascii_writer.h"
#include "workflow/convert.h"

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

// `withInvert`: false where the command has the rearrangement flags already.
inline void AddSaveFormatOptions(CLI::App& cmd, SaveFormatOptions& o, bool withInvert = true) {
  cmd.add_option("--standard", o.standard, "Named column layout")
      ->check(CLI::IsMember({"DUBNA", "DAHMS", "CLAUSTHAL", "POPLA"}, CLI::ignore_case));
  cmd.add_option("--count", o.count, "Values per line (default 6)")->check(CLI::Range(1, 1000));
  cmd.add_option("--digits", o.digits, "Field width (default 8)")->check(CLI::Range(1, 99));
  cmd.add_option("--comma", o.comma, "Decimals (default 3)")->check(CLI::Range(0, 99));
  cmd.add_option("--factor", o.factor, "Multiply every value by 10^E (default 0)")->check(CLI::Range(-99, 99));
  cmd.add_flag("--enter", o.enter, "End the line after each circle");
  cmd.add_flag("--keep-negative", o.keepNegative, "Do not set negative values to 0");
  if (withInvert) {
    cmd.add_flag("--invert-theta", o.invertTheta, "90 - theta");
    cmd.add_flag("--invert-phi", o.invertPhi, "360 - phi");
  }
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

// The options "Save all formatted" offers, for saveall and convert.
struct SaveAllCliOptions {
  std::string indices;
  std::vector<std::string> comments;
  std::optional<int> symmetry;
  std::string lattice;
  std::vector<std::string> hkl;
  std::optional<double> misalignment;
  bool invertTheta = false;
  bool invertPhi = false;
};

inline void AddSaveAllOptions(CLI::App& cmd, SaveAllCliOptions& o, const char* indexHelp) {
  cmd.add_option("--index", o.indices, indexHelp);
  cmd.add_option("--comment", o.comments, "A comment line (repeat for more)");
  cmd.add_option("--symmetry", o.symmetry, "Symmetry code of the format");
  cmd.add_option("--lattice", o.lattice, "Lattice A,B,C,ALPHA,BETA,GAMMA");
  cmd.add_option("--hkl", o.hkl, "Miller indices H,K,L of each pole figure in turn (repeat)");
  cmd.add_option("--misalignment", o.misalignment, "Misalignment of the rolling direction, degrees (Geesthacht)");
  cmd.add_flag("--invert-theta", o.invertTheta, "90 - theta");
  cmd.add_flag("--invert-phi", o.invertPhi, "360 - phi");
}

inline std::vector<std::string_view> CommaList(const std::string& s) {
  std::vector<std::string_view> parts;
  std::string_view rest = s;
  while (true) {
    const std::size_t comma = rest.find(',');
    parts.push_back(Trim(rest.substr(0, comma)));
    if (comma == std::string_view::npos) return parts;
    rest.remove_prefix(comma + 1);
  }
}

// The request's options from the command line; false after a message.
inline bool FillSaveAllRequest(const SaveAllCliOptions& o, SaveAllFileRequest& r, MessageSink& sink) {
  const auto integer = [](std::string_view s, long long low, long long high) -> std::optional<int> {
    const auto v = ParseInteger(Trim(s));
    if (!v || *v < low || *v > high) return std::nullopt;
    return static_cast<int>(*v);
  };
  if (!o.indices.empty()) {
    for (std::string_view part : CommaList(o.indices)) {
      const auto k = integer(part, 1, 1000000);
      if (!k) {
        sink.Message("--index needs pole figure numbers from 1, like 1,2,3.");
        return false;
      }
      r.indices.push_back(*k);
    }
  }
  r.comments = o.comments;
  r.symmetry = o.symmetry;
  if (!o.lattice.empty()) {
    const auto parts = CommaList(o.lattice);
    std::vector<double> v;
    for (std::string_view part : parts)
      if (const auto x = ParseNumber(part); x && std::isfinite(*x)) v.push_back(*x);
    if (parts.size() != 6 || v.size() != 6) {
      sink.Message("--lattice needs six numbers A,B,C,ALPHA,BETA,GAMMA.");
      return false;
    }
    r.lattice = Lattice{v[0], v[1], v[2], v[3], v[4], v[5]};
  }
  for (const std::string& text : o.hkl) {
    const auto parts = CommaList(text);
    std::array<int, 3> hkl{};
    bool ok = parts.size() == 3;
    for (std::size_t n = 0; ok && n < 3; ++n) {
      const auto v = integer(parts[n], -99, 999);
      ok = v.has_value();
      if (ok) hkl[n] = *v;
    }
    if (!ok) {
      sink.Message("--hkl needs three integers H,K,L from -99 to 999.");
      return false;
    }
    r.hkl.push_back(hkl);
  }
  r.misalignment = o.misalignment;
  r.invertTheta = o.invertTheta;
  r.invertPhi = o.invertPhi;
  return true;
}

}  // namespace quorix::cli
