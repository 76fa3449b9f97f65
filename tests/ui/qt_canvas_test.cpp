// Qt canvases: the raster conventions the flood fill depends on, exact
// colours, bounded work on wild coordinates, and the vector painter.
#include "qtcanvas/qt_canvas.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QSvgGenerator>
#include <chrono>
#include <cstdlib>
#include <set>
#include <tuple>
#include <utility>

#include "plot/projection.h"

namespace quorix {
namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "quorix_qt_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

constexpr Color kWhite = 0xFFFFFF, kBlack = 0, kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

std::set<std::pair<int, int>> PixelsOf(const QtRasterCanvas& c, Color colour) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < c.Image().height(); ++y)
    for (int x = 0; x < c.Image().width(); ++x)
      if (c.Pixel(x, y) == colour) out.insert({x, y});
  return out;
}

TEST(QtRasterCanvas, RectangleExcludesRightAndBottomEdges) {
  QtRasterCanvas c(12, 12);
  c.SetPenColor(kRed);
  c.SetBrushColor(kGreen);
  c.Rectangle(2, 3, 6, 8);
  EXPECT_EQ(c.Pixel(2, 3), kRed);
  EXPECT_EQ(c.Pixel(5, 7), kRed);
  EXPECT_EQ(c.Pixel(5, 3), kRed);
  EXPECT_EQ(c.Pixel(6, 5), kWhite);
  EXPECT_EQ(c.Pixel(4, 8), kWhite);
  EXPECT_EQ(c.Pixel(3, 4), kGreen);
  EXPECT_EQ(c.Pixel(4, 6), kGreen);
  EXPECT_EQ(PixelsOf(c, kRed).size(), 14u);   // frame of 4 x 5 pixels
  EXPECT_EQ(PixelsOf(c, kGreen).size(), 6u);  // inside 2 x 3
}

TEST(QtRasterCanvas, RectangleWithoutPenIsOnePixelSmaller) {
  QtRasterCanvas c(12, 12);
  c.SetPenStyle(PenStyle::Clear);
  c.SetBrushColor(kGreen);
  c.Rectangle(6, 8, 2, 3);                     // corners in any order
  EXPECT_EQ(PixelsOf(c, kGreen).size(), 12u);  // 3 x 4
  EXPECT_EQ(c.Pixel(2, 3), kGreen);
  EXPECT_EQ(c.Pixel(4, 6), kGreen);
  EXPECT_EQ(c.Pixel(5, 6), kWhite);
}

TEST(QtRasterCanvas, LineToLeavesItsEndPixelAndMovesThePen) {
  QtRasterCanvas c(10, 10);
  c.MoveTo(1, 1);
  c.LineTo(5, 1);
  c.LineTo(5, 4);
  const std::set<std::pair<int, int>> expected = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {5, 2}, {5, 3}};
  EXPECT_EQ(PixelsOf(c, kBlack), expected);
}

TEST(QtRasterCanvas, SlopedLineTakesTheNearestPixelOnEachColumn) {
  QtRasterCanvas c(10, 10);
  c.MoveTo(0, 0);
  c.LineTo(6, 2);  // ideal y = x / 3: 0, .33, .67, 1, 1.33, 1.67
  const std::set<std::pair<int, int>> expected = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}};
  EXPECT_EQ(PixelsOf(c, kBlack), expected);
}

TEST(QtRasterCanvas, PixelsKeepExactColours) {
  QtRasterCanvas c(4, 4);
  c.SetPenColor(0x123456);
  c.MoveTo(0, 2);
  c.LineTo(4, 2);
  EXPECT_EQ(c.Pixel(3, 2), 0x123456u);
  EXPECT_EQ(c.Pixel(0, 0), kWhite);
  EXPECT_EQ(c.Pixel(-1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(c.Pixel(4, 0), 0xFFFFFFFFu);
}

TEST(QtRasterCanvas, InvertingPenDrawnTwiceRestoresTheImage) {
  QtRasterCanvas c(8, 8);
  c.SetPenColor(kRed);
  c.MoveTo(0, 3);
  c.LineTo(8, 3);
  c.SetPenMode(PenMode::Invert);
  c.MoveTo(2, 0);
  c.LineTo(2, 8);
  EXPECT_EQ(c.Pixel(2, 0), kBlack);     // white inverted
  EXPECT_EQ(c.Pixel(2, 3), 0xFFFF00u);  // red inverted: cyan
  c.MoveTo(2, 0);
  c.LineTo(2, 8);
  EXPECT_EQ(c.Pixel(2, 0), kWhite);
  EXPECT_EQ(c.Pixel(2, 3), kRed);
}

TEST(QtRasterCanvas, PlotOutlinePassesThroughTheProjectedRimPoints) {
  // The outline of a 650 pixel plot; contour lines end at ProjectPoint(90, beta).
  const int s = 650, r = PlotRadius(s);
  QtRasterCanvas c(910, s);
  c.SetBrushStyle(BrushStyle::Clear);
  c.Ellipse(10, 10, 2 * r + 11, 2 * r + 11);
  for (double beta : {0.0, 90.0, 180.0, 270.0}) {
    for (bool equalArea : {false, true}) {
      const quorix::Pixel p = ProjectPoint(s, 90, beta, equalArea);
      EXPECT_EQ(c.Pixel(p.x, p.y), kBlack) << beta;
    }
  }
  // Inside the box, touching all four of its edges, symmetric about the centre.
  const auto outline = PixelsOf(c, kBlack);
  int minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1;
  for (auto [x, y] : outline) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
    EXPECT_TRUE(outline.count({650 - x, y}) && outline.count({x, 650 - y})) << x << "," << y;
  }
  EXPECT_EQ(minX, 10);
  EXPECT_EQ(maxX, 640);
  EXPECT_EQ(minY, 10);
  EXPECT_EQ(maxY, 640);
}

TEST(QtRasterCanvas, FillInsideTheOutlineStaysInside) {
  QtRasterCanvas c(700, 660);
  c.SetBrushStyle(BrushStyle::Clear);
  c.SetPenColor(kRed);
  c.Ellipse(10, 10, 641, 641);
  c.SetBrushStyle(BrushStyle::Solid);
  c.SetBrushColor(kBlue);
  c.FloodFill(325, 325, kRed);
  EXPECT_EQ(c.Pixel(325, 325), kBlue);
  EXPECT_EQ(c.Pixel(11, 325), kBlue);
  EXPECT_EQ(c.Pixel(5, 5), kWhite);
  EXPECT_EQ(c.Pixel(650, 325), kWhite);
  EXPECT_EQ(c.Pixel(100, 100), kWhite);  // outside the circle, inside its box
  // Every pixel is outline, interior or outside; the interior is convex in each row.
  for (int y = 11; y < 640; ++y) {
    int first = -1, last = -1;
    for (int x = 0; x < 700; ++x) {
      if (c.Pixel(x, y) == kBlue) {
        if (first < 0) first = x;
        last = x;
      }
    }
    ASSERT_GE(first, 0) << y;
    for (int x = first; x <= last; ++x) ASSERT_EQ(c.Pixel(x, y), kBlue) << x << "," << y;
    EXPECT_EQ(c.Pixel(first - 1, y), kRed);
    EXPECT_EQ(c.Pixel(last + 1, y), kRed);
  }
}

TEST(QtRasterCanvas, FloodFillIsFourConnectedAndStopsOnlyAtTheBorderColour) {
  QtRasterCanvas c(20, 20);
  c.SetPenColor(kRed);
  c.MoveTo(0, 12);
  c.LineTo(13, -1);  // a diagonal wall of red from the left edge to the top
  c.SetPenColor(kGreen);
  c.MoveTo(0, 3);
  c.LineTo(3, 3);  // green is not the border: it is painted over
  c.SetBrushColor(kBlue);
  c.FloodFill(0, 0, kRed);
  EXPECT_EQ(c.Pixel(0, 0), kBlue);
  EXPECT_EQ(c.Pixel(1, 3), kBlue);
  EXPECT_EQ(c.Pixel(19, 19), kWhite);  // beyond the diagonal
  EXPECT_EQ(c.Pixel(6, 6), kRed);
  EXPECT_EQ(c.Pixel(7, 6), kWhite);
}

TEST(QtRasterCanvas, FloodFillStartingOnTheBorderOrWithClearBrushDoesNothing) {
  QtRasterCanvas c(10, 10);
  c.SetBrushColor(kBlue);
  c.FloodFill(5, 5, kWhite);
  EXPECT_TRUE(PixelsOf(c, kBlue).empty());
  c.SetBrushStyle(BrushStyle::Clear);
  c.FloodFill(5, 5, kRed);
  EXPECT_TRUE(PixelsOf(c, kBlue).empty());
  c.SetBrushStyle(BrushStyle::Solid);
  c.FloodFill(-1, 5, kRed);
  c.FloodFill(5, 10, kRed);
  EXPECT_TRUE(PixelsOf(c, kBlue).empty());
}

TEST(QtRasterCanvas, FloodFillInTheColourAlreadyThereEnds) {
  QtRasterCanvas c(2000, 2000);
  c.SetBrushColor(kWhite);
  const auto start = std::chrono::steady_clock::now();
  c.FloodFill(1000, 1000, kRed);  // every pixel is white already
  c.SetBrushColor(kGreen);
  c.FloodFill(1, 1, kRed);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(PixelsOf(c, kGreen).size(), 2000u * 2000u);
}

TEST(QtRasterCanvas, WildCoordinatesCostNoMoreThanTheImage) {
  QtRasterCanvas c(50, 40);
  const auto start = std::chrono::steady_clock::now();
  c.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
  c.Rectangle(-2000000000, -2000000000, 2000000000, 2000000000);
  c.Arc(-2000000000, -2000000000, 2000000000, 2000000000, 1, 0, 0, 1);
  c.MoveTo(-2000000000, -1999999999);
  c.LineTo(2000000000, 1999999999);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(c.Pixel(0, 0), kBlack);  // the diagonal crosses the image at its corner
}

TEST(QtRasterCanvas, ArcRunsCounterClockwiseFromStartToEndRay) {
  QtRasterCanvas c(101, 101);
  c.Arc(0, 0, 101, 101, 100, 50, 50, 0);  // from the right-hand point to the top
  EXPECT_EQ(c.Pixel(100, 50), kBlack);
  EXPECT_EQ(c.Pixel(50, 0), kBlack);
  EXPECT_EQ(c.Pixel(0, 50), kWhite);
  EXPECT_EQ(c.Pixel(50, 100), kWhite);
  for (auto [x, y] : PixelsOf(c, kBlack)) {
    EXPECT_GE(x, 50);
    EXPECT_LE(y, 50);
  }
  QtRasterCanvas whole(101, 101);
  whole.Arc(0, 0, 101, 101, 100, 50, 100, 50);  // equal rays: the whole ellipse
  QtRasterCanvas ellipse(101, 101);
  ellipse.SetBrushStyle(BrushStyle::Clear);
  ellipse.Ellipse(0, 0, 101, 101);
  EXPECT_EQ(PixelsOf(whole, kBlack), PixelsOf(ellipse, kBlack));
}

TEST(QtRasterCanvas, TextIsBlackOnTheBrushOrOnWhatIsThere) {
  QtRasterCanvas c(200, 40);
  c.SetFont("MS Sans Serif", 12);
  EXPECT_EQ(c.FontSize(), 12);
  c.SetBrushColor(0x00FFFF);  // yellow
  c.TextOut(5, 5, "max: 12");
  const auto black = PixelsOf(c, kBlack);
  ASSERT_FALSE(black.empty());
  for (auto [x, y] : black) {
    EXPECT_GE(y, 5);
    EXPECT_LT(y, 5 + 24);
  }
  EXPECT_EQ(c.Pixel(5, 5), 0x00FFFFu);
  // Only black, yellow and the untouched white: no antialiasing shades.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      const Color p = c.Pixel(x, y);
      ASSERT_TRUE(p == kBlack || p == kWhite || p == 0x00FFFFu) << std::hex << p;
    }
  QtRasterCanvas clear(200, 40);
  clear.SetBrushStyle(BrushStyle::Clear);
  clear.TextOut(5, 5, "max: 12");
  EXPECT_TRUE(PixelsOf(clear, 0x00FFFF).empty());
  EXPECT_FALSE(PixelsOf(clear, kBlack).empty());
}

TEST(QtRasterCanvas, PolygonIsFilledAndOutlined) {
  QtRasterCanvas c(20, 20);
  c.SetPenColor(kRed);
  c.SetBrushColor(kGreen);
  c.Polygon({{2, 2}, {16, 2}, {16, 16}, {2, 16}});
  EXPECT_EQ(c.Pixel(2, 2), kRed);
  EXPECT_EQ(c.Pixel(16, 16), kRed);
  EXPECT_EQ(c.Pixel(9, 9), kGreen);
  EXPECT_EQ(c.Pixel(18, 9), kWhite);
}

TEST(QtRasterCanvas, SmoothLinesAddShadesOverTheExactLineOnlyAtTheEnd) {
  const std::vector<PathStep> path{{PathStepKind::Start, {5, 5}, {}}, {PathStepKind::Line, {55, 25}, {}}};
  auto draw = [&](bool smooth) {
    QtRasterCanvas c(60, 30);
    c.SetSmoothLines(smooth);
    c.SetPenColor(kBlue);
    c.ContourLine(path);
    const std::set<std::pair<int, int>> exact = PixelsOf(c, kBlue);
    const QImage beforeEnd = c.Image();
    c.EndPlot();
    return std::tuple{exact, beforeEnd, c};
  };
  auto [sharp, sharpBefore, sharpCanvas] = draw(false);
  auto [exact, before, smooth] = draw(true);
  EXPECT_EQ(before, sharpBefore);  // a fill between lines sees the exact outline
  EXPECT_EQ(sharpCanvas.Image(), sharpBefore);
  for (const auto& [x, y] : exact) EXPECT_EQ(smooth.Pixel(x, y), kBlue);
  int shades = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x)
      if (const Color p = smooth.Pixel(x, y); p != kBlue && p != kWhite) ++shades;
  EXPECT_GT(shades, 20);
}

TEST(QtVectorCanvas, WritesAnSvgWithTheDrawing) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(200, 100));
  svg.setViewBox(QRect(0, 0, 200, 100));
  {
    QtVectorCanvas c(svg);
    ASSERT_TRUE(c.IsActive());
    EXPECT_FALSE(c.HasPixels());
    c.SetPenColor(kRed);
    c.MoveTo(10, 10);
    c.LineTo(50, 10);
    c.LineTo(50, 50);
    c.SetBrushColor(kBlue);
    c.Polygon({{60, 60}, {90, 60}, {75, 90}});
    c.SetFont("MS Sans Serif", 10);
    c.TextOut(100, 20, "norm: 1.0");
    c.FloodFill(1, 1, kRed);  // no pixels: nothing happens
    c.Finish();
  }
  const QByteArray text = buffer.data();
  EXPECT_TRUE(text.contains("#ff0000")) << "red line";
  EXPECT_TRUE(text.contains("#0000ff")) << "blue polygon";
  EXPECT_TRUE(text.contains("norm: 1.0"));
  EXPECT_TRUE(text.contains("polyline"));
}

}  // namespace
}  // namespace quorix
