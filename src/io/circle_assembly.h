// What the instrument readers share once a circle's numbers are out of the
// file: the checks that make it a MeasuredCircle in the program's
// conventions, the ordering of a pole figure's circles and the messages.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "io/measurement.h"

namespace quorix {

// Finer than any goniometer steps; a step below it is a broken header, and a
// circle of 360 / step points must not come from it.
inline constexpr double kMinBetaStep = 1e-3;

// WHAT (no full stop) as a problem of line `line` of SOURCE (0: of the whole file).
void ReportBadInput(MessageSink& sink, const std::string& source, std::size_t line, std::string_view what);

// Makes `circle` (alpha already from the sample normal, values already
// intensities, betaStep as the file gives it, negative when the azimuth
// decreases) follow the conventions of MeasuredCircle: azimuths increasing,
// betaStart in [0, 360), no closing point. A circle of one point takes the
// full turn as its step. False, with a message naming `where`, for a tilt
// outside 0..90, a step that is zero, too small or not a number, azimuths
// spanning more than a turn, or no values.
bool FinishCircle(MeasuredCircle& circle, const std::string& source, std::size_t line, const std::string& where,
                  MessageSink& sink);

// A circle finer than the record holds (more than kMaxPoints points) as the
// means of runs of neighbouring points, few enough to fit; missing values
// (-1) are left out of a mean. Call after FinishCircle.
void BinToRecordLimit(MeasuredCircle& circle);

// Circles in increasing alpha; false, with a message, for none or for two at
// the same tilt (which of them would count is anybody's guess).
bool FinishPoleFigure(MeasuredPoleFigure& pf, const std::string& source, MessageSink& sink);

// One point of a file that lists its rows in any order.
struct AzimuthValue {
  double beta, value;
};

// The circles of such a file, by alpha, each in increasing beta, added to
// `pf` and finished; false, after a message naming `line`, for a circle whose
// azimuths are not evenly spaced or that FinishCircle refuses.
bool CirclesFromPoints(std::map<double, std::vector<AzimuthValue>>& byAlpha, MeasuredPoleFigure& pf,
                       const std::string& source, std::size_t line, MessageSink& sink);

// The azimuth step a list of positions keeps, or nothing when the positions
// are not evenly spaced (a tolerance of the files' rounding).
std::optional<double> EvenStep(const double* positions, std::size_t count);

// The number of points from start to stop in steps of `step`, or nothing when
// the span is not a whole number of steps or the count would be absurd.
std::optional<std::size_t> PointsFromRange(double start, double stop, double step);

// "1 1 1"
std::string HklText(long long h, long long k, long long l);
// The same from numbers a file gives as decimals; empty unless each is a whole
// number a reflection can have, so an absurd header never names a pole figure.
std::string HklTextIfWhole(double h, double k, double l);

// Number text for names and messages: "34.4", "0.5", "1e-300".
std::string ShortNumber(double v);

}  // namespace quorix
