// The ODF's panels of a figure: the sector and corner indices of each crystal
// family, sections spanning the region.
#include "workflow/figure_panels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorix {
namespace {

std::vector<std::string> CornerTexts(const AngleGridPanel& p) {
  std::vector<std::string> out;
  for (const CornerLabel& c : p.corners) out.push_back(c.text);
  return out;
}

TEST(FigurePanels, SectorsCarryTheCornersOfTheirCrystal) {
  const AngleGridPanel cubic = InverseSectorPanel({}, LaueGroup::Cubic);
  // Cut by the great circle through 101 and 111: out to 54.7 degrees at beta 45.
  EXPECT_NEAR(cubic.outline.back().first, 54.7356, 1e-3);
  EXPECT_EQ(CornerTexts(cubic), (std::vector<std::string>{"001", "101", "111"}));
  EXPECT_NEAR(cubic.corners[2].alpha, 54.7356, 1e-4);
  EXPECT_EQ(CornerTexts(InverseSectorPanel({}, LaueGroup::Hexagonal)),
            (std::vector<std::string>{"0001", "2-1-10", "10-10"}));
  const AngleGridPanel ortho = InverseSectorPanel({}, LaueGroup::Orthorhombic);
  EXPECT_DOUBLE_EQ(ortho.outline.back().first, 90);
  EXPECT_DOUBLE_EQ(ortho.outline.back().second, 90);
  EXPECT_EQ(CornerTexts(ortho), (std::vector<std::string>{"001", "100", "010"}));
}

TEST(FigurePanels, SectionsSpanTheRegionAndNameTheCellsTheyShow) {
  std::string error;
  const auto grid = MakeOdfGrid(LaueGroup::Cubic, SampleSymmetry::Orthorhombic, 5, error);
  ASSERT_TRUE(grid) << error;
  Odf odf;
  odf.grid = *grid;
  odf.values.assign(grid->CellCount(), 1.0);
  const std::vector<FigurePanel> panels = SectionPanels(odf, 15);
  ASSERT_EQ(panels.size(), 6u);
  EXPECT_EQ(panels[0].title, "\u03c62 = 2.5\u00b0");
  EXPECT_EQ(panels[5].title, "\u03c62 = 77.5\u00b0");
  const AngleGrid& g = panels[0].grid.grid;
  EXPECT_EQ(g.rowAngle.front(), 0);
  EXPECT_EQ(g.rowAngle.back(), grid->region.PhiMax);
  EXPECT_EQ(g.columnAngle.back(), grid->region.phi1Max);
  EXPECT_EQ(g.values.size(), g.rowAngle.size() * g.columnAngle.size());
}

}  // namespace
}  // namespace quorix
