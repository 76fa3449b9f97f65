// The display options: what the options dialog and the toolbar toggles do to
// the option flags, the levels and the lowest level of the pole figures.
#pragma once

#include <string>

#include "record/pole_figure.h"
#include "record/program_state.h"

namespace quorix {

// The lowest level in the unit of the m.r.d. box (divided by the
// normalisation with mrd; a record without normalisation shows it raw).
double LowestLevelInUnit(const PoleFigure& pf, bool mrd);
std::string LowestLevelText(const PoleFigure& pf, bool mrd);

// The up/down step of the lowest-level field: the spacing of the first two
// levels while the m.r.d. box keeps the unit of the display, 1 once it was
// toggled in the dialog (and 1 when there are fewer than two levels).
double LowestLevelStep(const PoleFigure& pf, bool mrdToggled);

// The states of the options dialog's controls when OK is pressed.
struct OptionsChoice {
  bool ShowMrd = false;
  bool DrawGrid = true;
  bool DrawTriangles = false;
  bool ShowEigenvalues = false;
  bool FillAreas = false;
  bool EqualArea = false;
  bool MarkMissing = false;
  bool ZoomToMeasured = false;
  bool SmoothLines = true;
  bool OneScale = false;
  double LowestLevel = 0;  // in the unit of the m.r.d. box
};

OptionsChoice CurrentOptions(const DisplayOptions& options, const PoleFigure& main);

// OK of the options dialog: the flags, the lowest level of the main pole
// figure and its new levels. The pole figures of the additional windows then
// get RecomputeLevels each.
void ApplyOptionsChoice(const OptionsChoice& choice, DisplayOptions& options, PoleFigure& main);
void RecomputeLevels(PoleFigure& pf, const DisplayOptions& options);

// The mrd toolbar button, for each pole figure shown: levels in the new unit
// and the lowest level at the first of them.
void ApplyMrdToggle(PoleFigure& pf, DisplayOptions& options, bool showMrd);

}  // namespace quorix
