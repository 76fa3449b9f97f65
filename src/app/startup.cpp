#include "app/startup.h"

#include <QAction>
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

std::unique_ptr<Application> StartUp(const QString& programPath, const QStringList& arguments,
                                     const QString& userFolder, const QString& sourceManual) {
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
  const SettingsFiles settings =
      ChooseSettingsFiles(c.programPath, QDir::currentPath().toStdString(), userFolder.toStdString());
  c.IniFileName = settings.write;
  c.HelpFileName = FindManual(c.programPath, sourceManual.toStdString());
  if (!settings.read.empty()) c.ini = IniFile::Load(settings.read);
  ReadDisplayOptions(c.ini, c.state);
  c.startup = ReadStartupConfig(c.ini);
  c.GridFileName = c.startup.GridFileName;
  c.state.DataPath = c.startup.DataPath;
  c.state.GridPath = c.startup.GridPath;
  main.CreateWindows();

  // 4.
  main.OpenDlg().PFEdit->setText(QString::fromStdString(c.startup.DataFileName));
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

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QString(":/quorix/hicolor/%1x%1/apps/org.quorix.Quorix.png").arg(size), QSize(size, size));
  return icon;
}

bool RunMenuCommand(TMainform& main, const QString& caption) {
  for (QAction* action : main.findChildren<QAction*>()) {
    if (QString(action->text()).remove('&') == caption && action->isEnabled()) {
      action->trigger();
      return true;
    }
  }
  return false;
}

}  // namespace quorix
