// Raster and vector canvases on Qt.
#include "qtcanvas/qt_canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quorix {

namespace {

constexpr double kScreenDpi = 96.0;

__extension__ typedef __int128 Wide;

QColor ToQColor(Color c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QRgb ToRgb(Color c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

Color FromRgb(QRgb p) {
  return static_cast<Color>(qRed(p)) | (static_cast<Color>(qGreen(p)) << 8) | (static_cast<Color>(qBlue(p)) << 16);
}

QPolygonF ToQPolygon(const PointsF& points) {
  QPolygonF poly;
  poly.reserve(static_cast<qsizetype>(points.size()));
  for (const PointF& pt : points) poly << QPointF(pt.x, pt.y);
  return poly;
}

QPainterPath RegionPath(const std::vector<PointsF>& region) {
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  for (const auto& poly : region) path.addPolygon(ToQPolygon(poly));
  path.closeSubpath();
  return path;
}

QImage ToQImage(const CanvasImage& image) {
  QImage out(image.width, image.height, QImage::Format_ARGB32);
  for (int y = 0; y < image.height; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t v = image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                                           static_cast<std::size_t>(x)];
      line[x] = qRgba(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF),
                      static_cast<int>(v >> 24));
    }
  }
  return out;
}

QPen FinePen(Color c, double width, PenStyle style, PenMode mode) {
  if (mode == PenMode::Invert || style == PenStyle::Clear) return QPen(Qt::NoPen);
  QPen pen(QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)));
  pen.setWidthF(width);
  pen.setStyle(style == PenStyle::Dash      ? Qt::DashLine
               : style == PenStyle::Dot     ? Qt::DotLine
               : style == PenStyle::DashDot ? Qt::DashDotLine
                                            : Qt::SolidLine);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// Text of any fractional size: a font of 100 pixels, scaled, so that no
// device's idea of a point gets in the way.
void DrawTextF(QPainter& p, PointF at, const std::string& text, double size, TextAlign align, Color c) {
  if (text.empty() || !(size > 0)) return;
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(100);
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const double width = QFontMetricsF(font).horizontalAdvance(s);
  const double shift = align == TextAlign::Left ? 0 : align == TextAlign::Centre ? -width / 2 : -width;
  p.save();
  p.translate(at.x, at.y);
  p.scale(size / 100, size / 100);
  p.setFont(font);
  p.setPen(QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)));
  p.drawText(QPointF(shift, 0), s);
  p.restore();
}

int PixelSizeFor(int pointSize) { return std::max(1, static_cast<int>(std::lround(pointSize * kScreenDpi / 72.0))); }

QFont MakeFont(int pointSize) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(PixelSizeFor(pointSize));
  return f;
}

// Dash patterns of one-pixel GDI pens, in pixels on / off.
bool StyleOn(PenStyle s, long step) {
  switch (s) {
    case PenStyle::Dash: return step % 24 < 18;
    case PenStyle::Dot: return step % 6 < 3;
    case PenStyle::DashDot: {
      long k = step % 24;
      return k < 9 || (k >= 15 && k < 18);
    }
    case PenStyle::Clear: return false;
    case PenStyle::Solid: break;
  }
  return true;
}

Qt::PenStyle QtStyle(PenStyle s) {
  switch (s) {
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::Clear: return Qt::NoPen;
    case PenStyle::Solid: break;
  }
  return Qt::SolidLine;
}

// Angle of (x, y) about (cx, cy) in screen orientation (y down, angles
// counter-clockwise as seen), radians in [0, 2 pi).
double ScreenAngle(double x, double y, double cx, double cy) {
  double a = std::atan2(cy - y, x - cx);
  return a < 0 ? a + 2 * kPi : a;
}

void Normalise(int& a, int& b) {
  if (b < a) std::swap(a, b);
}

}  // namespace

// ---------------------------------------------------------------- raster

QtRasterCanvas::QtRasterCanvas(int width, int height)
    : image_(std::max(1, width), std::max(1, height), QImage::Format_RGB32), font_(MakeFont(8)) {
  image_.fill(Qt::white);
}

QtRasterCanvas::QtRasterCanvas(const QImage& image)
    : image_(image.isNull() ? QImage(1, 1, QImage::Format_RGB32) : image.convertToFormat(QImage::Format_RGB32)),
      font_(MakeFont(8)) {
  if (image.isNull()) image_.fill(Qt::white);
}

void QtRasterCanvas::SetPenWidth(int w) { penWidth_ = std::clamp(w, 1, 1000); }

void QtRasterCanvas::SetFont(const std::string&, int size) {
  // Whatever face is asked for, the desktop sans-serif stands in for it.
  fontSize_ = size;
  font_ = MakeFont(size);
  font_.setStyleStrategy(QFont::NoAntialias);
}

void QtRasterCanvas::Plot(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
  if (penMode_ == PenMode::Invert)
    line[x] = (~line[x] & 0x00FFFFFFu) | 0xFF000000u;
  else
    line[x] = ToRgb(c);
}

void QtRasterCanvas::DrawThinLine(int x0, int y0, int x1, int y1) {
  const long long dx = static_cast<long long>(x1) - x0;
  const long long dy = static_cast<long long>(y1) - y0;
  const long long adx = std::llabs(dx), ady = std::llabs(dy);
  const long long n = std::max(adx, ady);
  if (n == 0) return;
  const bool xMajor = adx >= ady;
  const long long major0 = xMajor ? x0 : y0;
  const long long minor0 = xMajor ? y0 : x0;
  const long long sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const long long dMinor = xMajor ? dy : dx;
  const long long extent = xMajor ? image_.width() : image_.height();
  // Only the steps whose major coordinate lies on the image are walked, so
  // the cost is bounded by the image size whatever the coordinates.
  long long kFrom = 0, kTo = n - 1;
  if (sMajor > 0) {
    kFrom = std::max(kFrom, -major0);
    kTo = std::min(kTo, extent - 1 - major0);
  } else {
    kFrom = std::max(kFrom, major0 - (extent - 1));
    kTo = std::min(kTo, major0);
  }
  const long base = styleStep_;
  for (long long k = kFrom; k <= kTo; ++k) {
    // Nearest pixel to the ideal line, halves rounded away from the start.
    // Coordinates may span the whole int range, so the product needs 128 bits.
    long long off =
        static_cast<long long>((2 * static_cast<Wide>(k) * std::llabs(dMinor) + n) / (2 * static_cast<Wide>(n)));
    long long minor = minor0 + (dMinor < 0 ? -off : off);
    long long major = major0 + sMajor * k;
    if (!StyleOn(penStyle_, base + static_cast<long>(k))) continue;
    if (xMajor) {
      if (minor >= 0 && minor < image_.height()) Plot(static_cast<int>(major), static_cast<int>(minor), penColor_);
    } else {
      if (minor >= 0 && minor < image_.width()) Plot(static_cast<int>(minor), static_cast<int>(major), penColor_);
    }
  }
  styleStep_ = static_cast<long>((base + n) % 24);  // 24: a whole number of every pattern
}

void QtRasterCanvas::SetupPainter(QPainter& p, bool withBrush) const {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  if (penMode_ == PenMode::Invert) p.setCompositionMode(QPainter::RasterOp_NotDestination);
  QPen pen(ToQColor(penColor_));
  pen.setWidth(penWidth_);
  pen.setStyle(QtStyle(penStyle_));
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  p.setPen(pen);
  if (withBrush && brushStyle_ == BrushStyle::Solid)
    p.setBrush(ToQColor(brushColor_));
  else
    p.setBrush(Qt::NoBrush);
}

void QtRasterCanvas::WideLine(int x0, int y0, int x1, int y1) {
  QPainter p(&image_);
  SetupPainter(p, false);
  p.drawLine(QPointF(x0 + 0.5, y0 + 0.5), QPointF(x1 + 0.5, y1 + 0.5));
}

void QtRasterCanvas::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
  styleStep_ = 0;
}

void QtRasterCanvas::LineTo(int x, int y) {
  if (PenVisible()) {
    if (ThinPen())
      DrawThinLine(penX_, penY_, x, y);
    else
      WideLine(penX_, penY_, x, y);
  }
  penX_ = x;
  penY_ = y;
}

void QtRasterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Normalise(x1, x2);
  Normalise(y1, y2);
  const int w = image_.width(), h = image_.height();
  const bool pen = PenVisible();
  // A visible pen frames [x1, x2) x [y1, y2); without one the filled area is
  // a pixel smaller on the right and bottom, as in GDI.
  const int inset = pen && ThinPen() ? 1 : 0;
  if (brushStyle_ == BrushStyle::Solid) {
    const int shrink = pen ? inset : 1;  // on the right and bottom
    const int fx1 = std::max(x1 + inset, 0), fx2 = std::min(x2 - shrink, w);
    const int fy1 = std::max(y1 + inset, 0), fy2 = std::min(y2 - shrink, h);
    const QRgb fill = ToRgb(brushColor_);
    for (int y = fy1; y < fy2; ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
      for (int x = fx1; x < fx2; ++x) {
        if (penMode_ == PenMode::Invert)
          line[x] = (~line[x] & 0x00FFFFFFu) | 0xFF000000u;
        else
          line[x] = fill;
      }
    }
  }
  if (!pen || x2 <= x1 || y2 <= y1) return;
  if (!ThinPen()) {
    QPainter p(&image_);
    SetupPainter(p, false);
    p.drawRect(QRectF(x1 + 0.5, y1 + 0.5, static_cast<double>(x2) - x1 - 1, static_cast<double>(y2) - y1 - 1));
    return;
  }
  styleStep_ = 0;
  const int right = x2 - 1, bottom = y2 - 1;
  for (int x = std::max(x1, 0); x <= std::min(right, w - 1); ++x) {
    Plot(x, y1, penColor_);
    if (bottom != y1) Plot(x, bottom, penColor_);
  }
  for (int y = std::max(y1 + 1, 0); y <= std::min(bottom - 1, h - 1); ++y) {
    Plot(x1, y, penColor_);
    if (right != x1) Plot(right, y, penColor_);
  }
}

void QtRasterCanvas::EllipseRows(int x1, int y1, int x2, int y2, bool outline, bool fill, double fromAngle,
                                 double spanAngle) {
  const double cx = (static_cast<double>(x1) + x2) / 2, cy = (static_cast<double>(y1) + y2) / 2;
  const double a = (static_cast<double>(x2) - x1) / 2, b = (static_cast<double>(y2) - y1) / 2;
  // Leftmost and rightmost pixel whose centre lies inside on row y.
  auto extent = [&](long long y, long long& l, long long& r) {
    double dy = (static_cast<double>(y) + 0.5 - cy) / b;
    double t = std::max(0.0, 1 - dy * dy);
    double hw = a * std::sqrt(t);
    l = static_cast<long long>(std::ceil(cx - hw - 0.5));
    r = static_cast<long long>(std::floor(cx + hw - 0.5));
    if (l > r) {
      l = static_cast<long long>(std::floor(cx - 0.5));
      r = static_cast<long long>(std::ceil(cx - 0.5));
    }
  };
  const bool partial = spanAngle < 2 * kPi;
  auto plotOutline = [&](long long x, long long y) {
    if (x < 0 || x >= image_.width()) return;
    if (partial) {
      double d = ScreenAngle(static_cast<double>(x) + 0.5, static_cast<double>(y) + 0.5, cx, cy) - fromAngle;
      while (d < 0) d += 2 * kPi;
      if (d > spanAngle) return;
    }
    Plot(static_cast<int>(x), static_cast<int>(y), penColor_);
  };
  const QRgb fillRgb = ToRgb(brushColor_);
  const long long rowFrom = std::max<long long>(y1, 0);
  const long long rowTo = std::min<long long>(static_cast<long long>(y2) - 1, image_.height() - 1);
  for (long long y = rowFrom; y <= rowTo; ++y) {
    long long l, r;
    extent(y, l, r);
    long long leftEnd = r, rightStart = l;  // whole row is outline by default
    long long ny = (static_cast<double>(y) + 0.5 <= cy) ? y - 1 : y + 1;
    if (ny >= y1 && ny <= static_cast<long long>(y2) - 1) {
      long long nl, nr;
      extent(ny, nl, nr);
      leftEnd = std::max(l, nl - 1);
      rightStart = std::min(r, nr + 1);
      if (leftEnd + 1 >= rightStart) {
        leftEnd = r;
        rightStart = l;
      }
    }
    if (fill) {
      long long f1 = outline ? leftEnd + 1 : l;
      long long f2 = outline ? rightStart - 1 : r;
      f1 = std::max<long long>(f1, 0);
      f2 = std::min<long long>(f2, image_.width() - 1);
      QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(static_cast<int>(y)));
      for (long long x = f1; x <= f2; ++x) {
        if (penMode_ == PenMode::Invert)
          line[x] = (~line[x] & 0x00FFFFFFu) | 0xFF000000u;
        else
          line[x] = fillRgb;
      }
    }
    if (outline) {
      long long lTo = std::min<long long>(leftEnd, image_.width() - 1);
      for (long long x = std::max<long long>(l, 0); x <= lTo; ++x) plotOutline(x, y);
      if (rightStart > leftEnd) {
        for (long long x = std::max<long long>(rightStart, 0); x <= std::min<long long>(r, image_.width() - 1); ++x)
          plotOutline(x, y);
      }
    }
  }
}

void QtRasterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Normalise(x1, x2);
  Normalise(y1, y2);
  // In 64 bits: the width of a box from -2e9 to 2e9 is no int.
  if (static_cast<long long>(x2) - x1 < 1 || static_cast<long long>(y2) - y1 < 1) return;
  const bool fill = brushStyle_ == BrushStyle::Solid;
  if (PenVisible() && !ThinPen()) {
    EllipseRows(x1, y1, x2, y2, false, fill, 0, 2 * kPi);
    QPainter p(&image_);
    SetupPainter(p, false);
    p.drawEllipse(QRectF(x1 + 0.5, y1 + 0.5, static_cast<double>(x2) - x1 - 1, static_cast<double>(y2) - y1 - 1));
    return;
  }
  EllipseRows(x1, y1, x2, y2, PenVisible(), fill, 0, 2 * kPi);
}

void QtRasterCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Normalise(x1, x2);
  Normalise(y1, y2);
  if (static_cast<long long>(x2) - x1 < 1 || static_cast<long long>(y2) - y1 < 1 || !PenVisible()) return;
  const double cx = (static_cast<double>(x1) + x2) / 2, cy = (static_cast<double>(y1) + y2) / 2;
  const double from = ScreenAngle(x3 + 0.5, y3 + 0.5, cx, cy);
  const double to = ScreenAngle(x4 + 0.5, y4 + 0.5, cx, cy);
  double span = to - from;
  if (span <= 0) span += 2 * kPi;  // equal radials draw the whole ellipse
  if (!ThinPen()) {
    QPainter p(&image_);
    SetupPainter(p, false);
    p.drawArc(QRectF(x1 + 0.5, y1 + 0.5, static_cast<double>(x2) - x1 - 1, static_cast<double>(y2) - y1 - 1),
              static_cast<int>(std::lround(from * 180 / kPi * 16)),
              static_cast<int>(std::lround(span * 180 / kPi * 16)));
    return;
  }
  EllipseRows(x1, y1, x2, y2, true, false, from, span >= 2 * kPi ? 2 * kPi : span);
}

void QtRasterCanvas::TextOut(int x, int y, const std::string& text) {
  if (text.empty()) return;
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QPainter p(&image_);
  p.setRenderHint(QPainter::TextAntialiasing, smooth_);
  QFont font = font_;
  if (smooth_) font.setStyleStrategy(QFont::PreferAntialias);
  p.setFont(font);
  QFontMetrics m(font, &image_);
  if (brushStyle_ == BrushStyle::Solid)
    p.fillRect(QRect(x, y, m.horizontalAdvance(s), m.height()), ToQColor(brushColor_));
  p.setPen(Qt::black);
  p.drawText(QPoint(x, y + m.ascent()), s);
}

void QtRasterCanvas::ContourLine(const std::vector<PathStep>& path) {
  Canvas::ContourLine(path);
  if (smooth_) smoothPaths_.emplace_back(penColor_, path);
}

void QtRasterCanvas::EndPlot() {
  if (smoothPaths_.empty()) return;
  QPainter p(&image_);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::NoBrush);
  // Pixel centres, where the exact line puts its pixels.
  auto at = [](quorix::Pixel q) { return QPointF(q.x + 0.5, q.y + 0.5); };
  for (const auto& [color, path] : smoothPaths_) {
    p.setPen(QPen(ToQColor(color), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath line;
    for (const PathStep& step : path) {
      switch (step.kind) {
        case PathStepKind::Start: line.moveTo(at(step.p)); break;
        case PathStepKind::Line: line.lineTo(at(step.p)); break;
        case PathStepKind::RimJump:
          line.lineTo(at(step.p));
          line.moveTo(at(step.q));
          break;
      }
    }
    p.drawPath(line);
  }
  smoothPaths_.clear();
}

void QtRasterCanvas::Polygon(const std::vector<quorix::Pixel>& points) {
  if (points.empty()) return;
  if (brushStyle_ == BrushStyle::Solid && points.size() >= 3) {
    QPolygonF poly;
    for (const auto& pt : points) poly << QPointF(pt.x + 0.5, pt.y + 0.5);
    QPainter p(&image_);
    SetupPainter(p, true);
    p.setPen(Qt::NoPen);
    p.drawPolygon(poly, Qt::OddEvenFill);
  }
  if (!PenVisible()) return;
  MoveTo(points.front().x, points.front().y);
  for (std::size_t i = 1; i < points.size(); ++i) LineTo(points[i].x, points[i].y);
  LineTo(points.front().x, points.front().y);
}

Color QtRasterCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return 0xFFFFFFFFu;
  return FromRgb(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

void QtRasterCanvas::FloodFill(int x, int y, Color border) {
  const int w = image_.width(), h = image_.height();
  if (brushStyle_ != BrushStyle::Solid || x < 0 || y < 0 || x >= w || y >= h) return;
  const QRgb stop = ToRgb(border & 0xFFFFFF);
  auto at = [&](int px, int py) -> QRgb& { return reinterpret_cast<QRgb*>(image_.scanLine(py))[px]; };
  auto open = [&](int px, int py) { return (at(px, py) & 0x00FFFFFFu) != (stop & 0x00FFFFFFu); };
  if (!open(x, y)) return;
  const QRgb fill = ToRgb(brushColor_);
  // The fill colour may equal what is being filled over, so visits are
  // recorded apart from the image.
  std::vector<std::uint8_t> seen(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
  auto fresh = [&](int px, int py) {
    return !seen[static_cast<std::size_t>(py) * static_cast<std::size_t>(w) + static_cast<std::size_t>(px)] &&
           open(px, py);
  };
  std::vector<std::pair<int, int>> stack;
  stack.emplace_back(x, y);
  while (!stack.empty()) {
    auto [sx, sy] = stack.back();
    stack.pop_back();
    if (!fresh(sx, sy)) continue;
    int left = sx, right = sx;
    while (left > 0 && fresh(left - 1, sy)) --left;
    while (right < w - 1 && fresh(right + 1, sy)) ++right;
    for (int px = left; px <= right; ++px) {
      seen[static_cast<std::size_t>(sy) * static_cast<std::size_t>(w) + static_cast<std::size_t>(px)] = 1;
      at(px, sy) = fill;
    }
    // One seed per run of open pixels in the rows above and below.
    for (int ny : {sy - 1, sy + 1}) {
      if (ny < 0 || ny >= h) continue;
      bool inRun = false;
      for (int px = left; px <= right; ++px) {
        bool f = fresh(px, ny);
        if (f && !inRun) stack.emplace_back(px, ny);
        inRun = f;
      }
    }
  }
}

void QtRasterCanvas::BeginFine(QPainter& p) const {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  if (clipped_) p.setClipPath(clip_);
}

void QtRasterCanvas::PolylineF(const PointsF& points) {
  if (points.size() < 2) return;
  QPainter p(&image_);
  BeginFine(p);
  p.setPen(FinePen(penColor_, lineWidthF_, penStyle_, penMode_));
  p.drawPolyline(ToQPolygon(points));
}

void QtRasterCanvas::PolygonF(const PointsF& points) {
  if (points.size() < 3) return;
  QPainter p(&image_);
  BeginFine(p);
  p.setPen(FinePen(penColor_, lineWidthF_, penStyle_, penMode_));
  p.setBrush(brushStyle_ == BrushStyle::Solid ? QBrush(ToQColor(brushColor_)) : QBrush(Qt::NoBrush));
  p.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

void QtRasterCanvas::AreaF(const std::vector<PointsF>& pieces) {
  if (pieces.empty() || brushStyle_ != BrushStyle::Solid) return;
  QPainter p(&image_);
  BeginFine(p);
  p.fillPath(RegionPath(pieces), ToQColor(brushColor_));
}

void QtRasterCanvas::CircleF(PointF c, double r) {
  QPainter p(&image_);
  BeginFine(p);
  p.setPen(FinePen(penColor_, lineWidthF_, penStyle_, penMode_));
  p.setBrush(brushStyle_ == BrushStyle::Solid ? QBrush(ToQColor(brushColor_)) : QBrush(Qt::NoBrush));
  p.drawEllipse(QPointF(c.x, c.y), r, r);
}

void QtRasterCanvas::TextF(PointF at, const std::string& text, double size, TextAlign align) {
  QPainter p(&image_);
  BeginFine(p);
  DrawTextF(p, at, text, size, align, penColor_);
}

void QtRasterCanvas::ClipF(const std::vector<PointsF>& region) {
  clipped_ = !region.empty();
  clip_ = clipped_ ? RegionPath(region) : QPainterPath();
}

void QtRasterCanvas::ImageF(double x, double y, double w, double h, const CanvasImage& image) {
  if (image.width <= 0 || image.height <= 0) return;
  QPainter p(&image_);
  BeginFine(p);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(QRectF(x, y, w, h), ToQImage(image));
}

// ---------------------------------------------------------------- vector

QtVectorCanvas::QtVectorCanvas(QPaintDevice& device, double scale) : font_(MakeFont(8)) {
  if (!painter_.begin(&device)) return;
  painter_.scale(scale, scale);
  painter_.setRenderHint(QPainter::Antialiasing, true);
}

QtVectorCanvas::~QtVectorCanvas() { Finish(); }

void QtVectorCanvas::Finish() {
  if (!painter_.isActive()) return;
  Flush();
  painter_.end();
}

void QtVectorCanvas::SetPenColor(Color c) {
  if ((c & 0xFFFFFF) != penColor_) Flush();
  penColor_ = c & 0xFFFFFF;
}
void QtVectorCanvas::SetPenMode(PenMode m) {
  if (m != penMode_) Flush();
  penMode_ = m;
}
void QtVectorCanvas::SetPenStyle(PenStyle s) {
  if (s != penStyle_) Flush();
  penStyle_ = s;
}
void QtVectorCanvas::SetPenWidth(int w) {
  w = std::clamp(w, 1, 1000);
  if (w != penWidth_) Flush();
  penWidth_ = w;
}
void QtVectorCanvas::SetBrushColor(Color c) { brushColor_ = c & 0xFFFFFF; }
void QtVectorCanvas::SetBrushStyle(BrushStyle s) { brushStyle_ = s; }
void QtVectorCanvas::SetFont(const std::string&, int size) {
  fontSize_ = size;
  font_ = MakeFont(size);
}

QPen QtVectorCanvas::CurrentPen() const {
  // An inverting pen has no meaning in a file; it only ever marks transient
  // things on screen, so it draws nothing here.
  if (penMode_ == PenMode::Invert) return QPen(Qt::NoPen);
  QPen pen(ToQColor(penColor_));
  pen.setWidthF(penWidth_);
  pen.setStyle(QtStyle(penStyle_));
  pen.setCapStyle(penWidth_ <= 1 ? Qt::SquareCap : Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

QBrush QtVectorCanvas::CurrentBrush() const {
  if (brushStyle_ != BrushStyle::Solid) return QBrush(Qt::NoBrush);
  return QBrush(ToQColor(brushColor_));
}

void QtVectorCanvas::Flush() {
  if (pending_.size() >= 2 && painter_.isActive()) {
    painter_.setPen(CurrentPen());
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPolyline(pending_);
  }
  pending_.clear();
}

void QtVectorCanvas::MoveTo(int x, int y) {
  Flush();
  penPos_ = QPointF(x + 0.5, y + 0.5);
}

void QtVectorCanvas::LineTo(int x, int y) {
  if (pending_.isEmpty()) pending_ << penPos_;
  penPos_ = QPointF(x + 0.5, y + 0.5);
  pending_ << penPos_;
}

void QtVectorCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Flush();
  if (!painter_.isActive()) return;
  Normalise(x1, x2);
  Normalise(y1, y2);
  painter_.setPen(penStyle_ == PenStyle::Clear ? QPen(Qt::NoPen) : CurrentPen());
  painter_.setBrush(CurrentBrush());
  painter_.drawRect(QRectF(x1 + 0.5, y1 + 0.5, static_cast<double>(x2) - x1 - 1, static_cast<double>(y2) - y1 - 1));
}

void QtVectorCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Flush();
  if (!painter_.isActive()) return;
  Normalise(x1, x2);
  Normalise(y1, y2);
  painter_.setPen(CurrentPen());
  painter_.setBrush(CurrentBrush());
  painter_.drawEllipse(QRectF(x1 + 0.5, y1 + 0.5, static_cast<double>(x2) - x1 - 1, static_cast<double>(y2) - y1 - 1));
}

void QtVectorCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Flush();
  if (!painter_.isActive()) return;
  Normalise(x1, x2);
  Normalise(y1, y2);
  const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
  const double from = ScreenAngle(x3 + 0.5, y3 + 0.5, cx, cy);
  double span = ScreenAngle(x4 + 0.5, y4 + 0.5, cx, cy) - from;
  if (span <= 0) span += 2 * kPi;
  QPainterPath path;
  QRectF box(x1 + 0.5, y1 + 0.5, static_cast<double>(x2) - x1 - 1, static_cast<double>(y2) - y1 - 1);
  path.arcMoveTo(box, from * 180 / kPi);
  path.arcTo(box, from * 180 / kPi, span * 180 / kPi);
  painter_.setPen(CurrentPen());
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPath(path);
}

void QtVectorCanvas::TextOut(int x, int y, const std::string& text) {
  Flush();
  if (!painter_.isActive() || text.empty()) return;
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  painter_.setFont(font_);
  QFontMetricsF m(font_);
  if (brushStyle_ == BrushStyle::Solid)
    painter_.fillRect(QRectF(x, y, m.horizontalAdvance(s), m.height()), ToQColor(brushColor_));
  painter_.setPen(Qt::black);
  painter_.drawText(QPointF(x, y + m.ascent()), s);
}

void QtVectorCanvas::Polygon(const std::vector<quorix::Pixel>& points) {
  Flush();
  if (!painter_.isActive() || points.empty()) return;
  QPolygonF poly;
  for (const auto& pt : points) poly << QPointF(pt.x + 0.5, pt.y + 0.5);
  painter_.setPen(CurrentPen());
  painter_.setBrush(CurrentBrush());
  painter_.drawPolygon(poly, Qt::OddEvenFill);
}

void QtVectorCanvas::PolylineF(const PointsF& points) {
  Flush();
  if (!painter_.isActive() || points.size() < 2) return;
  painter_.setPen(FinePen(penColor_, lineWidthF_, penStyle_, penMode_));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPolyline(ToQPolygon(points));
}

void QtVectorCanvas::PolygonF(const PointsF& points) {
  Flush();
  if (!painter_.isActive() || points.size() < 3) return;
  painter_.setPen(FinePen(penColor_, lineWidthF_, penStyle_, penMode_));
  painter_.setBrush(CurrentBrush());
  painter_.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

void QtVectorCanvas::AreaF(const std::vector<PointsF>& pieces) {
  Flush();
  if (!painter_.isActive() || pieces.empty() || brushStyle_ != BrushStyle::Solid) return;
  painter_.fillPath(RegionPath(pieces), ToQColor(brushColor_));
}

void QtVectorCanvas::CircleF(PointF c, double r) {
  Flush();
  if (!painter_.isActive()) return;
  painter_.setPen(FinePen(penColor_, lineWidthF_, penStyle_, penMode_));
  painter_.setBrush(CurrentBrush());
  painter_.drawEllipse(QPointF(c.x, c.y), r, r);
}

void QtVectorCanvas::TextF(PointF at, const std::string& text, double size, TextAlign align) {
  Flush();
  if (!painter_.isActive()) return;
  DrawTextF(painter_, at, text, size, align, penColor_);
}

void QtVectorCanvas::ClipF(const std::vector<PointsF>& region) {
  Flush();
  if (!painter_.isActive()) return;
  if (region.empty())
    painter_.setClipping(false);
  else
    painter_.setClipPath(RegionPath(region));
}

void QtVectorCanvas::ImageF(double x, double y, double w, double h, const CanvasImage& image) {
  Flush();
  if (!painter_.isActive() || image.width <= 0 || image.height <= 0) return;
  painter_.save();
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.drawImage(QRectF(x, y, w, h), ToQImage(image));
  painter_.restore();
}

}  // namespace quorix
