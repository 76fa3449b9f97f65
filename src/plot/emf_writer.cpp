// Enhanced metafile recording of the canvas calls.
#include "plot/emf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace quorix {

namespace {

// Reference device: a 96 dpi screen of 1920 x 1080 pixels.
constexpr int kDpi = 96;
constexpr int kDeviceWidth = 1920;
constexpr int kDeviceHeight = 1080;
constexpr double kHundredthMmPerPixel = 2540.0 / kDpi;

// Stock objects and GDI constants.
constexpr std::uint32_t kStockNullBrush = 0x80000005u;
constexpr std::uint32_t kStockBlackPen = 0x80000007u;
constexpr std::uint32_t kStockSystemFont = 0x8000000Du;
constexpr std::uint32_t kPsSolid = 0, kPsDash = 1, kPsDot = 2, kPsDashDot = 3, kPsNull = 5;
constexpr std::uint32_t kBsSolid = 0, kBsNull = 1;
constexpr std::uint32_t kTransparent = 1, kOpaque = 2;
constexpr std::uint32_t kR2Not = 6, kR2CopyPen = 13;
constexpr std::uint32_t kGmCompatible = 1;
constexpr std::uint32_t kRgnCopy = 5;
constexpr std::uint32_t kTaBaseline = 24, kTaCenter = 6, kTaRight = 2;
// Fine calls record in this many units per pixel.
constexpr double kFine = 16;

// Advance widths of Helvetica / Arial in thousandths of the em, for the
// characters 32..126; readers that honour the spacing array then place the
// text as a metric-compatible sans-serif font would.
constexpr std::uint16_t kSansWidths[95] = {
    278,  278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,  // ' '../
    556,  556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,  // 0..?
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,  // @..O
    667,  778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,  // P.._
    333,  556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,  // `..o
    556,  556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};      // p..~

std::int32_t Clamp32(long long v) {
  return static_cast<std::int32_t>(
      std::clamp<long long>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int16_t Clamp16(int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }

// UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::u16string Utf16(const std::string& s) {
  std::u16string out;
  std::size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp = 0xFFFD;
    int len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 0x6) {
      len = 2;
    } else if ((c >> 4) == 0xE) {
      len = 3;
    } else if ((c >> 3) == 0x1E) {
      len = 4;
    }
    if (len > 1) {
      if (i + len > s.size()) {
        len = 1;
      } else {
        cp = c & (0x7F >> len);
        for (int k = 1; k < len; ++k) {
          unsigned char cc = static_cast<unsigned char>(s[i + k]);
          if ((cc >> 6) != 0x2) {
            cp = 0xFFFD;
            len = 1;
            break;
          }
          cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
      }
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += static_cast<std::size_t>(len);
  }
  return out;
}

int FontPixelHeight(int pointSize) { return std::max(1, static_cast<int>(std::lround(pointSize * kDpi / 72.0))); }

}  // namespace

// One record under construction: type, then 32-bit little-endian fields.
struct EmfCanvas::Record {
  explicit Record(std::uint32_t type) {
    bytes.reserve(32);  // most records are a few fields; lines are drawn by the thousand
    U32(type).U32(0);
  }
  Record& U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  Record& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
  Record& U16(std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
  }
  Record& U8(std::uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  Record& F32(float f) {
    std::uint32_t v;
    std::memcpy(&v, &f, sizeof v);
    return U32(v);
  }
  Record& Rect(long long l, long long t, long long r, long long b) {
    return I32(Clamp32(l)).I32(Clamp32(t)).I32(Clamp32(r)).I32(Clamp32(b));
  }
  void Pad() {
    while (bytes.size() % 4) bytes.push_back(0);
  }
  std::vector<std::uint8_t> bytes;
};

EmfCanvas::EmfCanvas(int width, int height)
    : width_(std::max(1, width)), height_(std::max(1, height)), handleInUse_(1, true) {
  Emit(Record(emf::kSetTextAlign).U32(0));  // TA_TOP | TA_LEFT | TA_NOUPDATECP
  Emit(Record(emf::kSetTextColor).U32(0));
}

void EmfCanvas::Emit(const Record& r) {
  if (finished_) return;
  const std::size_t start = body_.size();
  body_.insert(body_.end(), r.bytes.begin(), r.bytes.end());
  while ((body_.size() - start) % 4) body_.push_back(0);
  const auto size = static_cast<std::uint32_t>(body_.size() - start);
  for (int i = 0; i < 4; ++i) body_[start + 4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
  ++recordCount_;
}

std::uint32_t EmfCanvas::AllocateHandle() {
  for (std::uint32_t h = 1; h < handleInUse_.size(); ++h) {
    if (!handleInUse_[h]) {
      handleInUse_[h] = true;
      return h;
    }
  }
  handleInUse_.push_back(true);
  std::uint32_t h = static_cast<std::uint32_t>(handleInUse_.size() - 1);
  maxHandle_ = std::max(maxHandle_, h);
  return h;
}

void EmfCanvas::ReleaseHandle(std::uint32_t h) {
  if (h == 0 || h >= handleInUse_.size()) return;
  Emit(Record(emf::kDeleteObject).U32(h));
  handleInUse_[h] = false;
}

void EmfCanvas::SetPenColor(Color c) {
  c &= 0xFFFFFF;
  if (c != penColor_) penDirty_ = true;
  penColor_ = c;
}
void EmfCanvas::SetPenMode(PenMode m) { penMode_ = m; }
void EmfCanvas::SetPenStyle(PenStyle s) {
  if (s != penStyle_) penDirty_ = true;
  penStyle_ = s;
}
void EmfCanvas::SetPenWidth(int w) {
  w = std::clamp(w, 1, 1000);
  if (w != penWidth_) penDirty_ = true;
  penWidth_ = w;
}
void EmfCanvas::SetBrushColor(Color c) {
  c &= 0xFFFFFF;
  if (c != brushColor_) brushDirty_ = true;
  brushColor_ = c;
}
void EmfCanvas::SetBrushStyle(BrushStyle s) {
  if (s != brushStyle_) brushDirty_ = true;
  brushStyle_ = s;
}
void EmfCanvas::SetFont(const std::string& name, int size) {
  if (name != fontName_ || size != fontSize_) fontDirty_ = true;
  fontName_ = name;
  fontSize_ = size;
}

void EmfCanvas::EnsurePen() {
  if (penMode_ != recordedMode_) {
    Emit(Record(emf::kSetRop2).U32(penMode_ == PenMode::Invert ? kR2Not : kR2CopyPen));
    recordedMode_ = penMode_;
  }
  if (!penDirty_) return;
  std::uint32_t style = kPsSolid;
  switch (penStyle_) {
    case PenStyle::Solid: style = kPsSolid; break;
    case PenStyle::Dash: style = kPsDash; break;
    case PenStyle::Dot: style = kPsDot; break;
    case PenStyle::DashDot: style = kPsDashDot; break;
    case PenStyle::Clear: style = kPsNull; break;
  }
  std::uint32_t old = penHandle_;
  penHandle_ = AllocateHandle();
  const int width = fine_ ? std::max(1, static_cast<int>(std::lround(fineWidth_ * kFine))) : penWidth_;
  Emit(Record(emf::kCreatePen).U32(penHandle_).U32(style).I32(width).I32(0).U32(penColor_));
  Emit(Record(emf::kSelectObject).U32(penHandle_));
  ReleaseHandle(old);
  penDirty_ = false;
}

void EmfCanvas::EnsureBrush() {
  if (!brushDirty_) return;
  std::uint32_t old = brushHandle_;
  brushHandle_ = AllocateHandle();
  Emit(Record(emf::kCreateBrushIndirect)
           .U32(brushHandle_)
           .U32(brushStyle_ == BrushStyle::Solid ? kBsSolid : kBsNull)
           .U32(brushColor_)
           .U32(0));
  Emit(Record(emf::kSelectObject).U32(brushHandle_));
  ReleaseHandle(old);
  brushDirty_ = false;
}

void EmfCanvas::EnsureFont() {
  if (!fontDirty_) return;
  // The plain sans-serif faces become Arial, which every reader has or
  // replaces by a metric-compatible face, so that the spacing array below fits.
  const bool plainSans = fontName_.empty() || fontName_ == "MS Sans Serif" || fontName_ == "DejaVu Sans";
  std::string face = plainSans ? "Arial" : fontName_;
  std::u16string wide = Utf16(face);
  wide.resize(std::min<std::size_t>(wide.size(), 31));
  wide.resize(32, u'\0');
  std::uint32_t old = fontHandle_;
  fontHandle_ = AllocateHandle();
  Record r(emf::kExtCreateFontIndirectW);
  r.U32(fontHandle_);
  const int height =
      fine_ ? std::max(1, static_cast<int>(std::lround(fineFontSize_ * kFine))) : FontPixelHeight(fontSize_);
  r.I32(-height).I32(0).I32(0).I32(0).I32(400);  // height, width, esc., orient., weight
  r.U8(0).U8(0).U8(0).U8(1);                     // italic, underline, strike-out, DEFAULT_CHARSET
  r.U8(0).U8(0).U8(0).U8(0);                     // precision, clip precision, quality, pitch and family
  for (char16_t ch : wide) r.U16(static_cast<std::uint16_t>(ch));
  Emit(r);
  Emit(Record(emf::kSelectObject).U32(fontHandle_));
  ReleaseHandle(old);
  fontDirty_ = false;
}

void EmfCanvas::EnsureTextBackground() {
  // As GDI canvases do: a solid brush gives an opaque text background in the
  // brush colour.
  std::uint32_t mode = brushStyle_ == BrushStyle::Solid ? kOpaque : kTransparent;
  if (static_cast<int>(mode) != recordedBkMode_) {
    Emit(Record(emf::kSetBkMode).U32(mode));
    recordedBkMode_ = static_cast<int>(mode);
  }
  if (mode == kOpaque && brushColor_ != recordedBkColor_) {
    Emit(Record(emf::kSetBkColor).U32(brushColor_));
    recordedBkColor_ = brushColor_;
  }
}

void EmfCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  EnsurePen();
  EnsureBrush();
  // Backgrounds drawn far beyond the picture would widen its bounds in some
  // readers; a pixel of margin keeps the visible result.
  auto clampX = [&](int v) { return std::clamp(v, -1, width_ + 1); };
  auto clampY = [&](int v) { return std::clamp(v, -1, height_ + 1); };
  Emit(Record(emf::kRectangle).Rect(clampX(x1), clampY(y1), clampX(x2), clampY(y2)));
}

void EmfCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  EnsurePen();
  EnsureBrush();
  Emit(Record(emf::kEllipse).Rect(x1, y1, x2, y2));
}

void EmfCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  EnsurePen();
  Emit(Record(emf::kArc).Rect(x1, y1, x2, y2).I32(x3).I32(y3).I32(x4).I32(y4));
}

void EmfCanvas::MoveTo(int x, int y) { Emit(Record(emf::kMoveToEx).I32(x).I32(y)); }

void EmfCanvas::LineTo(int x, int y) {
  EnsurePen();
  Emit(Record(emf::kLineTo).I32(x).I32(y));
}

void EmfCanvas::PolyRecord(std::uint32_t type, const std::vector<quorix::Pixel>& points) {
  if (points.empty()) return;
  int l = points[0].x, r = l, t = points[0].y, b = t;
  for (const auto& p : points) {
    l = std::min(l, p.x);
    r = std::max(r, p.x);
    t = std::min(t, p.y);
    b = std::max(b, p.y);
  }
  Record rec(type);
  rec.Rect(l, t, r, b).U32(static_cast<std::uint32_t>(points.size()));
  for (const auto& p : points)
    rec.U16(static_cast<std::uint16_t>(Clamp16(p.x))).U16(static_cast<std::uint16_t>(Clamp16(p.y)));
  Emit(rec);
}

void EmfCanvas::Polyline(const std::vector<quorix::Pixel>& points) {
  EnsurePen();
  PolyRecord(emf::kPolyline16, points);
}

void EmfCanvas::Polygon(const std::vector<quorix::Pixel>& points) {
  EnsurePen();
  EnsureBrush();
  PolyRecord(emf::kPolygon16, points);
}

void EmfCanvas::TextOut(int x, int y, const std::string& text) {
  if (text.empty()) return;
  EnsureFont();
  EnsureTextBackground();
  std::u16string wide = Utf16(text);
  int em = FontPixelHeight(fontSize_);
  std::vector<std::int32_t> dx;
  long long milli = 0;
  long long placed = 0;
  for (char16_t ch : wide) {
    int w = (ch >= 32 && ch <= 126) ? kSansWidths[ch - 32] : ((ch >= 0xDC00 && ch <= 0xDFFF) ? 0 : 556);
    milli += static_cast<long long>(w) * em;
    long long edge = (milli + 500) / 1000;
    dx.push_back(static_cast<std::int32_t>(edge - placed));
    placed = edge;
  }
  const std::uint32_t chars = static_cast<std::uint32_t>(wide.size());
  const std::uint32_t offString = 76;
  const std::uint32_t stringBytes = (chars * 2 + 3) / 4 * 4;
  const std::uint32_t offDx = offString + stringBytes;
  Record r(emf::kExtTextOutW);
  r.Rect(x, y, static_cast<long long>(x) + placed, static_cast<long long>(y) + em * 5 / 4);
  r.U32(kGmCompatible).F32(static_cast<float>(kHundredthMmPerPixel)).F32(static_cast<float>(kHundredthMmPerPixel));
  r.I32(x).I32(y).U32(chars).U32(offString).U32(0);  // reference, count, string offset, options
  r.Rect(0, 0, -1, -1);                              // no clipping rectangle
  r.U32(offDx);
  for (char16_t ch : wide) r.U16(static_cast<std::uint16_t>(ch));
  r.Pad();
  for (std::int32_t d : dx) r.I32(d);
  Emit(r);
}

void EmfCanvas::EnterFine() {
  if (fine_) return;
  const auto unit = static_cast<float>(1 / kFine);
  Emit(Record(emf::kSetWorldTransform).F32(unit).F32(0).F32(0).F32(unit).F32(0).F32(0));
  fine_ = true;
  penDirty_ = true;
  fontDirty_ = true;
}

void EmfCanvas::SetLineWidthF(double w) {
  w = std::clamp(w, 0.0, 1000.0);
  if (w != fineWidth_) penDirty_ = true;
  fineWidth_ = w;
}

void EmfCanvas::FinePolyRecord(std::uint32_t type, const PointsF& points) {
  std::vector<std::pair<std::int32_t, std::int32_t>> at;
  at.reserve(points.size());
  for (const PointF& p : points)
    at.emplace_back(Clamp32(std::llround(p.x * kFine)), Clamp32(std::llround(p.y * kFine)));
  std::int32_t l = at[0].first, r = l, t = at[0].second, b = t;
  for (const auto& [x, y] : at) {
    l = std::min(l, x), r = std::max(r, x);
    t = std::min(t, y), b = std::max(b, y);
  }
  Record rec(type);
  rec.Rect(l, t, r, b).U32(static_cast<std::uint32_t>(at.size()));
  for (const auto& [x, y] : at) rec.I32(x).I32(y);
  Emit(rec);
}

void EmfCanvas::PolylineF(const PointsF& points) {
  if (points.size() < 2) return;
  EnterFine();
  EnsurePen();
  FinePolyRecord(emf::kPolyline, points);
}

void EmfCanvas::PolygonF(const PointsF& points) {
  if (points.size() < 3) return;
  EnterFine();
  EnsurePen();
  EnsureBrush();
  FinePolyRecord(emf::kPolygon, points);
}

void EmfCanvas::AreaF(const std::vector<PointsF>& pieces) {
  std::vector<const PointsF*> kept;
  for (const PointsF& p : pieces)
    if (p.size() >= 3) kept.push_back(&p);
  if (kept.empty()) return;
  EnterFine();
  const PenStyle style = penStyle_;
  SetPenStyle(PenStyle::Clear);
  EnsurePen();
  EnsureBrush();
  if (!windingFill_) {
    // Winding: pieces turning either way all count as inside.
    Emit(Record(emf::kSetPolyFillMode).U32(2));
    windingFill_ = true;
  }
  std::vector<std::pair<std::int32_t, std::int32_t>> at;
  for (const PointsF* p : kept)
    for (const PointF& q : *p) at.emplace_back(Clamp32(std::llround(q.x * kFine)), Clamp32(std::llround(q.y * kFine)));
  std::int32_t l = at[0].first, r = l, t = at[0].second, b = t;
  for (const auto& [x, y] : at) {
    l = std::min(l, x), r = std::max(r, x);
    t = std::min(t, y), b = std::max(b, y);
  }
  Record rec(emf::kPolyPolygon);
  rec.Rect(l, t, r, b).U32(static_cast<std::uint32_t>(kept.size())).U32(static_cast<std::uint32_t>(at.size()));
  for (const PointsF* p : kept) rec.U32(static_cast<std::uint32_t>(p->size()));
  for (const auto& [x, y] : at) rec.I32(x).I32(y);
  Emit(rec);
  SetPenStyle(style);
}

void EmfCanvas::CircleF(PointF c, double radius) {
  EnterFine();
  EnsurePen();
  EnsureBrush();
  Emit(Record(emf::kEllipse)
           .Rect(std::llround((c.x - radius) * kFine), std::llround((c.y - radius) * kFine),
                 std::llround((c.x + radius) * kFine), std::llround((c.y + radius) * kFine)));
}

void EmfCanvas::TextF(PointF at, const std::string& text, double size, TextAlign align) {
  if (text.empty() || !(size > 0)) return;
  EnterFine();
  if (size != fineFontSize_) fontDirty_ = true;
  fineFontSize_ = size;
  EnsureFont();
  if (recordedBkMode_ != static_cast<int>(kTransparent)) {
    Emit(Record(emf::kSetBkMode).U32(kTransparent));
    recordedBkMode_ = static_cast<int>(kTransparent);
  }
  const std::uint32_t flags = kTaBaseline | (align == TextAlign::Centre  ? kTaCenter
                                             : align == TextAlign::Right ? kTaRight
                                                                         : 0);
  if (flags != recordedAlign_) {
    Emit(Record(emf::kSetTextAlign).U32(flags));
    recordedAlign_ = flags;
  }
  if (penColor_ != recordedTextColor_) {
    Emit(Record(emf::kSetTextColor).U32(penColor_));
    recordedTextColor_ = penColor_;
  }
  std::u16string wide = Utf16(text);
  const double em = size * kFine;
  std::vector<std::int32_t> dx;
  double edge = 0;
  long long placed = 0;
  for (char16_t ch : wide) {
    const int w = (ch >= 32 && ch <= 126) ? kSansWidths[ch - 32] : ((ch >= 0xDC00 && ch <= 0xDFFF) ? 0 : 556);
    edge += w * em / 1000;
    dx.push_back(static_cast<std::int32_t>(std::llround(edge) - placed));
    placed = std::llround(edge);
  }
  const long long x = std::llround(at.x * kFine), y = std::llround(at.y * kFine);
  const std::uint32_t chars = static_cast<std::uint32_t>(wide.size());
  const std::uint32_t offString = 76;
  const std::uint32_t stringBytes = (chars * 2 + 3) / 4 * 4;
  const std::uint32_t offDx = offString + stringBytes;
  const long long left = align == TextAlign::Left ? x : align == TextAlign::Centre ? x - placed / 2 : x - placed;
  Record r(emf::kExtTextOutW);
  r.Rect(left, y - std::llround(em), left + placed, y + std::llround(em / 4));
  r.U32(kGmCompatible).F32(static_cast<float>(kHundredthMmPerPixel)).F32(static_cast<float>(kHundredthMmPerPixel));
  r.I32(Clamp32(x)).I32(Clamp32(y)).U32(chars).U32(offString).U32(0);
  r.Rect(0, 0, -1, -1);
  r.U32(offDx);
  for (char16_t ch : wide) r.U16(static_cast<std::uint16_t>(ch));
  r.Pad();
  for (std::int32_t d : dx) r.I32(d);
  Emit(r);
}

void EmfCanvas::ClipF(const std::vector<PointsF>& region) {
  EnterFine();
  if (region.empty()) {
    Emit(Record(emf::kExtSelectClipRgn).U32(0).U32(kRgnCopy));  // no region data: no clip
    return;
  }
  Emit(Record(emf::kBeginPath));
  for (const PointsF& poly : region)
    if (poly.size() >= 3) FinePolyRecord(emf::kPolygon, poly);
  Emit(Record(emf::kEndPath));
  Emit(Record(emf::kSelectClipPath).U32(kRgnCopy));
}

void EmfCanvas::ImageF(double x, double y, double w, double h, const CanvasImage& image) {
  if (image.width <= 0 || image.height <= 0) return;
  EnterFine();
  const auto iw = static_cast<std::uint32_t>(image.width), ih = static_cast<std::uint32_t>(image.height);
  const std::uint32_t bits = iw * ih * 4;
  const long long l = std::llround(x * kFine), t = std::llround(y * kFine);
  const long long cw = std::llround(w * kFine), ch = std::llround(h * kFine);
  Record r(emf::kStretchDiBits);
  r.Rect(l, t, l + cw, t + ch);
  r.I32(Clamp32(l)).I32(Clamp32(t)).I32(0).I32(0).I32(image.width).I32(image.height);
  r.U32(80).U32(40).U32(120).U32(bits);
  r.U32(0).U32(0x00CC0020u);  // DIB_RGB_COLORS, SRCCOPY
  r.I32(Clamp32(cw)).I32(Clamp32(ch));
  // BITMAPINFOHEADER, top-down rows of 32 bits
  r.U32(40).I32(image.width).I32(-image.height).U16(1).U16(32).U32(0).U32(bits).I32(0).I32(0).U32(0).U32(0);
  for (std::uint32_t v : image.pixels) {
    // Without blending, what is transparent shows the white paper.
    const std::uint32_t a = v >> 24;
    auto mix = [a](std::uint32_t c) { return static_cast<std::uint8_t>((c * a + 255 * (255 - a)) / 255); };
    r.U8(mix((v >> 16) & 0xFF)).U8(mix((v >> 8) & 0xFF)).U8(mix(v & 0xFF)).U8(0);
  }
  Emit(r);
}

const std::vector<std::uint8_t>& EmfCanvas::Finish() {
  if (finished_) return file_;
  // Leave no object of ours selected, then free them all.
  if (penHandle_ || brushHandle_ || fontHandle_) {
    Emit(Record(emf::kSelectObject).U32(kStockBlackPen));
    Emit(Record(emf::kSelectObject).U32(kStockNullBrush));
    Emit(Record(emf::kSelectObject).U32(kStockSystemFont));
    ReleaseHandle(penHandle_);
    ReleaseHandle(brushHandle_);
    ReleaseHandle(fontHandle_);
  }
  Emit(Record(emf::kEof).U32(0).U32(16).U32(20));
  finished_ = true;

  static const char16_t kDescription[] = u"Quorix\0Pole figure\0";
  const std::uint32_t descChars = sizeof(kDescription) / sizeof(char16_t);  // with the final NUL
  Record h(emf::kHeader);
  h.Rect(0, 0, width_ - 1, height_ - 1);
  h.Rect(0, 0, std::lround(width_ * kHundredthMmPerPixel) - 1, std::lround(height_ * kHundredthMmPerPixel) - 1);
  h.U32(0x464D4520u).U32(0x00010000u);
  h.U32(0);  // total size, patched below
  h.U32(recordCount_ + 1);
  h.U16(static_cast<std::uint16_t>(maxHandle_ + 1)).U16(0);
  h.U32(descChars).U32(emf::kHeaderSize);
  h.U32(0);  // palette entries
  h.I32(kDeviceWidth).I32(kDeviceHeight);
  h.I32(static_cast<std::int32_t>(std::lround(kDeviceWidth * 25.4 / kDpi)))
      .I32(static_cast<std::int32_t>(std::lround(kDeviceHeight * 25.4 / kDpi)));
  h.U32(0).U32(0).U32(0);  // no pixel format, no OpenGL
  h.U32(static_cast<std::uint32_t>(std::lround(kDeviceWidth * 25400.0 / kDpi)))
      .U32(static_cast<std::uint32_t>(std::lround(kDeviceHeight * 25400.0 / kDpi)));
  for (std::uint32_t i = 0; i < descChars; ++i) h.U16(static_cast<std::uint16_t>(kDescription[i]));
  h.Pad();
  std::vector<std::uint8_t> header = h.bytes;
  std::uint32_t headerSize = static_cast<std::uint32_t>(header.size());
  for (int i = 0; i < 4; ++i) header[4 + i] = static_cast<std::uint8_t>(headerSize >> (8 * i));
  std::uint32_t total = headerSize + static_cast<std::uint32_t>(body_.size());
  for (int i = 0; i < 4; ++i) header[48 + i] = static_cast<std::uint8_t>(total >> (8 * i));

  file_ = std::move(header);
  file_.insert(file_.end(), body_.begin(), body_.end());
  body_.clear();
  return file_;
}

}  // namespace quorix
