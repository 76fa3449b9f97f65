#include "settings/startup_config.h"

#include <fmt/format.h>

#include <cctype>
#include <filesystem>

#include "base/text_file.h"

namespace quorix {
namespace {

// Digits from `from` (0-based) up to the first non-digit, at most `count`.
int LeadingNumber(const std::string& s, std::size_t from, std::size_t count) {
  long value = 0;
  for (std::size_t i = from; i < s.size() && i < from + count && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > 100000) break;
  }
  return static_cast<int>(value);
}

}  // namespace

WindowPosition ParseWindowPosition(const std::string& value) {
  WindowPosition p;
  p.top = LeadingNumber(value, 3, 8);
  const auto left = ParseInteger(Columns(value, 13, 16));
  p.left = left ? static_cast<int>(*left) : 0;
  return p;
}

std::string IniFileNameFor(const ProgramPlace& program) {
  std::filesystem::path p(program.path);
  if (!p.has_parent_path()) p = std::filesystem::path(program.currentFolder) / p;
  p.replace_extension("ini");
  return p.string();
}

SettingsFiles ChooseSettingsFiles(const ProgramPlace& program, const std::string& userFolder) {
  const std::string beside = IniFileNameFor(program);
  if (userFolder.empty()) return {beside, beside};
  const std::string user = (std::filesystem::path(userFolder) / std::filesystem::path(beside).filename()).string();
  std::error_code ec;
  if (std::filesystem::exists(user, ec)) return {user, user};
  if (std::filesystem::is_regular_file(beside, ec)) return {beside, user};
  return {"", user};
}

bool SaveSettings(const IniFile& ini, const std::string& path, MessageSink& sink) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) {
    sink.Message(fmt::format("Cannot create {}: {}", folder.string(), ec.message()));
    return false;
  }
  return ini.Save(path, sink);
}

std::string FindManual(const ProgramPlace& program, const std::string& sourceTreeManual) {
  namespace fs = std::filesystem;
  std::error_code ec;
  // <prefix>/bin/quorix -> <prefix>/share/doc/quorix/manual, wherever the prefix is.
  const fs::path installed =
      fs::path(program.path).parent_path().parent_path() / "share" / "doc" / "quorix" / "manual" / "index.html";
  if (fs::is_regular_file(installed, ec)) return installed.string();
  if (!sourceTreeManual.empty() && fs::is_regular_file(sourceTreeManual, ec)) return sourceTreeManual;
  return "";
}

}  // namespace quorix
