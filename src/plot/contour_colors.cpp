// Contour colour sets read from and written to configuration files.
#include "plot/contour_colors.h"

#include <algorithm>
#include <filesystem>

#include "record/pole_figure.h"

namespace quorix {

namespace {

constexpr const char* kSection = "Contour";

std::string ColorKey(int level) { return "color" + std::to_string(level); }

}  // namespace

ContourColorTable DefaultContourColors() {
  ContourColorTable colors{};
  const ColorValue firstTen[10] = {
      32896,     // olive
      16711935,  // fuchsia
      16711680,  // blue
      128,       // maroon
      32768,     // green
      65280,     // lime
      255,       // red
      8388608,   // navy
      16776960,  // aqua
      65535,     // yellow
  };
  std::copy(std::begin(firstTen), std::end(firstTen), colors.begin() + 1);
  return colors;
}

void LoadContourColors(const IniFile& ini, ContourColorTable& colors) {
  if (ini.ReadInteger(kSection, ColorKey(1), kMissingColor) == kMissingColor) {
    colors = DefaultContourColors();
    return;
  }
  ContourColorTable loaded{};
  for (int k = 1; k <= kMaxLevels; ++k) {
    ColorValue c = ini.ReadInteger(kSection, ColorKey(k), kMissingColor);
    if (c == kMissingColor) break;
    loaded[k] = c;
  }
  colors = loaded;
}

void LoadContourColors(const std::string& fileName, ContourColorTable& colors) {
  LoadContourColors(IniFile::Load(fileName), colors);
}

int LoadColorSet(const IniFile& ini, ContourColorTable& colors) {
  for (int k = 1; k <= kMaxLevels; ++k) {
    ColorValue c = ini.ReadInteger(kSection, ColorKey(k), kMissingColor);
    colors[k] = c;
    if (c == kMissingColor) return k - 1;
  }
  return kMaxLevels;
}

void StoreColorSet(IniFile& ini, const ContourColorTable& colors, int count) {
  count = std::clamp(count, 0, kMaxLevels);
  for (int k = 1; k <= count; ++k) ini.WriteInteger(kSection, ColorKey(k), colors[k]);
}

bool SaveColorSet(const std::string& fileName, const ContourColorTable& colors, int count,
                  std::string& error) {
  bool readable = false;
  IniFile ini = IniFile::Load(fileName, &readable);
  std::error_code ec;
  if (!readable && std::filesystem::exists(fileName, ec)) {
    // Writing now would drop the file's other sections.
    error = "Cannot read " + fileName;
    return false;
  }
  StoreColorSet(ini, colors, count);
  return ini.Save(fileName, error);
}

}  // namespace quorix
