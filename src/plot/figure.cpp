// Publication figures: every panel becomes a mesh of triangles with values
// in m.r.d., which the filled, smooth and line styles draw alike.
#include "plot/figure.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "base/text_file.h"
#include "math/vector_math.h"
#include "plot/contours.h"

namespace quorix {

namespace {

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kMissingGrey = 0xC8C8C8;  // no value: set apart from below the lowest level
constexpr Color kFrameGrey = 0xA0A0A0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kPtPerMm = 72.0 / 25.4;

struct MeshTri {
  PointF p[3];
  double v[3] = {0, 0, 0};
  bool Missing() const { return !(std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2])); }
};

struct Label {
  PointF at;   // on the shape
  PointF dir;  // outward, unit
  std::string text;
};

// A panel in its own units; LayOut fits it into its box.
struct PanelShape {
  std::vector<MeshTri> tris;
  PointsF clip;     // the measured region
  PointsF outline;  // its rim
  PointsF frame;    // the full circle around a partial pole figure
  std::vector<Label> labels;
  std::vector<std::pair<PointF, PointF>> ticks;
  double lo = 0, hi = 0;  // m.r.d.
  PointF loAt, hiAt;
  bool anyMissing = false;
};

std::string FormatAngle(double deg) { return fmt::format("{:g}\u00b0", deg); }

double Rho(double alphaDeg, bool equalArea) {
  const double half = alphaDeg * kPi / 360.0;
  return equalArea ? std::sqrt(2.0) * std::sin(half) : std::tan(half);
}

PointF DiskPoint(double alpha, double beta, bool equalArea) {
  const double r = Rho(alpha, equalArea), b = beta * kPi / 180.0;
  return {r * std::cos(b), -r * std::sin(b)};
}

PointsF Circle(double r, int n = 180) {
  PointsF out;
  for (int k = 0; k < n; ++k) {
    const double a = 2 * kPi * k / n;
    out.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return out;
}

double MeasuredTilt(const PoleFigure& pf) {
  for (int i = CircleCountOf(pf); i >= 1; --i)
    for (int j = 1; j <= PointsOn(pf, i); ++j)
      if (pf.Intensity[i][j] > kMissing) return pf.Alpha[i];
  return 0;
}

PanelShape PoleShape(const PoleFigure& pf, bool equalArea) {
  PanelShape s;
  const double nf = pf.NormFactor != 0 && std::isfinite(pf.NormFactor) ? pf.NormFactor : 1;
  auto value = [&](GridPoint p) {
    const double v = ValueAt(pf, p);
    return v == kMissing ? kNaN : v / nf;
  };
  const int n = CircleCountOf(pf);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= PointsOn(pf, i); ++j)
      for (TriangleKind kind : {TriangleKind::Inner, TriangleKind::Outer}) {
        const auto v = TriangleVertices(pf, TriangleRef{i, j, kind});
        if (!v) continue;
        MeshTri t;
        for (int k = 0; k < 3; ++k) {
          const GridPoint g = (*v)[static_cast<std::size_t>(k)];
          t.p[k] = DiskPoint(pf.Alpha[g.circle], BetaOf(pf, g.circle, g.point), equalArea);
          t.v[k] = value(g);
        }
        s.tris.push_back(t);
      }
  const double tilt = std::min(90.0, MeasuredTilt(pf));
  const double rim = Rho(tilt, equalArea), full = Rho(90, equalArea);
  // Beyond the measured tilt nothing is drawn, whatever the surface can clip.
  std::erase_if(s.tris, [&](const MeshTri& t) {
    return std::any_of(std::begin(t.p), std::end(t.p),
                       [&](const PointF& p) { return std::hypot(p.x, p.y) > rim * (1 + 1e-9); });
  });
  s.clip = Circle(rim);
  s.outline = s.clip;
  if (tilt < 90 - 1e-9) s.frame = Circle(full);
  for (const MeshTri& t : s.tris)
    for (int k = 0; k < 3; ++k)
      if (!std::isfinite(t.v[k]) && std::hypot(t.p[k].x, t.p[k].y) < rim - 1e-9) s.anyMissing = true;
  // The sample axes: RD where beta is 0, TD at 90, outside the circle.
  s.labels.push_back({{full, 0}, {1, 0}, "RD"});
  s.labels.push_back({{0, -full}, {0, -1}, "TD"});
  s.ticks.push_back({{full, 0}, {full * 1.06, 0}});
  s.ticks.push_back({{0, -full}, {0, -full * 1.06}});
  s.lo = pf.MinValue / nf;
  s.hi = pf.MaxValue / nf;
  const auto at = [&](int c, int p) {
    c = std::clamp(c, 0, kMaxGridRows - 1);
    return DiskPoint(pf.Alpha[c], BetaOf(pf, c, p), equalArea);
  };
  s.loAt = at(pf.MinCircle, pf.MinPoint);
  s.hiAt = at(pf.MaxCircle, pf.MaxPoint);
  return s;
}

bool Inside(const PointsF& region, PointF p);

PanelShape GridShapeOf(const AngleGridPanel& p, bool equalArea) {
  PanelShape s;
  const AngleGrid& g = p.grid;
  const std::size_t rows = g.rowAngle.size(), cols = g.columnAngle.size();
  if (rows < 2 || cols < 2 || g.values.size() != rows * cols) return s;
  const bool section = p.shape == GridShape::Section;
  auto place = [&](double row, double col) { return section ? PointF{col, row} : DiskPoint(row, col, equalArea); };
  s.lo = std::numeric_limits<double>::infinity();
  s.hi = -s.lo;
  for (std::size_t r = 0; r < rows; ++r)
    for (std::size_t c = 0; c < cols; ++c) {
      const double v = g.At(r, c);
      if (!std::isfinite(v)) continue;
      if (v < s.lo) s.lo = v, s.loAt = place(g.rowAngle[r], g.columnAngle[c]);
      if (v > s.hi) s.hi = v, s.hiAt = place(g.rowAngle[r], g.columnAngle[c]);
    }
  auto value = [&](std::size_t r, std::size_t c) {
    const double v = g.At(r, c);
    return std::isfinite(v) ? v : kNaN;
  };
  for (std::size_t r = 0; r + 1 < rows; ++r)
    for (std::size_t c = 0; c + 1 < cols; ++c) {
      const std::size_t rr[4] = {r, r, r + 1, r + 1}, cc[4] = {c, c + 1, c + 1, c};
      for (const auto& idx : {std::array<int, 3>{0, 1, 2}, std::array<int, 3>{0, 2, 3}}) {
        MeshTri t;
        for (int k = 0; k < 3; ++k) {
          const auto q = static_cast<std::size_t>(idx[static_cast<std::size_t>(k)]);
          t.p[k] = place(g.rowAngle[rr[q]], g.columnAngle[cc[q]]);
          t.v[k] = value(rr[q], cc[q]);
        }
        if (t.Missing()) s.anyMissing = true;
        s.tris.push_back(t);
      }
    }
  if (section) {
    const double x0 = g.columnAngle.front(), x1 = g.columnAngle.back();
    const double y0 = g.rowAngle.front(), y1 = g.rowAngle.back();
    s.clip = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    s.outline = s.clip;
    s.labels.push_back({{x0, y0}, {-0.7, -0.7}, FormatAngle(x0)});
    s.labels.push_back({{x1, y0}, {0, -1}, FormatAngle(x1)});
    s.labels.push_back({{(x0 + x1) / 2, y0}, {0, -1}, p.columnName});
    s.labels.push_back({{x0, (y0 + y1) / 2}, {-1, 0}, p.rowName});
    s.labels.push_back({{x0, y1}, {-1, 0}, FormatAngle(y1)});
  } else {
    if (!p.outline.empty()) {
      for (const auto& [alpha, beta] : p.outline) s.clip.push_back(DiskPoint(alpha, beta, equalArea));
    } else {
      const double b0 = g.columnAngle.front(), b1 = g.columnAngle.back();
      s.clip.push_back({0, 0});
      const int steps = 60;
      for (int k = 0; k <= steps; ++k) s.clip.push_back(DiskPoint(90, b0 + (b1 - b0) * k / steps, equalArea));
    }
    s.outline = s.clip;
    for (const CornerLabel& c : p.corners) {
      const PointF at = DiskPoint(c.alpha, c.beta, equalArea);
      const double len = std::hypot(at.x, at.y);
      const PointF dir = len > 1e-9 ? PointF{at.x / len, at.y / len} : PointF{-0.7, 0.7};
      s.labels.push_back({at, dir, c.text});
    }
  }
  // The extremes within the region drawn: a sector's grid runs on past the
  // standard triangle. A point on the rim counts, nudged towards the middle.
  if (!section && s.clip.size() >= 3) {
    PointF middle{0, 0};
    for (const PointF& q : s.clip) middle = {middle.x + q.x, middle.y + q.y};
    middle = {middle.x / static_cast<double>(s.clip.size()), middle.y / static_cast<double>(s.clip.size())};
    s.lo = std::numeric_limits<double>::infinity();
    s.hi = -s.lo;
    for (std::size_t r = 0; r < rows; ++r)
      for (std::size_t c = 0; c < cols; ++c) {
        const double v = g.At(r, c);
        const PointF q = place(g.rowAngle[r], g.columnAngle[c]);
        const PointF nudged{q.x + (middle.x - q.x) * 1e-6, q.y + (middle.y - q.y) * 1e-6};
        if (!std::isfinite(v) || !Inside(s.clip, nudged)) continue;
        if (v < s.lo) s.lo = v, s.loAt = q;
        if (v > s.hi) s.hi = v, s.hiAt = q;
      }
  }
  return s;
}

// The part of a triangle at or above the threshold, by linear interpolation.
PointsF AreaAbove(const MeshTri& t, double threshold) {
  PointsF out;
  for (int a = 0; a < 3; ++a) {
    const int b = (a + 1) % 3;
    const bool ha = t.v[a] >= threshold, hb = t.v[b] >= threshold;
    if (ha) out.push_back(t.p[a]);
    if (ha != hb) {
      const double f = (threshold - t.v[a]) / (t.v[b] - t.v[a]);
      out.push_back({t.p[a].x + f * (t.p[b].x - t.p[a].x), t.p[a].y + f * (t.p[b].y - t.p[a].y)});
    }
  }
  return out;
}

// Where the level crosses the triangle: a segment or nothing.
std::optional<std::pair<PointF, PointF>> LevelSegment(const MeshTri& t, double threshold) {
  PointsF cut;
  for (int a = 0; a < 3; ++a) {
    const int b = (a + 1) % 3;
    if ((t.v[a] >= threshold) != (t.v[b] >= threshold)) {
      const double f = (threshold - t.v[a]) / (t.v[b] - t.v[a]);
      cut.push_back({t.p[a].x + f * (t.p[b].x - t.p[a].x), t.p[a].y + f * (t.p[b].y - t.p[a].y)});
    }
  }
  if (cut.size() != 2) return std::nullopt;
  return std::make_pair(cut[0], cut[1]);
}

bool Inside(const PointsF& region, PointF p) {
  bool in = false;
  for (std::size_t a = 0, b = region.size() - 1; a < region.size(); b = a++) {
    const PointF& u = region[a];
    const PointF& v = region[b];
    if ((u.y > p.y) != (v.y > p.y) && p.x < u.x + (p.y - u.y) * (v.x - u.x) / (v.y - u.y)) in = !in;
  }
  return in;
}

bool AllInside(const PointsF& region, const PointsF& points) {
  return std::all_of(points.begin(), points.end(), [&](PointF p) { return Inside(region, p); });
}

// A piece cut to the region (convex: discs, rectangles, sectors and the
// cubic triangle), so that surfaces without a clip draw nothing outside.
PointsF CutTo(const PointsF& region, PointsF piece) {
  if (region.size() < 3 || AllInside(region, piece)) return piece;
  double orient = 0;
  for (std::size_t a = 0, b = region.size() - 1; a < region.size(); b = a++)
    orient += (region[b].x - region[a].x) * (region[b].y + region[a].y);
  for (std::size_t e = 0; e < region.size() && !piece.empty(); ++e) {
    const PointF a = region[e], b = region[(e + 1) % region.size()];
    auto side = [&](PointF p) {
      return ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) * (orient > 0 ? 1 : -1);
    };
    PointsF out;
    for (std::size_t i = 0; i < piece.size(); ++i) {
      const PointF p = piece[i], q = piece[(i + 1) % piece.size()];
      const double sp = side(p), sq = side(q);
      if (sp >= 0) out.push_back(p);
      if ((sp >= 0) != (sq >= 0)) {
        const double f = sp / (sp - sq);
        out.push_back({p.x + f * (q.x - p.x), p.y + f * (q.y - p.y)});
      }
    }
    piece = std::move(out);
  }
  return piece;
}

// Segments joined end to end into lines, so that dashes and joins run on.
std::vector<PointsF> JoinSegments(const std::vector<std::pair<PointF, PointF>>& segs) {
  using Key = std::pair<long long, long long>;
  auto key = [](PointF p) { return Key{std::llround(p.x * 1e7), std::llround(p.y * 1e7)}; };
  std::multimap<Key, std::size_t> ends;
  for (std::size_t i = 0; i < segs.size(); ++i) {
    ends.emplace(key(segs[i].first), i);
    ends.emplace(key(segs[i].second), i);
  }
  std::vector<bool> used(segs.size(), false);
  auto take = [&](PointF at) -> std::optional<PointF> {
    auto range = ends.equal_range(key(at));
    for (auto it = range.first; it != range.second; ++it) {
      if (used[it->second]) continue;
      used[it->second] = true;
      const auto& s = segs[it->second];
      return key(s.first) == key(at) ? s.second : s.first;
    }
    return std::nullopt;
  };
  std::vector<PointsF> lines;
  for (std::size_t i = 0; i < segs.size(); ++i) {
    if (used[i]) continue;
    used[i] = true;
    PointsF line{segs[i].first, segs[i].second};
    while (auto next = take(line.back())) line.push_back(*next);
    while (auto prev = take(line.front())) line.insert(line.begin(), *prev);
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string FormatLevel(double v) { return fmt::format("{:g}", std::abs(v) < 1e-12 ? 0.0 : v); }

// Fits a shape into a box: scale and offset from shape units to millimetres.
struct Fit {
  double scale = 1, dx = 0, dy = 0;
  PointF operator()(PointF p) const { return {dx + scale * p.x, dy + scale * p.y}; }
};

struct Bounds {
  double x0 = std::numeric_limits<double>::infinity(), y0 = x0, x1 = -x0, y1 = -x0;
  void Add(PointF p) { x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y); }
  bool Empty() const { return !(x1 > x0) || !(y1 > y0); }
};

Bounds ShapeBounds(const PanelShape& s) {
  Bounds b;
  for (const PointF& p : s.frame.empty() ? s.outline : s.frame) b.Add(p);
  return b;
}

Fit FitInto(const PanelShape& s, const FigureBox& box) {
  const Bounds b = ShapeBounds(s);
  if (b.Empty()) return {};
  Fit f;
  f.scale = std::min(box.w / (b.x1 - b.x0), box.h / (b.y1 - b.y0));
  f.dx = box.x + (box.w - f.scale * (b.x1 - b.x0)) / 2 - f.scale * b.x0;
  f.dy = box.y + (box.h - f.scale * (b.y1 - b.y0)) / 2 - f.scale * b.y0;
  return f;
}

PanelShape ShapeOf(const FigurePanel& p, const FigureOptions& o) {
  return p.pole ? PoleShape(*p.pole, o.equalArea) : GridShapeOf(p.grid, o.equalArea);
}

// Height over width of a panel's drawing area.
double Aspect(const FigurePanel& p, const FigureOptions& o) {
  if (p.pole) return 1;
  const Bounds b = ShapeBounds(GridShapeOf(p.grid, o.equalArea));
  return b.Empty() ? 1 : std::clamp((b.y1 - b.y0) / (b.x1 - b.x0), 0.2, 5.0);
}

double FontMm(const FigureOptions& o) { return std::max(1.0, o.fontPt) / kPtPerMm; }

// The scale of one colour bar: levels and the range they sit in.
struct Scale {
  std::vector<double> levels;
  double lo = 0, hi = 1;
  // Where v sits between 0 (the lowest level) and 1 (the highest), level k
  // of n at (k - 1) / (n - 1), for the smooth colour.
  double Position(double v) const {
    const std::size_t n = levels.size();
    if (n == 0) return 0;
    if (n == 1 || v >= levels.back()) return 1;
    if (v <= levels.front()) return 0;
    std::size_t k = 0;
    while (k + 2 < n && v >= levels[k + 1]) ++k;
    return (static_cast<double>(k) + (v - levels[k]) / (levels[k + 1] - levels[k])) / static_cast<double>(n - 1);
  }
};

// Band k (at or above level k, from 0) in the filled style.
Color BandColor(const ColorMap& m, std::size_t k, std::size_t n) {
  return MapColor(m, n <= 1 ? 1 : static_cast<double>(k) / static_cast<double>(n - 1));
}

Scale MakeScale(const FigureOptions& o, double lo, double hi) {
  Scale s;
  s.lo = lo;
  s.hi = hi;
  s.levels = FigureLevels(o, lo, hi);
  return s;
}

class FigurePainter {
 public:
  FigurePainter(Canvas& c, const FigureOptions& o, double u, double dpi) : c_(c), o_(o), u_(u), dpi_(dpi) {
    map_ = o.colorMap.stops.empty() ? *NamedColorMap("viridis") : o.colorMap;
    font_ = FontMm(o);
  }

  PointF Mm(PointF p) const { return {p.x * u_, p.y * u_}; }
  PointsF Mm(const PointsF& ps, const Fit& f) const {
    PointsF out;
    out.reserve(ps.size());
    for (const PointF& p : ps) out.push_back(Mm(f(p)));
    return out;
  }

  void Text(PointF mm, const std::string& text, double sizeMm, TextAlign a, Color color = kBlack) {
    c_.SetPenColor(color);
    c_.TextF(Mm(mm), text, sizeMm * u_, a);
  }

  void Background(double w, double h) {
    c_.SetPenStyle(PenStyle::Clear);
    c_.SetBrushStyle(BrushStyle::Solid);
    c_.SetBrushColor(kWhite);
    c_.PolygonF({Mm({0, 0}), Mm({w, 0}), Mm({w, h}), Mm({0, h})});
  }

  void Panel(const FigurePanel& panel, const PanelShape& s, const FigureBox& box, const Scale& scale) {
    const Fit f = FitInto(s, box);
    if (!s.frame.empty()) Stroke(Mm(s.frame, f), kFrameGrey, 0.15, true);
    c_.ClipF({Mm(s.clip, f)});
    // The region first in the colour of "below the lowest level", holes of no value in grey.
    Area({Mm(s.clip, f)}, kWhite);
    std::vector<PointsF> pieces;
    auto add = [&](PointsF piece) {
      piece = CutTo(s.clip, std::move(piece));
      if (piece.size() >= 3) pieces.push_back(Mm(piece, f));
    };
    for (const MeshTri& t : s.tris)
      if (t.Missing()) add(PointsF{t.p[0], t.p[1], t.p[2]});
    Area(pieces, kMissingGrey);
    if (o_.style == FigureStyle::Filled) {
      for (std::size_t k = 0; k < scale.levels.size(); ++k) {
        pieces.clear();
        for (const MeshTri& t : s.tris) {
          if (t.Missing()) continue;
          PointsF area = AreaAbove(t, scale.levels[k]);
          if (area.size() >= 3) add(std::move(area));
        }
        Area(pieces, BandColor(map_, k, scale.levels.size()));
      }
    } else if (o_.style == FigureStyle::Smooth) {
      Smooth(s, f, box, scale);
    }
    const bool coloured = o_.style == FigureStyle::Lines;
    for (std::size_t k = 0; k < scale.levels.size(); ++k) {
      std::vector<std::pair<PointF, PointF>> segs;
      for (const MeshTri& t : s.tris)
        if (!t.Missing())
          if (auto seg = LevelSegment(t, scale.levels[k])) {
            const PointsF cut = CutTo(s.clip, {seg->first, seg->second});
            if (cut.size() >= 2) segs.emplace_back(cut.front(), cut.size() == 2 ? cut[1] : cut[cut.size() / 2]);
          }
      const Color col = coloured ? BandColor(map_, k, scale.levels.size()) : kBlack;
      const auto lines = JoinSegments(segs);
      for (const PointsF& line : lines) Stroke(Mm(line, f), col, coloured ? 0.3 : 0.12, false);
      if (o_.lineLabels) LineLabels(lines, f, scale.levels[k]);
    }
    c_.ClipF({});
    Stroke(Mm(s.outline, f), kBlack, 0.25, true);
    for (const auto& [a, b] : s.ticks) Stroke({Mm(f(a)), Mm(f(b))}, kBlack, 0.25, false);
    for (const Label& l : s.labels) {
      const PointF at = f(l.at);
      const double gap = 0.5 * font_;
      const PointF pos{at.x + l.dir.x * (gap + 0.3 * font_), at.y + l.dir.y * gap + (l.dir.y > 0.3 ? font_ : 0) +
                                                                 (std::abs(l.dir.y) <= 0.3 ? 0.35 * font_ : 0)};
      const TextAlign a = l.dir.x > 0.3 ? TextAlign::Left : l.dir.x < -0.3 ? TextAlign::Right : TextAlign::Centre;
      Text(pos, l.text, font_, a);
    }
    if (o_.markExtremes && std::isfinite(s.hi) && std::isfinite(s.lo)) {
      Marker(f(s.hiAt), true);
      Marker(f(s.loAt), false);
      Text({box.x + box.w / 2, box.y + box.h + 1.5 * font_}, "max " + fmt::format("{:.2f}", s.hi), 0.85 * font_,
           TextAlign::Centre);
      Text({box.x + box.w / 2, box.y + box.h + 2.5 * font_}, "min " + fmt::format("{:.2f}", s.lo), 0.85 * font_,
           TextAlign::Centre);
    }
    if (!panel.title.empty())
      Text({box.x + box.w / 2, box.y - 2.1 * font_}, panel.title, 1.1 * font_, TextAlign::Centre);
  }

  void Bar(const FigureBox& box, const Scale& scale, bool anyMissing) {
    const std::size_t n = scale.levels.size();
    const double x = box.x, w = std::min(box.w * 0.35, 4.0);
    const double top = box.y + 2.2 * font_, bottom = box.y + box.h - 3.2 * font_;
    if (bottom <= top) return;
    Text({x, box.y + 0.8 * font_}, "m.r.d.", font_, TextAlign::Left);
    const double lo = std::min(scale.lo, n ? scale.levels.front() : scale.lo);
    const double hi = std::max(scale.hi, n ? scale.levels.back() : scale.hi);
    const bool log = o_.logLevels && lo > 0;
    auto yOf = [&](double v) {
      const double t = hi > lo ? (log ? std::log(v / lo) / std::log(hi / lo) : (v - lo) / (hi - lo)) : 0;
      return bottom - t * (bottom - top);
    };
    // Below the lowest level, then each band up to the next level or the maximum.
    std::vector<double> edges{lo};
    for (double l : scale.levels) edges.push_back(l);
    edges.push_back(hi);
    for (std::size_t b = 0; b + 1 < edges.size(); ++b) {
      const double y0 = yOf(edges[b]), y1 = yOf(edges[b + 1]);
      if (!(y0 > y1)) continue;
      if (o_.style == FigureStyle::Smooth && b > 0) {
        const int slices = 16;
        for (int k = 0; k < slices; ++k) {
          const double v = edges[b] + (edges[b + 1] - edges[b]) * (k + 0.5) / slices;
          const double ya = y0 + (y1 - y0) * k / slices, yb = y0 + (y1 - y0) * (k + 1) / slices;
          Fill({Mm({x, ya}), Mm({x + w, ya}), Mm({x + w, yb}), Mm({x, yb})}, MapColor(map_, scale.Position(v)));
        }
      } else {
        Fill({Mm({x, y0}), Mm({x + w, y0}), Mm({x + w, y1}), Mm({x, y1})}, b == 0 ? kWhite : BandColor(map_, b - 1, n));
      }
    }
    Stroke({Mm({x, yOf(lo)}), Mm({x + w, yOf(lo)}), Mm({x + w, yOf(hi)}), Mm({x, yOf(hi)})}, kBlack, 0.2, true);
    // Ticks at the levels, the extremes at the ends.
    for (double l : scale.levels) {
      const double y = yOf(l);
      Stroke({Mm({x + w, y}), Mm({x + w + 1, y})}, kBlack, 0.2, false);
      Text({x + w + 1.5, y + 0.35 * font_}, FormatLevel(l), 0.9 * font_, TextAlign::Left);
    }
    Text({x + w + 1.5, yOf(hi) - 0.25 * font_}, fmt::format("{:.2f}", scale.hi), 0.8 * font_, TextAlign::Left);
    Text({x + w + 1.5, yOf(lo) + 1.0 * font_}, fmt::format("{:.2f}", scale.lo), 0.8 * font_, TextAlign::Left);
    if (anyMissing) {
      const double y = bottom + 2.0 * font_;
      Fill({Mm({x, y - w * 0.6}), Mm({x + w, y - w * 0.6}), Mm({x + w, y}), Mm({x, y})}, kMissingGrey);
      Text({x + w + 1.5, y}, "no data", 0.8 * font_, TextAlign::Left);
    }
  }

 private:
  void Area(std::vector<PointsF> pieces, Color col) {
    if (pieces.empty()) return;
    // All turning one way, so that the shared edges cancel and leave no seam.
    for (PointsF& piece : pieces) {
      double twice = 0;
      for (std::size_t a = 0, b = piece.size() - 1; a < piece.size(); b = a++)
        twice += (piece[b].x - piece[a].x) * (piece[b].y + piece[a].y);
      if (twice < 0) std::reverse(piece.begin(), piece.end());
    }
    c_.SetBrushStyle(BrushStyle::Solid);
    c_.SetBrushColor(col);
    c_.AreaF(pieces);
  }

  void Fill(const PointsF& poly, Color col) {
    // Outlined in its own colour, so that neighbouring pieces leave no seam.
    c_.SetPenStyle(PenStyle::Solid);
    c_.SetPenColor(col);
    c_.SetLineWidthF(0.1 * u_ / kPtPerMm * 2);
    c_.SetBrushStyle(BrushStyle::Solid);
    c_.SetBrushColor(col);
    c_.PolygonF(poly);
  }

  void Stroke(PointsF line, Color col, double widthMm, bool closed) {
    if (closed && !line.empty()) line.push_back(line.front());
    c_.SetPenStyle(PenStyle::Solid);
    c_.SetPenColor(col);
    c_.SetLineWidthF(widthMm * u_);
    c_.PolylineF(line);
  }

  void Marker(PointF at, bool high) {
    const double r = 0.45 * font_;
    if (high) {
      Stroke({Mm({at.x - r, at.y}), Mm({at.x + r, at.y})}, kBlack, 0.25, false);
      Stroke({Mm({at.x, at.y - r}), Mm({at.x, at.y + r})}, kBlack, 0.25, false);
    } else {
      c_.SetPenStyle(PenStyle::Solid);
      c_.SetPenColor(kBlack);
      c_.SetLineWidthF(0.25 * u_);
      c_.SetBrushStyle(BrushStyle::Clear);
      c_.CircleF(Mm(at), r * 0.7 * u_);
    }
  }

  void LineLabels(const std::vector<PointsF>& lines, const Fit& f, double level) {
    for (const PointsF& line : lines) {
      if (line.size() < 8) continue;
      const PointF mid = f(line[line.size() / 2]);
      Text({mid.x, mid.y + 0.3 * font_}, FormatLevel(level), 0.7 * font_, TextAlign::Centre);
    }
  }

  // Each pixel of the box coloured by the value interpolated in the triangle it lies in.
  void Smooth(const PanelShape& s, const Fit& f, const FigureBox& box, const Scale& scale) {
    const double pxPerMm = dpi_ / 25.4;
    const int w = std::clamp(static_cast<int>(std::ceil(box.w * pxPerMm)), 1, 4000);
    const int h = std::clamp(static_cast<int>(std::ceil(box.h * pxPerMm)), 1, 4000);
    CanvasImage img{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0)};
    const double sx = w / box.w, sy = h / box.h;
    for (const MeshTri& t : s.tris) {
      if (t.Missing()) continue;
      const bool whole = AllInside(s.clip, {t.p[0], t.p[1], t.p[2]});
      PointF q[3];
      for (int k = 0; k < 3; ++k) {
        const PointF m = f(t.p[k]);
        q[k] = {(m.x - box.x) * sx, (m.y - box.y) * sy};
      }
      const double det = (q[1].y - q[2].y) * (q[0].x - q[2].x) + (q[2].x - q[1].x) * (q[0].y - q[2].y);
      if (std::abs(det) < 1e-12) continue;
      const int x0 = std::max(0, static_cast<int>(std::floor(std::min({q[0].x, q[1].x, q[2].x}))));
      const int x1 = std::min(w - 1, static_cast<int>(std::ceil(std::max({q[0].x, q[1].x, q[2].x}))));
      const int y0 = std::max(0, static_cast<int>(std::floor(std::min({q[0].y, q[1].y, q[2].y}))));
      const int y1 = std::min(h - 1, static_cast<int>(std::ceil(std::max({q[0].y, q[1].y, q[2].y}))));
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
          const double px = x + 0.5, py = y + 0.5;
          const double a = ((q[1].y - q[2].y) * (px - q[2].x) + (q[2].x - q[1].x) * (py - q[2].y)) / det;
          const double b = ((q[2].y - q[0].y) * (px - q[2].x) + (q[0].x - q[2].x) * (py - q[2].y)) / det;
          const double c = 1 - a - b;
          const double eps = -1e-9;
          if (a < eps || b < eps || c < eps) continue;
          if (!whole && !Inside(s.clip, {(box.x + px / sx - f.dx) / f.scale, (box.y + py / sy - f.dy) / f.scale}))
            continue;
          const double v = a * t.v[0] + b * t.v[1] + c * t.v[2];
          const bool below = scale.levels.empty() ? false : v < scale.levels.front();
          const Color col = below ? kWhite : MapColor(map_, scale.Position(v));
          img.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] =
              col | 0xFF000000u;
        }
    }
    c_.ImageF(box.x * u_, box.y * u_, box.w * u_, box.h * u_, img);
  }

  Canvas& c_;
  const FigureOptions& o_;
  double u_, dpi_;
  ColorMap map_;
  double font_ = 3;
};

double NiceStep(double raw) {
  if (!(raw > 0) || !std::isfinite(raw)) return 1;
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (raw <= m * p * (1 + 1e-9)) return m * p;
  return 10 * p;
}

}  // namespace

std::optional<ColorMap> NamedColorMap(const std::string& name) {
  if (name == "viridis")
    return ColorMap{name, {0x540144, 0x7B2D47, 0x8B523B, 0x8E722C, 0x8C9121, 0x80AE28, 0x62C95E, 0x30DCAD, 0x25E7FD}};
  if (name == "white-red") return ColorMap{name, {0xD9E5FE, 0x91AEFC, 0x4A6AFB, 0x262DDE, 0x150FA5}};
  if (name == "grey") return ColorMap{name, {0xD9D9D9, 0x252525}};
  return std::nullopt;
}

std::vector<std::string> ColorMapNames() { return {"viridis", "white-red", "grey"}; }

ColorMap ColorMapFromSet(const std::vector<Color>& colors) {
  return ColorMap{"set", colors.empty() ? std::vector<Color>{kBlack} : colors};
}

Color MapColor(const ColorMap& map, double t) {
  if (map.stops.empty()) return kBlack;
  if (map.stops.size() == 1 || !(t > 0)) return map.stops.front();
  if (t >= 1) return map.stops.back();
  const double at = t * static_cast<double>(map.stops.size() - 1);
  const auto k = static_cast<std::size_t>(at);
  const double f = at - static_cast<double>(k);
  const Color a = map.stops[k], b = map.stops[std::min(k + 1, map.stops.size() - 1)];
  Color out = 0;
  for (int shift : {0, 8, 16}) {
    const double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    out |= static_cast<Color>(std::lround(ca + f * (cb - ca))) << shift;
  }
  return out;
}

std::string HklTitle(const PoleFigure& pf) {
  const std::string hkl(Trim(pf.Hkl.empty() ? pf.NameInFile : pf.Hkl));
  if (hkl.empty()) return FileNamePart(pf.FileName);
  std::string digits;
  bool plain = true;
  for (char c : hkl) {
    if (c == ' ' || c == '\t') continue;
    if (c == '-' || (c >= '0' && c <= '9'))
      digits += c;
    else
      plain = false;
  }
  const auto words = SplitWhitespace(hkl);
  if (plain && words.size() >= 3 && words.size() <= 4) {
    for (const auto& w : words)
      if (w.size() > (w[0] == '-' ? 2u : 1u)) plain = false;
    if (plain) return "{" + digits + "}";
  }
  return "{" + hkl + "}";
}

std::vector<double> OneScaleLevels(const std::vector<const PoleFigure*>& records) {
  double lo = std::numeric_limits<double>::infinity(), hi = -lo;
  for (const PoleFigure* pf : records) {
    if (!pf || pf->CircleCount < 1 || !(pf->NormFactor > 0) || !std::isfinite(pf->NormFactor)) continue;
    lo = std::min(lo, pf->MinValue / pf->NormFactor);
    hi = std::max(hi, pf->MaxValue / pf->NormFactor);
  }
  return FigureLevels(FigureOptions{}, lo, hi);
}

std::vector<double> FigureLevels(const FigureOptions& o, double lo, double hi) {
  std::vector<double> out;
  if (!o.levels.empty()) {
    out = o.levels;
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
  }
  if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo)) return out;
  if (o.logLevels) {
    // Doubling from the power of two above the minimum (at least a 64th of the maximum).
    const double floorValue = std::max(lo, hi / 64);
    if (!(floorValue > 0)) return out;
    // Counted in whole powers: a product of doublings is exact, but the analyzer wants an integer counter.
    for (int e = static_cast<int>(std::ceil(std::log2(floorValue))); std::ldexp(1.0, e) <= hi * (1 + 1e-12); ++e)
      out.push_back(std::ldexp(1.0, e));
    return out;
  }
  const double step = NiceStep((hi - lo) / 8);
  // Whole steps: a running sum of steps drifts.
  for (long k = std::lround(std::floor(lo / step + 1));
       static_cast<double>(k) * step <= hi * (1 + 1e-12) && out.size() < 50; ++k)
    out.push_back(static_cast<double>(k) * step);
  return out;
}

FigureLayout LayOutFigure(const std::vector<FigurePanel>& panels, const FigureOptions& o) {
  FigureLayout l;
  const int n = static_cast<int>(panels.size());
  l.width = std::clamp(o.widthMm, 20.0, 2000.0);
  if (n == 0) return l;
  int cols = o.columns, rows = o.rows;
  if (cols <= 0 && rows <= 0) cols = n <= 4 ? n : static_cast<int>(std::ceil(std::sqrt(n)));
  if (cols <= 0) cols = (n + rows - 1) / rows;
  if (rows <= 0 || rows * cols < n) rows = (n + cols - 1) / cols;
  l.rows = rows;
  l.columns = cols;
  const double font = FontMm(o);
  const double barWidth = std::max(10.0, 4 * font + 6);
  const double titleBand = o.title.empty() ? 0 : 2.2 * font;
  // Room for the labels outside the shapes: RD on the right and TD above a
  // pole figure; corner indices and axis angles around the other panels.
  const bool allPoles = std::all_of(panels.begin(), panels.end(), [](const FigurePanel& p) { return p.pole; });
  const double left = allPoles ? 0.6 * font : 3.6 * font, right = (allPoles ? 2.4 : 3.2) * font;
  const double top = 3.4 * font, below = (o.markExtremes ? 3.3 : 0.8) * font;
  const double cellWidth = (l.width - (o.sharedScale ? barWidth : 0)) / cols;
  const double side = std::max(5.0, cellWidth - left - right - (o.sharedScale ? 0 : barWidth));
  double aspect = 0;
  for (const FigurePanel& p : panels) aspect = std::max(aspect, Aspect(p, o));
  const double boxH = side * aspect, cellH = top + boxH + below;
  l.panels.reserve(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    const int r = k / cols, c = k % cols;
    FigureBox b{c * cellWidth + left, titleBand + r * cellH + top, side, boxH};
    l.panels.push_back(b);
    if (!o.sharedScale) l.bars.push_back({b.x + side + right, b.y - 2 * font, barWidth, boxH + 3 * font});
  }
  l.height = titleBand + rows * cellH;
  if (o.sharedScale)
    l.bars.push_back({cols * cellWidth + 1, titleBand + top, barWidth - 1, std::min(l.height - titleBand - top, 80.0)});
  return l;
}

void DrawFigure(Canvas& canvas, const std::vector<FigurePanel>& panels, const FigureOptions& o, double unitsPerMm,
                double imageDpi) {
  const FigureLayout l = LayOutFigure(panels, o);
  FigurePainter painter(canvas, o, unitsPerMm, imageDpi);
  painter.Background(l.width, l.height);
  if (!o.title.empty()) painter.Text({l.width / 2, 1.5 * FontMm(o)}, o.title, 1.3 * FontMm(o), TextAlign::Centre);
  std::vector<PanelShape> shapes;
  shapes.reserve(panels.size());
  for (const FigurePanel& p : panels) shapes.push_back(ShapeOf(p, o));
  double lo = std::numeric_limits<double>::infinity(), hi = -lo;
  bool missing = false;
  for (const PanelShape& s : shapes) {
    if (std::isfinite(s.lo)) lo = std::min(lo, s.lo);
    if (std::isfinite(s.hi)) hi = std::max(hi, s.hi);
    missing = missing || s.anyMissing;
  }
  const Scale shared = MakeScale(o, lo, hi);
  for (std::size_t k = 0; k < panels.size(); ++k) {
    const Scale scale = o.sharedScale ? shared : MakeScale(o, shapes[k].lo, shapes[k].hi);
    painter.Panel(panels[k], shapes[k], l.panels[k], scale);
    if (!o.sharedScale) painter.Bar(l.bars[k], scale, shapes[k].anyMissing);
  }
  if (o.sharedScale && !l.bars.empty()) painter.Bar(l.bars.front(), shared, missing);
}

}  // namespace quorix
