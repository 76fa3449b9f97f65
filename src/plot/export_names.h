// File names and titles of exported plots.
#pragma once

#include <string>

namespace quorix {

// The data file name with its first "." replaced by "_".
std::string ProposedPlotName(const std::string& dataFile);
// One plot: a name without "." gets "_1" + extension (".plt", ".emf").
std::string SinglePlotName(const std::string& chosen, const std::string& extension);
// All plots: the first "." and up to nine characters after it are removed.
std::string PlotBaseName(const std::string& chosen);
// Window n of an "All" export: base + "_" + n + extension.
std::string NumberedPlotName(const std::string& base, int window, const std::string& extension);
// The caption's tail from the last "[" to the final "]", or empty.
std::string PlotTitleFromCaption(const std::string& caption);

}  // namespace quorix
