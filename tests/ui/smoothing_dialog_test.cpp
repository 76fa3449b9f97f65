// The "Working..." gauge of the smoothing commands.
#include "ui/smoothing_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

namespace quorix {
namespace {

void Spin(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(WorkingGauge, ShowsOnlyWhileWorkRuns) {
  QWidget owner;
  SmoothingProgressDialog gauge(&owner);
  // QProgressDialog arms a four-second timer in its constructor that shows it.
  Spin(4300);
  EXPECT_FALSE(gauge.isVisible());
  gauge.Start(3);
  EXPECT_TRUE(gauge.isVisible());
  gauge.Step();
  gauge.Finish();
  Spin(300);
  EXPECT_FALSE(gauge.isVisible());
}

}  // namespace
}  // namespace quorix
