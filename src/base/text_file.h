// Reading text files whole, line splitting that treats CR LF, LF and lone CR
// alike, and locale-free number parsing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"

namespace quorix {

enum class FileStatus { Ok, Missing, Unreadable };

// No pole figure, grid or data file comes near this size.
inline constexpr std::uintmax_t kMaxTextFileSize = std::uintmax_t{1} << 30;

// Regular files of at most `maxSize` bytes only: devices such as /dev/zero
// never end, a pipe may never answer.
FileStatus ReadWholeFile(const std::string& fileName, std::string& contents, std::uintmax_t maxSize = kMaxTextFileSize);

// Text without a leading UTF-8 byte-order mark (editors on Windows add one).
std::string_view WithoutByteOrderMark(std::string_view text);

// Lines without their line ends; a final line end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// The lines of a text one at a time, split as SplitLines splits them; the
// readers walk their text with it instead of holding a copy of every line.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}
  // The next line without its line end; false at the end of the text.
  bool Next(std::string_view& line);
  bool AtEnd() const { return pos_ >= text_.size(); }
  // Skips up to `count` lines.
  void Skip(std::size_t count);
  // Where the next line starts, for a later Seek.
  std::size_t Offset() const { return pos_; }
  void Seek(std::size_t offset) { pos_ = offset; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The blank-separated tokens of a line one at a time (the blanks of
// SplitWhitespace), so that a long line costs no list of its tokens.
class TokenCursor {
 public:
  explicit TokenCursor(std::string_view line) : rest_(line) {}
  bool Next(std::string_view& token);
  // What follows the last token taken.
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// The text of a file (byte-order mark included), or nothing after "Cannot
// open NAME: why." / the missing message.
std::optional<std::string> ReadTextFile(const std::string& fileName, MessageSink& sink,
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
