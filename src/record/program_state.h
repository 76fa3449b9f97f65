// The program-wide state that the drawing and the commands read: display
// options, rotation state, contour colours, paths. One object, owned by the
// application and passed explicitly.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "math/vector_math.h"

namespace quorix {

using Color = std::uint32_t;  // R + 256 G + 65536 B
// A colour value read from a colour-set file may be -11 (drawn as black).
using ColorValue = std::int64_t;

struct DisplayOptions {
  bool FillAreas = false;
  bool ShowMrd = false;
  bool DrawGrid = true;
  bool DrawTriangles = false;
  bool ShowEigenvalues = false;
  bool EqualArea = false;
  // Small marks on points without a value (-1), which leave gaps in a filled plot.
  bool MarkMissing = false;
  // The rim stands for the outermost measured tilt instead of 90 degrees.
  bool ZoomToMeasured = false;
  // Contour lines and labels smoothed on pixel outputs; fills stay exact.
  bool SmoothLines = true;
  // One colour scale for every window on screen.
  bool OneScale = false;
  double PlotStretch = 5;
  double TextStretch = 2;
};

// How the sample frame is turned: one rotation about any axis, a list of
// rotations about X, Y and Z, or none.
enum class RotationMode : std::uint8_t { Matrix = 0, List = 1, None = 2 };

// The one description of a rotation, for the display, re-gridding and the
// density. The matrix and the list are both kept whichever mode is chosen, so
// that switching modes in the rotation dialog finds the other one as it was.
struct RotationState {
  RotationMode Mode = RotationMode::None;
  Mat3 Matrix = IdentityMatrix();
  RotationList List;
  // "triclin": directions rotated out of the hemisphere are dropped, not folded.
  bool TriclinicSymmetry = false;

  bool Active() const { return Mode != RotationMode::None; }

  // Takes over the kind of rotation `chosen` names and its matrix or list;
  // the other kind stays as it was, for a later choice of it.
  void TakeChosenKind(const RotationState& chosen) {
    Mode = chosen.Mode;
    if (chosen.Mode == RotationMode::Matrix) Matrix = chosen.Matrix;
    if (chosen.Mode == RotationMode::List) List = chosen.List;
  }
};

struct ProgramState {
  DisplayOptions Options;
  RotationState Rotation;
  std::array<ColorValue, 51> ContourColor{};  // 1..50
  std::int32_t StartupSize = 100;
  std::string DataPath;
  std::string GridPath;
  // File names of the pole figures added by the add command, shown in the plot.
  std::vector<std::string> AddListFiles;
  // The levels in m.r.d. that every window draws with while OneScale is on;
  // empty: each record its own.
  std::vector<double> SharedLevels;

  // Mode, matrix and list; the confirmed "triclin" symmetry stays.
  void ResetRotation() {
    const bool triclinic = Rotation.TriclinicSymmetry;
    Rotation = RotationState{};
    Rotation.TriclinicSymmetry = triclinic;
  }
};

}  // namespace quorix
