// The record of one pole figure: grid, intensities, statistics, levels, links.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/message_sink.h"

namespace quorix {

// The largest grid a record takes: 181 measured circles (alpha 0..90 in steps
// of 0.5 degree) plus the outer mirror circle, and 720 points on a circle plus
// the closing point. The grid description holds rows 0..kMaxCircles + 1
// (circle 0 and n + 1 are the mirror circles); the tables are sized to the grid.
inline constexpr int kMaxCircles = 182;
inline constexpr int kMaxPoints = 721;
inline constexpr int kMaxGridRows = kMaxCircles + 2;
inline constexpr int kMaxLevels = 50;
inline constexpr double kMissing = -1.0;  // a point without value

// Which grid reader filled the grid: the simple layout or the full one with mirror switches.
enum class GridKind : std::uint8_t { Simple, Full };

// What the intensities count, as the file's layout tells it: per second (counts
// divided by the counting time, or rates already), counts to the monitor
// preset in Monitor, or unknown where the file does not say.
enum class IntensityUnit : std::uint8_t { Unknown, PerSecond, PerMonitor };

struct GridLink {
  std::int32_t InnerLink = 0;
  std::int32_t OuterLink = 0;
  std::uint8_t Mark1 = 0;
  std::uint8_t Mark2 = 0;
};

// Rows 0..Rows()-1 of Cols() values each, in one block; t[i][k] as on a
// nested array. A row is a span, so a bounds-checking build checks both indices.
template <class T>
class GridTable {
 public:
  GridTable() = default;
  GridTable(int rows, int cols) { Resize(rows, cols); }
  // Every value is value-initialised anew, whatever the table held.
  void Resize(int rows, int cols) {
    rows_ = std::max(rows, 0);
    cols_ = std::max(cols, 0);
    cells_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_), T{});
  }
  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  std::span<T> operator[](int row) { return std::span<T>(cells_).subspan(Offset(row), Width()); }
  std::span<const T> operator[](int row) const { return std::span<const T>(cells_).subspan(Offset(row), Width()); }
  void Fill(const T& value) { std::fill(cells_.begin(), cells_.end(), value); }
  // Every cell, row after row.
  std::span<const T> Cells() const { return cells_; }
  bool operator==(const GridTable&) const = default;

 private:
  std::size_t Width() const { return static_cast<std::size_t>(cols_); }
  std::size_t Offset(int row) const { return static_cast<std::size_t>(row) * Width(); }

  std::vector<T> cells_;
  int rows_ = 0;
  int cols_ = 0;
};

// A plain value. Until a grid is set (SetGrid) its tables hold rows
// and points 0..1 only; then their size follows the grid, so a 5 degree grid
// costs a few tens of KB.
struct PoleFigure {
  // [0..CircleCount + 1][0..most points + 1]; see SetGrid.
  GridTable<double> Intensity{2, 2};
  std::int16_t SSCILevel = 0;
  std::int32_t SSCICount = 0;
  std::int32_t PointCount = 0;
  double MinValue = 0;
  double MaxValue = 0;
  double NormFactor = 0;
  std::array<double, 4> Eigenvalue{};  // 1..3
  std::array<double, 4> EigenAlpha{};  // 1..3
  std::array<double, 4> EigenBeta{};   // 1..3
  std::int32_t MinCircle = 0, MinPoint = 0;
  std::int32_t MaxCircle = 0, MaxPoint = 0;
  std::int32_t CircleCount = 0;
  std::array<double, kMaxGridRows> Alpha{};
  std::array<double, kMaxGridRows> BetaStart{};
  std::array<double, kMaxGridRows> BetaStep{};
  std::array<std::int32_t, kMaxGridRows> CirclePoints{};
  double BetaRange = 0;
  std::int32_t InnerMirror = 0;
  std::int32_t OuterMirror = 0;
  std::array<double, kMaxLevels + 1> Level{};  // 1..50
  std::int32_t LevelCount = 0;
  double LowestLevel = 0;
  std::string FileName;
  // Changed (edited, smoothed, added to, ...) since it was read or last saved.
  bool Modified = false;
  GridKind Grid = GridKind::Simple;
  // Place (from 1) of the pole figure in a hash-list or WKO list file and the
  // file's name for it, usually its Miller indices; 0 and empty for a file of one.
  std::int32_t IndexInFile = 0;
  std::string NameInFile;
  // Miller indices as the data file writes them ("1 1 1"); empty where it gives none.
  std::string Hkl;
  // The data file's own line about the pole figure (popLA's comment line), written back where the layout has one.
  std::string CommentInFile;
  // How it was measured, where the file says (0 or false where it does not):
  // the detector angle 2theta in degrees, the counting time per point in
  // seconds or else the monitor count the values are per, and whether it is a
  // background measurement beside the peak rather than the pole figure itself.
  // The intensity corrections pair peaks and backgrounds by them.
  double TwoTheta = 0;
  double CountingTime = 0;
  double Monitor = 0;
  bool Background = false;
  IntensityUnit Unit = IntensityUnit::Unknown;
  // Background, defocusing or absorption corrections were applied, and the
  // result was put in m.r.d. over its measured region.
  bool Corrected = false;
  bool InMrd = false;
  // The standard deviation of an instrument file's counts at tilt 0 (one
  // direction, counted once per azimuth), whose mean every centre point holds;
  // none where no centre was averaged.
  std::optional<double> CentreSpread;
  // The share (0..1) of the statistics' sampling directions that could be
  // interpolated from the grid when NormFactor was last computed.
  double SampledShare = 0;
  // Set anew by every change of the intensities (MarkChanged), so that a change can be noticed.
  std::uint64_t Revision = 0;
  GridTable<GridLink> Link{2, 2};  // the shape of Intensity; circles 1..n, points 1..CirclePoints[i] in use
};

inline std::unique_ptr<PoleFigure> NewPoleFigure() { return std::make_unique<PoleFigure>(); }

// Beta of point k on circle i, not reduced modulo 360.
inline double BetaOf(const PoleFigure& pf, int i, int k) { return (k - 1) * pf.BetaStep[i] + pf.BetaStart[i]; }

// What the record knows of its place in a data file (index, name, hkl,
// comment): copied with the values it was made from, or forgotten where the
// values are no longer those of one pole figure of the file.
void CopyFileFacts(const PoleFigure& from, PoleFigure& to);
void ForgetFileFacts(PoleFigure& pf);

// A revision no record has had before, so that records swapped in meanwhile
// never look unchanged.
void MarkChanged(PoleFigure& pf);

// One circle of a grid as a reader finds it: tilt, first azimuth, azimuth
// step (negative: measured towards decreasing beta, from its lowest beta) and points.
struct GridCircle {
  double alpha = 0, betaStart = 0, betaStep = 0;
  long long points = 0;  // as the file gives it, for the limit's message
};

// A grid before it goes into a record.
struct GridDescription {
  std::vector<GridCircle> circles;  // circles 1..n
  // Circle 0 mirrors circle 1 through the centre; circle n + 1 mirrors circle n through the rim.
  bool innerMirror = false;
  bool outerMirror = false;
  GridKind kind = GridKind::Simple;
};

// Circles 0, 5, ..., 90 degrees of 72 points from beta 0: the grid of
// Beartex and popLA blocks and of pole figures computed from an ODF.
GridDescription FiveDegreeGrid();

// The one way to set or change a record's grid. A grid outside the limits
// gets a problem of `file` (CheckGridLimits) and false, the record
// untouched. Otherwise the circles are copied, the mirror circles, PointCount
// and BetaRange derived and the tables sized, every value 0. From then on
// circles 0..CircleCount + 1 with points 0..CirclePoints[i] + 1 lie inside
// the tables, so no loop over them needs to look at the tables' size.
bool SetGrid(PoleFigure& pf, const GridDescription& grid, const std::string& file, FileRole role, MessageSink& sink);

// The grid of `from` for `to`, every value 0 (used to leave a record
// untouched until a grid file has been read completely).
void CopyGrid(const PoleFigure& from, PoleFigure& to);

// Circle i stored in increasing beta, its mirror circle following: a reader
// turns a circle measured the other way once its values are in. Only the
// sign of the step changes, so the tables still hold the grid.
void StoreInIncreasingBeta(PoleFigure& pf, int i);

// The limits above, checked for a grid before it goes into a record:
// `points` and `betaSteps` of circles 1..n in order (betaSteps may be empty
// when every circle is a full turn of its points), `outerMirror` when circle
// n + 1 mirrors circle n. The first circle or count that breaks a limit gets
// a problem of `file` and false.
bool CheckGridLimits(std::span<const long long> points, std::span<const double> betaSteps, bool outerMirror,
                     const std::string& file, FileRole role, MessageSink& sink);

// SetGrid's last step: Intensity and Link sized to the grid fields, every
// value 0: rows 0..CircleCount + 1, points 0..m + 1, where m is the most
// points a circle has or gets when BuildCircleLinks completes it to a full
// turn; a grid outside the limits gets tables for none. Only for tests that
// build a record field by field.
void SizeTablesToGrid(PoleFigure& pf);

// True when the record has a grid within the limits and tables that hold it
// (what SetGrid guarantees; BuildCircleLinks, which completes circles, checks it).
bool TablesHoldGrid(const PoleFigure& pf);

// Points 1..CirclePoints[i] of circle i.
inline std::span<double> CircleValues(PoleFigure& pf, int i) {
  return pf.Intensity[i].subspan(1, static_cast<std::size_t>(pf.CirclePoints[i]));
}
inline std::span<const double> CircleValues(const PoleFigure& pf, int i) {
  return pf.Intensity[i].subspan(1, static_cast<std::size_t>(pf.CirclePoints[i]));
}

// Copies circle 1 into the inner mirror circle 0 and circle n into the outer
// mirror circle n + 1, where the grid has them.
void RefreshMirrorCircles(PoleFigure& pf);

}  // namespace quorix
