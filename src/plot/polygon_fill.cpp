// Filled contour bands as polygons.
#include "plot/polygon_fill.h"

#include <algorithm>
#include <limits>

namespace quorix {

namespace {

// Edges in walking order A-B, B-C, C-A, each with the ends in the order the
// contour lines use, so that both compute the same crossing points.
struct WalkEdge {
  int from, to;  // vertex indices in walking order
  int p, q;      // vertex indices as EdgeCrossing takes them
};
constexpr WalkEdge kWalk[3] = {{0, 1, 0, 1}, {1, 2, 1, 2}, {2, 0, 0, 2}};

// The corners of an area where they are drawn; false for the pieces left
// unfilled: a corner the rotation drops, or a piece cut by the rim, which
// would be drawn across the whole plot.
bool MapArea(const PlotGeometry& g, const std::vector<ContourPoint>& area, std::vector<MappedDirection>& mapped) {
  mapped.clear();
  bool usable = true;
  bool anyFolded = false;
  bool anyUnfolded = false;
  for (const ContourPoint& c : area) {
    const MappedDirection m = g.rotation.Map(c.alpha, c.beta);
    if (m.dropped) usable = false;
    (m.folded ? anyFolded : anyUnfolded) = true;
    mapped.push_back(m);
  }
  return usable && !(anyFolded && anyUnfolded);
}

}  // namespace

std::vector<ContourPoint> TriangleAreaAbove(const PoleFigure& pf, TriangleRef t, double threshold) {
  std::vector<ContourPoint> out;
  const auto v = TriangleVertices(pf, t);
  if (!v) return out;
  for (const GridPoint& p : *v)
    if (ValueAt(pf, p) == kMissing) return out;
  for (const WalkEdge& e : kWalk) {
    const GridPoint from = (*v)[e.from];
    const GridPoint to = (*v)[e.to];
    const bool fromHigh = ValueAt(pf, from) >= threshold;
    const bool toHigh = ValueAt(pf, to) >= threshold;
    if (fromHigh) out.push_back(ContourPoint{pf.Alpha[from.circle], BetaOf(pf, from.circle, from.point)});
    if (fromHigh != toHigh) out.push_back(EdgeCrossing(pf, (*v)[e.p], (*v)[e.q], threshold));
  }
  return out;
}

bool InAreaAbove(const PoleFigure& pf, const PlotGeometry& g, double threshold, double x, double y) {
  const int n = CircleCountOf(pf);
  std::vector<PlotPosition> corners;
  std::vector<MappedDirection> mapped;
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= PointsOn(pf, i); ++j) {
      for (TriangleKind kind : {TriangleKind::Inner, TriangleKind::Outer}) {
        const std::vector<ContourPoint> area = TriangleAreaAbove(pf, TriangleRef{i, j, kind}, threshold);
        if (area.size() < 3) continue;
        // The same pieces FillLevelPolygons leaves out.
        if (!MapArea(g, area, mapped)) continue;
        corners.clear();
        for (const MappedDirection& m : mapped) corners.push_back(g.Position(m.alpha, m.beta));
        bool inside = false;
        for (std::size_t a = 0, b = corners.size() - 1; a < corners.size(); b = a++) {
          const PlotPosition& p = corners[a];
          const PlotPosition& q = corners[b];
          if ((p.y > y) != (q.y > y) && x < p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y)) inside = !inside;
        }
        if (inside) return true;
      }
    }
  }
  return false;
}

void FillLevelPolygons(const PoleFigure& pf, const PlotGeometry& g, const std::vector<FillLevel>& levels,
                       Canvas& canvas) {
  // A triangle whose lowest point reaches a later level is covered whole by
  // that level's polygon; drawing it before would be wasted.
  std::vector<double> laterMin(levels.size(), std::numeric_limits<double>::infinity());
  for (std::size_t k = levels.size(); k-- > 1;) laterMin[k - 1] = std::min(laterMin[k], levels[k].threshold);

  canvas.SetPenMode(PenMode::Copy);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetPenWidth(1);
  canvas.SetBrushStyle(BrushStyle::Solid);
  const int n = CircleCountOf(pf);
  std::vector<quorix::Pixel> pixels;
  std::vector<MappedDirection> mapped;
  for (std::size_t k = 0; k < levels.size(); ++k) {
    // Outlined in the fill colour so that neighbouring pieces leave no seam.
    canvas.SetPenColor(levels[k].color);
    canvas.SetBrushColor(levels[k].color);
    for (int i = 1; i <= n; ++i) {
      for (int j = 1; j <= PointsOn(pf, i); ++j) {
        for (TriangleKind kind : {TriangleKind::Inner, TriangleKind::Outer}) {
          const TriangleRef t{i, j, kind};
          const auto v = TriangleVertices(pf, t);
          if (!v) continue;
          double lowest = std::numeric_limits<double>::infinity();
          for (const GridPoint& p : *v) lowest = std::min(lowest, ValueAt(pf, p));
          if (lowest >= laterMin[k]) continue;
          const std::vector<ContourPoint> area = TriangleAreaAbove(pf, t, levels[k].threshold);
          if (area.size() < 3) continue;
          if (!MapArea(g, area, mapped)) continue;
          pixels.clear();
          for (const MappedDirection& m : mapped) pixels.push_back(g.Project(m.alpha, m.beta));
          canvas.Polygon(pixels);
        }
      }
    }
  }
}

}  // namespace quorix
