#include "settings/startup_config.h"

#include <cctype>
#include <filesystem>
#include <fmt/format.h>

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

StartupConfig ReadStartupConfig(const IniFile& ini) {
  StartupConfig c;
  c.GridFileName = ini.ReadString("Files", "grid", "");
  c.GridPath = c.GridFileName.empty() ? std::string() : std::filesystem::path(c.GridFileName).parent_path().string();
  c.DataPath = ini.ReadString("Data", "datapath", "");
  for (int n = 2; n <= 8; ++n) {
    const int offset = 50 * (n - 2) + 1;
    const std::string fallback = fmt::format("top{:04d}_left{:04d}", offset, offset);
    c.PlotWindow[n] = ParseWindowPosition(ini.ReadString("Plot", "plot" + std::to_string(n), fallback));
  }
  return c;
}

std::string IniFileNameFor(const std::string& programPath, const std::string& currentFolder) {
  std::filesystem::path p(programPath);
  if (!p.has_parent_path()) p = std::filesystem::path(currentFolder) / p;
  p.replace_extension("ini");
  return p.string();
}

}  // namespace quorix
