// Loading a pole figure file with its grid into a fresh record: grid, data,
// statistics, levels, links. The desktop program, the command-line tool and
// the tests share it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "io/data_layout.h"
#include "io/grid_reader.h"
#include "io/measurement.h"
#include "record/pole_figure.h"
#include "record/prepare.h"

namespace quorix {

struct LoadRequest {
  std::string dataFile;
  std::string gridFile;                  // not needed for a layout with its own grid
  DataLayout layout = DataLayout::None;  // None: detect
  int pfIndex = 1;                       // only the absolute value counts
  GridRule gridRule = GridRule::MainWindow;
  bool showMrd = false;
  MeasurementOptions measurement;  // what a file with its own grid leaves to the user
  // The data file's text when the caller has read it already (several pole
  // figures of one file); must outlive the load.
  const std::string* dataText = nullptr;
};

// Loads into a fresh record; on failure returns nullptr after sending the
// messages, so the caller's records stay as they were.
std::unique_ptr<PoleFigure> LoadPoleFigure(const LoadRequest& request, MessageSink& sink);

// The first steps of every load: false after a message when a file is missing.
bool LoadFilesExist(const LoadRequest& request, MessageSink& sink);

// A fresh record named after the data file with the grid the request's rule
// selects, or nullptr after the reader's messages.
std::unique_ptr<PoleFigure> ReadRequestedGrid(const LoadRequest& request, MessageSink& sink);

// What a load learnt of its data file, so that a caller needs not read it again.
struct DataFileFacts {
  DataLayout layout = DataLayout::None;  // the request's, or the one detected
  std::vector<std::string> names;        // the picker list of a file of several pole figures
};
// The same, filling `facts` as far as the load got (the layout once detected,
// the names once read).
std::unique_ptr<PoleFigure> LoadPoleFigure(const LoadRequest& request, MessageSink& sink, DataFileFacts& facts);

}  // namespace quorix
