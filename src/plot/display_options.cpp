// The display options and the toolbar toggles.
#include "plot/display_options.h"

#include "base/number_format.h"
#include "record/levels.h"

namespace quorix {

namespace {

bool Normalised(const PoleFigure& pf) { return pf.NormFactor != 0 && pf.NormFactor == pf.NormFactor; }

}  // namespace

double LowestLevelInUnit(const PoleFigure& pf, bool mrd) {
  return mrd && Normalised(pf) ? pf.LowestLevel / pf.NormFactor : pf.LowestLevel;
}

std::string LowestLevelText(const PoleFigure& pf, bool mrd) { return FormatGeneral(LowestLevelInUnit(pf, mrd)); }

double LowestLevelStep(const PoleFigure& pf, bool mrdToggled) {
  if (mrdToggled || pf.LevelCount < 2) return 1;
  return pf.Level[2] - pf.Level[1];
}

OptionsChoice CurrentOptions(const DisplayOptions& options, const PoleFigure& main) {
  OptionsChoice c;
  c.ShowMrd = options.ShowMrd;
  c.DrawGrid = options.DrawGrid;
  c.DrawTriangles = options.DrawTriangles;
  c.ShowEigenvalues = options.ShowEigenvalues;
  c.FillAreas = options.FillAreas;
  c.EqualArea = options.EqualArea;
  c.MarkMissing = options.MarkMissing;
  c.ZoomToMeasured = options.ZoomToMeasured;
  c.SmoothLines = options.SmoothLines;
  c.OneScale = options.OneScale;
  c.LowestLevel = LowestLevelInUnit(main, options.ShowMrd);
  return c;
}

void ApplyOptionsChoice(const OptionsChoice& choice, DisplayOptions& options, PoleFigure& main) {
  options.ShowMrd = choice.ShowMrd;
  options.DrawGrid = choice.DrawGrid;
  options.DrawTriangles = choice.DrawTriangles;
  options.EqualArea = choice.EqualArea;
  options.ShowEigenvalues = choice.ShowEigenvalues;
  options.FillAreas = choice.FillAreas;
  options.MarkMissing = choice.MarkMissing;
  options.ZoomToMeasured = choice.ZoomToMeasured;
  options.SmoothLines = choice.SmoothLines;
  options.OneScale = choice.OneScale;
  main.LowestLevel = choice.ShowMrd ? choice.LowestLevel * main.NormFactor : choice.LowestLevel;
  RecomputeLevels(main, options);
}

void RecomputeLevels(PoleFigure& pf, const DisplayOptions& options) { AutoLevels(pf, options.ShowMrd, true); }

void ApplyMrdToggle(PoleFigure& pf, DisplayOptions& options, bool showMrd) {
  options.ShowMrd = showMrd;
  AutoLevels(pf, showMrd, true);
  pf.LowestLevel = LowestLevelOf(pf, showMrd);
}

}  // namespace quorix
