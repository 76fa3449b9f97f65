// The geometry of publication figures read back from the recording canvas:
// level areas, what is drawn beyond the measured tilt, the colour bar.
#include "plot/figure.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "io/load_pole_figure.h"
#include "math/vector_math.h"
#include "plot/recording_canvas.h"
#include "plot/render.h"
#include "record/circle_links.h"
#include "test_support.h"

namespace quorix {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Values rising with the tilt, alpha / 10 m.r.d. (norm 1), measured up to `lastAlpha`.
std::unique_ptr<PoleFigure> TiltRamp(double lastAlpha) {
  auto pf = test::RegularGrid(5, 72);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j)
      pf->Intensity[i][j] = pf->Alpha[i] <= lastAlpha ? pf->Alpha[i] / 10 : kMissing;
  EXPECT_TRUE(BuildCircleLinks(*pf));
  pf->NormFactor = 1;
  pf->MinValue = 0;
  pf->MaxValue = lastAlpha / 10;
  pf->MinCircle = 1, pf->MinPoint = 1;
  pf->MaxCircle = static_cast<int>(lastAlpha / 5) + 1, pf->MaxPoint = 1;
  return pf;
}

struct Drawn {
  RecordingCanvas canvas;
  FigureLayout layout;
  double unit = 4;  // canvas units per mm
};

void Draw(Drawn& d, const std::vector<FigurePanel>& panels, const FigureOptions& o) {
  d.layout = LayOutFigure(panels, o);
  DrawFigure(d.canvas, panels, o, d.unit, 50);
}

// Distance of a canvas point from the centre of panel 0, in units of the panel's radius.
double RadiusIn(const Drawn& d, PointF p) {
  const FigureBox& b = d.layout.panels[0];
  const double cx = (b.x + b.w / 2) * d.unit, cy = (b.y + b.h / 2) * d.unit;
  return std::hypot(p.x - cx, p.y - cy) / (b.w / 2 * d.unit);
}

std::vector<const CanvasOp*> OpsOf(const Drawn& d, CanvasOpKind kind) {
  std::vector<const CanvasOp*> out;
  for (const CanvasOp& op : d.canvas.ops)
    if (op.kind == kind) out.push_back(&op);
  return out;
}

TEST(Figure, PartialPoleFigureStopsAtItsMeasuredTiltWithLevelAreasWhereTheValuesAre) {
  const auto pf = TiltRamp(40);
  FigureOptions o;
  o.levels = {1, 2, 3};
  o.markExtremes = false;
  Drawn d;
  Draw(d, {FigurePanel{"{111}", pf.get(), {}}}, o);
  const double rim = std::tan(20 * kPi / 180);  // stereographic, 40 degrees
  const auto clips = OpsOf(d, CanvasOpKind::ClipF);
  ASSERT_EQ(clips.size(), 2u);  // set, then lifted
  ASSERT_EQ(clips[0]->areas.size(), 1u);
  for (const PointF& p : clips[0]->areas[0]) EXPECT_NEAR(RadiusIn(d, p), rim, 1e-9);
  EXPECT_TRUE(clips[1]->areas.empty());

  // Areas: the region in white, then levels 1, 2, 3 as rings from tilt 10, 20, 30 outward.
  const auto areas = OpsOf(d, CanvasOpKind::AreaF);
  ASSERT_EQ(areas.size(), 4u);
  for (std::size_t k = 0; k < areas.size(); ++k) {
    double inner = 1e9, outer = 0;
    for (const PointsF& piece : areas[k]->areas)
      for (const PointF& p : piece) {
        inner = std::min(inner, RadiusIn(d, p));
        outer = std::max(outer, RadiusIn(d, p));
      }
    EXPECT_LE(outer, rim + 1e-9) << "area " << k;
    if (k > 0) {
      EXPECT_NEAR(inner, std::tan(5.0 * static_cast<double>(k) * kPi / 180), 1e-9) << "level " << k;
    }
  }
  // Nothing of the data beyond the rim: every contour line inside it.
  for (const CanvasOp* line : OpsOf(d, CanvasOpKind::PolylineF))
    if (line->pen == 0 && line->fine.size() > 2 && RadiusIn(d, line->fine[0]) < 0.99 * rim) {
      for (const PointF& p : line->fine) EXPECT_LE(RadiusIn(d, p), rim + 1e-9);
    }
}

TEST(Figure, ColourBarCarriesTheLevelsInOrderTheTitleAndTheRangeOfAllPanels) {
  const auto a = TiltRamp(40), b = TiltRamp(80);
  FigureOptions o;
  o.levels = {4, 0.5, 2, 1};  // sorted for the bar
  Drawn d;
  Draw(d, {FigurePanel{"a", a.get(), {}}, FigurePanel{"b", b.get(), {}}}, o);
  ASSERT_EQ(d.layout.bars.size(), 1u);
  const FigureBox& bar = d.layout.bars[0];
  std::vector<std::pair<std::string, double>> barTexts;
  for (const CanvasOp* t : OpsOf(d, CanvasOpKind::TextF))
    if (t->fx >= bar.x * d.unit) barTexts.emplace_back(t->text, t->fy);
  auto y = [&](const std::string& text) {
    auto it = std::find_if(barTexts.begin(), barTexts.end(), [&](const auto& p) { return p.first == text; });
    EXPECT_NE(it, barTexts.end()) << text;
    return it == barTexts.end() ? 0.0 : it->second;
  };
  EXPECT_GT(y("0.5"), y("1"));
  EXPECT_GT(y("1"), y("2"));
  EXPECT_GT(y("2"), y("4"));
  EXPECT_LT(y("m.r.d."), y("8.00"));  // the title above the maximum of b
  EXPECT_GT(y("0.00"), y("0.5"));     // the minimum below the lowest level
}

TEST(Figure, LevelsAndLayout) {
  FigureOptions o;
  EXPECT_EQ(FigureLevels(o, 0.02, 4.77), (std::vector<double>{1, 2, 3, 4}));
  o.logLevels = true;
  EXPECT_EQ(FigureLevels(o, 0.3, 10), (std::vector<double>{0.5, 1, 2, 4, 8}));
  EXPECT_TRUE(FigureLevels(o, 1, 1).empty());

  const auto pf = TiltRamp(90);
  std::vector<FigurePanel> five(5, FigurePanel{"", pf.get(), {}});
  o.widthMm = 85;
  FigureLayout l = LayOutFigure(five, o);
  EXPECT_EQ(l.rows * 10 + l.columns, 23);
  EXPECT_DOUBLE_EQ(l.width, 85);
  o.rows = 1, o.columns = 5;
  l = LayOutFigure(five, o);
  for (std::size_t k = 0; k + 1 < l.panels.size(); ++k) EXPECT_LT(l.panels[k].x + l.panels[k].w, l.panels[k + 1].x);
  EXPECT_LE(l.bars[0].x + l.bars[0].w, l.width + 1e-9);
}

TEST(Figure, ColourMapsRunFromTheirFirstToTheirLastStop) {
  for (const std::string& name : ColorMapNames()) {
    const auto m = NamedColorMap(name);
    ASSERT_TRUE(m) << name;
    EXPECT_EQ(MapColor(*m, -1), m->stops.front()) << name;
    EXPECT_EQ(MapColor(*m, 2), m->stops.back()) << name;
  }
  EXPECT_FALSE(NamedColorMap("jet"));
  // Mixed channel by channel: red 0x00 to 0xFF, blue 0xFF to 0x00.
  EXPECT_EQ(MapColor(ColorMapFromSet({0xFF0000, 0x0000FF}), 0.5), 0x800080u);
}

TEST(Figure, CubicStandardTriangleHoldsEveryAreaItDraws) {
  FigurePanel p;
  p.grid.shape = GridShape::Sector;
  // The standard triangle 001-101-111: out to where a direction's z equals its x.
  p.grid.outline.emplace_back(0, 0);
  for (int b = 0; b <= 45; ++b) p.grid.outline.emplace_back(std::atan(1 / std::cos(b * kPi / 180)) * 180 / kPi, b);
  for (int k = 0; k <= 18; ++k) p.grid.grid.rowAngle.push_back(5.0 * k);
  for (int k = 0; k <= 9; ++k) p.grid.grid.columnAngle.push_back(5.0 * k);
  for (double a : p.grid.grid.rowAngle)
    for (double b : p.grid.grid.columnAngle) p.grid.grid.values.push_back(1 + a / 30 + b / 45);
  FigureOptions o;
  o.levels = {1.5, 2.5, 3.5};
  Drawn d;
  Draw(d, {p}, o);
  const auto clips = OpsOf(d, CanvasOpKind::ClipF);
  ASSERT_FALSE(clips.empty());
  const PointsF& region = clips[0]->areas.at(0);
  double maxX = -1e9;
  for (const PointF& q : region) maxX = std::max(maxX, q.x);
  // Uncut, the areas of 3.5 would run along beta 0 out to tilt 90, far
  // right of 101, the region's right-most point.
  for (const CanvasOp* a : OpsOf(d, CanvasOpKind::AreaF))
    for (const PointsF& piece : a->areas)
      for (const PointF& q : piece) EXPECT_LE(q.x, maxX + 1e-6);
  // The areas run out to the arc 101-111 between the grid's points: the
  // triangles the arc crosses are cut, not left out.
  const auto onArc = [&](PointF q) {
    for (std::size_t k = 1; k + 1 < region.size(); ++k) {
      const PointF a = region[k], b = region[k + 1];
      const double t = std::clamp(((q.x - a.x) * (b.x - a.x) + (q.y - a.y) * (b.y - a.y)) /
                                      ((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y)),
                                  0.0, 1.0);
      if (std::hypot(q.x - a.x - t * (b.x - a.x), q.y - a.y - t * (b.y - a.y)) < 1e-6) return true;
    }
    return false;
  };
  int cutOnArc = 0;
  for (const CanvasOp* a : OpsOf(d, CanvasOpKind::AreaF))
    for (const PointsF& piece : a->areas)
      for (const PointF& q : piece)
        cutOnArc += onArc(q) && std::none_of(region.begin(), region.end(),
                                             [&](PointF r) { return std::hypot(q.x - r.x, q.y - r.y) < 1e-6; });
  EXPECT_GT(cutOnArc, 9);
  // The extremes are those of the triangle (at 50/45 and 001), not of the grid beyond it.
  std::vector<std::string> texts;
  for (const CanvasOp* t : OpsOf(d, CanvasOpKind::TextF)) texts.push_back(t->text);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "max 3.67"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "min 1.00"), texts.end());
}

TEST(Figure, WindowsOnOneScaleDrawTheLevelsOfTheirCommonRangeAndTitlesTakeTheHkl) {
  const auto low = TiltRamp(20), high = TiltRamp(80);
  ProgramState state;
  state.Options.ShowMrd = true;
  state.SharedLevels = OneScaleLevels({low.get(), high.get()});
  EXPECT_EQ(state.SharedLevels, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8}));
  RecordingCanvas canvas;
  PlotPoleFigure(*low, state, canvas, 650, 910, "");
  std::vector<std::string> legend;
  for (const CanvasOp& op : canvas.ops)
    if (op.kind == CanvasOpKind::Text && op.y1 < 200 && op.text.find('.') != std::string::npos)
      legend.push_back(op.text);
  ASSERT_GE(legend.size(), 8u);
  EXPECT_EQ(legend.front(), " 1.000");
  EXPECT_EQ(legend[7], " 8.000");

  low->Hkl = " 1 1 1";
  EXPECT_EQ(HklTitle(*low), "{111}");
  low->Hkl = "1 0 -1 2";
  EXPECT_EQ(HklTitle(*low), "{10-12}");
  low->Hkl = "1 1 10";
  EXPECT_EQ(HklTitle(*low), "{1 1 10}");
}

TEST(Figure, RealFilesOnOneScaleSpanTheirExtremesInMrd) {
  const std::string popla = test::RealDataPath("popla.epf"), beartex = test::RealDataPath("beartex.xpe");
  if (popla.empty() || beartex.empty()) GTEST_SKIP() << "no shared real data";
  std::vector<std::unique_ptr<PoleFigure>> records;
  for (int k = 1; k <= 3; ++k) records.push_back(test::LoadFile(popla, "", k));
  records.push_back(test::LoadFile(beartex, "", 1));
  std::vector<FigurePanel> panels;
  double lo = 1e9, hi = -1e9;
  for (const auto& r : records) {
    panels.push_back(FigurePanel{"", r.get(), {}});
    lo = std::min(lo, r->MinValue / r->NormFactor);
    hi = std::max(hi, r->MaxValue / r->NormFactor);
  }
  FigureOptions o;
  Drawn d;
  Draw(d, panels, o);
  const double barX = d.layout.bars[0].x * d.unit;
  int found = 0;
  for (const CanvasOp* t : OpsOf(d, CanvasOpKind::TextF))
    if (t->fx >= barX && (t->text == fmt::format("{:.2f}", lo) || t->text == fmt::format("{:.2f}", hi))) ++found;
  EXPECT_EQ(found, 2);
  // Beartex measured to 40 degrees: its panel's clip is that circle.
  const auto clips = OpsOf(d, CanvasOpKind::ClipF);
  const FigureBox& b = d.layout.panels[3];
  const double r = std::hypot(clips[6]->areas[0][0].x - (b.x + b.w / 2) * d.unit,
                              clips[6]->areas[0][0].y - (b.y + b.h / 2) * d.unit);
  EXPECT_NEAR(r / (b.w / 2 * d.unit), std::tan(20 * kPi / 180), 1e-9);
}

}  // namespace
}  // namespace quorix
