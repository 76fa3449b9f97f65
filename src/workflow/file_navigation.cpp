#include "workflow/file_navigation.h"

#include <filesystem>
#include <system_error>

#include "workflow/load_sequence.h"

namespace quorix {

SeriesLoad StepThroughSeries(Session& session, SeriesKey kind, char key, bool intoWindow, int freeWindow,
                             MessageSink& sink) {
  LoadFlags& flags = session.load;
  const auto step = NextInSeries(session.DataFileName, flags.PFIndex, flags.Multi(), kind, key);
  if (!step) return SeriesLoad::Nothing;
  const int before = flags.PFIndex;
  flags.PFIndex = step->pfIndex;
  std::error_code ec;
  const bool exists = std::filesystem::exists(step->name, ec);
  const bool indexInList = flags.PFIndex >= 1 && flags.PFIndex <= static_cast<int>(flags.PoleFigureNames.size());
  if (intoWindow) {
    if (freeWindow == 0) return SeriesLoad::Nothing;
    if (!((flags.PlainFile && exists) || (flags.Multi() && indexInList))) return SeriesLoad::Nothing;
    return LoadIntoWindow(session, freeWindow, step->name, sink) ? SeriesLoad::Window : SeriesLoad::Nothing;
  }
  if (!(flags.PlainFile && exists) && (flags.DirectionalMode || !indexInList)) return SeriesLoad::Nothing;
  MainLoad request;
  request.dataFile = flags.PlainFile && exists ? step->name : session.DataFileName;
  request.gridFile = session.GridFileName;
  request.layout = flags.Layout();
  request.pfIndex = -flags.PFIndex;
  request.names = flags.PoleFigureNames;
  request.resetRotation = flags.ResetRotation;
  if (LoadMainPoleFigure(session, request, sink)) return SeriesLoad::Main;
  flags.PFIndex = before;
  return SeriesLoad::Nothing;
}

}  // namespace quorix
