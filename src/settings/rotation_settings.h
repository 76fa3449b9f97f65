// The rotation dialog's settings from the configuration file.
#pragma once

#include "base/ini_file.h"
#include "transform/rotation_text.h"

namespace quorix {

// Section "Rotation": "hemis", "symmetry" and "rot".
RotationSettings ReadRotationSettings(const IniFile& ini);

}  // namespace quorix
