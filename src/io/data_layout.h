// Detection of the data file layouts and the picker lists of those that hold
// several pole figures.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "io/measurement.h"

namespace quorix {

// Plain files need a grid file; the rest carry or imply their own grid (WKO
// lists in their block headers, used where no grid file is given; Dubna
// files, plain numbers named .cnv, the goniometer's).
enum class DataLayout {
  None,
  Plain,
  HashList,
  WkoList,
  Xrdml,
  Uxd,
  Asc,
  Ras,
  RigakuTxt,
  Popla,
  Columns,
  Dubna,
  Seifert,
  SiemensDump,
  Texd5,
  TexEinzel,
  LaboTex,
  Emse,
  GaddsSlice,
  Explore3d,
  XpertText,
  Aachen
};

// "plain", "hash", "wko", "xrdml", "uxd", "asc", "ras", "rigaku-txt", "popla",
// "columns", the names of MeasurementFormatName for the rest, "none"
const char* LayoutName(DataLayout layout);

// A layout whose files carry their own grid.
bool IsMeasuredLayout(DataLayout layout);

// Whether a load needs a grid file: not for the layouts with their own grid,
// nor for hash lists, whose Beartex blocks imply their 5-degree grid (a grid
// file given is still used).
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
