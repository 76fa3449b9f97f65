// Adding pole figures measured on the grid of the main one: the weighted sum
// and the fitted sum that joins pole figures covering different parts of the
// grid, and the checks of the add list.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "io/measurement.h"
#include "record/pole_figure.h"

namespace quorix {

// The cells of one line of the add list, as typed.
struct AddListRow {
  std::string weight;
  std::string file;
  std::string index;
};

// Line 1 stands for the pole figure in memory; lines 2.. are read from their files.
struct AddTables {
  std::vector<std::string> files;
  std::vector<float> weights;  // empty for the fitted sum
  std::vector<std::uint8_t> indices;
};

struct AddListCheck {
  std::optional<AddTables> tables;  // nothing after a failed check
  std::string message;
  int line = 0;  // the line (from 1) to select, 0 for none
};

// The checks of OK in their order: the first file, the weights (only when
// `weighted`; with `normalizeWeights` they are divided by their sum unless it
// is exactly 1), the indices (integers 0..255; an empty cell is none).
AddListCheck CheckAddList(const std::vector<AddListRow>& rows, bool weighted, bool normalizeWeights);

// Reads pole figure `index` of a further file as a further window's pole
// figure is loaded: layout detected, grid from `gridFileName` (a full grid
// when its lower-cased name contains ".grd"; none for a file with its own
// grid, whose tilts `measurement` gives where the file does not), circles
// completed. Nothing when the file cannot be read or does not lie on main's
// grid (message sent).
std::unique_ptr<PoleFigure> ReadFurtherPoleFigure(const PoleFigure& main, const std::string& gridFileName,
                                                  const std::string& fileName, int index, MessageSink& sink,
                                                  const MeasurementOptions& measurement = {});

// Both leave pf1 as it was and return false when a further file cannot be
// read or the sum would overflow (message sent); otherwise pf1 holds the sum with its extremes and statistics.
//
// Weighted: sum of w_k * s_k * PF_k with s_k = 1 / mean intensity when
// `normalizePFs` (the sum in m.r.d.), else 1; a point missing in any pole
// figure is missing in the sum. Lines beyond the shortest table are ignored.
// A pole figure whose mean is zero or negative cannot be normalised: it is
// left out with a message, as the fitted sum leaves out a file summing to 0.
// The sum is no longer one pole figure of pf1's file: its facts of the file go.
bool WeightedAddPF(PoleFigure& pf1, const std::string& gridFileName, bool normalizePFs,
                   const std::vector<float>& weights, const std::vector<std::uint8_t>& indices,
                   const std::vector<std::string>& files, MessageSink& sink,
                   const MeasurementOptions& measurement = {});

// Fitted: each further pole figure is scaled to the running result over the
// points both have, then averaged with it; points missing in the result are
// filled from it. A file with no common point or a zero sum there is left out
// with a message.
bool FittedAddPF(PoleFigure& pf1, const std::string& gridFileName, const std::vector<std::string>& files,
                 const std::vector<std::uint8_t>& indices, MessageSink& sink,
                 const MeasurementOptions& measurement = {});

// After either sum: levels from one in the unit shown and the lowest level at
// the first of them.
void FinishAddition(PoleFigure& pf1, bool showMrd);

}  // namespace quorix
