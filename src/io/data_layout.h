// Detection of the data file layouts and the picker lists of those that hold
// several pole figures.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "io/file_layout.h"
#include "io/measurement.h"

namespace quorix {

// A layout whose files carry their own grid.
bool IsMeasuredLayout(DataLayout layout);

// A diffractometer's own export (XRDML, UXD, ASC/RAS, Rigaku TXT), as
// against the exchange layouts of texture programs.
bool IsInstrumentLayout(DataLayout layout);

// Where a load of a layout takes its grid from.
enum class GridSource {
  GridFile,  // only a grid file gives it (plain files, anything not recognised)
  Implied,   // the file implies it, a grid file given wins (WKO lists, Dubna files)
  Blocks,    // the 5-degree grid of Beartex blocks; the desktop offers no grid
             // file, since another would misread them (the command line still takes one)
  OwnGrid,   // the file carries it
};
GridSource GridSourceOf(DataLayout layout);

// GridSourceOf(layout) is GridFile.
bool GridFileNeeded(DataLayout layout);

struct LayoutInfo {
  DataLayout layout = DataLayout::None;
  // Hash-list files whose upper-cased name contains ".XPO": block headers are
  // copies of line 1 rather than lines ending in "#".
  bool headerIsFirstLine = false;
  bool ok = false;  // false: the file could not be read (message sent)
};

LayoutInfo DetectLayout(const std::string& fileName, MessageSink& sink);

// Names of the pole figures of a hash-list or WKO list file, in file order;
// of a file with its own grid when it holds several.
std::vector<std::string> PickerList(const std::string& fileName, DataLayout layout, MessageSink& sink);

// The same for a data file's text. `sourceName` is the name messages give it
// and, for detection, the name the ".XPO" and ".ras" rules look at. Files
// with their own grid go by their content; the rest as before.
LayoutInfo DetectLayoutText(std::string_view text, const std::string& sourceName);
std::vector<std::string> PickerListText(std::string_view text, DataLayout layout, const std::string& sourceName,
                                        MessageSink& sink);
// The list of a file with its own grid, read with the tilts the user gave
// where the file has none; nothing, after the reader's message, when the file
// cannot be read.
std::optional<std::vector<std::string>> MeasuredPickerList(std::string_view text, DataLayout layout,
                                                           const std::string& sourceName,
                                                           const MeasurementOptions& measurement, MessageSink& sink);

}  // namespace quorix
