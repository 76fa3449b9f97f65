// The rotation dialog's settings and the texts that show the current rotation.
#pragma once

#include <string>

#include "math/vector_math.h"
#include "record/program_state.h"

namespace quorix {

// Section "Rotation": "hemis", "symmetry" and "rot".
struct RotationSettings {
  bool UpperHemisphere = true;                      // "hemis" does not contain "lower"
  bool Triclin = false;                             // "symmetry" contains "tri"
  RotationMode DefaultMode = RotationMode::Matrix;  // "rot": any axis when it contains "AX", else the list
};

// "phi/theta  omega" of the matrix's axis and angle, each a whole number.
std::string AxisInfoText(const Mat3& matrix);

// "X:30; Z:-45; ", or "no rotation" for an empty list.
std::string RotationListText(const RotationList& list);

inline constexpr const char* kNoRotationText = "no rotation";

// The axis buttons step through "none", "X-axis", "Y-axis", "Z-axis".
std::string AxisButtonCaption(int tag);
inline int NextAxisTag(int tag) { return tag >= 3 || tag < 0 ? 0 : tag + 1; }
// 'X', 'Y', 'Z' for tags 1..3; 0 for a row that is not used.
inline char AxisLetter(int tag) { return tag >= 1 && tag <= 3 ? static_cast<char>(tag + 87) : '\0'; }

}  // namespace quorix
