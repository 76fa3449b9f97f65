// The texts of the main window's status bar and recent-file list, and the
// sorting of dropped files; plain strings so that they are checked without windows.
#pragma once

#include <string>
#include <vector>

#include "record/pole_figure.h"
#include "record/program_state.h"
#include "settings/settings.h"

namespace quorix {

// "copper111.pol" or, for a pole figure of a file of several, "gamma.wko  PF 2 (200)".
std::string StatusFileText(const PoleFigure& pf);
// "19 circles x 72 points, alpha 0-90°" ("x 36-72 points" when the circles differ).
std::string StatusGridText(const PoleFigure& pf);
std::string StatusUnitText(bool mrd);
// "alpha 35.0°  beta 120.0°".
std::string StatusPointerText(double alpha, double beta);
// The value of a point as the status bar shows it; "missing" for a point without one.
std::string StatusValueText(double value, double divisor);

struct ModeFlags {
  bool pick = false;
  bool suppression = false;
  RotationState rotation;
};
// The modes in force, joined: "Pick mode", "Suppression", "Rotation shown (axis)".
std::string StatusModeText(const ModeFlags& modes);

// "copper111.pol (PF 2)  grid5.rst".
std::string RecentFileCaption(const RecentFile& file);

struct DroppedFiles {
  std::vector<std::string> data;
  std::string grid;  // the first grid file (.rst, .grd) among them
};
DroppedFiles SortDroppedFiles(const std::vector<std::string>& files);

}  // namespace quorix
