// Sectioned configuration files: line-preserving reader and writer.
#include "base/ini_file.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <system_error>

#include "base/message_sink.h"

namespace quorix {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  a = Trim(a);
  b = Trim(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// The name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  t.remove_prefix(1);
  std::size_t close = t.find(']');
  if (close != std::string_view::npos) t = t.substr(0, close);
  return Trim(t);
}

struct KeyValue {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyValue> SplitKeyLine(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyValue{Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
}

std::string Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return std::string(v);
}

std::optional<std::int32_t> ParseInt32(std::string_view s) {
  s = Trim(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  } else if (s.size() > 1 && s[0] == '$') {
    base = 16;
    s.remove_prefix(1);
  }
  if (s.empty() || s.front() == '-' || s.front() == '+') return std::nullopt;
  std::uint64_t magnitude = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int32_t>::max();
  if (negative) {
    if (magnitude > kMaxPositive + 1) return std::nullopt;
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
  }
  if (magnitude > kMaxPositive) return std::nullopt;
  return static_cast<std::int32_t>(magnitude);
}

}  // namespace

IniFile IniFile::FromText(std::string_view text) {
  IniFile ini;
  if (text.substr(0, kBom.size()) == kBom) {
    ini.bom_ = true;
    text.remove_prefix(kBom.size());
  }
  // CR LF, LF and a lone CR (old Macintosh editors) each end a line; each
  // line keeps its own end so that a rewrite changes no other line.
  bool first = true;
  while (!text.empty()) {
    const std::size_t brk = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, brk);
    std::string_view end;
    if (brk != std::string_view::npos) {
      const bool crlf = text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n';
      end = crlf ? "\r\n" : text.substr(brk, 1);
      if (first) ini.lineEnd_ = std::string(end);
      first = false;
    }
    ini.lines_.emplace_back(line);
    ini.ends_.emplace_back(end);
    if (brk == std::string_view::npos) break;
    text.remove_prefix(brk + end.size());
  }
  return ini;
}

namespace {

enum class IniRead { Ok, Unreadable, TooLarge };

IniRead ReadIniText(const std::string& path, std::string& text) {
  // A device such as /dev/zero would be read without end.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return IniRead::Unreadable;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > kMaxIniFileSize) return IniRead::TooLarge;
  std::ifstream in(path, std::ios::binary);
  if (!in) return IniRead::Unreadable;
  // No further than the cap, should the file have grown meanwhile.
  text.assign(kMaxIniFileSize + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) return IniRead::Unreadable;
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text.size() > kMaxIniFileSize ? IniRead::TooLarge : IniRead::Ok;
}

}  // namespace

IniFile IniFile::Load(const std::string& path, bool* exists) {
  std::string text;
  const IniRead read = ReadIniText(path, text);
  if (exists) *exists = read == IniRead::Ok;
  return read == IniRead::Ok ? FromText(text) : IniFile{};
}

IniFile IniFile::Load(const std::string& path, MessageSink& sink, bool* exists) {
  std::string text;
  const IniRead read = ReadIniText(path, text);
  if (exists) *exists = read != IniRead::Unreadable;
  if (read == IniRead::TooLarge)
    sink.Message("The configuration file " + path + " is larger than 1 MB and was ignored; the defaults are used.");
  return read == IniRead::Ok ? FromText(text) : IniFile{};
}

std::optional<IniFile::Located> IniFile::Locate(std::string_view section, std::string_view key) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::optional<std::string_view> name = SectionName(lines_[i]);
    if (!name || !SameName(*name, section)) continue;
    Located at{i, lines_.size(), std::nullopt};
    for (std::size_t j = i + 1; j < lines_.size(); ++j) {
      if (SectionName(lines_[j])) {
        at.sectionEnd = j;
        break;
      }
      if (at.keyLine) continue;
      std::optional<KeyValue> kv = SplitKeyLine(lines_[j]);
      if (kv && SameName(kv->key, key)) at.keyLine = j;
    }
    return at;
  }
  return std::nullopt;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  std::optional<Located> at = Locate(section, key);
  if (!at || !at->keyLine) return std::nullopt;
  return Unquote(SplitKeyLine(lines_[*at->keyLine])->value);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  std::optional<std::string> v = Find(section, key);
  return v ? *v : std::string(fallback);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const {
  std::optional<std::string> v = Find(section, key);
  if (!v) return fallback;
  return ParseInt32(*v).value_or(fallback);
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const { return Find(section, key).has_value(); }

// A line break inside a name or value would split the entry.
static std::string OneLine(std::string_view s) {
  std::string out(s);
  std::replace(out.begin(), out.end(), '\r', ' ');
  std::replace(out.begin(), out.end(), '\n', ' ');
  return out;
}

void IniFile::WriteString(std::string_view sectionIn, std::string_view keyIn, std::string_view valueIn) {
  const std::string section = OneLine(sectionIn), key = OneLine(keyIn), value = OneLine(valueIn);
  std::string keyText(Trim(key));
  std::optional<Located> at = Locate(section, key);
  if (at && at->keyLine) {
    // Keep the key as the file spells it.
    std::string_view line = Trim(lines_[*at->keyLine]);
    std::string original(Trim(line.substr(0, line.find('='))));
    lines_[*at->keyLine] = original + "=" + std::string(value);
    return;
  }
  std::string entry = keyText + "=" + std::string(value);
  if (at) {
    std::size_t insertAt = at->sectionLine + 1;
    for (std::size_t j = at->sectionLine + 1; j < at->sectionEnd; ++j)
      if (!Trim(lines_[j]).empty()) insertAt = j + 1;
    InsertLine(insertAt, std::move(entry));
    return;
  }
  InsertLine(lines_.size(), "[" + std::string(Trim(section)) + "]");
  InsertLine(lines_.size(), std::move(entry));
}

void IniFile::InsertLine(std::size_t at, std::string line) {
  // A last line without line end gets one before anything follows it.
  if (at == lines_.size() && !ends_.empty() && ends_.back().empty()) ends_.back() = lineEnd_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  ends_.insert(ends_.begin() + static_cast<std::ptrdiff_t>(at), lineEnd_);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
  WriteString(section, key, std::to_string(value));
}

std::string IniFile::Text() const {
  std::string out;
  if (bom_) out += kBom;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    out += lines_[i];
    out += ends_[i];
  }
  return out;
}

bool IniFile::Save(const std::string& path, MessageSink& sink) const { return WriteFile(path, Text(), sink); }

}  // namespace quorix
