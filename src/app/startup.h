// The start-up sequence of the desktop program.
#pragma once

#include <QIcon>
#include <QStringList>
#include <memory>

namespace quorix {

struct AppContext;
class MainWindow;

struct Application {
  std::unique_ptr<AppContext> context;
  std::unique_ptr<MainWindow> mainform;
};

// Creates the windows, reads the configuration file and loads the command
// line [data file [grid file]]. The file lives in `userFolder`, seeded from
// one beside the program; an empty `userFolder` keeps it beside the program.
// `sourceManual` is the manual to show when none is installed.
std::unique_ptr<Application> StartUp(const QString& programPath, const QStringList& arguments,
                                     const QString& userFolder = {}, const QString& sourceManual = {});

// The icon of the desktop menu, from the program's resources.
QIcon ProgramIcon();

// Triggers the main window's menu command with this caption ("&" left out);
// false when there is none.
bool RunMenuCommand(MainWindow& main, const QString& caption);

}  // namespace quorix
