// What the tests of the desktop program share: example paths, a fresh
// folder per test, answering the modal windows a command opens, dropping files.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <string>

namespace quorix::test {

inline QString Example(const char* name) {
  return QFileInfo(QString(QUORIX_SOURCE_DIR) + "/examples/" + name).absoluteFilePath();
}

// A folder of this test's own; the configuration file is looked up beside the program in it.
inline std::filesystem::path TestFolder() {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("quorix_d19_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline QString ProgramIn(const std::filesystem::path& dir) { return QString::fromStdString((dir / "quorix").string()); }

// Runs `action`; every modal window that opens meanwhile is handed to
// `answer` (which must close it) and counted.
template <typename F>
int WithModalsAnswered(const std::function<void(QWidget*)>& answer, F action) {
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

template <typename F>
int WithModalsClosed(F action) {
  return WithModalsAnswered([](QWidget* w) { w->close(); }, action);
}

inline void Drop(QWidget* target, const QStringList& files) {
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

}  // namespace quorix::test
