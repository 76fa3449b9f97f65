#include "transform/rotation_text.h"

#include "base/nearest.h"
#include "base/number_format.h"
#include "base/text_file.h"

namespace quorix {

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
