#include "ui/status_texts.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/number_format.h"
#include "base/text_file.h"
#include "io/grid_reader.h"

namespace quorix {
namespace {

std::string Degrees(double v) { return FormatFixed(1, v) + "\u00b0"; }

}  // namespace

std::string StatusFileText(const PoleFigure& pf) {
  std::string text = FileNamePart(pf.FileName);
  if (pf.IndexInFile > 0) {
    text += "  PF " + std::to_string(pf.IndexInFile);
    if (!pf.NameInFile.empty()) text += " (" + pf.NameInFile + ")";
  }
  // A file of one pole figure names its reflection nowhere else.
  if (!pf.Hkl.empty() && pf.NameInFile != pf.Hkl) text += "  hkl " + pf.Hkl;
  return text;
}

std::string StatusGridText(const PoleFigure& pf) {
  const int n = std::clamp(pf.CircleCount, 0, kMaxCircles);
  if (n < 1) return "";
  int fewest = kMaxPoints, most = 0;
  double low = pf.Alpha[1], high = pf.Alpha[1];
  for (int i = 1; i <= n; ++i) {
    fewest = std::min(fewest, pf.CirclePoints[i]);
    most = std::max(most, pf.CirclePoints[i]);
    low = std::min(low, pf.Alpha[i]);
    high = std::max(high, pf.Alpha[i]);
  }
  const std::string points =
      fewest == most ? std::to_string(most) : std::to_string(fewest) + "-" + std::to_string(most);
  return std::to_string(n) + (n == 1 ? " circle x " : " circles x ") + points + " points, alpha " + FormatGeneral(low) +
         "-" + FormatGeneral(high) + "\u00b0";
}

std::string StatusUnitText(bool mrd) { return mrd ? "m.r.d." : "counts"; }

std::string StatusPointerText(double alpha, double beta) {
  return "alpha " + Degrees(alpha) + "  beta " + Degrees(beta);
}

std::string StatusValueText(double value, double divisor) {
  if (value <= kMissing) return "missing";
  return FormatGeneral(divisor != 0 ? value / divisor : value, 6);
}

std::string StatusModeText(const ModeFlags& modes) {
  std::vector<std::string> parts;
  if (modes.pick) parts.emplace_back("Pick mode");
  if (modes.suppression) parts.emplace_back("Suppression");
  if (modes.rotation.Mode == RotationMode::Matrix) parts.emplace_back("Rotation shown (axis)");
  if (modes.rotation.Mode == RotationMode::List) parts.emplace_back("Rotation shown (list)");
  std::string text;
  for (const std::string& p : parts) text += (text.empty() ? "" : "  |  ") + p;
  return text;
}

std::string RecentFileCaption(const RecentFile& file) {
  std::string text = FileNamePart(file.dataFile);
  if (file.index > 0) text += " (PF " + std::to_string(file.index) + ")";
  if (!file.gridFile.empty()) text += "  " + FileNamePart(file.gridFile);
  return text;
}

DroppedFiles SortDroppedFiles(const std::vector<std::string>& files) {
  DroppedFiles sorted;
  for (const std::string& f : files) {
    if (HasGridFileExtension(f)) {
      if (sorted.grid.empty()) sorted.grid = f;
    } else {
      sorted.data.push_back(f);
    }
  }
  return sorted;
}

}  // namespace quorix
