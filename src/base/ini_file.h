// Sectioned key = value configuration files, read and written the way the
// Windows profile functions treat them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/safe_write.h"

namespace quorix {

class MessageSink;

// Settings and colour sets are a few kilobytes; a larger file is no such file.
inline constexpr std::size_t kMaxIniFileSize = std::size_t{1} << 20;

// The text of the file is kept line by line, so that writing one key leaves
// every other line as it was. Section and key names compare without regard
// to letter case; of duplicate sections or keys the first one counts.
class IniFile {
 public:
  IniFile() = default;
  static IniFile FromText(std::string_view text);
  // A missing or unreadable file reads as an empty one, as the profile
  // functions treat it; `exists` tells the two apart for callers that care.
  static IniFile Load(const std::string& path, bool* exists = nullptr);
  // The same, and a file larger than kMaxIniFileSize reads as an empty one
  // after a message saying so (`exists` is then true: the file was dealt with).
  // The form without sink ignores such a file silently, with `exists` false.
  static IniFile Load(const std::string& path, MessageSink& sink, bool* exists = nullptr);

  // The value with surrounding blanks removed and one pair of enclosing
  // quotes stripped; nullopt when the section or key is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // Decimal, optionally signed, or hexadecimal with "0x"; anything else,
  // including values outside 32 bits, gives the fallback.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;
  bool HasKey(std::string_view section, std::string_view key) const;

  // Replaces the first occurrence of the key, else appends it to the end of
  // the first matching section, else appends the section.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int64_t value);

  std::string Text() const;
  // Writes to a temporary file beside `path` and renames it over `path`;
  // on failure `path` is untouched and `sink` is told why.
  bool Save(const std::string& path, MessageSink& sink) const;

 private:
  struct Located {
    std::size_t sectionLine = 0;  // index of the "[...]" line
    std::size_t sectionEnd = 0;   // one past the section's last line
    std::optional<std::size_t> keyLine;
  };
  std::optional<Located> Locate(std::string_view section, std::string_view key) const;

  // Puts a line before line `at`, ending it like new lines end.
  void InsertLine(std::size_t at, std::string line);

  std::vector<std::string> lines_;
  // Each line's own line end ("" for a last line without one), so that a
  // file with mixed line ends comes back byte for byte.
  std::vector<std::string> ends_;
  std::string lineEnd_ = "\r\n";  // for new lines: the file's first one
  bool bom_ = false;
};

}  // namespace quorix
