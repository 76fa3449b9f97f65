#include "correction/units.h"

#include <fmt/format.h>

namespace quorix {

const char* UnitName(IntensityUnit unit) {
  switch (unit) {
    case IntensityUnit::PerSecond: return "counts per second";
    case IntensityUnit::PerMonitor: return "counts per monitor";
    case IntensityUnit::Unknown: break;
  }
  return "unit unknown";
}

std::string SourceName(const PoleFigure& pf) {
  return pf.IndexInFile > 0 ? fmt::format("{}:{}", pf.FileName, pf.IndexInFile) : pf.FileName;
}

double UnitFactor(const PoleFigure& target, const PoleFigure& other, std::string& note) {
  note.clear();
  if (target.Unit == IntensityUnit::Unknown && other.Unit == IntensityUnit::Unknown) return 1;
  if (target.Unit == other.Unit) {
    if (target.Unit == IntensityUnit::PerSecond) return 1;
    if (target.Monitor > 0 && other.Monitor > 0) return target.Monitor / other.Monitor;
    note = fmt::format("{} or {} gives no monitor preset: the values were taken as they are.", SourceName(other),
                       SourceName(target));
    return 1;
  }
  note = fmt::format("{} is in {}, {} in {}: the values were taken as they are.", SourceName(other),
                     UnitName(other.Unit), SourceName(target), UnitName(target.Unit));
  return 1;
}

}  // namespace quorix
