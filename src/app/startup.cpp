#include "app/startup.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <clocale>

#include "plot/contour_colors.h"
#include "settings/settings.h"
#include "ui/app_context.h"
#include "ui/load_files_dialog.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "workflow/load_sequence.h"

namespace quorix {

std::unique_ptr<Application> StartUp(const QString& programPath, const QStringList& arguments,
                                     const QString& userFolder, const QString& sourceManual) {
  auto app = std::make_unique<Application>();
  app->context = std::make_unique<AppContext>();
  AppContext& c = *app->context;
  c.programPath = programPath.toStdString();

  // 1. Windows.
  app->mainform = std::make_unique<MainWindow>(c);
  MainWindow& main = *app->mainform;

  // 2. Numbers with "." everywhere, whatever the user's locale says.
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());
  const ProgramPlace place{c.programPath, QDir::currentPath().toStdString()};
  const SettingsFiles settings = ChooseSettingsFiles(place, userFolder.toStdString());
  c.IniFileName = settings.write;
  c.HelpFileName = FindManual(place, sourceManual.toStdString());
  if (!settings.read.empty()) {
    // An oversized file is ignored; the user must hear why the settings are gone.
    MessageBoxSink sink(&main);
    c.ini = IniFile::Load(settings.read, sink);
  }
  ReadDisplayOptions(c.ini, c.state);
  c.startup = ReadStartupConfig(c.ini);
  c.GridFileName = c.startup.GridFileName;
  c.state.DataPath = c.startup.DataPath;
  c.state.GridPath = c.startup.GridPath;
  main.CreateWindows();

  // 4.
  main.OpenDlg().ShowFiles(c.startup.DataFileName, c.GridFileName);
  c.TitlePrefix = main.windowTitle().toStdString() + " - ";

  // 5.
  c.state.ResetRotation();
  c.load = LoadFlags{};
  c.load.ResetRotation = true;
  LoadContourColors(c.ini, c.state.ContourColor);

  main.show();
  main.FitToScreen();  // the frame is known once shown
  // 6. The menus wait for a pole figure, also when the command line fails to load one.
  main.DisableMenu();
  bool loaded = false;
  if (!arguments.isEmpty()) {
    // "Run Copy" marks directional data, which are loaded as such.
    const bool directional = arguments.value(0) == kDirectionalArgument;
    const int first = directional ? 1 : 0;
    const LoadFilesRequest request{
        arguments.value(first).toStdString(), arguments.value(first + 1).toStdString(), directional, {}};
    main.OpenDlg().ShowRequest(request);
    // As OK in the dialog: every ticked pole figure is loaded. The dialog waits
    // until the load is done or has failed, so that one window asks at a time.
    loaded = main.OpenDlg().Submit(request, true);
  }
  if (!loaded) main.OpenDlg().show();
  return app;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QString(":/quorix/hicolor/%1x%1/apps/org.quorix.Quorix.png").arg(size), QSize(size, size));
  return icon;
}

bool RunMenuCommand(MainWindow& main, const QString& caption) {
  for (QAction* action : main.findChildren<QAction*>()) {
    if (QString(action->text()).remove('&') == caption && action->isEnabled()) {
      action->trigger();
      return true;
    }
  }
  return false;
}

}  // namespace quorix
