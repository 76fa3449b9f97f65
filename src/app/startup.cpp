#include "app/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <clocale>

#include "settings/config.h"
#include "plot/contour_colors.h"
#include "ui/app_context.h"
#include "ui/main_form.h"
#include "ui/open_dlg.h"

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
  main.OpenDlg().GridEdit->setText(QString::fromStdString(c.GridFileName));
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
    main.OpenDlg().PFEdit->setText(arguments.value(0));
    main.OpenDlg().GridEdit->setText(arguments.value(1));
    main.OpenDlg().OKBtnClick(false);
  }
  return app;
}

}  // namespace quorix
