#include "record/prepare.h"

#include "record/circle_links.h"
#include "record/levels.h"
#include "record/statistics.h"

namespace quorix {

void PreparePoleFigure(PoleFigure& pf, bool showMrd) {
  UpdateStatistics(pf);
  AutoLevels(pf, showMrd, true, kMaxLevels);
  pf.LowestLevel = LowestLevelOf(pf, showMrd);
  BuildCircleLinks(pf);
}

}  // namespace quorix
