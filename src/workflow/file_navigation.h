// The navigation keys of the main window: the next file of a numbered series,
// or another pole figure of the multi-pole-figure file loaded.
#pragma once

#include <string>

#include "base/message_sink.h"
#include "workflow/file_series.h"
#include "workflow/session.h"

namespace quorix {

enum class SeriesLoad { Nothing, Main, Window };

// What a key would do, without doing it: whether it steps at all (PFIndex
// follows it), the file a load would read and whether a load would happen.
struct PlannedStep {
  bool stepped = false;
  bool loads = false;
  int pfIndex = 0;
  std::string dataFile;
};
PlannedStep PlanSeriesStep(const Session& session, SeriesKey kind, char key, bool intoWindow, int freeWindow);

// One key. Steps from the data file loaded. intoWindow: the key goes to the
// further window `freeWindow` (0: none is free, nothing is loaded); otherwise
// into the main window. PFIndex follows the key as the keys always did, also
// when nothing can be loaded, except that a failed main load keeps it.
SeriesLoad StepThroughSeries(Session& session, SeriesKey kind, char key, bool intoWindow, int freeWindow,
                             MessageSink& sink);

}  // namespace quorix
