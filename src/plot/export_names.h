// File names and titles of exported plots.
#pragma once

#include <string>

#include "record/pole_figure.h"

namespace quorix {

// The data file name with its first "." replaced by "_".
std::string ProposedPlotName(const std::string& dataFile);
// One plot: a name without "." gets "_1" + extension (".plt", ".emf").
std::string SinglePlotName(const std::string& chosen, const std::string& extension);
// All plots: the first "." and up to nine characters after it are removed.
std::string PlotBaseName(const std::string& chosen);
// Window n of an "All" export: base + "_" + n + extension.
std::string NumberedPlotName(const std::string& base, int window, const std::string& extension);
// The title an exported plot carries: the pole figure's name in its file in
// brackets, as its window shows it, where the file held several; else empty.
std::string PlotTitleOf(const PoleFigure& pf);

}  // namespace quorix
