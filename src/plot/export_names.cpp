#include "plot/export_names.h"

namespace quorix {
namespace {

// Dots count only in the file-name part: folders such as "/home/a.b/" are common here.
std::size_t FirstDotOfName(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  const std::size_t from = slash == std::string::npos ? 0 : slash + 1;
  return path.find('.', from);
}

}  // namespace

std::string ProposedPlotName(const std::string& dataFile) {
  std::string name = dataFile;
  const auto dot = FirstDotOfName(name);
  if (dot != std::string::npos) name[dot] = '_';
  return name;
}

std::string SinglePlotName(const std::string& chosen, const std::string& extension) {
  if (FirstDotOfName(chosen) != std::string::npos) return chosen;
  return chosen + "_1" + extension;
}

std::string PlotBaseName(const std::string& chosen) {
  const auto dot = FirstDotOfName(chosen);
  if (dot == std::string::npos) return chosen;
  std::string base = chosen;
  base.erase(dot, 10);
  return base;
}

std::string NumberedPlotName(const std::string& base, int window, const std::string& extension) {
  return base + "_" + std::to_string(window) + extension;
}

std::string PlotTitleOf(const PoleFigure& pf) {
  std::string title = pf.IndexInFile > 0 ? "[" + pf.NameInFile + "]" : std::string();
  if (pf.Corrected) title += title.empty() ? "corrected" : " corrected";
  return title;
}

}  // namespace quorix
