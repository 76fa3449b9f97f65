// Starting Qt once for the commands that draw.
#include "gui_app.h"

#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

namespace quorix::cli {
namespace {

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  // Qt's notes about the session environment mean nothing to a batch user.
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << '\n';
}

}  // namespace

// Without a display the off-screen platform serves.
void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  qInstallMessageHandler(QuietQtMessages);
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "quorix-cli";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

}  // namespace quorix::cli
