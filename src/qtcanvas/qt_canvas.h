// Canvas backends on Qt: a pixel-exact raster image and a painter for vector
// files (SVG, PDF).
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "plot/canvas.h"

namespace quorix {

// Draws the way a Windows GDI device context does, so that the flood fill,
// which relies on closed outlines in exact colours, behaves as on screen:
// no antialiasing, right and bottom edges of rectangles and ellipses
// excluded, the end pixel of LineTo excluded. One-pixel pens are rasterised
// here; wider pens and text go through QPainter.
class QtRasterCanvas : public Canvas {
 public:
  QtRasterCanvas(int width, int height);         // filled white
  explicit QtRasterCanvas(const QImage& image);  // draws over a copy of image

  const QImage& Image() const { return image_; }

  void SetPenColor(Color c) override { penColor_ = c & 0xFFFFFF; }
  void SetPenMode(PenMode m) override { penMode_ = m; }
  void SetPenStyle(PenStyle s) override { penStyle_ = s; }
  void SetPenWidth(int w) override;
  void SetBrushColor(Color c) override { brushColor_ = c & 0xFFFFFF; }
  void SetBrushStyle(BrushStyle s) override { brushStyle_ = s; }
  void SetFont(const std::string& name, int size) override;
  int FontSize() const override { return fontSize_; }

  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void TextOut(int x, int y, const std::string& text) override;
  void Polygon(const std::vector<quorix::Pixel>& points) override;
  void SetLineWidthF(double w) override { lineWidthF_ = w; }
  void PolylineF(const PointsF& points) override;
  void PolygonF(const PointsF& points) override;
  void AreaF(const std::vector<PointsF>& pieces) override;
  void CircleF(PointF centre, double radius) override;
  void TextF(PointF at, const std::string& text, double size, TextAlign align) override;
  void ClipF(const std::vector<PointsF>& region) override;
  void ImageF(double x, double y, double w, double h, const CanvasImage& image) override;

  bool HasPixels() const override { return true; }
  Color Pixel(int x, int y) const override;  // 0xFFFFFFFF outside the image
  void FloodFill(int x, int y, Color border) override;

  // Smoothing keeps the exact lines the fills need and draws each contour
  // line once more, antialiased, over the finished plot.
  void SetSmoothLines(bool smooth) override { smooth_ = smooth; }
  void ContourLine(const std::vector<PathStep>& path) override;
  void EndPlot() override;

 private:
  void Plot(int x, int y, Color c);
  void DrawThinLine(int x0, int y0, int x1, int y1);
  void WideLine(int x0, int y0, int x1, int y1);
  bool ThinPen() const { return penWidth_ <= 1; }
  bool PenVisible() const { return penStyle_ != PenStyle::Clear; }
  void SetupPainter(QPainter& p, bool withBrush) const;
  // The rows of an ellipse inscribed in [x1, x2) x [y1, y2): outline spans
  // on the left and right and the interior between them.
  void EllipseRows(int x1, int y1, int x2, int y2, bool outline, bool fill, double fromAngle, double spanAngle);
  // Antialiased and inside the clip, for the fine calls.
  void BeginFine(QPainter& p) const;

  QImage image_;
  Color penColor_ = 0;
  PenMode penMode_ = PenMode::Copy;
  PenStyle penStyle_ = PenStyle::Solid;
  int penWidth_ = 1;
  Color brushColor_ = 0xFFFFFF;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  QFont font_;
  int fontSize_ = 8;
  int penX_ = 0;
  int penY_ = 0;
  long styleStep_ = 0;  // position in the dash pattern, kept along a path
  bool smooth_ = false;
  std::vector<std::pair<Color, std::vector<PathStep>>> smoothPaths_;
  double lineWidthF_ = 1;
  QPainterPath clip_;
  bool clipped_ = false;
};

// Draws on any QPaintDevice (QSvgGenerator, QPdfWriter) in pixel units of a
// 96 dpi screen. Consecutive LineTo calls are gathered into one polyline.
// The painter must be ended with Finish() before the device is used.
class QtVectorCanvas : public Canvas {
 public:
  // `scale` converts pixels to the device's own units.
  explicit QtVectorCanvas(QPaintDevice& device, double scale = 1.0);
  ~QtVectorCanvas() override;

  bool IsActive() const { return painter_.isActive(); }
  void Finish();

  void SetPenColor(Color c) override;
  void SetPenMode(PenMode m) override;
  void SetPenStyle(PenStyle s) override;
  void SetPenWidth(int w) override;
  void SetBrushColor(Color c) override;
  void SetBrushStyle(BrushStyle s) override;
  void SetFont(const std::string& name, int size) override;
  int FontSize() const override { return fontSize_; }

  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void TextOut(int x, int y, const std::string& text) override;
  void Polygon(const std::vector<quorix::Pixel>& points) override;
  void SetLineWidthF(double w) override { lineWidthF_ = w; }
  void PolylineF(const PointsF& points) override;
  void PolygonF(const PointsF& points) override;
  void AreaF(const std::vector<PointsF>& pieces) override;
  void CircleF(PointF centre, double radius) override;
  void TextF(PointF at, const std::string& text, double size, TextAlign align) override;
  void ClipF(const std::vector<PointsF>& region) override;
  void ImageF(double x, double y, double w, double h, const CanvasImage& image) override;

  bool HasPixels() const override { return false; }
  Color Pixel(int, int) const override { return 0xFFFFFFFFu; }
  void FloodFill(int, int, Color) override {}

 private:
  void Flush();
  QPen CurrentPen() const;
  QBrush CurrentBrush() const;

  QPainter painter_;
  Color penColor_ = 0;
  PenMode penMode_ = PenMode::Copy;
  PenStyle penStyle_ = PenStyle::Solid;
  int penWidth_ = 1;
  Color brushColor_ = 0xFFFFFF;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  QFont font_;
  int fontSize_ = 8;
  QPointF penPos_;
  QPolygonF pending_;
  double lineWidthF_ = 1;
};

}  // namespace quorix
