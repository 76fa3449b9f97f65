#include "record/pole_figure.h"

namespace quorix {

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
}

}  // namespace quorix
