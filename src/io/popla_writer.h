// Pole figures in the popLA layout: per pole figure a comment line, a header
// line (hkl, tilt step and range, azimuth step and range, the scale), 19
// circles of 72 integers, 18 to a line after one blank, and an empty line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "record/pole_figure.h"

namespace quorix {

// The factor the values are multiplied by, as the header states it: 100 (the
// layout's usual m.r.d. x 100) when the maximum allows, else the first of 10,
// 1, 0.1, 0.01, 0.001 that brings it below 9999.5; 0 when none does.
double PoplaScale(double maxValue);

// Why h, k, l do not fit the 5 characters of the header's "(hkl)"; nothing when they do.
std::optional<std::string> PoplaHklProblem(int h, int k, int l);

// One pole figure; its grid must be a 5-degree one (IsBlockGrid) and its
// values fit (SaveAllProblem).
std::string FormatPoplaBlock(const PoleFigure& pf, std::string_view comment, int h, int k, int l, bool invertTheta,
                             bool invertPhi);

}  // namespace quorix
