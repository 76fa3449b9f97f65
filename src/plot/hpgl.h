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
// Filled discs at the eigenvector directions.
void WriteEigenMarksHPGL(HpglSink& out, const HpglFrame& f, const std::vector<quorix::Pixel>& points);
// The rim (a sector when betaRange is below 360), centred at (R0 + 10,
// R0 + 10) without turning; ends the line.
void WriteOutlineHPGL(HpglSink& out, int plotRadius, double betaRange, double plotStretch);
// Ticks at beta 0, 90, 180, 270 from alpha 90 to 91.
void WriteTicksHPGL(HpglSink& out, const HpglFrame& f, bool equalArea);

// The whole plot file: "IN;", the plot, "PU;PA0,0;".
std::string HpglPlotFile(const PoleFigure& pf, const ProgramState& state, Canvas& canvas, int h, int w,
                         const std::string& title, MessageSink* messages = nullptr);

}  // namespace quorix
