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

// Which grid reader a grid file's name selects. The main load and the
// intensity edits read names with ".rst" as simple grids and everything else
// as full grids; loading into a further window, re-gridding and directional
// data read names with ".grd" as full grids and everything else as simple grids.
enum class GridRule { MainWindow, WindowSlot };
GridKind GridKindOfName(const std::string& fileName, GridRule rule);

// Reads a grid file with the reader its name selects under `rule`.
bool ReadGridFile(PoleFigure& pf, const std::string& fileName, GridRule rule, MessageSink& sink);

// A name a dropped file is taken as a grid file by: the extension ".rst" or ".grd", in any case.
bool HasGridFileExtension(const std::string& fileName);

}  // namespace quorix
