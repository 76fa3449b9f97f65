// The lines of a level by a scan over every triangle in grid order: what the
// contour tracer, which passes over the blocks a level cannot cross, is held to.
#pragma once

#include "plot/contours.h"

namespace quorix::test {

inline LevelContours TraceLevelByPlainScan(const PoleFigure& pf, double threshold, bool collectSeeds,
                                           MessageSink* messages = nullptr) {
  LevelContours out;
  TriangleMarks marks(pf);
  const int n = CircleCountOf(pf);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= PointsOn(pf, i); ++j)
      for (TriangleKind kind : {TriangleKind::Inner, TriangleKind::Outer}) {
        const TriangleRef t{i, j, kind};
        const auto v = TriangleVertices(pf, t);
        if (!v || marks.Visited(t)) continue;
        if (ValueAt(pf, (*v)[0]) != kMissing && ValueAt(pf, (*v)[1]) != kMissing && ValueAt(pf, (*v)[2]) != kMissing)
          TraceTriangle(pf, marks, t, *v, threshold, collectSeeds, out, messages);
        marks.SetVisited(t, true);
      }
  return out;
}

}  // namespace quorix::test
