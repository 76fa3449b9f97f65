// The start-up sequence of the desktop program.
#pragma once

#include <QStringList>
#include <memory>

namespace quorix {

struct AppContext;
class TMainform;

struct Application {
  std::unique_ptr<AppContext> context;
  std::unique_ptr<TMainform> mainform;
};

// Creates the windows, reads the configuration file beside the program and
// loads the command line [data file [grid file]].
std::unique_ptr<Application> StartUp(const QString& programPath, const QStringList& arguments);

}  // namespace quorix
