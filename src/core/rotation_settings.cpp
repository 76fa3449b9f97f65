// The rotation dialog's settings from the configuration file and the texts
// that show the current rotation.
#include "core/rotation_settings.h"

#include "core/float_text.h"
#include "core/nearest.h"
#include "io/text_file.h"

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

std::string AxisInfoText(const Mat3& matrix) {
  const AxisAngle a = MatrixToAxisAngle(matrix);
  return std::to_string(Nearest(a.phi)) + "/" + std::to_string(Nearest(a.theta)) + "  " +
         std::to_string(Nearest(a.omega));
}

std::string RotationListText(const RotationList& list) {
  if (list.empty()) return kNoRotationText;
  std::string text;
  for (const RotationEntry& e : list) text += std::string(1, e.axis) + ":" + FormatGeneral(e.angle) + "; ";
  return text;
}

std::string AxisButtonCaption(int tag) {
  static const char* const kCaptions[4] = {"none", "X-axis", "Y-axis", "Z-axis"};
  return tag >= 0 && tag <= 3 ? kCaptions[tag] : kCaptions[0];
}

}  // namespace quorix
