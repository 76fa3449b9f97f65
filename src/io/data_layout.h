// Detection of the three data file layouts and the picker lists of the two
// multi-pole-figure layouts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"

namespace quorix {

enum class DataLayout { None, Plain, HashList, WkoList };

const char* LayoutName(DataLayout layout);  // "plain", "hash", "wko", "none"

struct LayoutInfo {
  DataLayout layout = DataLayout::None;
  // Hash-list files whose upper-cased name contains ".XPO": block headers are
  // copies of line 1 rather than lines ending in "#".
  bool headerIsFirstLine = false;
  bool ok = false;  // false: the file could not be read (message sent)
};

LayoutInfo DetectLayout(const std::string& fileName, MessageSink& sink);

// Names of the pole figures of a hash-list or WKO list file, in file order.
std::vector<std::string> PickerList(const std::string& fileName, DataLayout layout, MessageSink& sink);

// The same for a data file's text. `sourceName` is the name messages give it
// and, for detection, the name the ".XPO" rule looks at.
LayoutInfo DetectLayoutText(std::string_view text, const std::string& sourceName);
std::vector<std::string> PickerListText(std::string_view text, DataLayout layout, const std::string& sourceName,
                                        MessageSink& sink);

}  // namespace quorix
