// Re-gridding pole figures: the value at every point of another grid, taken
// by interpolation, optionally after a rotation of the sample frame.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "math/vector_math.h"
#include "record/pole_figure.h"
#include "record/pole_figure_set.h"
#include "record/program_state.h"

namespace quorix {

struct InterpolationOptions {
  // How a target direction finds the direction in the source where its value
  // is taken. In mode Matrix the matrix is the inverse of the rotation set in
  // the rotation dialog, as the interpolation command holds it while it runs;
  // "triclin": a source direction outside the hemisphere gives no value.
  RotationState rotation;
  bool zeroNegative = true;  // " Set negative values to 0.0"
  bool showMrd = false;      // the unit of the recomputed contour levels
};

// Fills target's intensities on its own grid from source, then brings the
// target up to date as after loading: extremes, statistics, links, the
// source's file name, automatic levels and LowestLevel.
void InterpolatePoleFigure(const PoleFigure& source, PoleFigure& target, const InterpolationOptions& options);

// The inverse of a rotation given as a matrix, through its axis and angle
// (the same axis turned the other way).
Mat3 InvertByAxisAngle(const Mat3& m);

// The interpolation command on the pole figure set, after the dialog's checks.
struct InterpolationRequest {
  std::string gridFile;
  // The rotation as the rotation dialog left it: mode Matrix takes the
  // dialog's matrix (not yet inverted). Its "triclin" is the display's.
  RotationState rotation;
  bool zeroNegative = true;
};

enum class InterpolationStatus { Done, EmptyGridName, GridMissing, GridUnreadable };

// Reads the output grid once (shaped like the first record) and replaces
// each record in turn by its interpolation onto it. `begin` runs once the
// grid has been read, before the first replacement; `done(k)` after record k.
// On any status other than Done nothing has changed; a missing grid file is
// reported through `sink` ("File NAME does not exist"), an unreadable one by
// the grid reader.
InterpolationStatus InterpolateRecords(const std::vector<std::unique_ptr<PoleFigure>*>& records,
                                       const InterpolationRequest& request, bool triclinic, bool showMrd,
                                       MessageSink& sink, const std::function<void()>& begin = {},
                                       const std::function<void(std::size_t k)>& done = {});

// Reads the output grid once and replaces PF[1] and then every slot in
// `furtherSlots` (in the given order) by its interpolation onto that grid;
// `slotDone` runs after each replacement (the caller redraws there). The
// display rotation is switched off afterwards. On any status other than Done
// nothing has changed; a missing grid file is reported through `sink`
// ("File NAME does not exist"), an unreadable one by the grid reader.
InterpolationStatus InterpolateSet(PoleFigureSet& set, const std::vector<int>& furtherSlots,
                                   const InterpolationRequest& request, ProgramState& state, MessageSink& sink,
                                   const std::function<void(int slot)>& slotDone = {});

// Reads a grid file into a fresh record with the reader its name selects:
// ".grd" in the lower-cased name gives the full reader, anything else the
// simple one. BetaRange, PointCount and FileName start as those of `like`.
std::unique_ptr<PoleFigure> ReadOutputGrid(const std::string& gridFile, const PoleFigure& like, MessageSink& sink);

}  // namespace quorix
