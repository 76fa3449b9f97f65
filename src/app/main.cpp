// quorix: the desktop program.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdlib>

#include "app/startup.h"
#include "ui/main_form.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();

  // For unattended checks: save a picture of the screen shortly after
  // start-up (also while a dialog of the start-up is open) and quit.
  if (const char* shot = std::getenv("QUORIX_SCREENSHOT")) {
    const QString file = QString::fromLocal8Bit(shot);
    QTimer::singleShot(1500, [file] {
      if (QScreen* screen = QGuiApplication::primaryScreen()) screen->grabWindow(0).save(file);
      std::exit(0);
    });
  }
  auto app = quorix::StartUp(QApplication::applicationFilePath(), arguments);
  return qapp.exec();
}
