#include "app/startup.h"

#include <QDir>
#include <QFileInfo>
#include <clocale>

#include "core/config.h"
#include "plot/contour_colors.h"
#include "ui/app_context.h"
#include "ui/main_form.h"
#include "ui/open_dlg.h"
#include "workflow/load_sequence.h"

namespace quorix {

std::unique_ptr<Application> StartUp(const QString& programPath, const QStringList& arguments) {
  auto app = std::make_unique<Application>();
  app->context = std::make_unique<AppContext>();
  AppContext& c = *app->context;
  c.programPath = programPath.toStdString();

  // 1. Windows.
  app->mainform = std::make_unique<TMainform>(c);
  TMainform& main = *app->mainform;

  // 2. Numbers with "." everywhere, whatever the user's locale says.
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());
  c.IniFileName = IniFileNameFor(c.programPath, QDir::currentPath().toStdString());
  QFileInfo help(QString::fromStdString(c.IniFileName));
  c.HelpFileName = (help.path() + "/" + help.completeBaseName() + ".chm").toStdString();
  c.ini = IniFile::Load(c.IniFileName);
  ReadDisplayOptions(c.ini, c.state);
  c.startup = ReadStartupConfig(c.ini);
  c.GridFileName = c.startup.GridFileName;
  c.state.DataPath = c.startup.DataPath;
  c.state.GridPath = c.startup.GridPath;
  main.CreateWindows();

  // 4.
  main.OpenDlg().ShowFiles("", c.GridFileName);
  c.TitlePrefix = main.windowTitle().toStdString() + " - ";

  // 5.
  c.state.ResetRotation();
  c.load = LoadFlags{};
  c.load.ResetRotation = true;
  LoadContourColors(c.ini, c.state.ContourColor);

  main.show();
  main.OpenDlg().show();
  // 6. The menus wait for a pole figure, also when the command line fails to load one.
  main.DisableMenu();
  if (!arguments.isEmpty()) {
    // "Run Copy" marks directional data, which are loaded as such.
    const bool directional = arguments.value(0) == kDirectionalArgument;
    const int first = directional ? 1 : 0;
    const LoadFilesRequest request{arguments.value(first).toStdString(), arguments.value(first + 1).toStdString(),
                                   directional};
    main.OpenDlg().ShowRequest(request);
    main.OpenDlg().Submit(request, false);
  }
  return app;
}

}  // namespace quorix
