// Reading text files whole, line splitting that treats CR LF, LF and lone CR
// alike, and locale-free number parsing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"

namespace quorix {

enum class FileStatus { Ok, Missing, Unreadable };

FileStatus ReadWholeFile(const std::string& fileName, std::string& contents);

// Text without a leading UTF-8 byte-order mark (editors on Windows add one).
std::string_view WithoutByteOrderMark(std::string_view text);

// Lines without their line ends; a final line end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Reads the lines of a file, or sends "Cannot open NAME." / the missing
// message and returns nothing.
std::optional<std::vector<std::string>> ReadLines(const std::string& fileName, MessageSink& sink,
                                                  const std::string& missingMessage);

// A finite decimal number filling the whole token ("+" allowed); nothing for
// anything else, including inf, nan and 1e999.
std::optional<double> ParseNumber(std::string_view token);
std::optional<long long> ParseInteger(std::string_view token);

std::string_view Trim(std::string_view s);
std::vector<std::string_view> SplitWhitespace(std::string_view line);

// Fixed-width fields from position `first` (0-based) to the end of the line;
// at least one field, so an empty remainder yields one empty field.
std::vector<std::string_view> FixedFields(std::string_view line, std::size_t first, std::size_t width);

// Characters from..to (1-based, inclusive) of a line, shorter when the line is.
std::string_view Columns(std::string_view line, std::size_t from, std::size_t to);

std::string FileNamePart(const std::string& path);
std::string ToLower(std::string s);
std::string ToUpper(std::string s);

}  // namespace quorix
