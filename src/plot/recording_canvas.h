// A canvas that keeps a list of what was drawn instead of drawing it: the
// tests read the layout from it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "plot/canvas.h"

namespace quorix {

enum class CanvasOpKind {
  Font,
  Rectangle,
  Ellipse,
  Arc,
  MoveTo,
  LineTo,
  Text,
  FloodFill,
  Polygon,
  PolylineF,
  PolygonF,
  AreaF,
  CircleF,
  TextF,
  ClipF,
  ImageF
};

struct CanvasOp {
  CanvasOpKind kind = CanvasOpKind::MoveTo;
  // Rectangle, Ellipse: x1 y1 x2 y2; Arc: all eight; MoveTo, LineTo, Text,
  // FloodFill: x1 y1 (FloodFill border colour in `color`); Font: size in x1.
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
  std::string text;                   // Text, Font name
  std::vector<quorix::Pixel> points;  // Polygon
  // The fine calls: points of PolylineF and PolygonF; CircleF centre and
  // radius, TextF baseline point and size, ImageF rectangle in fx fy fw fh.
  PointsF fine;
  std::vector<PointsF> areas;  // ClipF, AreaF
  double fx = 0, fy = 0, fw = 0, fh = 0;
  TextAlign align = TextAlign::Left;
  CanvasImage image;
  double lineWidth = 1;
  Color color = 0;
  // Drawing state when the operation was made.
  Color pen = 0;
  PenMode penMode = PenMode::Copy;
  PenStyle penStyle = PenStyle::Solid;
  int penWidth = 1;
  Color brush = 0xFFFFFF;
  BrushStyle brushStyle = BrushStyle::Solid;
};

class RecordingCanvas : public Canvas {
 public:
  void SetPenColor(Color c) override { pen_ = c; }
  void SetPenMode(PenMode m) override { penMode_ = m; }
  void SetPenStyle(PenStyle s) override { penStyle_ = s; }
  void SetPenWidth(int w) override { penWidth_ = w; }
  void SetBrushColor(Color c) override { brush_ = c; }
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
  void SetLineWidthF(double w) override { lineWidth_ = w; }
  void PolylineF(const PointsF& points) override;
  void PolygonF(const PointsF& points) override;
  void AreaF(const std::vector<PointsF>& pieces) override;
  void CircleF(PointF centre, double radius) override;
  void TextF(PointF at, const std::string& text, double size, TextAlign align) override;
  void ClipF(const std::vector<PointsF>& region) override;
  void ImageF(double x, double y, double w, double h, const CanvasImage& image) override;

  // No pixels unless a pixel source is given (tests of the fill).
  bool HasPixels() const override { return static_cast<bool>(pixelSource); }
  Color Pixel(int x, int y) const override { return pixelSource ? pixelSource(x, y) : 0xFFFFFF; }
  void FloodFill(int x, int y, Color border) override;

  std::function<Color(int, int)> pixelSource;
  std::vector<CanvasOp> ops;
  std::string fontName;

 private:
  CanvasOp Make(CanvasOpKind kind) const;

  Color pen_ = 0;
  PenMode penMode_ = PenMode::Copy;
  PenStyle penStyle_ = PenStyle::Solid;
  int penWidth_ = 1;
  Color brush_ = 0xFFFFFF;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  int fontSize_ = 8;
  double lineWidth_ = 1;
};

}  // namespace quorix
