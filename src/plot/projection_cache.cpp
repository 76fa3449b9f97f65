// Projected grid points kept between redraws.
#include "plot/projection_cache.h"

#include <bit>

#include "plot/contours.h"

namespace quorix {

void ProjectionCache::GridKey(const PoleFigure& pf, std::vector<std::uint64_t>& out) {
  out.clear();
  const int n = CircleCountOf(pf);
  out.push_back(static_cast<std::uint64_t>(n));
  for (int i = 1; i <= n; ++i) {
    out.push_back(std::bit_cast<std::uint64_t>(pf.Alpha[i]));
    out.push_back(std::bit_cast<std::uint64_t>(pf.BetaStart[i]));
    out.push_back(std::bit_cast<std::uint64_t>(pf.BetaStep[i]));
    out.push_back(static_cast<std::uint64_t>(PointsOn(pf, i)));
  }
}

bool ProjectionCache::Update(const PoleFigure& pf, int plotSize, bool equalArea, const DisplayRotation& rotation,
                             double rimTilt) {
  GridKey(pf, scratch_);
  // Bits, not values: -0 and 0 may turn a direction to opposite azimuths.
  if (key_.plotSize == plotSize && key_.equalArea == equalArea && key_.rotation.SameBits(rotation) &&
      std::bit_cast<std::uint64_t>(key_.rimTilt) == std::bit_cast<std::uint64_t>(rimTilt) && key_.grid == scratch_)
    return false;
  key_.plotSize = plotSize;
  key_.equalArea = equalArea;
  key_.rotation = rotation;
  key_.rimTilt = rimTilt;
  key_.grid.swap(scratch_);

  const int n = CircleCountOf(pf);
  rowStart_.assign(static_cast<std::size_t>(n) + 2, 0);
  for (int i = 1; i <= n; ++i)
    rowStart_[static_cast<std::size_t>(i) + 1] =
        rowStart_[static_cast<std::size_t>(i)] + static_cast<std::size_t>(PointsOn(pf, i));
  entries_.assign(rowStart_.back(), Entry{});
  std::size_t k = 0;
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= PointsOn(pf, i); ++j, ++k) {
      const MappedDirection m = rotation.Map(pf.Alpha[i], BetaOf(pf, i, j));
      entries_[k].dropped = m.dropped;
      if (!m.dropped)
        entries_[k].at = ProjectPoint(plotSize, ZoomedAlpha(m.alpha, rimTilt, equalArea), m.beta, equalArea);
    }
  }
  return true;
}

}  // namespace quorix
