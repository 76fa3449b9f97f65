#include "base/text_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace quorix {

namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Why an existing file is not read.
std::string UnreadableReason(const std::string& fileName) {
  std::error_code ec;
  const auto status = std::filesystem::status(fileName, ec);
  if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    return "it is not a regular file";
  const auto size = std::filesystem::file_size(fileName, ec);
  if (!ec && size > kMaxTextFileSize) return "it is larger than 1 GB";
  return {};
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

FileStatus ReadWholeFile(const std::string& fileName, std::string& contents, std::uintmax_t maxSize) {
  std::error_code ec;
  const auto status = std::filesystem::status(fileName, ec);
  if (ec || !std::filesystem::exists(status)) return FileStatus::Missing;
  if (!std::filesystem::is_regular_file(status)) return FileStatus::Unreadable;
  const std::uintmax_t size = std::filesystem::file_size(fileName, ec);
  if (ec || size > maxSize) return FileStatus::Unreadable;
  const std::unique_ptr<std::FILE, FileCloser> f(std::fopen(fileName.c_str(), "rb"));
  if (!f) return FileStatus::Unreadable;
  // One buffer of the file's size: a growing string would briefly need twice that.
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t got = std::fread(text.data(), 1, text.size(), f.get());
  text.resize(got);
  // The file may have grown since its size was taken.
  char more[65536];
  while ((got = std::fread(more, 1, sizeof more, f.get())) > 0) {
    if (text.size() + got > maxSize) return FileStatus::Unreadable;
    text.append(more, got);
  }
  if (std::ferror(f.get())) return FileStatus::Unreadable;
  contents = std::move(text);
  return FileStatus::Ok;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  return text.substr(0, kBom.size()) == kBom ? text.substr(kBom.size()) : text;
}

bool LineCursor::Next(std::string_view& line) {
  const std::size_t n = text_.size();
  if (pos_ >= n) return false;
  const char* begin = text_.data() + pos_;
  const char* end = std::find_if(begin, text_.data() + n, IsLineEnd);
  const std::size_t length = static_cast<std::size_t>(end - begin);
  line = text_.substr(pos_, length);
  pos_ += length;
  if (pos_ < n) {
    const bool crlf = text_[pos_] == '\r' && pos_ + 1 < n && text_[pos_ + 1] == '\n';
    pos_ += crlf ? 2 : 1;
  }
  return true;
}

void LineCursor::Skip(std::size_t count) {
  std::string_view line;
  for (std::size_t k = 0; k < count && Next(line); ++k) {
  }
}

bool TokenCursor::Next(std::string_view& token) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  std::size_t i = 0;
  while (i < rest_.size() && blank(rest_[i])) ++i;
  std::size_t end = i;
  while (end < rest_.size() && !blank(rest_[end])) ++end;
  token = rest_.substr(i, end - i);
  rest_.remove_prefix(end);
  return !token.empty();
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) lines.emplace_back(line);
  return lines;
}

std::optional<std::string> ReadTextFile(const std::string& fileName, MessageSink& sink,
                                        const std::string& missingMessage) {
  std::string contents;
  switch (ReadWholeFile(fileName, contents)) {
    case FileStatus::Missing: sink.Message(missingMessage); return std::nullopt;
    case FileStatus::Unreadable: {
      const std::string reason = UnreadableReason(fileName);
      sink.Message("Cannot open " + fileName + (reason.empty() ? "." : ": " + reason + "."));
      return std::nullopt;
    }
    case FileStatus::Ok: break;
  }
  return contents;
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
