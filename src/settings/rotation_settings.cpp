#include "settings/rotation_settings.h"

#include "base/text_file.h"

namespace quorix {

RotationSettings ReadRotationSettings(const IniFile& ini) {
  RotationSettings s;
  const std::string hemis = ToLower(ini.ReadString("Rotation", "hemis", "upper"));
  const std::string symmetry = ToLower(ini.ReadString("Rotation", "symmetry", "monoclin"));
  const std::string rot = ToUpper(ini.ReadString("Rotation", "rot", "AXIS"));
  s.UpperHemisphere = hemis.find("lower") == std::string::npos;
  s.Triclin = symmetry.find("tri") != std::string::npos;
  s.DefaultMode = rot.find("AX") != std::string::npos ? 0 : 1;
  return s;
}

}  // namespace quorix
