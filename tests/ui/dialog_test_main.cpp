// The Qt application the dialog tests run in.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/guarded_application.h"

int main(int argc, char** argv) {
  // Listing the tests at build time happens without a screen as well.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  quorix::GuardedApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
