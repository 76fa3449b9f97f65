// quorix: the desktop program.
#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <cstdlib>
#include <cstring>

#include "app/startup.h"
#include "base/safe_write.h"
#include "quorix_version.h"
#include "ui/guarded_application.h"
#include "ui/main_window.h"

namespace {

void SetIdentity() {
  QCoreApplication::setApplicationName("quorix");
  QCoreApplication::setApplicationVersion(QUORIX_VERSION);
}

// --help and --version exit here; otherwise the positional DATA and GRID.
QStringList ParseCommandLine(const QCoreApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Quorix: pole figures of crystallographic textures.\n"
      "With DATA and GRID both files are loaded at once; otherwise the Load Files dialog asks for them.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("DATA", "Pole figure data file (plain, hash list or WKO list).", "[DATA");
  parser.addPositionalArgument("GRID", "Grid file of the data file.", "[GRID]]");
  parser.process(app);
  return parser.positionalArguments();
}

// Help and version need no screen, so they are answered before the window
// system is started (which fails without a display).
bool AsksForTextOnly(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return false;
    for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"})
      if (std::strcmp(argv[i], option) == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  quorix::RemoveTemporariesOnTermination();
  if (AsksForTextOnly(argc, argv)) {
    QCoreApplication text(argc, argv);
    SetIdentity();
    ParseCommandLine(text);
  }
  quorix::GuardedApplication qapp(argc, argv);
  SetIdentity();
  QApplication::setWindowIcon(quorix::ProgramIcon());
  QGuiApplication::setDesktopFileName("org.quorix.Quorix");
  const QStringList arguments = ParseCommandLine(qapp);

  // For unattended checks: save a picture of the screen shortly after
  // start-up (also while a dialog of the start-up is open) and quit.
  if (const char* shot = std::getenv("QUORIX_SCREENSHOT")) {
    const QString file = QString::fromLocal8Bit(shot);
    QTimer::singleShot(1500, [file] {
      // Only the part of the screen that the program's windows cover.
      QRect area;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) area |= w->frameGeometry();
      if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area &= screen->geometry();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        (area.isEmpty() ? screen->grabWindow(0)
                        : screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()))
            .save(&buffer, "PNG");
        quorix::NullSink ignored;  // a picture for the manual; its caller looks for the file
        quorix::WriteFile(file.toStdString(), std::string_view(png.constData(), static_cast<std::size_t>(png.size())),
                          ignored);
      }
      std::exit(0);
    });
  }
  std::unique_ptr<quorix::Application> app;
  // With QUORIX_SCREENSHOT, a menu command to run before the picture (the
  // manual's pictures of the dialogs), named by its caption without "&".
  if (const char* command = std::getenv("QUORIX_SCREENSHOT_COMMAND"); command && *command) {
    QTimer::singleShot(700, [&app, name = QString::fromLocal8Bit(command)] {
      if (app) quorix::RunMenuCommand(*app->mainform, name);
    });
  }
  const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/quorix";
  app = quorix::StartUp(QApplication::applicationFilePath(), arguments, userFolder, QUORIX_SOURCE_MANUAL);
  const int result = QApplication::exec();
  quorix::StoreSettings(*app->context);
  return result;
}
