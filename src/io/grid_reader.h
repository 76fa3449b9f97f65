// Grid files: the simple layout (alpha and points per line) and the full
// ".grd" layout with mirror switches.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "record/pole_figure.h"

namespace quorix {

// Both return false and leave the record's grid untouched when the file
// cannot be read or breaks the record's limits.
bool ReadSimpleGrid(PoleFigure& pf, const std::string& fileName, MessageSink& sink);
bool ReadFullGrid(PoleFigure& pf, const std::string& fileName, MessageSink& sink);

// The same for a grid file's text; `fileName` is the name messages give it.
bool ReadSimpleGridText(PoleFigure& pf, std::string_view text, const std::string& fileName, MessageSink& sink);
bool ReadFullGridText(PoleFigure& pf, std::string_view text, const std::string& fileName, MessageSink& sink);

// The circles of a grid before they are copied into a record.
struct GridCircle {
  double alpha = 0, betaStart = 0, betaStep = 0;
  long long points = 0;  // as the file gives it, for the limit's message
};

// Copies 1 to kMaxCircles circles into the record as the simple layout has
// them: no mirror circles, the beta range of the first circle.
void SetSimpleGrid(PoleFigure& pf, const std::vector<GridCircle>& circles);

}  // namespace quorix
