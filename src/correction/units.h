// The one unit every measurement of a correction is put in before any arithmetic.
#pragma once

#include <string>

#include "record/pole_figure.h"

namespace quorix {

// "counts per second", "counts per monitor", "unit unknown".
const char* UnitName(IntensityUnit unit);

// The factor that puts `other`'s values in `target`'s unit: 1 for rates,
// the ratio of the monitor presets for counts to a monitor. Where the units
// cannot be related (one unknown, or per second against per monitor) the
// values are taken as they are and `note` says so; empty otherwise.
double UnitFactor(const PoleFigure& target, const PoleFigure& other, std::string& note);

// The record's file and, for a file of several, its place: "a.dat:2".
std::string SourceName(const PoleFigure& pf);

}  // namespace quorix
