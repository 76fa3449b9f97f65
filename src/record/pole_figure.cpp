#include "record/pole_figure.h"

#include <atomic>

namespace quorix {

void MarkChanged(TPoleFigure& pf) {
  static std::atomic<std::uint64_t> last{0};
  pf.Revision = ++last;
}

void CopyGrid(const TPoleFigure& from, TPoleFigure& to) {
  to.CircleCount = from.CircleCount;
  to.Alpha = from.Alpha;
  to.BetaStart = from.BetaStart;
  to.BetaStep = from.BetaStep;
  to.CirclePoints = from.CirclePoints;
  to.PointCount = from.PointCount;
  to.BetaRange = from.BetaRange;
  to.InnerMirror = from.InnerMirror;
  to.OuterMirror = from.OuterMirror;
  to.Grid = from.Grid;
}

}  // namespace quorix
