// From a measured pole figure to a record: the grid the circles imply, the
// intensities and the rest of a load. Also the one place that reads any
// layout carrying its own grid.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "io/data_layout.h"
#include "io/measurement.h"
#include "record/pole_figure.h"

namespace quorix {

// Reads a file of one of the layouts with their own grid (IsMeasuredLayout).
std::optional<MeasurementFile> ReadMeasurementText(std::string_view text, DataLayout layout, const std::string& source,
                                                   const MeasurementOptions& options, MessageSink& sink);

// Whether the record can hold the pole figure; a message naming `source` and
// the limit otherwise.
bool FitsRecord(const MeasuredPoleFigure& measured, const std::string& source, MessageSink& sink);

// Pole figure `index` (from 1) of the file as a prepared record named after
// `source`; nullptr after a message.
std::unique_ptr<PoleFigure> MeasurementToRecord(const MeasurementFile& file, int index, const std::string& source,
                                                bool showMrd, MessageSink& sink);

// What the picker shows for the pole figures of a file that holds several;
// empty for a file of one.
std::vector<std::string> MeasuredNames(const MeasurementFile& file);

}  // namespace quorix
