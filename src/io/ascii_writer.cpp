// Pole figures as plain ASCII value streams or angle tables, the named
// column layouts, proposed file names and the "SaveFormat" settings.
#include "io/ascii_writer.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "base/nearest.h"
#include "base/text_file.h"

namespace quorix {

namespace {

// A value of exactly -1 marks a point without value: never set to 0, never scaled.
double OutputValue(double v, bool negativeToZero, double factor) {
  if (v == kMissing) return v;
  if (negativeToZero && v < 0) return 0;
  return v * factor;
}

void AppendFixed(std::string& out, double v, int width, int decimals) {
  // The layout may come from a configuration file; a width of millions
  // would make every value a megabyte.
  fmt::format_to(std::back_inserter(out), "{:>{}.{}f}", v, std::clamp(width, 0, 99), std::clamp(decimals, 0, 99));
}

void WritePlain(const PoleFigure& pf, const AsciiWriteOptions& o, std::string& out) {
  const SaveFormat& f = o.Format;
  const double factor = PowerOfTen(f.FactorExponent);
  const long perLine = std::max(f.ValuesPerLine, 1);
  const int n = pf.CircleCount;
  long counter = 0;
  for (int k = 1; k <= n; ++k) {
    const int i = o.InvertTheta ? n + 1 - k : k;
    const int points = pf.CirclePoints[i];
    for (int m = 1; m <= points; ++m) {
      // Point 1 stays first, so the value at phi lands at 360 - phi.
      const int j = (o.InvertPhi && m > 1) ? points + 2 - m : m;
      AppendFixed(out, OutputValue(pf.Intensity[i][j], o.SetNegativeToZero, factor), f.Width, f.Decimals);
      if (++counter % perLine == 0) out += kLineEnd;
    }
    if (f.LineEndAfterCircle) {
      out += kLineEnd;
      counter = 0;
    }
  }
}

// The labels follow the written position; the values come from the circle and
// point the rearrangement picks (here a plain reversal of the points).
void WriteWithCoordinates(const PoleFigure& pf, const AsciiWriteOptions& o, std::string& out) {
  const double factor = PowerOfTen(o.Format.FactorExponent);
  const double rad = std::numbers::pi / 180;
  const int n = pf.CircleCount;
  auto value = [&](int i, int m) {
    const int points = pf.CirclePoints[i];
    const int j = o.InvertPhi ? points + 1 - m : m;
    return OutputValue(pf.Intensity[i][j], o.SetNegativeToZero, factor);
  };
  if (o.Coordinates == CoordinateType::Polar) {
    fmt::format_to(std::back_inserter(out), "{:>13}", "A");
    const int first = n >= 1 ? pf.CirclePoints[1] : 0;
    for (int m = 1; m <= first; ++m)
      fmt::format_to(std::back_inserter(out), "{:>13}",
                     fmt::format("'{}'", Nearest(pf.BetaStart[1] + (m - 1) * pf.BetaStep[1])));
    out += kLineEnd;
    for (int k = 1; k <= n; ++k) {
      const int i = o.InvertTheta ? n + 1 - k : k;
      fmt::format_to(std::back_inserter(out), "{:13.2f}", pf.Alpha[k]);
      for (int m = 1; m <= pf.CirclePoints[i]; ++m) fmt::format_to(std::back_inserter(out), "{:13.3f}", value(i, m));
      out += kLineEnd;
    }
    return;
  }
  for (int k = 1; k <= n; ++k) {
    const int i = o.InvertTheta ? n + 1 - k : k;
    const double theta = pf.Alpha[k] * rad;
    const double r =
        o.Coordinates == CoordinateType::EqualArea ? std::sqrt(2.0) * std::sin(theta / 2) : std::tan(theta / 2);
    for (int m = 1; m <= pf.CirclePoints[i]; ++m) {
      const double phi = ((m - 1) * pf.BetaStep[k] + pf.BetaStart[k]) * rad;
      fmt::format_to(std::back_inserter(out), "{:9.5f}{:11.5f}{:13.3f}", r * std::cos(phi), r * std::sin(phi),
                     value(i, m));
      out += kLineEnd;
    }
  }
}

constexpr std::array<SaveStandard, 4> kStandards{{
    {"DUBNA", 6, 8, 3, true},
    {"DAHMS", 10, 7, 0, false},
    {"CLAUSTHAL", 7, 7, 0, false},
    {"POPLA", 18, 4, 0, false},
}};

}  // namespace

double PowerOfTen(int exponent) {
  double f = 1.0;
  // Past about 330 steps the product is 0 or infinite and stays so.
  for (int k = 0; k < std::abs(static_cast<long>(exponent)) && f != 0 && std::isfinite(f); ++k)
    f = exponent > 0 ? f * 10 : f / 10;
  return f;
}

std::string FormatPFASCII(const PoleFigure& pf, const AsciiWriteOptions& options) {
  std::string out;
  if (options.IncludeCoordinates)
    WriteWithCoordinates(pf, options, out);
  else
    WritePlain(pf, options, out);
  return out;
}

std::optional<std::string> AsciiWriteProblem(const PoleFigure& pf, const AsciiWriteOptions& o) {
  const SaveFormat& f = o.Format;
  if (f.ValuesPerLine < 1 || f.ValuesPerLine > 1000)
    return fmt::format("The values per line must be from 1 to 1000, not {}.", f.ValuesPerLine);
  if (f.Width < 1 || f.Width > 99) return fmt::format("The field width must be from 1 to 99, not {}.", f.Width);
  if (f.Decimals < 0 || f.Decimals > 99)
    return fmt::format("The number of decimals must be from 0 to 99, not {}.", f.Decimals);
  if (f.FactorExponent < -99 || f.FactorExponent > 99)
    return fmt::format("The factor exponent must be from -99 to 99, not {}.", f.FactorExponent);
  const double factor = PowerOfTen(f.FactorExponent);
  // With coordinates every value has a field of 13 characters and 3 decimals.
  const int width = o.IncludeCoordinates ? 13 : f.Width;
  const int decimals = o.IncludeCoordinates ? 3 : f.Decimals;
  const int n = pf.CircleCount;
  std::string text;
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j) {
      const double v = OutputValue(pf.Intensity[i][j], o.SetNegativeToZero, factor);
      if (!std::isfinite(v))
        return fmt::format(
            "The value {} at circle {}, point {} becomes {} with the factor 10^{}; it cannot be written.",
            pf.Intensity[i][j], i, j, v, f.FactorExponent);
      text.clear();
      AppendFixed(text, v, width, decimals);
      // A value filling its field exactly is fixed-column text that column readers (popLA's 18I4) expect;
      // a wider one shifts every column after it.
      if (text.size() > static_cast<std::size_t>(width))
        return fmt::format(
            "The value {} (circle {}, point {}) is written as \"{}\", which is wider than the field of {} "
            "characters; choose a wider field, fewer decimals or a smaller factor.",
            pf.Intensity[i][j], i, j, text, width);
    }
  return std::nullopt;
}

bool WritePFASCII(const PoleFigure& pf, const std::string& fileName, const AsciiWriteOptions& options,
                  MessageSink& sink) {
  if (const auto problem = AsciiWriteProblem(pf, options)) {
    sink.Problem({fileName, 0, *problem, Severity::Error, FileRole::Output});
    return false;
  }
  return WriteFileReporting(fileName, FormatPFASCII(pf, options), sink, "Cannot create file " + fileName,
                            "Error writing file " + fileName + ".");
}

std::span<const SaveStandard> SaveStandards() { return kStandards; }

std::string StandardName(const SaveFormat& format) {
  for (const SaveStandard& s : kStandards)
    if (s.ValuesPerLine == format.ValuesPerLine && s.Width == format.Width && s.Decimals == format.Decimals &&
        s.LineEndAfterCircle == format.LineEndAfterCircle)
      return s.Name;
  return kUserStandard;
}

std::optional<SaveStandard> FindStandard(std::string_view name) {
  const std::string upper = ToUpper(std::string(name));
  for (const SaveStandard& s : kStandards)
    if (upper == s.Name) return s;
  return std::nullopt;
}

void ApplyStandard(SaveFormat& format, const SaveStandard& standard) {
  format.ValuesPerLine = standard.ValuesPerLine;
  format.Width = standard.Width;
  format.Decimals = standard.Decimals;
  format.LineEndAfterCircle = standard.LineEndAfterCircle;
}

std::string ProposedAsciiName(const std::string& fileName) {
  // Only the file-name part: a dot in a folder name must not cut the path.
  const std::size_t slash = fileName.find_last_of("/\\");
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  std::string name = fileName.substr(start);
  const std::size_t dot = name.find('.');
  if (dot != std::string::npos) name.erase(dot, 10);
  return AvoidingSource(fileName.substr(0, start) + name + ".z01", fileName);
}

std::string AvoidingSource(const std::string& proposed, const std::string& source) {
  if (proposed != source) return proposed;
  const std::size_t slash = proposed.find_last_of("/\\");
  const std::size_t dot = proposed.rfind('.');
  const std::size_t at =
      dot == std::string::npos || (slash != std::string::npos && dot < slash) ? proposed.size() : dot;
  return proposed.substr(0, at) + "_saved" + proposed.substr(at);
}

SaveAllNames::SaveAllNames(const std::string& firstName) {
  const std::size_t cut = firstName.size() >= 2 ? firstName.size() - 2 : 0;
  stem_ = firstName.substr(0, cut);
  for (char c : firstName.substr(cut)) {
    if (c < '0' || c > '9') break;
    number_ = number_ * 10 + (c - '0');
  }
}

std::string SaveAllNames::Next() {
  ++number_;
  std::string suffix = std::to_string(number_);
  if (suffix.size() == 1) suffix = "0" + suffix;
  return stem_ + suffix.substr(0, 2);
}

}  // namespace quorix
