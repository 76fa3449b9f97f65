// The header fields of a WKO list file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/message_sink.h"

namespace quorix {

struct WkoHeader {
  int count = 0;            // pole figures announced on line 3
  int valuesPerFigure = 0;  // M = (A + 1) B
  int dataLines = 0;        // L
  int blockLines = 0;       // L + 5
};

// From the first five lines of the file's text (byte-order mark removed).
std::optional<WkoHeader> ReadWkoHeader(std::string_view text, const std::string& fileName, MessageSink& sink);

bool IsHashHeader(std::string_view line, std::string_view firstLine, bool headerIsFirstLine);

}  // namespace quorix
