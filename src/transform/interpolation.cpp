// Re-gridding pole figures onto another grid, optionally rotated.
#include "transform/interpolation.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "base/text_file.h"
#include "io/grid_reader.h"
#include "record/prepare.h"
#include "record/statistics.h"

namespace quorix {

namespace {

// The rotation that carries a target direction back into the source frame.
struct SourceMapping {
  RotationMode mode = RotationMode::None;
  Mat3 matrix = IdentityMatrix();
  RotationList list;
  bool dropUpper = false;
  // A rotation about the projection axis only: the centre point of the target
  // grid is looked up at its azimuth shifted, since rotating the vector
  // (0, 0, 1) would lose the azimuth.
  bool pureAzimuth = false;
  double shift = 0;
};

SourceMapping MakeMapping(const RotationState& r) {
  SourceMapping m;
  m.dropUpper = r.TriclinicSymmetry;
  if (r.Mode == RotationMode::Matrix) {
    const AxisAngle a = MatrixToAxisAngle(r.Matrix);
    m.mode = RotationMode::Matrix;
    m.matrix = AxisAngleMatrix(a.phi, a.theta, -a.omega);
    m.pureAzimuth = a.theta == 0;
    m.shift = -a.omega;
  } else if (r.Mode == RotationMode::List) {
    m.mode = RotationMode::List;
    m.pureAzimuth = true;
    for (auto it = r.List.rbegin(); it != r.List.rend(); ++it) {
      m.list.push_back({it->axis, -it->angle});
      if (it->axis != 'Z') m.pureAzimuth = false;
      m.shift += -it->angle;
    }
  }
  return m;
}

bool FileExists(const std::string& name) {
  std::error_code ec;
  return std::filesystem::exists(name, ec);
}

}  // namespace

Mat3 InvertByAxisAngle(const Mat3& m) {
  const AxisAngle a = MatrixToAxisAngle(m);
  return AxisAngleMatrix(a.phi, a.theta, -a.omega);
}

void InterpolatePoleFigure(const PoleFigure& source, PoleFigure& target, const InterpolationOptions& options) {
  const SourceMapping map = MakeMapping(options.rotation);
  for (int i = 1; i <= target.CircleCount; ++i) {
    const int points = target.CirclePoints[i];
    for (int j = 1; j <= points; ++j) {
      double alpha = target.Alpha[i];
      double beta = target.BetaStart[i] + (j - 1) * target.BetaStep[i];
      if (map.mode == RotationMode::Matrix || map.mode == RotationMode::List) {
        if (map.pureAzimuth && alpha == 0) {
          beta += map.shift;
          if (beta > 360) beta -= 360;
        } else if (map.mode == RotationMode::Matrix) {
          RotateDirectionByMatrix(map.matrix, map.dropUpper, alpha, beta);
        } else {
          RotateDirectionByList(map.list, map.dropUpper, alpha, beta);
        }
      }
      // A direction dropped from the hemisphere has no value, whatever a
      // mirror circle below the centre would let the lookup find there.
      const bool dropped = map.dropUpper && alpha == -1.0 && map.mode != RotationMode::None;
      const std::optional<double> value = dropped ? std::nullopt : InterpolateAt(source, alpha, beta);
      if (!value) {
        target.Intensity[i][j] = kMissing;
      } else {
        double v = *value;
        if (options.zeroNegative && v < 0) v = 0;
        target.Intensity[i][j] = v;
      }
    }
  }
  RefreshMirrorCircles(target);

  UpdateExtremes(target);
  target.FileName = source.FileName;
  CopyFileFacts(source, target);
  PreparePoleFigure(target, options.showMrd);
}

std::unique_ptr<PoleFigure> ReadOutputGrid(const std::string& gridFile, const PoleFigure& like, MessageSink& sink) {
  auto grid = NewPoleFigure();
  grid->FileName = like.FileName;
  if (!ReadGridFile(*grid, gridFile, GridRule::WindowSlot, sink)) return nullptr;
  return grid;
}

InterpolationStatus InterpolateRecords(const std::vector<std::unique_ptr<PoleFigure>*>& records,
                                       const InterpolationRequest& request, bool triclinic, bool showMrd,
                                       MessageSink& sink, const std::function<void()>& begin,
                                       const std::function<void(std::size_t k)>& done) {
  if (request.gridFile.empty()) return InterpolationStatus::EmptyGridName;
  if (!FileExists(request.gridFile)) {
    sink.Message("File " + request.gridFile + " does not exist");
    return InterpolationStatus::GridMissing;
  }
  if (records.empty() || !*records.front()) return InterpolationStatus::GridUnreadable;
  const std::unique_ptr<PoleFigure> grid = ReadOutputGrid(request.gridFile, **records.front(), sink);
  if (!grid) return InterpolationStatus::GridUnreadable;

  InterpolationOptions options;
  options.rotation = request.rotation;
  // The command holds the inverse while it runs; the filling inverts it back.
  if (request.rotation.Mode == RotationMode::Matrix)
    options.rotation.Matrix = InvertByAxisAngle(request.rotation.Matrix);
  options.rotation.TriclinicSymmetry = triclinic;
  options.zeroNegative = request.zeroNegative;
  options.showMrd = showMrd;

  if (begin) begin();
  // Every pole figure lands on the output grid itself: each target starts
  // from a fresh copy of it, never from a record that an earlier target left.
  for (std::size_t k = 0; k < records.size(); ++k) {
    std::unique_ptr<PoleFigure>& source = *records[k];
    auto target = NewPoleFigure();
    CopyGrid(*grid, *target);
    target->FileName = grid->FileName;
    InterpolatePoleFigure(*source, *target, options);
    source = std::move(target);
    if (done) done(k);
  }
  return InterpolationStatus::Done;
}

InterpolationStatus InterpolateSet(PoleFigureSet& set, const std::vector<int>& furtherSlots,
                                   const InterpolationRequest& request, ProgramState& state, MessageSink& sink,
                                   const std::function<void(int slot)>& slotDone) {
  std::vector<int> slots{1};
  for (int n : furtherSlots)
    if (n >= 2 && n <= kSlotCount && set.PF[n]) slots.push_back(n);
  std::vector<std::unique_ptr<PoleFigure>*> records;
  records.reserve(slots.size());
  for (int n : slots) records.push_back(&set.PF[n]);
  // Off before the first redraw, so that no window shows the new data turned
  // by the old display rotation.
  return InterpolateRecords(
      records, request, state.Rotation.TriclinicSymmetry, state.Options.ShowMrd, sink,
      [&state] { state.Rotation.Mode = RotationMode::None; },
      [&](std::size_t k) {
        if (slotDone) slotDone(slots[k]);
      });
}

}  // namespace quorix
