// The panels of a figure from what the texture layer computes: inverse pole
// figures in the crystal's sector with its corner indices, ODF sections.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "plot/figure.h"
#include "texture/odf_results.h"

namespace quorix {

// The sector (or cubic standard triangle) of the crystal, with its corners named.
AngleGridPanel InverseSectorPanel(AngleGrid grid, LaueGroup crystal);

// Inverse pole figures of RD, TD and ND, every `step` degrees.
std::vector<FigurePanel> InversePoleFigurePanels(const Odf& odf, double step = 5);

// Sections phi2 = const, every `step` degrees over the ODF's region, each
// titled with the angle its cells are centred on.
std::vector<FigurePanel> SectionPanels(const Odf& odf, double step = 15);

// The ODF of an ODF text file, or nothing after a message naming the file.
std::optional<Odf> ReadOdfForFigure(const std::string& file, MessageSink& sink);

}  // namespace quorix
