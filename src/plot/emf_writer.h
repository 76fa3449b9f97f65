// A canvas that records the drawing as a Windows enhanced metafile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plot/canvas.h"

namespace quorix {

// Records in device pixels of a 96 dpi reference screen, top-left origin, so
// that the metafile replays the screen picture at its size. Pens, brushes and
// fonts become metafile objects only when a drawing call needs a changed one.
class EmfCanvas : public Canvas {
 public:
  EmfCanvas(int width, int height);

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
  void Polyline(const std::vector<quorix::Pixel>& points);
  void Polygon(const std::vector<quorix::Pixel>& points) override;

  // The fine calls record in sixteenths of a pixel under a world transform
  // that scales them back; a picture drawn with them takes none of the
  // whole-pixel calls after the first.
  void SetLineWidthF(double w) override;
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

  // Completes the recording and returns the whole file; later drawing calls
  // are ignored.
  const std::vector<std::uint8_t>& Finish();

 private:
  struct Record;
  void Emit(const Record& r);
  std::uint32_t AllocateHandle();
  void ReleaseHandle(std::uint32_t h);
  void EnsurePen();
  void EnsureBrush();
  void EnsureFont();
  void EnsureTextBackground();
  void PolyRecord(std::uint32_t type, const std::vector<quorix::Pixel>& points);
  void EnterFine();
  void FinePolyRecord(std::uint32_t type, const PointsF& points);

  int width_;
  int height_;
  bool finished_ = false;

  Color penColor_ = 0;
  PenMode penMode_ = PenMode::Copy;
  PenStyle penStyle_ = PenStyle::Solid;
  int penWidth_ = 1;
  Color brushColor_ = 0xFFFFFF;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  std::string fontName_ = "Arial";
  int fontSize_ = 8;

  bool penDirty_ = true;
  bool brushDirty_ = true;
  bool fontDirty_ = true;
  std::uint32_t penHandle_ = 0;
  std::uint32_t brushHandle_ = 0;
  std::uint32_t fontHandle_ = 0;
  PenMode recordedMode_ = PenMode::Copy;
  int recordedBkMode_ = 0;
  Color recordedBkColor_ = 0xFFFFFFFFu;

  bool fine_ = false;
  bool windingFill_ = false;
  double fineWidth_ = 1;
  double fineFontSize_ = 0;
  std::uint32_t recordedAlign_ = 0;
  Color recordedTextColor_ = 0;

  std::vector<bool> handleInUse_;
  std::uint32_t maxHandle_ = 0;
  std::uint32_t recordCount_ = 0;
  std::vector<std::uint8_t> body_;
  std::vector<std::uint8_t> file_;
};

// Record types used above, for readers of the files.
namespace emf {
inline constexpr std::uint32_t kHeader = 1;
inline constexpr std::uint32_t kPolygon = 3;
inline constexpr std::uint32_t kPolyline = 4;
inline constexpr std::uint32_t kPolyPolygon = 8;
inline constexpr std::uint32_t kSetPolyFillMode = 19;
inline constexpr std::uint32_t kSetWorldTransform = 35;
inline constexpr std::uint32_t kBeginPath = 59;
inline constexpr std::uint32_t kEndPath = 60;
inline constexpr std::uint32_t kSelectClipPath = 67;
inline constexpr std::uint32_t kExtSelectClipRgn = 75;
inline constexpr std::uint32_t kStretchDiBits = 81;
inline constexpr std::uint32_t kPolygon16 = 86;
inline constexpr std::uint32_t kPolyline16 = 87;
inline constexpr std::uint32_t kEof = 14;
inline constexpr std::uint32_t kSetBkMode = 18;
inline constexpr std::uint32_t kSetRop2 = 20;
inline constexpr std::uint32_t kSetTextAlign = 22;
inline constexpr std::uint32_t kSetTextColor = 24;
inline constexpr std::uint32_t kSetBkColor = 25;
inline constexpr std::uint32_t kMoveToEx = 27;
inline constexpr std::uint32_t kSelectObject = 37;
inline constexpr std::uint32_t kCreatePen = 38;
inline constexpr std::uint32_t kCreateBrushIndirect = 39;
inline constexpr std::uint32_t kDeleteObject = 40;
inline constexpr std::uint32_t kEllipse = 42;
inline constexpr std::uint32_t kRectangle = 43;
inline constexpr std::uint32_t kArc = 45;
inline constexpr std::uint32_t kLineTo = 54;
inline constexpr std::uint32_t kExtTextOutW = 84;
inline constexpr std::uint32_t kExtCreateFontIndirectW = 82;
inline constexpr std::uint32_t kHeaderSize = 108;
}  // namespace emf

}  // namespace quorix
