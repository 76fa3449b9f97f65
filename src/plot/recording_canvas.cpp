// A canvas that records its drawing operations.
#include "plot/recording_canvas.h"

namespace quorix {

CanvasOp RecordingCanvas::Make(CanvasOpKind kind) const {
  CanvasOp op;
  op.kind = kind;
  op.pen = pen_;
  op.penMode = penMode_;
  op.penStyle = penStyle_;
  op.penWidth = penWidth_;
  op.brush = brush_;
  op.brushStyle = brushStyle_;
  op.lineWidth = lineWidth_;
  return op;
}

void RecordingCanvas::SetFont(const std::string& name, int size) {
  fontName = name;
  fontSize_ = size;
  CanvasOp op = Make(CanvasOpKind::Font);
  op.text = name;
  op.x1 = size;
  ops.push_back(std::move(op));
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  CanvasOp op = Make(CanvasOpKind::Rectangle);
  op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
  ops.push_back(std::move(op));
}

void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  CanvasOp op = Make(CanvasOpKind::Ellipse);
  op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
  ops.push_back(std::move(op));
}

void RecordingCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  CanvasOp op = Make(CanvasOpKind::Arc);
  op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
  op.x3 = x3, op.y3 = y3, op.x4 = x4, op.y4 = y4;
  ops.push_back(std::move(op));
}

void RecordingCanvas::MoveTo(int x, int y) {
  CanvasOp op = Make(CanvasOpKind::MoveTo);
  op.x1 = x, op.y1 = y;
  ops.push_back(std::move(op));
}

void RecordingCanvas::LineTo(int x, int y) {
  CanvasOp op = Make(CanvasOpKind::LineTo);
  op.x1 = x, op.y1 = y;
  ops.push_back(std::move(op));
}

void RecordingCanvas::TextOut(int x, int y, const std::string& text) {
  CanvasOp op = Make(CanvasOpKind::Text);
  op.x1 = x, op.y1 = y;
  op.text = text;
  ops.push_back(std::move(op));
}

void RecordingCanvas::Polygon(const std::vector<quorix::Pixel>& points) {
  CanvasOp op = Make(CanvasOpKind::Polygon);
  op.points = points;
  ops.push_back(std::move(op));
}

void RecordingCanvas::FloodFill(int x, int y, Color border) {
  CanvasOp op = Make(CanvasOpKind::FloodFill);
  op.x1 = x, op.y1 = y;
  op.color = border;
  ops.push_back(std::move(op));
}

void RecordingCanvas::PolylineF(const PointsF& points) {
  CanvasOp op = Make(CanvasOpKind::PolylineF);
  op.fine = points;
  ops.push_back(std::move(op));
}

void RecordingCanvas::PolygonF(const PointsF& points) {
  CanvasOp op = Make(CanvasOpKind::PolygonF);
  op.fine = points;
  ops.push_back(std::move(op));
}

void RecordingCanvas::AreaF(const std::vector<PointsF>& pieces) {
  CanvasOp op = Make(CanvasOpKind::AreaF);
  op.areas = pieces;
  ops.push_back(std::move(op));
}

void RecordingCanvas::CircleF(PointF centre, double radius) {
  CanvasOp op = Make(CanvasOpKind::CircleF);
  op.fx = centre.x, op.fy = centre.y, op.fw = radius;
  ops.push_back(std::move(op));
}

void RecordingCanvas::TextF(PointF at, const std::string& text, double size, TextAlign align) {
  CanvasOp op = Make(CanvasOpKind::TextF);
  op.fx = at.x, op.fy = at.y, op.fh = size;
  op.text = text;
  op.align = align;
  ops.push_back(std::move(op));
}

void RecordingCanvas::ClipF(const std::vector<PointsF>& region) {
  CanvasOp op = Make(CanvasOpKind::ClipF);
  op.areas = region;
  ops.push_back(std::move(op));
}

void RecordingCanvas::ImageF(double x, double y, double w, double h, const CanvasImage& image) {
  CanvasOp op = Make(CanvasOpKind::ImageF);
  op.fx = x, op.fy = y, op.fw = w, op.fh = h;
  op.image = image;
  ops.push_back(std::move(op));
}

}  // namespace quorix
