// Intensities of one pole figure from a data file, onto a grid already read.
#pragma once

#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "io/data_layout.h"
#include "record/pole_figure.h"

namespace quorix {

struct DataReadOptions {
  DataLayout layout = DataLayout::None;
  int pfIndex = 1;  // only the absolute value counts
  bool directional = false;
};

bool ReadPoleFigureData(PoleFigure& pf, const std::string& fileName, const DataReadOptions& options, MessageSink& sink);

// The same for a data file's text; `fileName` is the name messages give it.
// Reading stops once the grid's values are in and checked.
bool ReadPoleFigureDataText(PoleFigure& pf, std::string_view text, const std::string& fileName,
                            const DataReadOptions& options, MessageSink& sink);

// The grid every Beartex block holds, whatever range it measured: 19 circles
// every 5 degrees from alpha 0 with 72 points every 5 degrees from beta 0.
// False, with a message naming the file, when the header of pole figure
// `index` of the hash-list text does not describe that grid.
bool SetBeartexGrid(PoleFigure& pf, std::string_view text, long long index, const std::string& fileName,
                    MessageSink& sink);

// What every read does once the intensities of circles 1..n are in: the
// mirror circles, the extremes and the rim rule.
void FinishGridData(PoleFigure& pf);

}  // namespace quorix
