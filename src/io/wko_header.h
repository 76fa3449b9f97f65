// The header fields of a WKO list file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/message_sink.h"

namespace quorix {

struct WkoHeader {
  int count = 0;           // pole figures announced on line 3
  int valuesPerFigure = 0;  // M = (A + 1) B
  int dataLines = 0;       // L
  int blockLines = 0;      // L + 5
};

std::optional<WkoHeader> ReadWkoHeader(const std::vector<std::string>& lines, const std::string& fileName,
                                       MessageSink& sink);

bool IsHashHeader(const std::string& line, const std::string& firstLine, bool headerIsFirstLine);

}  // namespace quorix
