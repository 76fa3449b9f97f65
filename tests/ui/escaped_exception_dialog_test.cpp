// An exception escaping an event handler of the desktop program ends the
// command with a message; the program and its event loop go on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <new>
#include <stdexcept>

namespace quorix {
namespace {

TEST(DesktopGuard, ExceptionsFromEventHandlersEndInAMessage) {
  QStringList told;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      told << box->text();
      box->close();
    }
  });
  closer.start(20);
  QTimer::singleShot(0, [] { throw std::bad_alloc(); });
  QTimer::singleShot(300, [] { throw std::runtime_error("disk on fire"); });
  bool after = false;
  QTimer::singleShot(400, [&] { after = true; });
  QElapsedTimer clock;
  clock.start();
  while ((!after || told.size() < 2) && clock.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_EQ(told.size(), 2) << told.join("\n").toStdString();
  EXPECT_EQ(told[0], "Not enough memory for this command; it was stopped. The pole figures are kept.");
  EXPECT_EQ(told[1], "The command was stopped: disk on fire. The pole figures are kept.");
  EXPECT_TRUE(after);  // later events were still delivered
}

}  // namespace
}  // namespace quorix
