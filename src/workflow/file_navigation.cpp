#include "workflow/file_navigation.h"

#include <filesystem>
#include <system_error>

#include "workflow/load_sequence.h"

namespace quorix {

PlannedStep PlanSeriesStep(const Session& session, SeriesKey kind, char key, bool intoWindow, int freeWindow) {
  const LoadFlags& flags = session.load;
  PlannedStep plan;
  plan.pfIndex = flags.PFIndex;
  const auto step = NextInSeries(session.DataFileName, flags.PFIndex, flags.Multi(), kind, key);
  if (!step) return plan;
  plan.stepped = true;
  plan.pfIndex = step->pfIndex;
  std::error_code ec;
  const bool exists = std::filesystem::exists(step->name, ec);
  const bool indexInList = plan.pfIndex >= 1 && plan.pfIndex <= static_cast<int>(flags.PoleFigureNames.size());
  if (intoWindow) {
    plan.dataFile = step->name;
    plan.loads = freeWindow != 0 && ((flags.PlainFile && exists) || (flags.Multi() && indexInList));
  } else {
    plan.dataFile = flags.PlainFile && exists ? step->name : session.DataFileName;
    plan.loads = (flags.PlainFile && exists) || (!flags.DirectionalMode && indexInList);
  }
  return plan;
}

SeriesLoad StepThroughSeries(Session& session, SeriesKey kind, char key, bool intoWindow, int freeWindow,
                             MessageSink& sink) {
  LoadFlags& flags = session.load;
  const PlannedStep plan = PlanSeriesStep(session, kind, key, intoWindow, freeWindow);
  if (!plan.stepped) return SeriesLoad::Nothing;
  const int before = flags.PFIndex;
  flags.PFIndex = plan.pfIndex;
  if (!plan.loads) return SeriesLoad::Nothing;
  if (intoWindow)
    return LoadIntoWindow(session, freeWindow, plan.dataFile, sink) ? SeriesLoad::Window : SeriesLoad::Nothing;
  MainLoad request;
  request.dataFile = plan.dataFile;
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
