// The one drawing routine of a pole figure, for every output.
#include "plot/render.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/nearest.h"
#include "base/number_format.h"
#include "base/text_file.h"
#include "math/vector_math.h"
#include "plot/contours.h"
#include "plot/display_rotation.h"
#include "plot/polygon_fill.h"
#include "plot/projection.h"
#include "record/levels.h"
#include "record/statistics.h"

namespace quorix {

namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kRed = 0x0000FF;  // R + 256 G + 65536 B
constexpr Color kBlue = 0xFF0000;
// Larger images are refused: the coordinates of the plot must fit an int.
constexpr int kMaxImageSide = 1 << 20;

std::string PositionText(const MappedDirection& d) {
  return "  at  " + FormatFixed(1, d.beta) + " / " + FormatFixed(1, d.alpha);
}

int ClampCircle(int c) { return std::clamp(c, 0, kMaxGridRows - 1); }

MappedDirection GridDirection(const PoleFigure& pf, const PlotGeometry& g, int circle, int point) {
  const int c = ClampCircle(circle);
  return g.rotation.Map(pf.Alpha[c], BetaOf(pf, c, point));
}

PlotLabels MakeLabels(const PoleFigure& pf, const ProgramState& state, const PlotGeometry& g, int levelCount) {
  const DisplayOptions& o = state.Options;
  PlotLabels l;
  if (levelCount > 0) {
    const int d = DecimalsFor(pf.Level[levelCount]);
    for (int k = 1; k <= levelCount; ++k) {
      l.legend.push_back(FormatFixed(d, pf.Level[k]));
      l.legendColors.push_back(DrawColor(state.ContourColor[k]));
    }
  }
  const double nf = pf.NormFactor;
  const bool normalised = nf != 0 && std::isfinite(nf);
  const std::string a = SpreadDefined(pf) ? FormatOneDecimal(100 * (pf.MaxValue - pf.MinValue) / nf) + "%" : "-";
  l.norm = o.ShowMrd ? "norm:  " + FormatFixed(DecimalsFor(nf), nf) + "      A:  " + a : "A:  " + a;
  l.fileName = FileNamePart(pf.FileName);
  for (const std::string& f : state.AddListFiles) l.addRows.push_back(FileNamePart(f));
  l.addRows.emplace_back();  // the loop also writes the empty row after the last
  l.projection = o.EqualArea ? "Equ. area low. hem. proj." : "Equ. angular low. hem. proj.";
  if (ZoomsTo(g.rimTilt)) l.zoom = "zoom: tilt 0-" + FormatGeneral(g.rimTilt) + "\u00b0";

  const double maxShown = o.ShowMrd && normalised ? pf.MaxValue / nf : pf.MaxValue;
  const double minShown = o.ShowMrd && normalised ? pf.MinValue / nf : pf.MinValue;
  const int d = DecimalsFor(maxShown);
  l.maxTail = FormatFixed(d, maxShown) + PositionText(GridDirection(pf, g, pf.MaxCircle, pf.MaxPoint));
  l.minTail = FormatFixed(d, minShown) + PositionText(GridDirection(pf, g, pf.MinCircle, pf.MinPoint));

  l.eigen = o.ShowEigenvalues;
  if (l.eigen) {
    l.shape = "T= " + FormatFixed(3, ShapeParameterT(pf)) + "    P'= " + FormatFixed(3, AnisotropyP(pf));
    for (int k = 1; k <= 3; ++k) {
      const MappedDirection e = g.rotation.Map(pf.EigenAlpha[k], pf.EigenBeta[k]);
      l.eigenTails.push_back(fmt::format("e{}:   ", k) + FormatFixed(3, pf.Eigenvalue[k]) + PositionText(e));
    }
  }

  l.rotationMode = g.rotation.Mode();
  if (l.rotationMode == RotationMode::Matrix) {
    const AxisAngle aa = MatrixToAxisAngle(g.rotation.Matrix());
    l.rotationAxis = fmt::format("{}/{}  {}", Nearest(aa.phi), Nearest(aa.theta), Nearest(-aa.omega));
  } else if (l.rotationMode == RotationMode::List) {
    for (const RotationEntry& e : state.Rotation.List) l.rotationList.emplace_back(e.axis, Nearest(e.angle));
  }
  return l;
}

void DrawTriangulation(const PoleFigure& pf, const PlotGeometry& g, Canvas& canvas) {
  const int n = CircleCountOf(pf);
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= PointsOn(pf, i); ++j) {
      for (TriangleKind kind : {TriangleKind::Inner, TriangleKind::Outer}) {
        const auto v = TriangleVertices(pf, TriangleRef{i, j, kind});
        if (!v) continue;
        canvas.SetPenColor(kind == TriangleKind::Inner ? kBlue : kRed);
        Pixel p[3];
        // Drawn as measured, not turned: the rotated table serves only without a rotation.
        for (int k = 0; k < 3; ++k)
          p[k] = g.cache && !g.rotation.Active()
                     ? g.cache->At((*v)[k].circle, (*v)[k].point).at
                     : g.Project(pf.Alpha[(*v)[k].circle], BetaOf(pf, (*v)[k].circle, (*v)[k].point));
        canvas.MoveTo(p[0].x, p[0].y);
        canvas.LineTo(p[2].x, p[2].y);
        canvas.LineTo(p[1].x, p[1].y);
        canvas.LineTo(p[0].x, p[0].y);
      }
    }
  }
}

struct LowPoint {
  quorix::Pixel at;
  bool negative = false;
};

// Visits the grid points below the lowest level that are drawn, in grid order.
template <class Visit>
void ForEachLowPoint(const PoleFigure& pf, const PlotGeometry& g, Visit visit) {
  const int n = CircleCountOf(pf);
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= PointsOn(pf, i); ++j) {
      const double v = pf.Intensity[i][j];
      if (!(v > -1 && v < pf.LowestLevel)) continue;
      const ProjectionCache::Entry e = g.GridPixel(pf, i, j);
      if (!e.dropped) visit(LowPoint{e.at, v < 0});
    }
  }
}

// Drawn as they are found: half the points of a plot may be low ones.
void MarkLowPoints(const PoleFigure& pf, const PlotGeometry& g, Canvas& canvas) {
  canvas.BeginLowPoints();
  ForEachLowPoint(pf, g, [&canvas](const LowPoint& p) { canvas.LowPoint(p.at, p.negative); });
}

// A small cross on every point without a value, so that the gaps such points
// leave in filled areas are seen for what they are.
void MarkMissingPoints(const PoleFigure& pf, const PlotGeometry& g, Canvas& canvas) {
  canvas.SetPenMode(PenMode::Copy);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetPenColor(kBlue);
  const int n = CircleCountOf(pf);
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= PointsOn(pf, i); ++j) {
      if (pf.Intensity[i][j] > kMissing) continue;
      const ProjectionCache::Entry e = g.GridPixel(pf, i, j);
      if (e.dropped) continue;
      const quorix::Pixel p = e.at;
      canvas.MoveTo(p.x - 2, p.y - 2);
      canvas.LineTo(p.x + 3, p.y + 3);
      canvas.MoveTo(p.x - 2, p.y + 2);
      canvas.LineTo(p.x + 3, p.y - 3);
    }
  }
}

std::vector<quorix::Pixel> EigenMarks(const PoleFigure& pf, const PlotGeometry& g) {
  std::vector<quorix::Pixel> out;
  for (int k = 1; k <= 3; ++k) {
    const MappedDirection m = g.rotation.Map(pf.EigenAlpha[k], pf.EigenBeta[k]);
    if (!m.dropped) out.push_back(g.Project(m.alpha, m.beta));
  }
  return out;
}

}  // namespace

double PlotRimTilt(const PoleFigure& pf, const ProgramState& state) {
  if (!state.Options.ZoomToMeasured || state.Rotation.Active()) return 90;
  for (int i = CircleCountOf(pf); i >= 1; --i)
    for (int j = 1; j <= PointsOn(pf, i); ++j)
      if (pf.Intensity[i][j] > kMissing) return ZoomsTo(pf.Alpha[i]) ? pf.Alpha[i] : 90;
  return 90;
}

LabelFont LabelFontFor(int pct) {
  if (pct >= 40 && pct <= 66) return {8, 3};
  if (pct >= 67 && pct <= 83) return {10, 4};
  if (pct >= 84 && pct <= 100) return {12, 5};
  return {std::max(1, Nearest(12.0 * pct / 100.0)), 5};
}

PlotResult PlotPoleFigure(const PoleFigure& pf, const ProgramState& state, Canvas& canvas, int h, int w,
                          const std::string& title, MessageSink* messages, ProjectionCache* cache) {
  PlotResult result;
  if (h <= 0 || w <= 0 || h > kMaxImageSide || w > kMaxImageSide) return result;
  if (!state.SharedLevels.empty()) {
    // The one scale of the windows, in the record's own unit.
    PoleFigure shared = pf;
    const double factor = state.Options.ShowMrd ? 1 : pf.NormFactor;
    shared.LevelCount = std::min(static_cast<int>(state.SharedLevels.size()), kMaxLevels);
    for (int k = 1; k <= shared.LevelCount; ++k)
      shared.Level[static_cast<std::size_t>(k)] = state.SharedLevels[static_cast<std::size_t>(k - 1)] * factor;
    shared.LowestLevel = LowestLevelOf(shared, state.Options.ShowMrd);
    ProgramState own = state;
    own.SharedLevels.clear();
    return PlotPoleFigure(shared, own, canvas, h, w, title, messages, cache);
  }
  const DisplayOptions& o = state.Options;
  PlotGeometry g{PlotSize(w, h), o.EqualArea, DisplayRotation(state.Rotation)};
  g.rimTilt = PlotRimTilt(pf, state);
  const int s = g.plotSize;
  if (s <= 0) return result;
  if (cache) {
    cache->Update(pf, s, o.EqualArea, g.rotation, g.rimTilt);
    g.cache = cache;
  }
  const int r0 = PlotRadius(s);
  const int pct = SizePercentage(s);
  result.sizePercentage = pct;
  result.showSizeLabel = pct >= 50;

  const LabelFont font = LabelFontFor(pct);
  canvas.SetFont(kPlotFontName, font.size);
  const int lh = canvas.FontSize() + font.extra;

  const int levelCount = std::clamp(pf.LevelCount, 0, kMaxLevels);
  canvas.BeginPlot(s);
  canvas.SetSmoothLines(o.SmoothLines);
  canvas.SetPenColor(kWhite);
  canvas.SetPenMode(PenMode::Copy);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetBrushColor(kWhite);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.Rectangle(0, 0, 3 * Nearest(1.4 * s), 3 * s);
  if (o.DrawTriangles) DrawTriangulation(pf, g, canvas);
  canvas.Labels(MakeLabels(pf, state, g, levelCount), s, lh, title, o.ShowMrd);

  // Contour lines, level by level upward so that higher fills cover lower.
  const bool fill = o.FillAreas && canvas.FillsAreas();
  const bool flood = fill && canvas.HasPixels();
  if (fill && !canvas.HasPixels()) {
    std::vector<FillLevel> bands;
    for (int k = 1; k <= levelCount; ++k)
      bands.push_back(
          FillLevel{LevelThreshold(pf.Level[k], o.ShowMrd, pf.NormFactor), DrawColor(state.ContourColor[k])});
    FillLevelPolygons(pf, g, bands, canvas);
  }
  ContourTracer tracer(pf);
  for (int k = 1; k <= levelCount; ++k) {
    const double threshold = LevelThreshold(pf.Level[k], o.ShowMrd, pf.NormFactor);
    const Color color = DrawColor(state.ContourColor[k]);
    const LevelContours level = tracer.Trace(threshold, flood, messages);
    // A level with a gap in its lines would let the border fill run over
    // the whole plot; it is painted piece by piece instead, under its lines.
    const bool pieces = flood && !FloodFillStaysInside(pf, g, level.lines);
    if (pieces) FillLevelPolygons(pf, g, {FillLevel{threshold, color}}, canvas);
    canvas.BeginLevel(k, color);
    for (const ContourLine& line : level.lines) canvas.ContourLine(ContourPath(pf, g, line));
    if (flood && !pieces) FloodFillLevel(pf, g, canvas, level.seeds, color, threshold);
  }

  if (o.DrawGrid) MarkLowPoints(pf, g, canvas);
  if (o.MarkMissing) MarkMissingPoints(pf, g, canvas);
  if (o.ShowEigenvalues) canvas.EigenMarks(EigenMarks(pf, g));
  canvas.Outline(r0, pf.BetaRange);
  const int n = CircleCountOf(pf);
  canvas.Ticks(RimTicks{s, o.EqualArea, pf.BetaRange == 360, pf.Intensity[n][PointsOn(pf, n)] > 0});
  canvas.EndPlot();
  return result;
}

void DrawLowPoints(const PoleFigure& pf, const ProgramState& state, Canvas& canvas, int h, int w,
                   ProjectionCache* cache) {
  if (h <= 0 || w <= 0 || h > kMaxImageSide || w > kMaxImageSide) return;
  PlotGeometry g{PlotSize(w, h), state.Options.EqualArea, DisplayRotation(state.Rotation)};
  g.rimTilt = PlotRimTilt(pf, state);
  if (g.plotSize <= 0) return;
  if (cache) {
    cache->Update(pf, g.plotSize, g.equalArea, g.rotation, g.rimTilt);
    g.cache = cache;
  }
  MarkLowPoints(pf, g, canvas);
}

}  // namespace quorix
