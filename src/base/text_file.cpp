#include "base/text_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace quorix {

namespace {

// No pole figure, grid or template file comes near this size.
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{1} << 30;

// Why an existing file is not read: devices such as /dev/zero never end,
// a pipe may never answer.
std::string UnreadableReason(const std::string& fileName) {
  std::error_code ec;
  const auto status = std::filesystem::status(fileName, ec);
  if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) return "it is not a regular file";
  const auto size = std::filesystem::file_size(fileName, ec);
  if (!ec && size > kMaxFileSize) return "it is larger than 1 GB";
  return {};
}

}  // namespace

FileStatus ReadWholeFile(const std::string& fileName, std::string& contents) {
  std::error_code ec;
  const auto status = std::filesystem::status(fileName, ec);
  if (ec || !std::filesystem::exists(status)) return FileStatus::Missing;
  if (!UnreadableReason(fileName).empty()) return FileStatus::Unreadable;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return FileStatus::Unreadable;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return FileStatus::Unreadable;
  contents = std::move(buffer).str();
  return FileStatus::Ok;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  return text.substr(0, kBom.size()) == kBom ? text.substr(kBom.size()) : text;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const char c = text[i];
    if (c == '\n' || c == '\r') {
      lines.emplace_back(text.substr(start, i - start));
      if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
    ++i;
  }
  if (start < n) lines.emplace_back(text.substr(start));
  return lines;
}

std::optional<std::vector<std::string>> ReadLines(const std::string& fileName, MessageSink& sink,
                                                  const std::string& missingMessage) {
  std::string contents;
  switch (ReadWholeFile(fileName, contents)) {
    case FileStatus::Missing:
      sink.Message(missingMessage);
      return std::nullopt;
    case FileStatus::Unreadable: {
      const std::string reason = UnreadableReason(fileName);
      sink.Message("Cannot open " + fileName + (reason.empty() ? "." : ": " + reason + "."));
      return std::nullopt;
    }
    case FileStatus::Ok:
      break;
  }
  return SplitLines(WithoutByteOrderMark(contents));
}

std::optional<double> ParseNumber(std::string_view token) {
  token = Trim(token);
  const bool plus = !token.empty() && token.front() == '+';
  if (plus) token.remove_prefix(1);
  if (token.empty() || (plus && (token.front() == '+' || token.front() == '-'))) return std::nullopt;
  double value = 0;
  const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (ec != std::errc() || ptr != token.data() + token.size() || !std::isfinite(value)) return std::nullopt;
  // from_chars accepts "inf"/"nan" spelled out; isfinite has rejected them.
  return value;
}

std::optional<long long> ParseInteger(std::string_view token) {
  token = Trim(token);
  const bool plus = !token.empty() && token.front() == '+';
  if (plus) token.remove_prefix(1);
  if (token.empty() || (plus && (token.front() == '+' || token.front() == '-'))) return std::nullopt;
  long long value = 0;
  const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (ec != std::errc() || ptr != token.data() + token.size()) return std::nullopt;
  return value;
}

std::string_view Trim(std::string_view s) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; };
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> SplitWhitespace(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n) {
    while (i < n && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    const std::size_t start = i;
    while (i < n && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

std::vector<std::string_view> FixedFields(std::string_view line, std::size_t first, std::size_t width) {
  std::vector<std::string_view> fields;
  std::size_t pos = first;
  do {
    fields.push_back(pos < line.size() ? line.substr(pos, width) : std::string_view());
    pos += width;
  } while (pos < line.size());
  return fields;
}

std::string_view Columns(std::string_view line, std::size_t from, std::size_t to) {
  if (from < 1 || from > line.size() || to < from) return {};
  return line.substr(from - 1, to - from + 1);
}

std::string FileNamePart(const std::string& path) {
  const auto pos = path.find_last_of("/\\");
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string ToLower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string ToUpper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

}  // namespace quorix
