// Contour lines traced on the measurement grid: the triangles formed by the
// circle links, linear crossings on their edges, lines followed from triangle
// to triangle, drawn through the display rotation; and the flood fill of the
// areas at or above a level, where the level's lines leave it no gap.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "base/message_sink.h"
#include "plot/canvas.h"
#include "plot/display_rotation.h"
#include "plot/projection.h"
#include "plot/projection_cache.h"
#include "record/pole_figure.h"

namespace quorix {

struct GridPoint {
  int circle = 0;
  int point = 0;
};

// I(i, j) has its apex on circle i - 1 (InnerLink), O(i, j) on circle i + 1
// (OuterLink); both have the base (i, j)-(i, j + 1).
enum class TriangleKind : std::uint8_t { Inner, Outer };

struct TriangleRef {
  int circle = 0;
  int point = 0;
  TriangleKind kind = TriangleKind::Inner;
};

// Circles and points of the record, cut to its tables.
int CircleCountOf(const PoleFigure& pf);
int PointsOn(const PoleFigure& pf, int circle);
int NextPoint(const PoleFigure& pf, int circle, int point);
int PreviousPoint(const PoleFigure& pf, int circle, int point);
double ValueAt(const PoleFigure& pf, GridPoint p);

// Vertices A = (i, j), B = (i, j + 1), C = apex, or nothing when the triangle
// does not exist (link -1 or out of range). Edge 1 is A-B, 2 is A-C, 3 is B-C.
std::optional<std::array<GridPoint, 3>> TriangleVertices(const PoleFigure& pf, TriangleRef t);

// Visited marks of the triangles, one set per level, kept apart from the
// record so that drawing leaves the record untouched; sized to its grid.
class TriangleMarks {
 public:
  explicit TriangleMarks(const PoleFigure& pf);
  bool Visited(TriangleRef t) const { return marks_[Index(t)] != 0; }
  void SetVisited(TriangleRef t, bool v) { marks_[Index(t)] = v ? 1 : 0; }
  void Clear();

 private:
  std::size_t Index(TriangleRef t) const;
  int circles_ = 0;
  int points_ = 0;
  std::vector<std::uint8_t> marks_;
};

struct ContourPoint {
  double alpha = 0;
  double beta = 0;
};
using ContourLine = std::vector<ContourPoint>;

// The threshold of a level in raw intensity; levels of one count or more are
// raised by 0.001 so that values equal to the level count as below it.
double LevelThreshold(double level, bool showMrd, double normFactor);

// Linear in (alpha, beta) along P-Q; the azimuth takes the short way round
// and a centre point (alpha 0) takes the azimuth of the other end.
ContourPoint EdgeCrossing(const PoleFigure& pf, GridPoint p, GridPoint q, double threshold);

// Upper bound on the points of one line; never reached by a grid of the
// layout limits.
inline constexpr std::size_t kMaxContourPoints = 2 * (kMaxCircles + 1) * (kMaxPoints + 1) + 2;

// Follows a line from triangle t across its edge exitEdge (1..3) until it
// meets a visited triangle, the edge of the triangulated area or a point
// without value. Marks every triangle it passes.
ContourLine TraceContour(const PoleFigure& pf, TriangleMarks& marks, TriangleRef t, int exitEdge, double threshold,
                         MessageSink* messages = nullptr);

// The second trace reversed, then the first; a lone first trace is closed
// by repeating its first point.
ContourLine JoinContourHalves(ContourLine first, ContourLine second);

struct FillSeed {
  int circle = 0;
  int point = 0;
};
// Newest last; a seed equal to the newest is not pushed again.
void AddFillSeed(std::vector<FillSeed>& seeds, int circle, int point);

struct LevelContours {
  std::vector<ContourLine> lines;  // in drawing order
  std::vector<FillSeed> seeds;     // newest last
};
// The lines of one record at one level after another. The bounds of the
// values in blocks of triangles, taken once, let each level pass over the
// blocks it cannot cross. The record must outlive the tracer, unchanged.
class ContourTracer {
 public:
  explicit ContourTracer(const PoleFigure& pf);
  // Every line of one level, with the seeds of the areas above it when asked.
  LevelContours Trace(double threshold, bool collectSeeds, MessageSink* messages = nullptr);

 private:
  struct Apex {
    int circle = 0;  // 0: the triangle does not exist
    int point = 0;
  };
  // The apex of triangle (i, j, kind), circle 0 when the links give none on the grid.
  Apex ApexOf(int i, int j, TriangleKind kind) const;
  struct Block {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool special = false;  // a point without value or NaN: always scanned
  };

  const PoleFigure& pf_;
  int n_ = 0;
  std::vector<int> points_;              // per circle
  std::vector<std::size_t> blockStart_;  // per circle, into blocks_
  std::vector<Block> blocks_;
  TriangleMarks marks_;
};

// Every line of one level, with the seeds of the areas above it when asked.
LevelContours TraceLevel(const PoleFigure& pf, double threshold, bool collectSeeds, MessageSink* messages = nullptr);

// The lines that start in triangle t, not yet visited, with vertices v that
// all have a value: each traced both ways from its start and joined, with the
// seed of the area above the first when asked.
void TraceTriangle(const PoleFigure& pf, TriangleMarks& marks, TriangleRef t, const std::array<GridPoint, 3>& v,
                   double threshold, bool collectSeeds, LevelContours& out, MessageSink* messages = nullptr);

// Projection of directions for one plot.
struct PlotGeometry {
  int plotSize = 0;
  bool equalArea = false;
  DisplayRotation rotation;
  // The grid points already projected for these facts, or none.
  const ProjectionCache* cache = nullptr;
  // The tilt the rim stands for: 90, or the outermost measured tilt when zoomed.
  double rimTilt = 90;

  quorix::Pixel Project(double alpha, double beta) const {
    return ProjectPoint(plotSize, ZoomedAlpha(alpha, rimTilt, equalArea), beta, equalArea);
  }
  PlotPosition Position(double alpha, double beta) const {
    return ProjectPosition(plotSize, ZoomedAlpha(alpha, rimTilt, equalArea), beta, equalArea);
  }
  // Where point (circle, point) of pf's grid is drawn through the rotation.
  ProjectionCache::Entry GridPixel(const PoleFigure& pf, int circle, int point) const {
    if (cache) return cache->At(circle, point);
    const MappedDirection m = rotation.Map(pf.Alpha[circle], BetaOf(pf, circle, point));
    if (m.dropped) return ProjectionCache::Entry{{}, true};
    return ProjectionCache::Entry{Project(m.alpha, m.beta), false};
  }
};

// The pen moves of a line (PathStep).
std::vector<PathStep> ContourPath(const PoleFigure& pf, const PlotGeometry& g, const ContourLine& line);

// Draws the line in the current pen colour.
void DrawContour(Canvas& canvas, const std::vector<PathStep>& path);

// A line that came back to its start: its ends are the same direction.
bool LineIsClosed(const ContourLine& line);

// Whether a border fill from the seeds of a level stays inside the areas
// above it: every line is drawn unbroken and is closed or is drawn ending
// on the rim of a full-turn grid, where the outline in the level colour
// closes it. Any other open end is a gap the fill would run through; a closed
// line drawn a sliver or a speck of a few pixels may hold no pixel its seed
// could fill from.
bool FloodFillStaysInside(const PoleFigure& pf, const PlotGeometry& g, const std::vector<ContourLine>& lines);

// Moves a seed whose pixel already has the level colour to a neighbour above
// the level, or at the rim one pixel inward if that pixel lies in the area
// above the level; returns the pixel to fill from.
quorix::Pixel NudgeFillSeed(const PoleFigure& pf, const PlotGeometry& g, const Canvas& canvas, FillSeed& seed,
                            Color levelColor, double threshold, quorix::Pixel at);

// Border-fills from every seed, newest first, up to the level colour.
void FloodFillLevel(const PoleFigure& pf, const PlotGeometry& g, Canvas& canvas, const std::vector<FillSeed>& seeds,
                    Color levelColor, double threshold);

// Colour values below zero (an unset entry of a colour set) draw as black.
Color DrawColor(ColorValue c);

}  // namespace quorix
