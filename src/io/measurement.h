// Pole figures as instrument and exchange files describe them: circles of
// constant tilt, each with its azimuths and intensities. The readers of layouts
// that carry their own grid fill a MeasurementFile; MeasurementToRecord turns
// one of its pole figures into a record with the grid it implies.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "io/file_layout.h"
#include "record/pole_figure.h"

namespace quorix {

// One circle, already in the program's conventions: alpha from the sample
// normal (0 = centre), azimuths increasing from betaStart, no closing point
// that repeats the first at 360 degrees.
struct MeasuredCircle {
  double alpha = 0;
  double betaStart = 0;
  double betaStep = 0;         // > 0
  std::vector<double> values;  // counts per second where the file gives a counting time; -1 = missing
};

struct MeasuredPoleFigure {
  std::string hkl;                      // "1 1 1"; empty where the file gives none
  std::string name;                     // what the picker shows: the hkl, else the file's own title
  std::vector<MeasuredCircle> circles;  // in increasing alpha
  std::string comment;                  // the file's own line about it (popLA's comment line); empty where none
  // As PoleFigure::TwoTheta, CountingTime, Monitor and Background.
  double twoTheta = 0;
  double countingTime = 0;
  double monitor = 0;
  bool background = false;
  IntensityUnit unit = IntensityUnit::Unknown;
};

struct MeasurementFile {
  DataLayout format = DataLayout::Columns;  // the layout the file was read as
  std::vector<MeasuredPoleFigure> poleFigures;
};

// What a file does not state and only the user can tell (Rigaku TXT gives no
// tilts): the tilt of the file's first circle and the step to each next one,
// counted as MeasuredCircle::alpha is (0 = centre); the step may be negative.
struct MeasurementOptions {
  std::optional<double> tiltStart;
  std::optional<double> tiltStep;
};

// A circle whose last value sits at betaStart + 360 repeats its first: drop it.
void DropClosingPoint(MeasuredCircle& circle);

}  // namespace quorix
