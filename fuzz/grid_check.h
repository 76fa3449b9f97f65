// What every grid read must leave behind, accepted or refused.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "record/circle_links.h"
#include "record/pole_figure.h"

namespace quorix::fuzz {

inline void Require(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz: broken invariant: %s\n", what);
    std::abort();
  }
}

// The grid part of a record reused from run to run (a fresh record per run
// would cost more than the read).
inline void ResetGrid(PoleFigure& pf) {
  pf.Alpha.fill(0);
  pf.BetaStart.fill(0);
  pf.BetaStep.fill(0);
  pf.CirclePoints.fill(0);
  pf.CircleCount = pf.PointCount = pf.InnerMirror = pf.OuterMirror = 0;
  pf.BetaRange = 0;
}

// A record marked so that a refused read can be seen to leave it alone.
inline void MarkUntouched(PoleFigure& pf) {
  pf.CircleCount = 3;
  pf.Alpha[1] = 42;
  pf.CirclePoints[1] = 17;
}

inline void CheckUntouched(const PoleFigure& pf) {
  Require(pf.CircleCount == 3 && pf.Alpha[1] == 42 && pf.CirclePoints[1] == 17, "a refused grid changed the record");
}

inline void CheckAcceptedGrid(PoleFigure& pf) {
  const int n = pf.CircleCount;
  Require(n >= 1 && n <= kMaxCircles, "circle count within the record");
  Require(n + pf.OuterMirror <= kMaxCircles, "room for the outer mirror circle");
  Require(TablesHoldGrid(pf), "tables sized to the grid");
  for (int i = 1; i <= n; ++i) {
    Require(pf.CirclePoints[i] >= 1 && pf.CirclePoints[i] <= kMaxPoints, "points per circle within the record");
    Require(std::isfinite(pf.Alpha[i]) && std::isfinite(pf.BetaStep[i]) && pf.BetaStep[i] != 0, "finite grid numbers");
    Require(pf.BetaStart[i] >= 0 && pf.BetaStart[i] < 360, "beta start in one turn");
  }
  // Links are built on every accepted grid; they must stay on the grid.
  for (int i = 1; i <= n; ++i) StoreInIncreasingBeta(pf, i);
  if (BuildCircleLinks(pf)) {
    for (int i = 1; i <= n; ++i) {
      Require(pf.CirclePoints[i] <= kMaxPoints, "completion stays within the record");
      for (int k = 1; k <= pf.CirclePoints[i]; ++k) {
        const GridLink& l = pf.Link[i][k];
        if (i < n && l.OuterLink != -1)
          Require(l.OuterLink >= 0 && l.OuterLink <= pf.CirclePoints[i + 1], "outer link on the next circle");
        if (i > 1 && l.InnerLink != -1)
          Require(l.InnerLink >= 0 && l.InnerLink <= pf.CirclePoints[i - 1], "inner link on the circle before");
      }
    }
  }
}

}  // namespace quorix::fuzz
