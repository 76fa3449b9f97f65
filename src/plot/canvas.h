// The drawing surface the plot routines draw on. The raster image, the
// vector exports and the recording canvas of the tests implement it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plot/plot_elements.h"
#include "plot/projection.h"
#include "record/program_state.h"

namespace quorix {

enum class PenMode { Copy, Invert };
enum class PenStyle { Solid, Dash, Dot, DashDot, Clear };
enum class BrushStyle { Solid, Clear };

// A position in the canvas's units with a fraction: figures sized in
// millimetres place their parts finer than a whole pixel.
struct PointF {
  double x = 0;
  double y = 0;
};
using PointsF = std::vector<PointF>;
enum class TextAlign { Left, Centre, Right };
inline constexpr const char* kFigureFontName = "DejaVu Sans";

// Pixels row after row, each a Color with its opacity in the top byte
// (0 transparent, 255 opaque).
struct CanvasImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SetPenColor(Color c) = 0;
  virtual void SetPenMode(PenMode m) = 0;
  virtual void SetPenStyle(PenStyle s) = 0;
  virtual void SetPenWidth(int w) = 0;
  virtual void SetBrushColor(Color c) = 0;
  virtual void SetBrushStyle(BrushStyle s) = 0;
  virtual void SetFont(const std::string& name, int size) = 0;
  virtual int FontSize() const = 0;

  // Bounding boxes follow the usual raster convention: right and bottom
  // edges exclusive.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  // Counter-clockwise from the ray through (x3, y3) to the ray through (x4, y4).
  virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;  // end pixel not drawn
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  // Filled in the brush, outlined in the pen. Surfaces that cannot draw
  // polygons ignore it.
  virtual void Polygon(const std::vector<quorix::Pixel>& /*points*/) {}

  // Raster surfaces only; vector surfaces answer false / do nothing.
  virtual bool HasPixels() const = 0;
  virtual Color Pixel(int x, int y) const = 0;
  virtual void FloodFill(int x, int y, Color border) = 0;

  // The parts of a pole figure plot, in the order PlotPoleFigure draws them.
  // Pixel and vector surfaces draw each with the primitives above (these
  // defaults); a plotter file writes them as its own commands.
  virtual void BeginPlot(int /*plotSize*/) {}
  // Pixel surfaces may smooth lines and text once the plot is complete
  // (EndPlot), after the fills that rely on the exact outlines.
  virtual void SetSmoothLines(bool /*smooth*/) {}
  virtual void EndPlot() {}
  virtual void Labels(const PlotLabels& l, int s, int lh, const std::string& title, bool showMrd);
  // Whether filled areas mean anything on this surface.
  virtual bool FillsAreas() const { return true; }
  virtual void BeginLevel(int /*level*/, Color color) { SetPenColor(color); }
  virtual void ContourLine(const std::vector<PathStep>& path);
  // The grid points below the lowest level, one by one after BeginLowPoints.
  virtual void BeginLowPoints() { SetPenMode(PenMode::Copy); }
  virtual void LowPoint(quorix::Pixel at, bool negative);
  virtual void EigenMarks(const std::vector<quorix::Pixel>& at);
  // The rim, or a sector of it when betaRange is below 360.
  virtual void Outline(int r0, double betaRange);
  virtual void Ticks(const RimTicks& ticks);

  // Fine drawing for figures, in the same units as above. The defaults round
  // to the whole-pixel calls, clip nothing and leave images out, which is
  // all a plotter can do.
  virtual void SetLineWidthF(double w);
  virtual void PolylineF(const PointsF& points);
  // Filled in the brush, outlined in the pen unless its style is Clear.
  virtual void PolygonF(const PointsF& points);
  // Pieces that touch but do not overlap, filled in the brush as one area so
  // that no seam shows between them; not outlined.
  virtual void AreaF(const std::vector<PointsF>& pieces);
  virtual void CircleF(PointF centre, double radius);
  // `at` is the start, centre or end of the baseline; size is the em height.
  virtual void TextF(PointF at, const std::string& text, double size, TextAlign align);
  // Later drawing stays inside the union of the polygons; none: no clip.
  virtual void ClipF(const std::vector<PointsF>& /*region*/) {}
  // Stretched over the rectangle, without smoothing between its pixels.
  virtual void ImageF(double /*x*/, double /*y*/, double /*w*/, double /*h*/, const CanvasImage& /*image*/) {}
};

}  // namespace quorix
