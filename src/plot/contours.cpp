// Contour tracing on the grid triangles, line drawing and the flood fill.
#include "plot/contours.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "plot/polygon_fill.h"

namespace quorix {

// Row n + 1 holds the apexes of the outermost circle's outer triangles.
int CircleCountOf(const PoleFigure& pf) { return pf.CircleCount; }

int PointsOn(const PoleFigure& pf, int circle) {
  if (circle < 0 || circle > pf.CircleCount + 1) return 0;
  return pf.CirclePoints[circle];
}

int NextPoint(const PoleFigure& pf, int circle, int point) { return point >= PointsOn(pf, circle) ? 1 : point + 1; }

int PreviousPoint(const PoleFigure& pf, int circle, int point) { return point <= 1 ? PointsOn(pf, circle) : point - 1; }

double ValueAt(const PoleFigure& pf, GridPoint p) { return pf.Intensity[p.circle][p.point]; }

namespace {

bool OnGrid(const PoleFigure& pf, int circle, int point) {
  return circle >= 1 && circle <= CircleCountOf(pf) && point >= 1 && point <= PointsOn(pf, circle);
}

int LinkOf(const PoleFigure& pf, int circle, int point, TriangleKind kind) {
  const GridLink& l = pf.Link[circle][point];
  return kind == TriangleKind::Inner ? l.InnerLink : l.OuterLink;
}

bool SamePoint(GridPoint a, GridPoint b) { return a.circle == b.circle && a.point == b.point; }

std::array<GridPoint, 2> EdgeEnds(const std::array<GridPoint, 3>& v, int edge) {
  if (edge == 1) return {v[0], v[1]};
  if (edge == 2) return {v[0], v[2]};
  return {v[1], v[2]};
}

bool SameEdge(const std::array<GridPoint, 2>& a, const std::array<GridPoint, 2>& b) {
  return (SamePoint(a[0], b[0]) && SamePoint(a[1], b[1])) || (SamePoint(a[0], b[1]) && SamePoint(a[1], b[0]));
}

bool Crossed(const PoleFigure& pf, const std::array<GridPoint, 2>& e, double threshold) {
  return (ValueAt(pf, e[0]) >= threshold) != (ValueAt(pf, e[1]) >= threshold);
}

struct Neighbour {
  TriangleRef triangle;
  int sharedEdge = 0;
};

// The triangle on the other side of edge e of t, as the links describe it.
std::optional<Neighbour> NeighbourAcross(const PoleFigure& pf, TriangleRef t, int e) {
  const int i = t.circle;
  const int j = t.point;
  const bool outer = t.kind == TriangleKind::Outer;
  if (e == 1) return Neighbour{{i, j, outer ? TriangleKind::Inner : TriangleKind::Outer}, 1};
  const int u = LinkOf(pf, i, j, t.kind);
  const int apexCircle = outer ? i + 1 : i - 1;
  if (e == 2) {
    const int p = PreviousPoint(pf, i, j);
    if (LinkOf(pf, i, p, t.kind) == u) return Neighbour{{i, p, t.kind}, 3};
    const int q = PreviousPoint(pf, apexCircle, u);
    return Neighbour{{apexCircle, q, outer ? TriangleKind::Inner : TriangleKind::Outer}, 3};
  }
  const int jn = NextPoint(pf, i, j);
  if (LinkOf(pf, i, jn, t.kind) == u) return Neighbour{{i, jn, t.kind}, 2};
  return Neighbour{{apexCircle, u, outer ? TriangleKind::Inner : TriangleKind::Outer}, 2};
}

}  // namespace

std::optional<std::array<GridPoint, 3>> TriangleVertices(const PoleFigure& pf, TriangleRef t) {
  if (!OnGrid(pf, t.circle, t.point)) return std::nullopt;
  const int apexCircle = t.kind == TriangleKind::Outer ? t.circle + 1 : t.circle - 1;
  const int apex = LinkOf(pf, t.circle, t.point, t.kind);
  if (!OnGrid(pf, apexCircle, apex)) return std::nullopt;
  return std::array<GridPoint, 3>{GridPoint{t.circle, t.point}, GridPoint{t.circle, NextPoint(pf, t.circle, t.point)},
                                  GridPoint{apexCircle, apex}};
}

TriangleMarks::TriangleMarks(const PoleFigure& pf)
    : circles_(CircleCountOf(pf)),
      points_(std::max(pf.Intensity.Cols() - 1, 0)),
      marks_(static_cast<std::size_t>(circles_ + 1) * static_cast<std::size_t>(points_ + 1) * 2, 0) {}

void TriangleMarks::Clear() { std::fill(marks_.begin(), marks_.end(), 0); }

std::size_t TriangleMarks::Index(TriangleRef t) const {
  const auto c = static_cast<std::size_t>(std::clamp(t.circle, 0, circles_));
  const auto p = static_cast<std::size_t>(std::clamp(t.point, 0, points_));
  return (c * static_cast<std::size_t>(points_ + 1) + p) * 2 + (t.kind == TriangleKind::Outer ? 1 : 0);
}

double LevelThreshold(double level, bool showMrd, double normFactor) {
  double l = showMrd ? level * normFactor : level;
  if (l >= 1) l += 0.001;
  return l;
}

ContourPoint EdgeCrossing(const PoleFigure& pf, GridPoint p, GridPoint q, double threshold) {
  const double vp = ValueAt(pf, p);
  const double vq = ValueAt(pf, q);
  const double t = vq == vp ? 0.0 : (threshold - vp) / (vq - vp);
  const double alphaP = pf.Alpha[p.circle];
  const double alphaQ = pf.Alpha[q.circle];
  double bq = BetaOf(pf, q.circle, q.point);
  double bp = BetaOf(pf, p.circle, p.point);
  // The azimuth of the centre point means nothing: the edge runs radially.
  if (alphaP == 0) bp = bq;
  if (alphaQ == 0) bq = bp;
  if (bq - bp > 180) bq -= 360;
  if (bq - bp < -180) bq += 360;
  return ContourPoint{alphaP + t * (alphaQ - alphaP), bp + (bq - bp) * t};
}

ContourLine TraceContour(const PoleFigure& pf, TriangleMarks& marks, TriangleRef t, int exitEdge, double threshold,
                         MessageSink* messages) {
  ContourLine line;
  auto vertices = TriangleVertices(pf, t);
  // Every pass marks a fresh triangle, so the walk ends after at most as
  // many steps as there are triangles.
  while (vertices && !marks.Visited(t)) {
    marks.SetVisited(t, true);
    const auto ends = EdgeEnds(*vertices, exitEdge);
    if (line.size() >= kMaxContourPoints) {
      if (messages) messages->Message("Heap overflow");
      break;
    }
    line.push_back(EdgeCrossing(pf, ends[0], ends[1], threshold));
    const auto n = NeighbourAcross(pf, t, exitEdge);
    if (!n) break;
    const auto nv = TriangleVertices(pf, n->triangle);
    // Links that do not describe a shared edge end the line.
    if (!nv || !SameEdge(EdgeEnds(*nv, n->sharedEdge), ends)) break;
    const GridPoint off = n->sharedEdge == 1 ? (*nv)[2] : n->sharedEdge == 2 ? (*nv)[1] : (*nv)[0];
    const GridPoint onEdge = exitEdge == 1 ? (*vertices)[1] : exitEdge == 2 ? (*nv)[1] : (*nv)[2];
    if (ValueAt(pf, off) < 0 || ValueAt(pf, onEdge) < 0) break;
    int next = 0;
    for (int e = 1; e <= 3 && next == 0; ++e)
      if (e != n->sharedEdge && Crossed(pf, EdgeEnds(*nv, e), threshold)) next = e;
    if (next == 0) break;
    t = n->triangle;
    vertices = nv;
    exitEdge = next;
  }
  return line;
}

ContourLine JoinContourHalves(ContourLine first, ContourLine second) {
  if (!second.empty()) {
    std::reverse(second.begin(), second.end());
    second.insert(second.end(), first.begin(), first.end());
    return second;
  }
  if (!first.empty()) first.push_back(first.front());
  return first;
}

void AddFillSeed(std::vector<FillSeed>& seeds, int circle, int point) {
  if (!seeds.empty() && seeds.back().circle == circle && seeds.back().point == point) return;
  seeds.push_back(FillSeed{circle, point});
}

namespace {

// The starts of the lines through a triangle with values f (A), r (B) and
// g (C): each crossed edge once, found from its low end. Returns the count.
int LineStarts(double f, double r, double g, double threshold, int (&starts)[6]) {
  int count = 0;
  if (f < threshold) {
    if (g >= threshold) starts[count++] = 2;
    if (r >= threshold) starts[count++] = 1;
  }
  if (r < threshold) {
    if (g >= threshold) starts[count++] = 3;
    if (f >= threshold) starts[count++] = 1;
  }
  if (g < threshold) {
    if (f >= threshold) starts[count++] = 2;
    if (r >= threshold) starts[count++] = 3;
  }
  return count;
}

// The lines that start in triangle t (vertices v, values f, r, g), with the
// seed of the area above them.
void TraceFrom(const PoleFigure& pf, TriangleMarks& marks, TriangleRef t, const std::array<GridPoint, 3>& v,
               const int (&starts)[6], int count, double threshold, bool collectSeeds, LevelContours& out,
               MessageSink* messages) {
  const double f = ValueAt(pf, v[0]);
  const double g = ValueAt(pf, v[2]);
  ContourLine halves[2];
  for (int s = 0; s < count; ++s) {
    const int e = starts[s];
    marks.SetVisited(t, false);
    ContourLine traced = TraceContour(pf, marks, t, e, threshold, messages);
    if (s < 2) halves[s] = std::move(traced);
    if (s == 0 && collectSeeds) {
      GridPoint high = v[0];
      if (e != 1 && g >= threshold)
        high = v[2];
      else if (e == 1 || e == 2)
        high = f >= threshold ? v[0] : v[1];
      else
        high = v[1];
      AddFillSeed(out.seeds, high.circle, high.point);
    }
  }
  if (!halves[0].empty()) out.lines.push_back(JoinContourHalves(std::move(halves[0]), std::move(halves[1])));
}

}  // namespace

void TraceTriangle(const PoleFigure& pf, TriangleMarks& marks, TriangleRef t, const std::array<GridPoint, 3>& v,
                   double threshold, bool collectSeeds, LevelContours& out, MessageSink* messages) {
  int starts[6];
  const int count = LineStarts(ValueAt(pf, v[0]), ValueAt(pf, v[1]), ValueAt(pf, v[2]), threshold, starts);
  if (count > 0) TraceFrom(pf, marks, t, v, starts, count, threshold, collectSeeds, out, messages);
}

namespace {

constexpr int kBlockPoints = 32;

bool Special(double v) { return v == kMissing || v != v; }

}  // namespace

ContourTracer::ContourTracer(const PoleFigure& pf) : pf_(pf), n_(CircleCountOf(pf)), marks_(pf) {
  points_.assign(static_cast<std::size_t>(n_) + 2, 0);
  for (int i = 1; i <= n_; ++i) points_[static_cast<std::size_t>(i)] = PointsOn(pf, i);
  blockStart_.assign(static_cast<std::size_t>(n_) + 2, 0);
  for (int i = 1; i <= n_; ++i) {
    blockStart_[static_cast<std::size_t>(i)] = blocks_.size();
    const int np = points_[static_cast<std::size_t>(i)];
    const std::span<const double> row = pf.Intensity[i];
    for (int j0 = 1; j0 <= np; j0 += kBlockPoints) {
      // Every value a triangle of the block may use, and perhaps a few more:
      // wider bounds only skip less.
      Block b;
      const auto take = [&b](double v) {
        b.special = b.special || Special(v);
        b.lo = std::min(b.lo, v);
        b.hi = std::max(b.hi, v);
      };
      const int j1 = std::min(np, j0 + kBlockPoints - 1);
      for (int j = j0; j <= j1; ++j) take(row[static_cast<std::size_t>(j)]);
      take(row[static_cast<std::size_t>(j1 >= np ? 1 : j1 + 1)]);
      for (int j = j0; j <= j1; ++j)
        for (TriangleKind kind : {TriangleKind::Inner, TriangleKind::Outer}) {
          const Apex a = ApexOf(i, j, kind);
          if (a.circle != 0) take(pf.Intensity[a.circle][static_cast<std::size_t>(a.point)]);
        }
      blocks_.push_back(b);
    }
  }
}

ContourTracer::Apex ContourTracer::ApexOf(int i, int j, TriangleKind kind) const {
  const GridLink& l = pf_.Link[i][j];
  const bool outer = kind == TriangleKind::Outer;
  const int c = outer ? i + 1 : i - 1;
  const int p = outer ? l.OuterLink : l.InnerLink;
  if (c < 1 || c > n_ || p < 1 || p > points_[static_cast<std::size_t>(c)]) return Apex{};
  return Apex{c, p};
}

// Every triangle in grid order, over the blocks the level may cross. A
// triangle of a skipped block has no line through it, and no line walks into
// it, so leaving it unmarked changes nothing.
LevelContours ContourTracer::Trace(double threshold, bool collectSeeds, MessageSink* messages) {
  LevelContours out;
  marks_.Clear();
  for (int i = 1; i <= n_; ++i) {
    const int np = points_[static_cast<std::size_t>(i)];
    const std::span<const double> row = pf_.Intensity[i];
    std::size_t block = blockStart_[static_cast<std::size_t>(i)];
    for (int j0 = 1; j0 <= np; j0 += kBlockPoints, ++block) {
      const Block& b = blocks_[block];
      if (!b.special && (threshold <= b.lo || threshold > b.hi)) continue;
      for (int j = j0; j <= std::min(np, j0 + kBlockPoints - 1); ++j) {
        const int jn = j >= np ? 1 : j + 1;
        const double f = row[static_cast<std::size_t>(j)];
        const double r = row[static_cast<std::size_t>(jn)];
        for (TriangleKind kind : {TriangleKind::Inner, TriangleKind::Outer}) {
          const Apex a = ApexOf(i, j, kind);
          if (a.circle == 0) continue;
          const TriangleRef t{i, j, kind};
          if (marks_.Visited(t)) continue;
          const double g = pf_.Intensity[a.circle][a.point];
          if (f != kMissing && g != kMissing && r != kMissing)
            TraceTriangle(pf_, marks_, t, {GridPoint{i, j}, GridPoint{i, jn}, GridPoint{a.circle, a.point}}, threshold,
                          collectSeeds, out, messages);
          marks_.SetVisited(t, true);
        }
      }
    }
  }
  return out;
}

LevelContours TraceLevel(const PoleFigure& pf, double threshold, bool collectSeeds, MessageSink* messages) {
  return ContourTracer(pf).Trace(threshold, collectSeeds, messages);
}

namespace {

double Wrap360(double beta) {
  double b = std::fmod(beta, 360.0);
  if (b < 0) b += 360.0;
  return b;
}

}  // namespace

std::vector<PathStep> ContourPath(const PoleFigure& pf, const PlotGeometry& g, const ContourLine& line) {
  std::vector<PathStep> path;
  bool havePrevious = false;
  MappedDirection previous;
  for (const ContourPoint& c : line) {
    const MappedDirection m = g.rotation.Map(c.alpha, c.beta);
    if (m.dropped) {
      havePrevious = false;  // the line breaks where the rotation drops it
      continue;
    }
    if (!havePrevious) {
      path.push_back(PathStep{PathStepKind::Start, g.Project(m.alpha, m.beta), {}});
      previous = m;
      havePrevious = true;
      continue;
    }
    if (g.rotation.Active()) {
      const double jump = std::fabs(previous.beta - m.beta);
      if (jump > 90 && jump < 270 && m.alpha > pf.Alpha[2]) {
        // Crossed the rim: continue the segment on the upper hemisphere
        // (the antipode of the new point) up to alpha 90.
        double s = m.beta + 180;
        if (s > 360) s -= 360;
        const double e = 180 - m.alpha;
        double ds = s - previous.beta;
        if (ds > 180) ds -= 360;
        if (ds < -180) ds += 360;
        const double span = e - previous.alpha;
        const double h = span == 0 ? previous.beta : previous.beta + (90 - previous.alpha) * ds / span;
        double opposite = h + 180;
        if (opposite > 360) opposite -= 360;
        path.push_back(PathStep{PathStepKind::RimJump, g.Project(90, h), g.Project(90, opposite)});
      }
      previous = m;
    }
    path.push_back(PathStep{PathStepKind::Line, g.Project(m.alpha, m.beta), {}});
  }
  return path;
}

void DrawContour(Canvas& canvas, const std::vector<PathStep>& path) {
  canvas.SetPenMode(PenMode::Copy);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetPenWidth(1);
  for (const PathStep& s : path) {
    switch (s.kind) {
      case PathStepKind::Start: canvas.MoveTo(s.p.x, s.p.y); break;
      case PathStepKind::Line: canvas.LineTo(s.p.x, s.p.y); break;
      case PathStepKind::RimJump:
        canvas.LineTo(s.p.x, s.p.y);
        canvas.MoveTo(s.q.x, s.q.y);
        break;
    }
  }
}

namespace {

// Crossings of one edge computed from its two ends in either order differ
// by rounding, and their azimuths may differ by a full turn.
constexpr double kSameDirection = 1e-7;
// A circle this close to 90 degrees is the rim (as for the mirror circle).
constexpr double kRimTolerance = 0.0005;

bool SameDirection(const ContourPoint& a, const ContourPoint& b) {
  if (std::fabs(a.alpha - b.alpha) > kSameDirection) return false;
  if (std::fabs(a.alpha) <= kSameDirection) return true;  // the centre has no azimuth
  const double d = std::fmod(std::fabs(a.beta - b.beta), 360.0);
  return std::min(d, 360.0 - d) <= kSameDirection;
}

bool OnRim(double alpha) { return std::fabs(alpha - 90.0) <= kRimTolerance; }

}  // namespace

bool LineIsClosed(const ContourLine& line) { return line.size() >= 3 && SameDirection(line.front(), line.back()); }

namespace {

// Narrower than this, a drawn outline may leave no pixel inside it, and the
// seed that should fill it lies outside: the fill would run over the plot.
constexpr double kMinFloodWidth = 2.5;

// Twice the area over the length of the drawn outline: the width of a sliver,
// the radius of a disc.
double DrawnWidth(const PlotGeometry& g, const ContourLine& line) {
  double twiceArea = 0, length = 0;
  PlotPosition previous{};
  for (std::size_t k = 0; k <= line.size(); ++k) {
    const ContourPoint& c = line[k % line.size()];
    const MappedDirection m = g.rotation.Map(c.alpha, c.beta);
    const PlotPosition p = g.Position(m.alpha, m.beta);
    if (k > 0) {
      twiceArea += previous.x * p.y - p.x * previous.y;
      length += std::hypot(p.x - previous.x, p.y - previous.y);
    }
    previous = p;
  }
  return length > 0 ? std::fabs(twiceArea) / length : 0;
}

}  // namespace

bool FloodFillStaysInside(const PoleFigure& pf, const PlotGeometry& g, const std::vector<ContourLine>& lines) {
  for (const ContourLine& line : lines) {
    if (line.empty()) continue;
    // A direction the rotation drops breaks the drawn line.
    for (const ContourPoint& c : line)
      if (g.rotation.Map(c.alpha, c.beta).dropped) return false;
    if (LineIsClosed(line)) {
      if (DrawnWidth(g, line) < kMinFloodWidth) return false;
      continue;
    }
    if (!(pf.BetaRange >= 360)) return false;
    // Where the ends are drawn, not where they were traced: a turned rim
    // end lies inside the plot.
    const MappedDirection first = g.rotation.Map(line.front().alpha, line.front().beta);
    const MappedDirection last = g.rotation.Map(line.back().alpha, line.back().beta);
    if (!OnRim(first.alpha) || !OnRim(last.alpha)) return false;
  }
  return true;
}

Pixel NudgeFillSeed(const PoleFigure& pf, const PlotGeometry& g, const Canvas& canvas, FillSeed& seed, Color levelColor,
                    double threshold, Pixel at) {
  const int n = CircleCountOf(pf);
  const int cs = seed.circle;
  const int ps = seed.point;
  if (!OnGrid(pf, cs, ps)) return at;

  std::vector<GridPoint> candidates{{cs, NextPoint(pf, cs, ps)}, {cs, PreviousPoint(pf, cs, ps)}};
  if (cs > 1) candidates.push_back({cs - 1, pf.Link[cs][ps].InnerLink});
  if (cs < n) candidates.push_back({cs + 1, pf.Link[cs][ps].OuterLink});
  for (const GridPoint& c : candidates) {
    if (OnGrid(pf, c.circle, c.point) && ValueAt(pf, c) > threshold) {
      seed = FillSeed{c.circle, c.point};
      break;
    }
  }

  const MappedDirection m = g.rotation.Map(pf.Alpha[seed.circle], BetaOf(pf, seed.circle, seed.point));
  if (m.dropped) return at;
  at = g.Project(m.alpha, m.beta);

  if (seed.circle == n) {
    // On the rim the seed pixel may be the outline itself: look inward.
    const double beta = Wrap360(m.beta);
    for (int d = -1; d <= 1; ++d) {
      Pixel p = at;
      if (beta <= 45 || beta > 315)
        p = {at.x - 1, at.y + d};
      else if (beta > 45 && beta < 135)
        p = {at.x + d, at.y + 1};
      else if (beta >= 135 && beta < 225)
        p = {at.x + 1, at.y + d};
      else if (beta >= 225 && beta < 315)
        p = {at.x + d, at.y - 1};
      else
        break;
      // An area thinner than a pixel at the rim leaves its inward neighbour
      // on the low side of the line, where the fill would run over the plot.
      if (canvas.Pixel(p.x, p.y) != levelColor && InAreaAbove(pf, g, threshold, p.x, p.y)) return p;
    }
    return at;
  }

  if (pf.Alpha[seed.circle] == 0 && seed.circle + 1 <= n) {
    const int outer = seed.circle + 1;
    for (int k = 1; k <= PointsOn(pf, outer); ++k) {
      if (pf.Link[outer][k].InnerLink != seed.point) continue;
      int chosen = 0;
      if (pf.Intensity[outer][k] > threshold)
        chosen = k;
      else if (pf.Intensity[outer][NextPoint(pf, outer, k)] > threshold)
        chosen = NextPoint(pf, outer, k);
      if (chosen == 0) continue;
      seed = FillSeed{outer, chosen};
      const MappedDirection mm = g.rotation.Map(pf.Alpha[outer], BetaOf(pf, outer, chosen));
      if (!mm.dropped) at = g.Project(mm.alpha, mm.beta);
      break;
    }
  }
  return at;
}

void FloodFillLevel(const PoleFigure& pf, const PlotGeometry& g, Canvas& canvas, const std::vector<FillSeed>& seeds,
                    Color levelColor, double threshold) {
  if (seeds.empty()) return;
  const int r = PlotRadius(g.plotSize);
  // The outline closes the areas that reach the rim.
  canvas.SetPenColor(levelColor);
  canvas.SetBrushStyle(BrushStyle::Clear);
  canvas.Ellipse(10, 10, 2 * r + 11, 2 * r + 11);
  canvas.SetBrushColor(levelColor);
  canvas.SetBrushStyle(BrushStyle::Solid);
  for (auto it = seeds.rbegin(); it != seeds.rend(); ++it) {
    FillSeed seed = *it;
    if (!OnGrid(pf, seed.circle, seed.point)) continue;
    const ProjectionCache::Entry e = g.GridPixel(pf, seed.circle, seed.point);
    if (e.dropped) continue;
    Pixel at = e.at;
    if (canvas.Pixel(at.x, at.y) == levelColor) at = NudgeFillSeed(pf, g, canvas, seed, levelColor, threshold, at);
    canvas.FloodFill(at.x, at.y, levelColor);
  }
}

Color DrawColor(ColorValue c) {
  if (c < 0) return 0;
  return static_cast<Color>(c & 0xFFFFFF);
}

}  // namespace quorix
