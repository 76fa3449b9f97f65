// The RP-log entry of a comparison, from the records compared: the Compare
// command of the desktop program and `quorix-cli diff` both log through it.
#pragma once

#include "record/pole_figure.h"
#include "transform/pf_difference.h"

namespace quorix {

// multi: PF1 came from a hash-list or WKO list file (the log's wide layout).
RPLogEntry RPLogEntryFor(const PoleFigure& pf1, const PoleFigure& pf2, bool multi, const PFComparison& result);

}  // namespace quorix
