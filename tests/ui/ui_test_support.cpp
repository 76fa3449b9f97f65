// Helpers shared by the desktop tests.
#include "ui_test_support.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
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

QString Example(const char* name) { return ExampleFile(name); }

QString ProgramIn(const std::filesystem::path& dir) { return QString::fromStdString((dir / "quorix").string()); }

int WithModalsAnswered(const std::function<void(QWidget*)>& answer, const std::function<void()>& action) {
  int seen = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      ++seen;
      answer(w);
    }
  });
  timer.start(20);
  action();
  return seen;
}

int WithModalsClosed(const std::function<void()>& action) {
  return WithModalsAnswered([](QWidget* w) { w->close(); }, action);
}

void Drop(QWidget* target, const QStringList& files) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& f : files) urls << QUrl::fromLocalFile(f);
  mime.setUrls(urls);
  QDragEnterEvent enter(QPoint(40, 40), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(40, 40), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
}

void WhileShown(QDialog& d, std::function<void()> act) {
  QTimer::singleShot(0, &d, [&d, act = std::move(act)] {
    act();
    if (d.isVisible()) d.reject();
  });
}

}  // namespace quorix::test
