// Inverse pole figure and section panels of an ODF.
#include "workflow/figure_panels.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "base/text_file.h"
#include "texture/odf.h"

namespace quorix {

namespace {

// A section holds cell centres; the edge cells are carried out to the
// region's edges so that the picture spans 0 to the maximum angle.
AngleGrid PaddedToEdges(const AngleGrid& in, double rowMax, double columnMax) {
  const std::size_t rows = in.rowAngle.size(), cols = in.columnAngle.size();
  if (rows == 0 || cols == 0) return in;
  AngleGrid out;
  out.rowAngle.push_back(0);
  out.rowAngle.insert(out.rowAngle.end(), in.rowAngle.begin(), in.rowAngle.end());
  out.rowAngle.push_back(rowMax);
  out.columnAngle.push_back(0);
  out.columnAngle.insert(out.columnAngle.end(), in.columnAngle.begin(), in.columnAngle.end());
  out.columnAngle.push_back(columnMax);
  for (std::size_t r = 0; r < rows + 2; ++r) {
    const std::size_t rr = std::clamp<std::size_t>(r, 1, rows) - 1;
    for (std::size_t c = 0; c < cols + 2; ++c) out.values.push_back(in.At(rr, std::clamp<std::size_t>(c, 1, cols) - 1));
  }
  return out;
}

}  // namespace

AngleGridPanel InverseSectorPanel(AngleGrid grid, LaueGroup crystal) {
  AngleGridPanel p;
  p.grid = std::move(grid);
  p.shape = GridShape::Sector;
  InverseSectorShape shape = InverseSectorOutline(crystal);
  p.outline = std::move(shape.outline);
  for (const auto& c : shape.corners) p.corners.push_back({c.alpha, c.beta, c.indices});
  return p;
}

std::vector<FigurePanel> InversePoleFigurePanels(const Odf& odf, double step) {
  std::vector<FigurePanel> out;
  const std::pair<const char*, Vec3> axes[] = {{"RD", Vec3{1, 0, 0}}, {"TD", Vec3{0, 1, 0}}, {"ND", Vec3{0, 0, 1}}};
  for (const auto& [name, dir] : axes) {
    FigurePanel p;
    p.title = name;
    p.grid = InverseSectorPanel(InversePoleFigure(odf, dir, step), odf.grid.crystal);
    out.push_back(std::move(p));
  }
  return out;
}

std::vector<FigurePanel> SectionPanels(const Odf& odf, double step) {
  std::vector<FigurePanel> out;
  const OdfGrid& g = odf.grid;
  if (!(step > 0) || g.n2 <= 0) return out;
  int last = -1;
  for (int k = 0; k * step < g.region.phi2Max - 1e-9; ++k) {
    const int cell = std::clamp(static_cast<int>(std::floor(k * step / g.resolution)), 0, g.n2 - 1);
    if (cell == last) continue;
    last = cell;
    FigurePanel p;
    p.title = fmt::format("\u03c62 = {:g}\u00b0", (cell + 0.5) * g.resolution);
    p.grid.grid = PaddedToEdges(OdfSection(odf, SectionAxis::Phi2, (cell + 0.5) * g.resolution), g.region.PhiMax,
                                g.region.phi1Max);
    p.grid.shape = GridShape::Section;
    out.push_back(std::move(p));
  }
  return out;
}

std::optional<Odf> ReadOdfForFigure(const std::string& file, MessageSink& sink) {
  const auto text = ReadTextFile(file, sink, "File " + file + " does not exist");
  if (!text) return std::nullopt;
  return ParseOdfFile(*text, file, sink);
}

}  // namespace quorix
