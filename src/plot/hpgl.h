// HPGL plotter text of a pole figure plot: the pixel square turned upside
// down and scaled by the plot stretch, labels ended by ETX.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "plot/canvas.h"
#include "plot/contours.h"
#include "plot/render.h"
#include "record/pole_figure.h"
#include "record/program_state.h"

namespace quorix {

inline constexpr char kEtx = '\x03';
// Plot files keep the line ends of the plotters' home platform.
inline constexpr std::string_view kHpglLineEnd = "\r\n";

class HpglSink {
 public:
  virtual ~HpglSink() = default;
  virtual void Write(std::string_view text) = 0;
};

class StringHpglSink : public HpglSink {
 public:
  void Write(std::string_view t) override { text.append(t); }
  std::string text;
};

// Scaling from the pixel square of side plotSize to plotter units.
struct HpglFrame {
  int plotSize = 0;
  double plotStretch = 5;

  // A value already counted upward from the bottom of the square.
  int Scale(double v) const;
  // A pixel: "X,Y" with the y axis turned upside down.
  std::string Point(quorix::Pixel p) const;
};

// "DT" ETX ";SR" width "," height ";"
void WriteHpglHeader(HpglSink& out, double textStretch);
// Legend, normalisation line, title, file names, projection, extremes,
// eigenvalues and rotation note.
void WriteLabelsHPGL(HpglSink& out, const HpglFrame& f, const PlotLabels& labels, int lineHeight,
                     const std::string& title, bool showMrd);
// One contour line in pen `pen` (level k uses pen k + 1).
void WriteContourHPGL(HpglSink& out, const HpglFrame& f, int pen, const std::vector<PathStep>& path);
// Strokes one pixel long at the low points.
void WriteLowPointsHPGL(HpglSink& out, const HpglFrame& f, const std::vector<quorix::Pixel>& points);
void WriteLowPointHPGL(HpglSink& out, const HpglFrame& f, quorix::Pixel p);
// Filled discs at the eigenvector directions.
void WriteEigenMarksHPGL(HpglSink& out, const HpglFrame& f, const std::vector<quorix::Pixel>& points);
// The rim (a sector when betaRange is below 360), centred at (R0 + 10,
// R0 + 10) without turning; ends the line.
void WriteOutlineHPGL(HpglSink& out, int plotRadius, double betaRange, double plotStretch);
// Ticks at beta 0, 90, 180, 270 from alpha 90 to 91.
void WriteTicksHPGL(HpglSink& out, const HpglFrame& f, bool equalArea);

// The plot as plotter commands. A pen plotter draws the plot's lines, labels
// and marks alone: the background, areas, triangles and the crosses on
// points without value, which other surfaces draw with the primitives, leave
// nothing here.
class HpglCanvas : public Canvas {
 public:
  HpglCanvas(double plotStretch, double textStretch) : frame_{0, plotStretch}, textStretch_(textStretch) {}

  void SetPenColor(Color) override {}
  void SetPenMode(PenMode) override {}
  void SetPenStyle(PenStyle) override {}
  void SetPenWidth(int) override {}
  void SetBrushColor(Color) override {}
  void SetBrushStyle(BrushStyle) override {}
  // The plotter's own font: the size only sets the spacing of the label lines.
  void SetFont(const std::string&, int size) override { fontSize_ = size; }
  int FontSize() const override { return fontSize_; }
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Arc(int, int, int, int, int, int, int, int) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void TextOut(int, int, const std::string&) override {}
  bool HasPixels() const override { return false; }
  Color Pixel(int, int) const override { return 0xFFFFFF; }
  void FloodFill(int, int, Color) override {}

  void BeginPlot(int plotSize) override;
  void Labels(const PlotLabels& labels, int plotSize, int lineHeight, const std::string& title, bool showMrd) override;
  bool FillsAreas() const override { return false; }
  void BeginLevel(int level, Color) override { pen_ = level + 1; }
  void ContourLine(const std::vector<PathStep>& path) override;
  void BeginLowPoints() override;
  void LowPoint(quorix::Pixel at, bool negative) override;
  void EigenMarks(const std::vector<quorix::Pixel>& at) override;
  void Outline(int plotRadius, double betaRange) override;
  void Ticks(const RimTicks& ticks) override;

  // The whole plot file: "IN;", the plot, "PU;PA0,0;".
  std::string File() const;

 private:
  StringHpglSink out_;
  HpglFrame frame_;
  double textStretch_;
  int fontSize_ = 8;
  int pen_ = 1;
};

// The whole plot file of pf, in the plot and text stretch of the state.
std::string HpglPlotFile(const PoleFigure& pf, const ProgramState& state, int h, int w, const std::string& title,
                         MessageSink* messages = nullptr);

}  // namespace quorix
