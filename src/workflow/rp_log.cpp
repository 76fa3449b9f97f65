#include "workflow/rp_log.h"

namespace quorix {

RPLogEntry RPLogEntryFor(const PoleFigure& pf1, const PoleFigure& pf2, bool multi, const PFComparison& result) {
  RPLogEntry entry;
  entry.pf1File = pf1.FileName;
  entry.pf2File = pf2.FileName;
  entry.multi = multi;
  entry.pf1Index = PlaceInFileText(pf1);
  entry.pf2Index = PlaceInFileText(pf2);
  entry.eps = result.eps;
  entry.rp = result.RP;
  return entry;
}

}  // namespace quorix
