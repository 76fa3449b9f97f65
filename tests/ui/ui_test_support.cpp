// Helpers shared by the desktop tests.
#include "ui_test_support.h"

#include <filesystem>
#include <fstream>

namespace quorix::test {

QString ExampleFile(const char* name) { return QString::fromStdString(ExamplePath(name)); }

QString ProgramInTempDir(const std::string& ini) {
  const std::filesystem::path dir = TempDir();
  std::filesystem::remove(dir / "quorix.ini");
  if (!ini.empty()) std::ofstream(dir / "quorix.ini", std::ios::binary) << ini;
  return QString::fromStdString((dir / "quorix").string());
}

int WithModalsClosed(const std::function<void()>& action) {
  int closed = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      w->close();
      ++closed;
    }
  });
  timer.start(20);
  action();
  return closed;
}

void WhileShown(QDialog& d, std::function<void()> act) {
  QTimer::singleShot(0, &d, [&d, act = std::move(act)] {
    act();
    if (d.isVisible()) d.reject();
  });
}

}  // namespace quorix::test
