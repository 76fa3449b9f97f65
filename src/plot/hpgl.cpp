// HPGL plotter text of a pole figure plot.
#include "plot/hpgl.h"

#include <fmt/format.h>

#include <cmath>

#include "base/nearest.h"
#include "plot/projection.h"

namespace quorix {

namespace {

std::string Label(std::string_view text) {
  std::string s = "LB";
  s.append(text);
  s.push_back(kEtx);
  s.push_back(';');
  return s;
}

// Three decimals, right-aligned in eight places.
std::string OutlineNumber(double v) { return fmt::format("{:8.3f}", v); }

}  // namespace

int HpglFrame::Scale(double v) const { return Nearest(v * plotStretch); }

std::string HpglFrame::Point(quorix::Pixel p) const {
  return fmt::format("{},{}", Scale(p.x), Scale(static_cast<double>(plotSize) - p.y));
}

void WriteHpglHeader(HpglSink& out, double textStretch) {
  out.Write(fmt::format("DT{};SR{},{};", kEtx, 0.5 * textStretch, 1.0 * textStretch));
}

void WriteLabelsHPGL(HpglSink& out, const HpglFrame& f, const PlotLabels& labels, int lineHeight,
                     const std::string& title, bool showMrd) {
  const int s = f.plotSize;
  const double lh = lineHeight;
  const int xs = f.Scale(s);
  // The legend keeps a fixed spacing of 15 units whatever the font.
  for (std::size_t i = 0; i < labels.legend.size(); ++i) {
    const int k = static_cast<int>(i) + 1;
    out.Write(fmt::format("SP{};PW0; ;PU{},{};PW0;LO2;", k + 1, xs, f.Scale(s - 15.0 * k - 4)));
    out.Write(Label(labels.legend[i]));
  }
  out.Write("SP1;");
  const int n = static_cast<int>(labels.legend.size()) + 2;
  out.Write(fmt::format("PU{},{};", xs, f.Scale(s - 15.0 * n - 8)) + Label(labels.norm));
  if (!title.empty()) out.Write(fmt::format("PU20,{}", f.Scale(2 * lh)) + Label(title));
  out.Write(fmt::format("PU{},{}", xs, f.Scale(2 * lh)) + Label(labels.fileName));
  const int rows = static_cast<int>(labels.addRows.size());
  for (int r = 1; r <= rows; ++r)
    out.Write(fmt::format("PU{},{}", xs, Nearest((r + 2) * f.plotStretch * lh)) + Label(labels.addRows[r - 1]));
  out.Write(fmt::format("PU{},{}", xs, f.Scale(lh * (rows + 2))) + Label(labels.projection));
  if (!labels.zoom.empty()) {
    // Plotter fonts have no degree sign.
    std::string zoom = labels.zoom;
    if (const auto k = zoom.find("\u00b0"); k != std::string::npos) zoom.replace(k, 2, " deg");
    out.Write(fmt::format("PU{},{}", xs, f.Scale(lh * (rows + 3))) + Label(zoom));
  }
  out.Write(fmt::format("PU{},{};", xs, f.Scale(lh * (rows + 4))) + Label("max:  " + labels.maxTail));
  out.Write(fmt::format("PU{},{};", xs, f.Scale(lh * (rows + 5))) +
            Label((showMrd ? "min:   " : "min:  ") + labels.minTail));
  if (labels.eigen) {
    for (int k = 1; k <= 3 && k <= static_cast<int>(labels.eigenTails.size()); ++k)
      out.Write(fmt::format("PU{},{};", xs, f.Scale(lh * (rows + 11 - k))) + Label(labels.eigenTails[k - 1]));
    out.Write(fmt::format("PU{},{};", xs, f.Scale(lh * (rows + 7))) + Label(labels.shape));
  }
  if (labels.rotationMode == RotationMode::Matrix) {
    out.Write(fmt::format("PU0,{};", f.Scale(s)) + Label("Rotation:"));
    out.Write(fmt::format("PU0,{}", f.Scale(s - lh - 6)) + Label(labels.rotationAxis));
  } else if (labels.rotationMode == RotationMode::List) {
    out.Write(fmt::format("PU0,{};", f.Scale(s)) + Label("Rotation:"));
    int k = 0;
    for (const auto& [axis, angle] : labels.rotationList) {
      ++k;
      out.Write(fmt::format("PU0,{}", f.Scale(s - (lh + 6) * k)) + Label(fmt::format("{}:  {}", axis, angle)));
    }
  }
}

void WriteContourHPGL(HpglSink& out, const HpglFrame& f, int pen, const std::vector<PathStep>& path) {
  if (path.empty()) return;
  std::string s = fmt::format("SP{}; ", pen);
  for (std::size_t i = 0; i < path.size(); ++i) {
    const PathStep& step = path[i];
    switch (step.kind) {
      case PathStepKind::Start: s += "PU" + f.Point(step.p) + ";PD"; break;
      case PathStepKind::RimJump: s += f.Point(step.p) + ";PU" + f.Point(step.q) + ";PD"; break;
      case PathStepKind::Line: {
        const bool more = i + 1 < path.size() && path[i + 1].kind != PathStepKind::Start;
        s += f.Point(step.p) + (more ? "," : "; ");
        break;
      }
    }
  }
  out.Write(s);
}

void WriteLowPointsHPGL(HpglSink& out, const HpglFrame& f, const std::vector<quorix::Pixel>& points) {
  out.Write("SP1;");
  for (const quorix::Pixel& p : points) WriteLowPointHPGL(out, f, p);
}

void WriteLowPointHPGL(HpglSink& out, const HpglFrame& f, quorix::Pixel p) {
  out.Write(fmt::format("PU{}PD{},{};", f.Point(p), f.Scale(p.x), f.Scale(static_cast<double>(f.plotSize) - p.y + 1)));
}

void WriteEigenMarksHPGL(HpglSink& out, const HpglFrame& f, const std::vector<quorix::Pixel>& points) {
  std::string s = "SP1;FT1;PT1;";
  const int radius = Nearest(4.5 * f.plotStretch + 1);
  for (const quorix::Pixel& p : points) s += fmt::format("PU{};PD;WG{},0,360;", f.Point(p), radius);
  out.Write(s + "PT0;");
}

void WriteOutlineHPGL(HpglSink& out, int plotRadius, double betaRange, double plotStretch) {
  const double r0 = plotRadius;
  const double z = r0 + 10;
  auto num = [&](double v) { return OutlineNumber(v * plotStretch); };
  std::string s = "SP1;PU" + num(2 * r0 + 10) + "," + num(z) + ";PD";
  int h = 5;
  // Two turns at most, whatever the range claims.
  for (; h + 5 <= betaRange && h <= 720; h += 5) {
    const double a = h * kPi / 180.0;
    s += num(z + r0 * std::cos(a)) + "," + num(z + r0 * std::sin(a)) + ",";
  }
  if (h < 360) s += num(z) + "," + num(z) + ",";
  s += num(2 * r0 + 10) + "," + num(z) + ";";
  s += kHpglLineEnd;
  out.Write(s);
}

void WriteTicksHPGL(HpglSink& out, const HpglFrame& f, bool equalArea) {
  std::string s;
  for (double beta : {0.0, 90.0, 180.0, 270.0}) {
    s += "PU" + f.Point(ProjectPoint(f.plotSize, 90, beta, equalArea)) + ";";
    s += "PD" + f.Point(ProjectPoint(f.plotSize, 91, beta, equalArea)) + ";PU;";
  }
  out.Write(s);
}

void HpglCanvas::BeginPlot(int plotSize) {
  frame_.plotSize = plotSize;
  out_.Write(kHpglLineEnd);
  WriteHpglHeader(out_, textStretch_);
}

void HpglCanvas::Labels(const PlotLabels& labels, int /*plotSize*/, int lineHeight, const std::string& title,
                        bool showMrd) {
  WriteLabelsHPGL(out_, frame_, labels, lineHeight, title, showMrd);
}

void HpglCanvas::ContourLine(const std::vector<PathStep>& path) { WriteContourHPGL(out_, frame_, pen_, path); }

void HpglCanvas::BeginLowPoints() { out_.Write("SP1;"); }

void HpglCanvas::LowPoint(quorix::Pixel at, bool /*negative*/) { WriteLowPointHPGL(out_, frame_, at); }

void HpglCanvas::EigenMarks(const std::vector<quorix::Pixel>& at) { WriteEigenMarksHPGL(out_, frame_, at); }

void HpglCanvas::Outline(int plotRadius, double betaRange) {
  WriteOutlineHPGL(out_, plotRadius, betaRange, frame_.plotStretch);
}

// Shorter than on the screen, and only where the rim was measured.
void HpglCanvas::Ticks(const RimTicks& ticks) {
  if (ticks.lastPointPositive) WriteTicksHPGL(out_, frame_, ticks.equalArea);
}

std::string HpglCanvas::File() const {
  std::string file = "IN;";
  file += kHpglLineEnd;
  file += out_.text;
  file += "PU;PA0,0;";
  file += kHpglLineEnd;
  return file;
}

std::string HpglPlotFile(const PoleFigure& pf, const ProgramState& state, int h, int w, const std::string& title,
                         MessageSink* messages) {
  HpglCanvas canvas(state.Options.PlotStretch, state.Options.TextStretch);
  PlotPoleFigure(pf, state, canvas, h, w, title, messages);
  return canvas.File();
}

}  // namespace quorix
