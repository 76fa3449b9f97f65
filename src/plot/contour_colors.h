// The colours of the contour levels: the built-in set and colour-set files.
#pragma once

#include <array>
#include <string>

#include "record/program_state.h"
#include "base/ini_file.h"

namespace quorix {

using ContourColorTable = std::array<ColorValue, 51>;  // 1..50

// Read back from a colour-set file for a missing or unreadable key; such an
// entry is drawn as black.
inline constexpr ColorValue kMissingColor = -11;

// Levels 1..10 in ten distinct colours, the rest black.
ContourColorTable DefaultContourColors();

// The start-up colours: "color1", "color2", ... of section "Contour" up to
// the first missing key, the rest black; the default set when "color1" is
// missing.
void LoadContourColors(const IniFile& ini, ContourColorTable& colors);
// A missing file gives the default set.
void LoadContourColors(const std::string& fileName, ContourColorTable& colors);

// A colour set loaded over the current one: each key read replaces its
// level's colour, the entry after the last one read becomes kMissingColor,
// later entries stay. Returns the number of colours read.
int LoadColorSet(const IniFile& ini, ContourColorTable& colors);

// Writes "color1".."color<count>" of section "Contour" (count clamped to
// 0..50); the file's other lines stay. False with `error` on failure.
void StoreColorSet(IniFile& ini, const ContourColorTable& colors, int count);
bool SaveColorSet(const std::string& fileName, const ContourColorTable& colors, int count,
                  std::string& error);

}  // namespace quorix
