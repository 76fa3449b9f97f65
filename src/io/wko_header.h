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

// The lines of a block of `values` values: three header lines, the values ten
// to a line, the closing lines.
int WkoBlockLines(long long values);

// What a block's first line says: A + 1 circles of B points, of which the
// first `measured` were written (characters 18-21: measured - 1; a block
// without that count holds them all).
struct WkoBlock {
  int circles = 0;
  int points = 0;
  int measured = 0;
};
std::optional<WkoBlock> ParseWkoBlockLine(std::string_view line);

// The number of lines from the block whose first line is `line` to the next:
// the file's block length unless the block holds fewer circles than it announces.
std::size_t WkoBlockLength(std::string_view line, const WkoHeader& header);

// From the first five lines of the file's text (byte-order mark removed).
std::optional<WkoHeader> ReadWkoHeader(std::string_view text, const std::string& fileName, MessageSink& sink);

bool IsHashHeader(std::string_view line, std::string_view firstLine, bool headerIsFirstLine);

}  // namespace quorix
