// The record of one pole figure: grid, intensities, statistics, levels, links.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace quorix {

// Layout limits: rows 0..91 of the grid arrays (circle 0 and n+1 are the
// mirror circles), points 1..361 on a circle, 50 contour levels.
inline constexpr int kMaxGridRows = 92;        // grid arrays 0..91
inline constexpr int kMaxIntensityRows = 93;   // Intensity 0..92
inline constexpr int kMaxIntensityCols = 363;  // Intensity 0..362
inline constexpr int kMaxCircles = 91;         // measured + outer mirror
inline constexpr int kMaxPoints = 361;
inline constexpr int kMaxLevels = 50;
inline constexpr double kMissing = -1.0;  // a point without value

// Which grid reader filled the grid: the simple layout or the full one with mirror switches.
enum class GridKind : std::uint8_t { Simple, Full };

struct TGridLink {
  std::int32_t InnerLink = 0;
  std::int32_t OuterLink = 0;
  std::uint8_t Mark1 = 0;
  std::uint8_t Mark2 = 0;
};

// A plain value, zero-filled when value-initialised. About 1.2 MB: create it
// with NewPoleFigure(), never on the stack.
struct TPoleFigure {
  std::array<std::array<double, kMaxIntensityCols>, kMaxIntensityRows> Intensity{};
  std::array<std::array<double, kMaxIntensityCols>, kMaxIntensityRows> IntensityBackup{};
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
  // Set anew by every change of the intensities (MarkChanged), so that a change can be noticed.
  std::uint64_t Revision = 0;
  std::array<std::array<TGridLink, kMaxPoints + 1>, kMaxCircles + 1> Link{};  // [1..91][1..361]
};

inline std::unique_ptr<TPoleFigure> NewPoleFigure() { return std::make_unique<TPoleFigure>(); }

// Beta of point k on circle i, not reduced modulo 360.
inline double BetaOf(const TPoleFigure& pf, int i, int k) { return (k - 1) * pf.BetaStep[i] + pf.BetaStart[i]; }

// A revision no record has had before, so that records swapped in meanwhile
// never look unchanged.
void MarkChanged(TPoleFigure& pf);

// Copies only the grid description (used to leave a record untouched until a
// grid file has been read completely).
void CopyGrid(const TPoleFigure& from, TPoleFigure& to);

}  // namespace quorix
